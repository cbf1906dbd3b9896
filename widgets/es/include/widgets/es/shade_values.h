#pragma once
// The ten values that shape shaded text, as the settings object holds them.

#include "widgets/es/es_types.h"

namespace es {

struct ShadeValues {
    TColor graduateFromColor = 0x808080;
    TEsGraduateStyle graduateStyle = TEsGraduateStyle::gsNone;
    TColor highlightColor = 0xFFFFFF;
    std::uint8_t highlightDepth = 1;
    TEsShadeDirection highlightDirection = TEsShadeDirection::sdUpLeft;
    TEsShadeStyle highlightStyle = TEsShadeStyle::ssPlain;
    TColor shadowColor = 0;
    std::uint8_t shadowDepth = 1;
    TEsShadeDirection shadowDirection = TEsShadeDirection::sdDownRight;
    TEsShadeStyle shadowStyle = TEsShadeStyle::ssPlain;
};

}  // namespace es
