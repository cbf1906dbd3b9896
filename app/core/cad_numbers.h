#pragma once
// Numbers as the CAD program reads them at its command line and writes them in its reports: a
// full stop for the decimal point, whatever the user's regional settings say.

#include <optional>
#include <string>

namespace app {

// The CAD program refuses coordinates and distances of this magnitude or more; a label would show
// them as hundreds of digits.
constexpr double kLargestCadNumber = 1e12;

// The value of a text that is a number and nothing else (no blanks): an optional sign, digits with
// one optional full stop, an optional exponent; finite and below kLargestCadNumber in magnitude.
std::optional<double> ParseCadNumber(const std::string& text);
inline bool IsCadNumber(const std::string& text) {
    return ParseCadNumber(text).has_value();
}

// The radius to type for a circle size whose surrounding blanks the caller has removed (core);
// shown is the size as the user typed it. Throws the framework's conversion error when the CAD
// program would not take core as a radius: not a number, or not a positive one.
std::string CheckedRadius(const std::string& core, const std::string& shown);

}  // namespace app
