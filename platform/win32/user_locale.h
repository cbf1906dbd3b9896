#pragma once
// The user's regional settings that the program shows numbers with.

namespace platform {

// The user's decimal symbol; a full stop when the system tells none or one of several characters.
char16_t UserDecimalSeparator();
// The same as one byte of the system code page, for texts in that code page; a full stop for a
// symbol that takes two bytes there (a wide full stop) or that the code page lacks, which one
// byte cannot carry.
char UserDecimalSeparatorAnsi();

}  // namespace platform
