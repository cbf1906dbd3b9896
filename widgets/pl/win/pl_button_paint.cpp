// How a gradient push button draws itself: face, picture, caption lines, frame, focus mark.

#include <vector>

#include "framework/display.h"
#include "widgets/pl/pl_button.h"

namespace pl {

using framework::TBitmap;
using framework::TCanvas;
using framework::TColor;

namespace {

// Sets a DC's text alignment for a scope.
class TextAlignment {
public:
    TextAlignment(HDC dc, UINT align) : dc_(dc), previous_(::SetTextAlign(dc, align)) {}
    ~TextAlignment() {
        if (previous_ != GDI_ERROR)
            ::SetTextAlign(dc_, previous_);
    }
    TextAlignment(const TextAlignment&) = delete;
    TextAlignment& operator=(const TextAlignment&) = delete;

private:
    HDC dc_;
    UINT previous_;
};

// Makes a bitmap a 24-bit picture of the given size, its pixels reachable in memory (rows of
// blue, green, red, each row padded to four bytes). Null when the system cannot make it.
std::uint8_t* MakeTrueColor(TBitmap& bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bitmap.TakeHandle(section);
    return bitmap.Empty() ? nullptr : static_cast<std::uint8_t*>(bits);
}

framework::TFont WithColor(framework::TFont font, TColor color) {
    font.color = color;
    return font;
}

}  // namespace

void IconToBitmap(TBitmap& bitmap, const framework::TIcon& icon) {
    if (icon.Empty() || !MakeTrueColor(bitmap, icon.Width(), icon.Height()))
        return;
    ::DrawIconEx(bitmap.Canvas().Handle(), 0, 0, icon.Handle(), icon.Width(), icon.Height(), 0, nullptr, DI_NORMAL);
}

void MakeDisabledBitmap(TBitmap& source, TBitmap& result) {
    if (source.Empty())
        return;
    const int width = source.Width();
    const int height = source.Height();
    std::uint8_t* bits = MakeTrueColor(result, width, height);
    if (!bits)
        return;
    ::BitBlt(result.Canvas().Handle(), 0, 0, width, height, source.Canvas().Handle(), 0, 0, SRCCOPY);
    // The pixels are changed in memory: GDI must have finished writing them first.
    ::GdiFlush();
    MakeDisabledPixels(bits, width, height, ((width * 3 + 3) / 4) * 4);
}

void TplButton::Paint(TCanvas& canvas) {
    if (ParentColor()) {
        DrawButton(canvas);
        return;
    }
    // Composed off screen and copied in one go, so the face never flickers.
    TBitmap buffer;
    if (!buffer.SetSize(Width(), Height()))
        return;  // nothing to paint on a button without area
    DrawButton(buffer.Canvas());
    const RECT client = ClientRect();
    canvas.CopyRect(client, buffer.Canvas(), client);
}

TColor TplButton::CaptionColor(bool highContrast) const {
    if (highContrast)
        return Enabled() ? framework::clBtnText : framework::clGrayText;
    const bool faceFromSystem =
        Gradation() ? framework::IsSystemColor(GradBeginColor()) && framework::IsSystemColor(GradEndColor())
                    : framework::IsSystemColor(Color());
    return CaptionColorOn(faceFromSystem, Font().color);
}

void TplButton::DrawButton(TCanvas& canvas) {
    // In high contrast only the theme's colours: a plain face, no gradient.
    const bool contrast = framework::HighContrast();
    canvas.SetBrush(contrast ? framework::clBtnFace : Color());
    paintRect_ = ClientRect();
    if (Gradation() && !contrast)
        DrawGradient(canvas);
    else
        canvas.FillRect(paintRect_);
    DrawImage(canvas);

    framework::TFont font = WithColor(Font(), CaptionColor(contrast));
    font.unsmoothed = contrast;  // smoothed edges would blend colours outside the theme
    canvas.SetFont(font);
    const int firstHeight = canvas.TextExtent(CaptionA().Caption()).cy;
    const int secondHeight = CaptionA().Caption().empty() ? canvas.TextExtent(CaptionB().Caption()).cy : 0;
    const CaptionTops tops =
        CaptionLineTops({Height(), firstHeight, secondHeight, CaptionA().Caption().empty(),
                         CaptionB().Caption().empty(), CaptionLineSpace(), CaptionVertCenter(), CaptionTop()});
    if (CaptionVertCenter())
        settings_.StoreCentredTop(tops.captionTop);
    DrawCaption(canvas, CaptionA(), tops.first);
    DrawCaption(canvas, CaptionB(), tops.second);

    canvas.SetBrush(Color(), framework::TBrushStyle::Clear);
    paintRect_ = ClientRect();
    DrawFrame(canvas);
    if (Focused() && HasFocus() && !FocusCuesHidden())
        DrawFocus(canvas);
}

void TplButton::DrawGradient(TCanvas& canvas) {
    const HDC dc = canvas.Handle();
    const Rgb begin = ::GetNearestColor(dc, framework::ColorToRGB(GradBeginColor()));
    const Rgb end = ::GetNearestColor(dc, framework::ColorToRGB(GradEndColor()));
    const std::vector<Rgb> rows = GradientRows(begin, end, Height());
    const int width = Width();
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        canvas.SetPen(rows[static_cast<std::size_t>(row)]);
        canvas.MoveTo(0, row);
        canvas.LineTo(width, row);
    }
}

