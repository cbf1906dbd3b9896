#pragma once
// The one reader of numbers in the program. Every number it reads is scanned by ScanNumber; the
// forms below are the only differences between its sources, and each says why it differs.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "checked.h"

namespace app {

// What a number may hold besides its digits.
struct NumberForm {
    bool sign = false;               // a leading "+" or "-"
    std::u16string_view separators;  // decimal separators taken, at most one in a number
    bool exponent = false;           // "e" or "E", an optional sign and digits
};

// The CAD program's numbers, at its command line and in its reports: a full stop for the decimal
// point whatever the user's regional settings say, and an exponent.
inline constexpr NumberForm kCadNumberForm{true, u".", true};
// A value as the labels and the results list show it: the report's number with the user's decimal
// symbol, a full stop or a comma (other symbols are shown as a full stop); never an exponent once
// formatted, so that the list's total can be added exactly.
inline constexpr NumberForm kShownNumberForm{true, u".,", false};
// What a spreadsheet opening the results list takes for a number: a shown value, or a face-centre
// value as the report printed it, exponent and all.
inline constexpr NumberForm kCellNumberForm{true, u".,", true};
// Whole numbers the program writes itself: no decimal point to differ on. A count (a side file's
// number, a length) has no sign either.
inline constexpr NumberForm kWholeNumberForm{true, u"", false};
inline constexpr NumberForm kCountForm{false, u"", false};

// The parts of a number as written.
struct NumberText {
    bool negative = false;
    std::u16string_view whole;     // digits before the separator
    std::u16string_view fraction;  // digits after it
    char16_t separator = 0;        // 0: written without one
    std::u16string_view exponent;  // the exponent's sign and digits; empty without one
};

// The parts of a text that is a number of the form and nothing else (no blanks, at least one
// digit); nothing for any other text.
std::optional<NumberText> ScanNumber(std::u16string_view text, const NumberForm& form);
// The value of a run of decimal digits; nothing when it is more than limit.
std::optional<std::uint64_t> DigitsValue(std::u16string_view digits, std::uint64_t limit = UINT64_MAX);
// A whole number or a count of the program's own; nothing when it is more than limit in magnitude
// or not one. A count may come as bytes (ASCII digits).
std::optional<std::int64_t> ParseWholeNumber(std::u16string_view text, std::uint64_t limit);
std::optional<std::uint64_t> ParseCount(std::u16string_view text, std::uint64_t limit = UINT64_MAX);
std::optional<std::uint64_t> ParseCount(std::string_view text, std::uint64_t limit = UINT64_MAX);

// The CAD program refuses coordinates and distances of this magnitude or more; a label would show
// them as hundreds of digits.
constexpr double kLargestCadNumber = 1e12;

// The value of a text that is a number and nothing else (no blanks): an optional sign, digits with
// one optional full stop, an optional exponent; finite and below kLargestCadNumber in magnitude.
std::optional<double> ParseCadNumber(std::u16string_view text);
inline bool IsCadNumber(std::u16string_view text) {
    return ParseCadNumber(text).has_value();
}

// The radius to type for a circle size as the user typed it: the blanks and control characters
// around it removed. Refused with the error box's words when the CAD program would not take it as
// a radius: not a number, or not a positive one.
Checked<std::u16string> CheckedRadius(const std::u16string& sizeText);

}  // namespace app
