#pragma once
// The enumerations of the 3D label and the marquee, and the framework's value types they use.
// Enumerations keep their published order: a form resource stores ordinals.

#include <cstdint>

#include "framework/color.h"
#include "framework/geometry.h"
#include "framework/notifications.h"

namespace es {

using framework::BlueOf;
using framework::GreenOf;
using framework::kDtCalcRect;
using framework::kDtCenter;
using framework::kDtExpandTabs;
using framework::kDtLeft;
using framework::kDtNoPrefix;
using framework::kDtRight;
using framework::kDtWordBreak;
using framework::MakeColor;
using framework::Point;
using framework::Rect;
using framework::RedOf;
using framework::TColor;

enum class TEsAppearance { apNone, apCustom, apFlying, apRaised, apSunken, apShadow };
enum class TEsColorScheme { csCustom, csText, csWindows, csEmbossed, csGold, csSteel };
enum class TEsGraduateStyle { gsNone, gsHorizontal, gsVertical };
enum class TEsShadeDirection { sdNone, sdUp, sdUpRight, sdRight, sdDownRight, sdDown, sdDownLeft, sdLeft, sdUpLeft };
enum class TEsShadeStyle { ssPlain, ssExtrude, ssGraduated };

enum class TEsScrollDirection { sdRightToLeft, sdLeftToRight, sdTopToBottom, sdBottomToTop };
enum class TEsBehaviors { bhCycle, bhBounce, bhOnce };

}  // namespace es
