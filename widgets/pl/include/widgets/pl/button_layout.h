#pragma once
// The arithmetic of painting a gradient push button: face rows, caption positions, the even spacing
// of a caption's characters, the grey of a disabled picture, the frame and the focus mark. Pure
// functions, so that every number the button paints can be checked without a screen.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/color.h"
#include "framework/geometry.h"

namespace pl {

enum TplButtonStyle : std::uint8_t { bsNormal, bsFlat, bsFlatNoFrame, bsRoundRect, bsRoundRectNoFrame };
enum TplBtnFrameType : std::uint8_t { bffFlat, bffEtched, bffBump };
enum TplBtnAlignment : std::uint8_t { taCenter, taLeft, taRight, taEven };

// Width and height of the corner ellipse of the round styles.
constexpr int kCornerSize = 7;

constexpr bool IsRoundStyle(TplButtonStyle style) {
    return style == bsRoundRect || style == bsRoundRectNoFrame;
}

using framework::Rect;

// Colours here are the framework's 0x00BBGGRR values, already plain RGB (no system colours).
using Rgb = framework::TColor;
constexpr Rgb MakeRgb(int r, int g, int b) {
    return framework::MakeColor(r, g, b);
}
using framework::BlueOf;
using framework::GreenOf;
using framework::RedOf;

// The colour of every pixel row of a face of the given height, top first: begin at the top row, end
// at the bottom row, integer steps between. Height 1 is the begin colour alone; below 1, no rows.
std::vector<Rgb> GradientRows(Rgb begin, Rgb end, int height);

// Where the two caption lines start vertically, and what painting writes back to CaptionTop.
struct CaptionTops {
    int first;
    int second;
    int captionTop;  // the value CaptionTop holds after the paint
};
struct CaptionMetrics {
    int height;        // the button's height
    int firstHeight;   // text height of the first line's caption
    int secondHeight;  // text height of the second line's caption
    bool firstEmpty;   // the first line has no text
    bool secondEmpty;  // the second line has no text
    int lineSpace;     // CaptionLineSpace
    bool vertCenter;   // CaptionVertCenter
    int captionTop;    // CaptionTop before the paint
};
CaptionTops CaptionLineTops(const CaptionMetrics& metrics);

// Text alignment modes of the text output call, by their platform values.
enum TextAlign : int { kTextLeft = 0, kTextRight = 2, kTextCenter = 6 };

struct CaptionAnchor {
    int x;
    int y;
    TextAlign align;
    bool even;  // characters are placed one by one from x
};
// The anchor of one caption line of `characters` characters at top y; `shifted` is the one-pixel
// pressed offset (HasFocus and Pressed both on).
CaptionAnchor AnchorCaption(TplBtnAlignment alignment,
                            int characters,
                            int width,
                            int leftMargin,
                            int rightMargin,
                            int y,
                            bool shifted);

// The x of every character of an evenly spread line: the characters share the span between the
// margins, the remainder of the division going one pixel at a time to the first gaps (or, when the
// text is wider than the span, taken one pixel at a time from them).
std::vector<int> EvenCharacterPositions(int startX,
                                        int width,
                                        int leftMargin,
                                        int rightMargin,
                                        int textWidth,
                                        const std::vector<int>& characterWidths);

// The characters of a text, each one UTF-16 unit or a surrogate pair; a surrogate without its
// partner stands alone.
std::vector<std::u16string> SplitCharacters(const std::u16string& text);

// The grey of a pixel in the disabled copy of a picture: between 120 (black) and 247 (white).
constexpr std::uint8_t DisabledGrey(int red, int green, int blue) {
    return static_cast<std::uint8_t>(120 + ((red + green + blue) / 3) / 2);
}
// Turns rows of 24-bit pixels (blue, green, red; rows `stride` bytes apart) into their disabled grey.
void MakeDisabledPixels(std::uint8_t* bits, int width, int height, int stride);

// The frame of a style: an edge drawn by the platform, the pressed double rectangle, the rounded
// outline, or nothing.
enum class FrameKind { None, Edge, PressedRectangles, RoundOutline };
struct Frame {
    FrameKind kind;
    unsigned edge;   // EDGE_* value for FrameKind::Edge
    unsigned flags;  // BF_* flags for FrameKind::Edge
};
Frame FrameFor(TplButtonStyle style, TplBtnFrameType frameType, bool pressed);

// The focus mark: a dotted rectangle, or for the round styles a rounded dotted outline.
struct FocusMark {
    bool rounded;
    Rect rect;
    int corner;  // corner ellipse size of the rounded outline
};
FocusMark FocusMarkFor(TplButtonStyle style, TplBtnFrameType frameType, int width, int height);

// The colour of a caption, from the same source as the face it is drawn on: on a face of fixed
// colours a system text colour would follow a dark theme onto a light face, so it becomes the
// fixed black the faces are designed for; on a face of system colours the font's colour stays.
framework::TColor CaptionColorOn(bool faceFromSystem, framework::TColor fontColor);

// How many pixels wide each one-pixel line of a frame is drawn at a scale: at least one.
int LineWidthAt(int scaledOnePixel);

// The window shape of the round styles: right and bottom exclusive, hence one pixel larger.
Rect RoundShapeRect(int width, int height);

// A picture's top-left corner when centred.
constexpr int CentredOffset(int extent, int pictureExtent) {
    return (extent - pictureExtent) / 2;
}

}  // namespace pl
