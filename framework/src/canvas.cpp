#include "framework/canvas.h"

#include "framework/bitmap.h"
#include "framework/wide_text.h"

namespace framework {

COLORREF ColorToRGB(TColor color) {
    if (IsSystemColor(color))
        return ::GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFF;
}

FontHandle CreateFontHandle(const TFont& font) {
    return FontHandle::Make(::CreateFontW(
        font.height, 0, 0, 0, (font.style & fsBold) ? FW_BOLD : FW_NORMAL, (font.style & fsItalic) != 0,
        (font.style & fsUnderline) != 0, (font.style & fsStrikeOut) != 0, font.charset, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, font.unsmoothed ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
        WideText(font.name)));
}

TCanvas::TCanvas(HDC dc) : dc_(dc) {}

TCanvas::~TCanvas() {
    // Put back what the DC held before our objects go.
    if (originalBrush_)
        ::SelectObject(dc_, originalBrush_);
    if (originalPen_)
        ::SelectObject(dc_, originalPen_);
    if (originalFont_)
        ::SelectObject(dc_, originalFont_);
}

void TCanvas::SetBrush(TColor color, TBrushStyle style) {
    if (brush_.color != color || brush_.style != style) {
        brush_ = {color, style};
        brushStale_ = true;
    }
}

void TCanvas::SetPen(TColor color, int width, int style) {
    if (pen_.color != color || pen_.width != width || pen_.style != style) {
        pen_ = {color, width, style};
        penStale_ = true;
    }
}

void TCanvas::SetFont(const TFont& font) {
    if (font_ != font) {
        fontStale_ = fontStale_ || font_.name != font.name || font_.height != font.height ||
                     font_.charset != font.charset || font_.style != font.style;
        font_ = font;
    }
}

void TCanvas::UseBrush() {
    if (!brushStale_)
        return;
    BrushHandle next =
        BrushHandle::Make(brush_.style == TBrushStyle::Clear ? static_cast<HBRUSH>(nullptr)
                                                             : ::CreateSolidBrush(ColorToRGB(brush_.color)));
    HGDIOBJ select = next ? static_cast<HGDIOBJ>(next.Get()) : ::GetStockObject(NULL_BRUSH);
    HGDIOBJ previous = ::SelectObject(dc_, select);
    if (!originalBrush_)
        originalBrush_ = previous;
    brushHandle_ = std::move(next);  // the old brush is no longer selected, so it may go
    brushStale_ = false;
}

void TCanvas::UsePen() {
    if (!penStale_)
        return;
    PenHandle next = PenHandle::Make(::CreatePen(pen_.style, pen_.width, ColorToRGB(pen_.color)));
    HGDIOBJ previous = ::SelectObject(dc_, next ? static_cast<HGDIOBJ>(next.Get()) : ::GetStockObject(BLACK_PEN));
    if (!originalPen_)
        originalPen_ = previous;
    penHandle_ = std::move(next);
    penStale_ = false;
}

void TCanvas::UseFont() {
    if (!fontStale_)
        return;
    FontHandle next = CreateFontHandle(font_);
    HGDIOBJ previous =
        ::SelectObject(dc_, next ? static_cast<HGDIOBJ>(next.Get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    if (!originalFont_)
        originalFont_ = previous;
    fontHandle_ = std::move(next);
    fontStale_ = false;
}

void TCanvas::UseTextColors() {
    UseFont();
    ::SetTextColor(dc_, ColorToRGB(font_.color));
    if (brush_.style == TBrushStyle::Clear) {
        ::SetBkMode(dc_, TRANSPARENT);
    } else {
        ::SetBkMode(dc_, OPAQUE);
        ::SetBkColor(dc_, ColorToRGB(brush_.color));
    }
}

void TCanvas::FillRect(const RECT& rect) {
    UseBrush();
    if (brushHandle_)
        ::FillRect(dc_, &rect, brushHandle_.Get());
}

void TCanvas::FrameRect(const RECT& rect) {
    UseBrush();
    if (brushHandle_)
        ::FrameRect(dc_, &rect, brushHandle_.Get());
}

void TCanvas::Rectangle(const RECT& rect) {
    UseBrush();
    UsePen();
    ::Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void TCanvas::MoveTo(int x, int y) {
    ::MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    UsePen();
    ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, std::u16string_view text) {
    UseTextColors();
    ::TextOutW(dc_, x, y, WideData(text), WideLength(text));
}

SIZE TCanvas::TextExtent(std::u16string_view text) {
    UseFont();
    SIZE extent{};
    ::GetTextExtentPoint32W(dc_, WideData(text), WideLength(text), &extent);
    return extent;
}

int TCanvas::DrawText(std::u16string_view text, RECT& rect, UINT format) {
    UseTextColors();
    // DrawTextW may write into the text with DT_MODIFYSTRING, which no caller asks for.
    return ::DrawTextW(dc_, WideData(text), WideLength(text), &rect, format & ~UINT(DT_MODIFYSTRING));
}

TColor TCanvas::Pixel(int x, int y) const {
    const COLORREF value = ::GetPixel(dc_, x, y);
    return value == CLR_INVALID ? clNone : static_cast<TColor>(value);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    ::SetPixelV(dc_, x, y, ColorToRGB(color));
}

void TCanvas::CopyRect(const RECT& destination, const TCanvas& source, const RECT& sourceRect, DWORD rop) {
    const int width = destination.right - destination.left;
    const int height = destination.bottom - destination.top;
    const int sourceWidth = sourceRect.right - sourceRect.left;
    const int sourceHeight = sourceRect.bottom - sourceRect.top;
    if (width == sourceWidth && height == sourceHeight)
        ::BitBlt(dc_, destination.left, destination.top, width, height, source.dc_, sourceRect.left, sourceRect.top,
                 rop);
    else
        ::StretchBlt(dc_, destination.left, destination.top, width, height, source.dc_, sourceRect.left, sourceRect.top,
                     sourceWidth, sourceHeight, rop);
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    const HDC source = bitmap.Canvas().Handle();
    if (bitmap.Transparent())
        ::GdiTransparentBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), source, 0, 0, bitmap.Width(), bitmap.Height(),
                            ColorToRGB(bitmap.TransparentColor()));
    else
        ::BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), source, 0, 0, SRCCOPY);
}

}  // namespace framework