void TplButton::DrawCaption(TCanvas& canvas, const TplBtnCaption& line, int y) {
    const std::u16string& text = line.Caption();
    const std::vector<std::u16string> characters = SplitCharacters(text);
    if (characters.empty())
        return;
    canvas.SetBrush(Color(), framework::TBrushStyle::Clear);
    const bool shifted = ShiftsContent(HasFocus(), Pressed());
    CaptionAnchor anchor = AnchorCaption(line.Alignment(), static_cast<int>(characters.size()), Width(), line.Left(),
                                         line.Right(), y, shifted);
    if (shifted) {
        // The pressed look moves the caption by one design pixel, at the scale's size.
        anchor.x += LineWidthAt(Scaled(1)) - 1;
        anchor.y += LineWidthAt(Scaled(1)) - 1;
    }
    std::vector<int> widths;
    int textWidth = 0;
    if (anchor.even) {
        widths.reserve(characters.size());
        for (const std::u16string& character : characters)
            widths.push_back(canvas.TextExtent(character).cx);
        textWidth = canvas.TextExtent(text).cx;
    }
    TextAlignment alignment(canvas.Handle(), static_cast<UINT>(anchor.align) | TA_TOP);
    // Both passes start from the same x and the same rest of the spacing.
    auto pass = [&](int dx, int dy) {
        if (!anchor.even) {
            canvas.TextOut(anchor.x + dx, anchor.y + dy, text);
            return;
        }
        const std::vector<int> xs =
            EvenCharacterPositions(anchor.x + dx, Width(), line.Left(), line.Right(), textWidth, widths);
        for (std::size_t i = 0; i < characters.size(); ++i)
            canvas.TextOut(xs[i], anchor.y + dy, characters[i]);
    };
    if (ShowsDisabledLook(Enabled(), HasFocus(), DisableImage()) && !framework::HighContrast()) {
        // Etched: a highlight one pixel down and right, the shadow over it.
        canvas.SetFont(WithColor(canvas.Font(), framework::clBtnHighlight));
        pass(1, 1);
        canvas.SetFont(WithColor(canvas.Font(), framework::clBtnShadow));
    }
    pass(0, 0);
}

void TplButton::DrawImage(TCanvas& canvas) {
    framework::TPicture& picture = image_->Picture();
    if (!image_->Visible() || picture.Empty())
        return;
    const int offset = ShiftsContent(HasFocus(), Pressed()) ? LineWidthAt(Scaled(1)) : 0;
    // Written straight into the placement, centring flags kept on: the values are what the next
    // paint would compute anyway, so there is nothing to repaint.
    image_->placement_.Centre(Width(), Height(), picture.Width(), picture.Height());
    const int x = image_->Left() + offset;
    const int y = image_->Top() + offset;

    TBitmap source;
    TBitmap result;
    bool transparent = false;
    if (framework::TIcon* icon = picture.Icon()) {
        IconToBitmap(source, *icon);
        transparent = true;
    } else if (TBitmap* bitmap = picture.Bitmap()) {
        source.Assign(bitmap);
        transparent = image_->TransParent();
    } else {
        return;  // a graphic of another kind is kept but not drawn
    }
    if (ShowsDisabledLook(Enabled(), HasFocus(), DisableImage()))
        MakeDisabledBitmap(source, result);
    else
        result.Assign(&source);
    if (result.Empty())
        return;
    // Automatic transparency: the colour of the bottom-left pixel.
    result.SetTransparent(transparent);
    result.SetTransparentColor(framework::clDefault);
    canvas.Draw(x, y, result);
}

