#include "widgets/es/shaded_text_layout.h"

#include "framework/display_scale.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace es {

Point ShadeStep(TEsShadeDirection direction) {
    switch (direction) {
        case TEsShadeDirection::sdNone:
            return {0, 0};
        case TEsShadeDirection::sdUp:
            return {0, -1};
        case TEsShadeDirection::sdUpRight:
            return {1, -1};
        case TEsShadeDirection::sdRight:
            return {1, 0};
        case TEsShadeDirection::sdDownRight:
            return {1, 1};
        case TEsShadeDirection::sdDown:
            return {0, 1};
        case TEsShadeDirection::sdDownLeft:
            return {-1, 1};
        case TEsShadeDirection::sdLeft:
            return {-1, 0};
        case TEsShadeDirection::sdUpLeft:
            return {-1, -1};
    }
    return {0, 0};
}

ShadeExtent ShadeExtentOf(const ShadeValues& values) {
    const Point h = ShadeStep(values.highlightDirection);
    const Point s = ShadeStep(values.shadowDirection);
    const int hx = values.highlightDepth * h.x, hy = values.highlightDepth * h.y;
    const int sx = values.shadowDepth * s.x, sy = values.shadowDepth * s.y;
    return {std::min({hx, sx, hy, sy, 0}), std::max({hx, sx, hy, sy, 0})};
}

int AlignmentShift(unsigned format, const ShadeExtent& extent) {
    if (format & kDtCenter)
        return (extent.max - extent.min) / 2;
    if (format & kDtRight)
        return extent.max - extent.min;
    return 0;
}

Rect FaceRect(const Rect& rect, const ShadeExtent& extent, int shift) {
    return {rect.left - extent.min - shift, rect.top - extent.min, rect.right - extent.min - shift,
            rect.bottom - extent.min};
}

int RoundHalfEven(double value) {
    // The default floating-point environment rounds to nearest, ties to even; say so rather than rely on it.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    return static_cast<int>(rounded);
}

std::vector<TextLayer> ShadeLayers(TColor shadeColor,
                                   TEsShadeStyle style,
                                   int depth,
                                   TEsShadeDirection direction,
                                   TColor fontColor,
                                   const Rect& face) {
    const int r = RedOf(shadeColor), g = GreenOf(shadeColor), b = BlueOf(shadeColor);
    double dr = 0, dg = 0, db = 0;
    int first = depth;
    if (style != TEsShadeStyle::ssPlain && depth > 1) {
        first = 1;
        if (style == TEsShadeStyle::ssGraduated) {
            dr = double(RedOf(fontColor) - r) / (depth - 1);
            dg = double(GreenOf(fontColor) - g) / (depth - 1);
            db = double(BlueOf(fontColor) - b) / (depth - 1);
        }
    }
    const Point step = ShadeStep(direction);
    std::vector<TextLayer> layers;
    for (int i = depth; i >= first; --i) {
        const int k = depth - i;
        const TColor color = MakeColor(r + RoundHalfEven(k * dr), g + RoundHalfEven(k * dg), b + RoundHalfEven(k * db));
        layers.push_back(
            {{face.left + step.x * i, face.top + step.y * i, face.right + step.x * i, face.bottom + step.y * i},
             color});
    }
    return layers;
}

Point GradientOrigin(unsigned format, const Rect& rect, const ShadeExtent& extent, int shift, int textWidth) {
    const int width = rect.right - rect.left;
    int x;
    if (format & kDtCenter)
        x = (width - textWidth) / 2 - extent.min - shift;
    else if (format & kDtRight)
        x = width - extent.max - textWidth;
    else
        x = -extent.min;
    return {x, -extent.min};
}

std::vector<GradientBand> GradientBands(TEsGraduateStyle style,
                                        const Rect& rect,
                                        const Point& origin,
                                        int textWidth,
                                        TColor fromColor,
                                        TColor fontColor) {
    std::vector<GradientBand> bands;
    if (style == TEsGraduateStyle::gsNone)
        return bands;
    const bool vertical = style == TEsGraduateStyle::gsVertical;
    const double span = vertical ? (rect.bottom - rect.top) - 1 : textWidth - 1;
    const double step = span / 15;
    const int r = RedOf(fromColor), g = GreenOf(fromColor), b = BlueOf(fromColor);
    const double dr = (RedOf(fontColor) - r) / 15.0;
    const double dg = (GreenOf(fontColor) - g) / 15.0;
    const double db = (BlueOf(fontColor) - b) / 15.0;
    for (int j = 0; j < 16; ++j) {
        const TColor color = MakeColor(r + RoundHalfEven(j * dr), g + RoundHalfEven(j * dg), b + RoundHalfEven(j * db));
        const int from = RoundHalfEven(j * step), to = RoundHalfEven((j + 1) * step);
        const Rect band = vertical ? Rect{0, from + origin.y, rect.right - rect.left, to + origin.y}
                                   : Rect{from + origin.x, 0, to + origin.x, rect.bottom - rect.top};
        bands.push_back({band, color});
    }
    return bands;
}

namespace {

std::uint8_t ScaledDepth(std::uint8_t depth, int dpi) {
    const int scaled = framework::ScaleToDpi(depth, dpi);
    return static_cast<std::uint8_t>(scaled > 255 ? 255 : scaled);
}

}  // namespace

ShadeValues ValuesToPaint(const ShadeValues& design, int dpi, bool highContrast, TColor textColor) {
    ShadeValues values = design;
    if (highContrast) {
        values.graduateStyle = TEsGraduateStyle::gsNone;
        values.highlightColor = values.shadowColor = textColor;
        values.highlightDepth = values.shadowDepth = 0;
        values.highlightStyle = values.shadowStyle = TEsShadeStyle::ssPlain;
        return values;
    }
    values.highlightDepth = ScaledDepth(design.highlightDepth, dpi);
    values.shadowDepth = ScaledDepth(design.shadowDepth, dpi);
    return values;
}

}  // namespace es
