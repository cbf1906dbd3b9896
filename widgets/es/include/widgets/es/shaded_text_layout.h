#pragma once
// Where each layer of shaded text goes and in which colour: the shadow and highlight layers, the
// face, and the 16 bands of a face gradient. The painter only draws what this computes.

#include <vector>

#include "widgets/es/shade_values.h"

namespace es {

// One-pixel step of a direction, y growing downwards.
Point ShadeStep(TEsShadeDirection direction);

// The smallest and largest of both layers' full offsets and 0, one value for both axes.
struct ShadeExtent {
    int min, max;
};
ShadeExtent ShadeExtentOf(const ShadeValues& values);

// How far the face moves left so that the whole composite is centred or right-aligned as a block.
int AlignmentShift(unsigned format, const ShadeExtent& extent);

// The face's rectangle: the composite starts at the rectangle's top-left corner.
Rect FaceRect(const Rect& rect, const ShadeExtent& extent, int shift);

// Rounds to nearest with ties to even, as the ramp and band arithmetic require.
int RoundHalfEven(double value);

struct TextLayer {
    Rect rect;
    TColor color;
};

// The layers of one shade (shadow or highlight), deepest first. A depth of 0 still gives one layer,
// at the face position; a graduated ramp runs from the shade colour to the font colour at layer 1.
std::vector<TextLayer> ShadeLayers(TColor shadeColor,
                                   TEsShadeStyle style,
                                   int depth,
                                   TEsShadeDirection direction,
                                   TColor fontColor,
                                   const Rect& face);

// Left and top edge of the face text, for the gradient bands.
Point GradientOrigin(unsigned format, const Rect& rect, const ShadeExtent& extent, int shift, int textWidth);

struct GradientBand {
    Rect rect;
    TColor color;
};

// The 16 bands from the start colour (band 0) to the font colour (band 15); none for gsNone.
std::vector<GradientBand> GradientBands(TEsGraduateStyle style,
                                        const Rect& rect,
                                        const Point& origin,
                                        int textWidth,
                                        TColor fromColor,
                                        TColor fontColor);

// The values as painted on a display: each shade's depth scaled with the DPI (a one-pixel shade
// stays a pixel wide, never vanishes), and in high contrast no shading or gradient at all, every
// layer in the text colour.
ShadeValues ValuesToPaint(const ShadeValues& design, int dpi, bool highContrast, TColor textColor);

// The colour drawn on the gradient mask where the face is; the masked copy replaces it by a band's colour.
constexpr TColor kGradientKeyColor = 0xFE09F1;

}  // namespace es
