#pragma once
// A font as a value: what a control or a canvas draws its text with.

#include <cstdint>
#include <string>

#include "framework/color.h"

namespace framework {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFont {
    std::u16string name;
    int height;  // negative: character height in pixels
    std::uint8_t charset;
    TColor color = clWindowText;
    unsigned style = 0;  // TFontStyle bits
    // Off: edges smoothed as the system does. On: only the text colour itself, as high contrast needs.
    bool unsmoothed = false;

    bool operator==(const TFont& other) const {
        return name == other.name && height == other.height && charset == other.charset && color == other.color &&
               style == other.style && unsmoothed == other.unsmoothed;
    }
    bool operator!=(const TFont& other) const { return !(*this == other); }
};

}  // namespace framework
