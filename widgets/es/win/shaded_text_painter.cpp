#include "widgets/es/shaded_text_painter.h"

#include "framework/bitmap.h"
#include "widgets/es/shaded_text_layout.h"

namespace es {

namespace {

// Destination where the source is 1, the pattern (brush) where it is 0 inverted: (S & P) | (~S & D).
constexpr DWORD kRopPatternWhereMask = 0x00E20746;

void DrawLayers(framework::TCanvas& canvas,
                const std::u16string& caption,
                UINT format,
                const std::vector<TextLayer>& layers) {
    framework::TFont font = canvas.Font();
    for (const TextLayer& layer : layers) {
        font.color = layer.color;
        canvas.SetFont(font);
        RECT rect = platform::ToRECT(layer.rect);
        canvas.DrawText(caption, rect, format);
    }
}

}  // namespace

void MaskedCopy(HDC destination, HDC source, const RECT& rect, COLORREF key, COLORREF brushColor) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    framework::BitmapHandle mask = framework::BitmapHandle::Make(::CreateBitmap(width, height, 1, 1, nullptr));
    framework::MemoryDc maskDc(destination);
    framework::BrushHandle brush = framework::BrushHandle::Make(::CreateSolidBrush(brushColor));
    if (!mask || !maskDc || !brush)
        return;
    framework::SelectedObject maskSelected(maskDc.Get(), mask.Get());
    // Colour to monochrome: pixels of the source's background colour become 1.
    const COLORREF sourceBack = ::SetBkColor(source, key);
    ::BitBlt(maskDc.Get(), 0, 0, width, height, source, rect.left, rect.top, SRCCOPY);
    ::SetBkColor(source, sourceBack);

    ::BitBlt(destination, rect.left, rect.top, width, height, source, rect.left, rect.top, SRCCOPY);
    // Monochrome to colour: 1 becomes the background (white), 0 the text colour (black).
    const COLORREF text = ::SetTextColor(destination, RGB(0, 0, 0));
    const COLORREF back = ::SetBkColor(destination, RGB(255, 255, 255));
    {
        framework::SelectedObject brushSelected(destination, brush.Get());
        ::BitBlt(destination, rect.left, rect.top, width, height, maskDc.Get(), 0, 0, kRopPatternWhereMask);
    }
    ::SetTextColor(destination, text);
    ::SetBkColor(destination, back);
}

void PaintShadedText(framework::TCanvas& target, const RECT& rect, UINT format, const ShadedText& text) {
    const ShadeValues& v = text.values;
    const ShadeExtent extent = ShadeExtentOf(v);
    const int shift = AlignmentShift(format, extent);
    const Rect face = FaceRect(platform::FromRECT(rect), extent, shift);
    const RECT whole{0, 0, rect.right - rect.left, rect.bottom - rect.top};

    framework::TBitmap work;
    if (!work.SetSize(whole.right, whole.bottom))
        return;
    framework::TCanvas& w = work.Canvas();
    w.CopyRect(whole, target, rect);
    if (!text.transparent) {
        w.SetBrush(text.color);
        w.FillRect(whole);
    }
    w.SetBrush(text.color, framework::TBrushStyle::Clear);
    w.SetFont(text.font);

    DrawLayers(w, text.caption, format,
               ShadeLayers(v.shadowColor, v.shadowStyle, v.shadowDepth, v.shadowDirection, text.font.color, face));
    DrawLayers(
        w, text.caption, format,
        ShadeLayers(v.highlightColor, v.highlightStyle, v.highlightDepth, v.highlightDirection, text.font.color, face));

    RECT faceRect = platform::ToRECT(face);
    if (v.graduateStyle == TEsGraduateStyle::gsNone) {
        w.SetFont(text.font);
        w.DrawText(text.caption, faceRect, format);
    } else {
        framework::TBitmap mask;
        if (mask.SetSize(whole.right, whole.bottom)) {
            framework::TCanvas& a = mask.Canvas();
            a.CopyRect(whole, w, whole);
            framework::TFont keyFont = text.font;
            keyFont.color = kGradientKeyColor;
            a.SetFont(keyFont);
            a.SetBrush(text.color, framework::TBrushStyle::Clear);
            a.DrawText(text.caption, faceRect, format);

            const int textWidth = w.TextExtent(text.caption).cx;
            const Point origin = GradientOrigin(format, platform::FromRECT(rect), extent, shift, textWidth);
            for (const GradientBand& band : GradientBands(v.graduateStyle, platform::FromRECT(rect), origin, textWidth,
                                                          v.graduateFromColor, text.font.color))
                MaskedCopy(w.Handle(), a.Handle(), platform::ToRECT(band.rect), kGradientKeyColor,
                           framework::ColorToRGB(band.color));
        }
    }
    target.CopyRect(rect, w, whole);
}

}  // namespace es
