#include "linear_units.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace cadsim {
namespace {

constexpr double kInchesPerFoot = 12;

// The host prints 0.0000, not -0.0000: a minus goes only before a digit other than zero.
std::string WithoutNegativeZero(std::string text) {
    if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string Decimal(double value, int places) {
    char text[512];  // the widest double in %f is 309 digits
    std::snprintf(text, sizeof(text), "%.*f", places, value);
    return WithoutNegativeZero(text);
}

// Two digits of exponent at least, as the host prints them, whichever C library formats the mantissa.
std::string Scientific(double value, int places) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.*E", places, value);
    const std::string printed = text;
    const std::size_t e = printed.find('E');
    if (e == std::string::npos)
        return printed;  // not finite
    const int exponent = std::atoi(printed.c_str() + e + 1);
    char tail[16];
    std::snprintf(tail, sizeof(tail), "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return WithoutNegativeZero(printed.substr(0, e)) + tail;
}

// A magnitude split into whole units and the rest in ticks (1 / ticksPerUnit each), the rest
// rounded; a rest that rounds up to a whole unit carries over. Doubles hold the whole part, so
// that lengths of any size split without overflow.
struct Split {
    double whole = 0;
    long long ticks = 0;
};

Split SplitInto(double magnitude, double unit, long long ticksPerUnit) {
    Split split;
    split.whole = std::floor(magnitude / unit);
    const double rest = magnitude - split.whole * unit;
    split.ticks = std::llround(rest / unit * static_cast<double>(ticksPerUnit));
    if (split.ticks >= ticksPerUnit) {
        split.whole += 1;
        split.ticks -= ticksPerUnit;
    }
    if (split.ticks < 0)
        split.ticks = 0;
    return split;
}

std::string Whole(double whole) {
    return Decimal(whole, 0);
}

long long PowerOf(long long base, int exponent) {
    long long power = 1;
    for (int i = 0; i < exponent; ++i)
        power *= base;
    return power;
}

// "3/4" of numerator / denominator (a power of two), reduced.
std::string Fraction(long long numerator, long long denominator) {
    while (numerator % 2 == 0 && denominator > 1) {
        numerator /= 2;
        denominator /= 2;
    }
    return std::to_string(numerator) + "/" + std::to_string(denominator);
}

// A whole number and a fraction of it, as the host joins them: "1 3/4", typed "1-3/4".
std::string WithFraction(const std::string& whole, long long numerator, long long denominator, bool asTyped) {
    if (numerator == 0)
        return whole;
    return whole + (asTyped ? "-" : " ") + Fraction(numerator, denominator);
}

std::string FeetAndInches(double magnitude, const LinearUnits& units) {
    const bool fractions = units.kind == UnitKind::Architectural;
    const long long ticksPerInch = PowerOf(fractions ? 2 : 10, units.precision);
    const Split feet = SplitInto(magnitude, kInchesPerFoot, ticksPerInch * static_cast<long long>(kInchesPerFoot));
    const long long wholeInches = feet.ticks / ticksPerInch;
    const long long inchTicks = feet.ticks % ticksPerInch;
    std::string inches;
    if (fractions) {
        inches = WithFraction(std::to_string(wholeInches), inchTicks, ticksPerInch, units.asTyped);
    } else {
        inches = std::to_string(wholeInches);
        if (units.precision > 0) {
            std::string digits = std::to_string(inchTicks);
            digits.insert(0, static_cast<std::size_t>(units.precision) - digits.size(), '0');
            inches += "." + digits;
        }
    }
    return Whole(feet.whole) + (units.asTyped ? "'" : "'-") + inches + "\"";
}

std::string Fractional(double magnitude, const LinearUnits& units) {
    const long long denominator = PowerOf(2, units.precision);
    const Split split = SplitInto(magnitude, 1, denominator);
    if (split.whole == 0 && split.ticks > 0)
        return Fraction(split.ticks, denominator);
    return WithFraction(Whole(split.whole), split.ticks, denominator, units.asTyped);
}

}  // namespace

std::string FormatLength(double value, const LinearUnits& units) {
    if (!std::isfinite(value))
        return Decimal(value, units.precision);
    std::string magnitude;
    switch (units.kind) {
        case UnitKind::Scientific:
            return Scientific(value, units.precision);
        case UnitKind::Decimal:
            return Decimal(value, units.precision);
        case UnitKind::Engineering:
        case UnitKind::Architectural:
            magnitude = FeetAndInches(std::fabs(value), units);
            break;
        case UnitKind::Fractional:
            magnitude = Fractional(std::fabs(value), units);
            break;
    }
    return WithoutNegativeZero((value < 0 ? "-" : "") + magnitude);
}

std::string FormatNumber(double value, const LinearUnits& units) {
    return units.kind == UnitKind::Scientific && std::isfinite(value) ? Scientific(value, units.precision)
                                                                      : Decimal(value, units.precision);
}

}  // namespace cadsim