void TplButton::DrawFrame(TCanvas& canvas) {
    const Frame frame = FrameFor(ButtonStyle(), FlatFrameType(), Pressed());
    RECT rect = paintRect_;
    // Each one-pixel line of the design is as many pixels wide as the scale makes a pixel.
    const int line = LineWidthAt(Scaled(1));
    auto lines = [&](int count, auto draw) {
        for (int i = 0; i < count; ++i) {
            draw();
            ::InflateRect(&rect, -1, -1);
        }
    };
    if (framework::HighContrast() && frame.kind != FrameKind::None) {
        // A solid border in the theme's text colour, twice as wide while pressed.
        canvas.SetPen(framework::clBtnText);
        lines(frame.kind == FrameKind::PressedRectangles ? 2 * line : line, [&] { canvas.Rectangle(rect); });
        return;
    }
    switch (frame.kind) {
        case FrameKind::None:
            break;
        case FrameKind::Edge:
            if (line == 1) {
                ::DrawEdge(canvas.Handle(), &rect, frame.edge, frame.flags);
                break;
            }
            lines(line, [&] { ::DrawEdge(canvas.Handle(), &rect, frame.edge & BDR_OUTER, frame.flags); });
            lines(line, [&] { ::DrawEdge(canvas.Handle(), &rect, frame.edge & BDR_INNER, frame.flags); });
            break;
        case FrameKind::PressedRectangles:
            canvas.SetPen(framework::clBtnShadow);
            lines(line, [&] { canvas.Rectangle(rect); });
            canvas.SetPen(framework::MakeColor(128, 128, 128));
            lines(line, [&] { canvas.Rectangle(rect); });
            break;
        case FrameKind::RoundOutline: {
            framework::PenHandle pen = framework::PenHandle::Make(::CreatePen(PS_SOLID, 1, RGB(117, 117, 117)));
            framework::SelectedObject selectedPen(canvas.Handle(), pen.Get());
            framework::SelectedObject noFill(canvas.Handle(), ::GetStockObject(NULL_BRUSH));
            ::RoundRect(canvas.Handle(), 0, 0, Width(), Height(), Scaled(kCornerSize), Scaled(kCornerSize));
            break;
        }
    }
}

void TplButton::DrawFocus(TCanvas& canvas) {
    paintRect_ = ClientRect();
    const FocusMark mark = FocusMarkFor(ButtonStyle(), FlatFrameType(), Width(), Height());
    const HDC dc = canvas.Handle();
    // The mark keeps its distance from the frame at any scale.
    const int inset = Scaled(2) - 2;
    paintRect_ = RECT{mark.rect.left + inset, mark.rect.top + inset, mark.rect.right - inset, mark.rect.bottom - inset};
    if (mark.rounded) {
        const LOGBRUSH colour{
            BS_SOLID, framework::HighContrast() ? framework::ColorToRGB(framework::clBtnText) : RGB(32, 32, 32), 0};
        framework::PenHandle pen =
            framework::PenHandle::Make(::ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &colour, 0, nullptr));
        framework::SelectedObject selectedPen(dc, pen.Get());
        framework::SelectedObject noFill(dc, ::GetStockObject(NULL_BRUSH));
        const int corner = Scaled(mark.corner);
        ::RoundRect(dc, paintRect_.left, paintRect_.top, paintRect_.right, paintRect_.bottom, corner, corner);
        return;
    }
    if (framework::HighContrast()) {
        // Exclusive-or would make colours outside the theme: dotted in its text colour instead.
        const LOGBRUSH colour{BS_SOLID, framework::ColorToRGB(framework::clBtnText), 0};
        framework::PenHandle pen =
            framework::PenHandle::Make(::ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &colour, 0, nullptr));
        framework::SelectedObject selectedPen(dc, pen.Get());
        framework::SelectedObject noFill(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, paintRect_.left, paintRect_.top, paintRect_.right, paintRect_.bottom);
        return;
    }
    // The dotted rectangle inverts by exclusive-or with the text colour white.
    const COLORREF previous = ::SetTextColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &paintRect_);
    ::SetTextColor(dc, previous);
}

}  // namespace pl
