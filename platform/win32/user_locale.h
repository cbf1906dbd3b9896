#pragma once
// The user's regional settings that the program shows numbers with.

namespace platform {

// The user's decimal symbol; a full stop when the system tells none or one of several characters.
char16_t UserDecimalSeparator();
// The same where one byte of code page 932 carries it, as a results list continued in that code
// page needs; a full stop for a symbol that takes two bytes there (a wide full stop) or that the
// code page lacks.
char16_t UserDecimalSeparatorOneByte();

}  // namespace platform
