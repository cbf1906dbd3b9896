#pragma once
// Draws shaded 3D text with GDI: shadow and highlight layers, the face, and the face gradient's
// 16 bands by a masked copy of the key colour. Positions and colours come from the portable layout.

#include <windows.h>

#include <string>

#include "framework/canvas.h"
#include "framework/font.h"
#include "widgets/es/shade_values.h"

namespace es {

struct ShadedText {
    std::u16string caption;
    framework::TFont font;  // its colour is the face colour
    framework::TColor color;
    bool transparent;
    ShadeValues values;
};

// Composes the text over what target already shows in rect (whose corner is (0, 0)) and copies
// the result back. A rectangle too large for a work bitmap draws nothing.
void PaintShadedText(framework::TCanvas& target, const RECT& rect, UINT format, const ShadedText& text);

// Copies a rectangle of source onto the same rectangle of destination, every pixel of the key
// colour replaced by brushColor.
void MaskedCopy(HDC destination, HDC source, const RECT& rect, COLORREF key, COLORREF brushColor);

}  // namespace es
