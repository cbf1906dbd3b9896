#pragma once
// Coordinates as the host reads and prints them: numbers in the C locale with a '.', points typed
// as "x,y" or "x,y,z", and values printed with four decimals. Portable: no window system here.

#include <string>

namespace cadsim {

struct Point {
    double x = 0;
    double y = 0;
};

// Coordinates beyond this would not print in the host's fixed four-decimal form.
constexpr double kLargestCoordinate = 1e12;

// A number as typed: sign, digits, '.', exponent; nothing else, no blanks. False for anything
// else, for an overflow and for a magnitude of kLargestCoordinate or more.
bool ParseNumber(const std::string& text, double& value);

// "x,y" or "x,y,z"; z is 0 when left out. False for any other text.
bool ParsePoint(const std::string& text, Point& point, double& z);
bool ParsePoint(const std::string& text, Point& point);

// "%.4f", never with a sign on zero: the host prints 0.0000, not -0.0000.
std::string Fixed4(double value);

// "x,y" with four decimals each.
std::string PointText(const Point& point);

}  // namespace cadsim
