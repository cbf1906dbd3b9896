#pragma once
// How the host prints lengths and coordinates: LUNITS chooses the kind (1 scientific, 2 decimal,
// 3 engineering, 4 architectural, 5 fractional), LUPREC the decimals or, for fractions, the
// denominator 2^LUPREC, and UNITMODE 1 prints feet, inches and fractions the way they are typed
// (no blanks). A drawing unit is an inch. Only the print is rounded: what the host keeps stays a
// double. Portable: no window system here.

#include <string>

namespace cadsim {

enum class UnitKind { Scientific = 1, Decimal = 2, Engineering = 3, Architectural = 4, Fractional = 5 };

struct LinearUnits {
    UnitKind kind = UnitKind::Decimal;
    int precision = 4;     // 0..8
    bool asTyped = false;  // UNITMODE 1
};

// "15.5000", "1.5500E+01", "1'-3.5000\"", "1'-3 1/2\"", "15 1/2"; with asTyped "1'3.5000\"",
// "1'3-1/2\"", "15-1/2". Never a negative zero.
std::string FormatLength(double value, const LinearUnits& units);

// Quantities that are no length (areas, moments, direction cosines): scientific for LUNITS 1,
// otherwise decimal with LUPREC places; feet and fractions make no sense for square inches.
std::string FormatNumber(double value, const LinearUnits& units);

}  // namespace cadsim
