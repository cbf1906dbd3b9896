#include "widgets/pl/button_layout.h"

namespace pl {

std::vector<Rgb> GradientRows(Rgb begin, Rgb end, int height) {
    std::vector<Rgb> rows;
    if (height < 1)
        return rows;
    rows.reserve(static_cast<std::size_t>(height));
    if (height == 1) {
        rows.push_back(begin);
        return rows;
    }
    const int last = height - 1;
    // Integer division truncates toward zero, so a falling channel rounds up and a rising one down.
    auto channel = [last](int from, int to, int row) { return from + ((to - from) * row) / last; };
    for (int row = 0; row < height; ++row) {
        rows.push_back(MakeRgb(channel(RedOf(begin), RedOf(end), row), channel(GreenOf(begin), GreenOf(end), row),
                               channel(BlueOf(begin), BlueOf(end), row)));
    }
    return rows;
}

CaptionTops CaptionLineTops(const CaptionMetrics& m) {
    CaptionTops tops{};
    tops.captionTop = m.captionTop;
    if (m.vertCenter) {
        // A lone first line sits one pixel below the true centre.
        tops.first =
            m.secondEmpty ? (m.height - m.firstHeight) / 2 + 1 : (m.height - 2 * m.firstHeight - m.lineSpace) / 2;
        tops.captionTop = tops.first;
        if (!m.firstEmpty) {
            tops.second = tops.first + m.firstHeight + m.lineSpace;
        } else {
            tops.second = (m.height - m.secondHeight) / 2;
            tops.captionTop = tops.second;
        }
    } else {
        tops.first = m.captionTop;
        tops.second = m.captionTop + (m.firstEmpty ? 0 : m.firstHeight + m.lineSpace);
    }
    return tops;
}

CaptionAnchor AnchorCaption(TplBtnAlignment alignment,
                            int characters,
                            int width,
                            int leftMargin,
                            int rightMargin,
                            int y,
                            bool shifted) {
    if (alignment == taEven && characters == 1)
        alignment = taCenter;
    CaptionAnchor anchor{0, y, kTextLeft, false};
    switch (alignment) {
        case taCenter:
            anchor.x = width / 2;
            anchor.align = kTextCenter;
            break;
        case taLeft:
            anchor.x = leftMargin + 2;
            break;
        case taRight:
            anchor.x = width - rightMargin - 2;
            anchor.align = kTextRight;
            break;
        case taEven:
            anchor.x = leftMargin + 2;
            anchor.even = true;
            break;
    }
    if (shifted) {
        ++anchor.x;
        ++anchor.y;
    }
    return anchor;
}

std::vector<int> EvenCharacterPositions(int startX,
                                        int width,
                                        int leftMargin,
                                        int rightMargin,
                                        int textWidth,
                                        const std::vector<int>& characterWidths) {
    std::vector<int> positions;
    const int count = static_cast<int>(characterWidths.size());
    if (count == 0)
        return positions;
    positions.reserve(characterWidths.size());
    const int span = width - leftMargin - rightMargin - 4;
    // One character has no gap to share (and is centred by the caller anyway).
    const int gaps = count > 1 ? count - 1 : 1;
    const int gap = (span - textWidth) / gaps;
    int rest = (span - textWidth) % gaps;
    int x = startX;
    for (int characterWidth : characterWidths) {
        positions.push_back(x);
        x += characterWidth + gap;
        if (rest > 0) {
            ++x;
            --rest;
        } else if (rest < 0) {
            --x;
            ++rest;
        }
    }
    return positions;
}

std::vector<std::u16string> SplitCharacters(const std::u16string& text) {
    std::vector<std::u16string> characters;
    for (std::size_t i = 0; i < text.size();) {
        const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
        const bool pair = high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        const std::size_t length = pair ? 2 : 1;
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

void MakeDisabledPixels(std::uint8_t* bits, int width, int height, int stride) {
    for (int row = 0; row < height; ++row) {
        std::uint8_t* pixel = bits + static_cast<std::ptrdiff_t>(row) * stride;
        for (int column = 0; column < width; ++column, pixel += 3) {
            const std::uint8_t grey = DisabledGrey(pixel[2], pixel[1], pixel[0]);
            pixel[0] = pixel[1] = pixel[2] = grey;
        }
    }
}

Frame FrameFor(TplButtonStyle style, TplBtnFrameType frameType, bool pressed) {
    // Edge and border flags by their platform values (EDGE_RAISED, EDGE_ETCHED, EDGE_BUMP, BF_RECT, BF_FLAT).
    constexpr unsigned kEdgeRaised = 5, kEdgeEtched = 6, kEdgeBump = 9, kRect = 0x000F, kFlat = 0x4000;
    switch (style) {
        case bsNormal:
            return pressed ? Frame{FrameKind::PressedRectangles, 0, 0} : Frame{FrameKind::Edge, kEdgeRaised, kRect};
        case bsFlat:
            switch (frameType) {
                case bffFlat:
                    return Frame{FrameKind::Edge, kEdgeBump, kRect | kFlat};
                case bffEtched:
                    return Frame{FrameKind::Edge, kEdgeEtched, kRect};
                case bffBump:
                    return Frame{FrameKind::Edge, kEdgeBump, kRect};
            }
            break;
        case bsRoundRect:
            return Frame{FrameKind::RoundOutline, 0, 0};
        case bsFlatNoFrame:
        case bsRoundRectNoFrame:
            break;
    }
    return Frame{FrameKind::None, 0, 0};
}

FocusMark FocusMarkFor(TplButtonStyle style, TplBtnFrameType frameType, int width, int height) {
    if (IsRoundStyle(style))
        return FocusMark{true, Rect{2, 2, width - 2, height - 2}, kCornerSize - 2};
    FocusMark mark{false, Rect{2, 2, width - 2, height - 2}, 0};
    // The bump edge is a pixel thinner inside than the etched one, so the mark follows it.
    if (style == bsFlat && frameType == bffBump) {
        ++mark.rect.right;
        ++mark.rect.bottom;
    } else if (style == bsFlat && frameType == bffEtched) {
        --mark.rect.right;
        --mark.rect.bottom;
    }
    return mark;
}

framework::TColor CaptionColorOn(bool faceFromSystem, framework::TColor fontColor) {
    return faceFromSystem || !framework::IsSystemColor(fontColor) ? fontColor : framework::clBlack;
}

int LineWidthAt(int scaledOnePixel) {
    return scaledOnePixel < 1 ? 1 : scaledOnePixel;
}

Rect RoundShapeRect(int width, int height) {
    return Rect{0, 0, width + 1, height + 1};
}

}  // namespace pl
