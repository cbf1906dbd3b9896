#pragma once
// The one reader of numbers in the program: numbers as the CAD program reads them at its command
// line and writes them in its reports, with a full stop for the decimal point whatever the user's
// regional settings say. Every other number the program reads (a window position, a results
// row's area) is written by the program itself in this same form; only what is shown to the user
// takes the user's decimal symbol, and nothing shown is read back.

#include <optional>
#include <string>
#include <string_view>

#include "checked.h"

namespace app {

// The CAD program refuses coordinates and distances of this magnitude or more; a label would show
// them as hundreds of digits.
constexpr double kLargestCadNumber = 1e12;

// The value of a text that is a number and nothing else (no blanks): an optional sign, digits with
// one optional full stop, an optional exponent; finite and below kLargestCadNumber in magnitude.
std::optional<double> ParseCadNumber(std::u16string_view text);
// The same for a text in code page bytes: no byte beyond ASCII is part of a number.
std::optional<double> ParseCadNumber(std::string_view text);
inline bool IsCadNumber(std::u16string_view text) {
    return ParseCadNumber(text).has_value();
}

// The radius to type for a circle size as the user typed it: the blanks and control characters
// around it removed. Refused with the error box's words when the CAD program would not take it as
// a radius: not a number, or not a positive one.
Checked<std::u16string> CheckedRadius(const std::u16string& sizeText);

}  // namespace app
