#include "widgets/es/es_label.h"

#include "framework/display.h"
#include "widgets/es/shaded_text_layout.h"

namespace es {

namespace {

int ScreenPixelsPerInch() {
    framework::WindowDc screen(nullptr);
    return screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
}

}  // namespace

TEsCustomLabel::TEsCustomLabel(framework::TComponent* owner) : framework::TCustomLabel(owner) {
    SetAutoSize(false);
    SetBounds({GetBounds().left, GetBounds().top, 150, 35});
    SetTransparent(true);
    framework::TFont font = Font();
    font.name = u"Times New Roman";
    font.height = -::MulDiv(20, ScreenPixelsPerInch(), 72);  // 20 points
    font.color = look_.InitialFontColor();
    SetFont(font);
    SetWordWrap(true);
}

void TEsCustomLabel::LookHost::SetFontColor(TColor color) {
    framework::TFont font = label_.Font();
    font.color = color;
    label_.SetFont(font);
}

void TEsCustomLabel::SetWordWrap(bool wordWrap) {
    if (wordWrap == WordWrap())
        return;
    framework::TCustomLabel::SetWordWrap(wordWrap);
    Invalidate();
}

framework::TColor TEsCustomLabel::BackgroundColor() const {
    return framework::HighContrast() ? framework::clBtnFace : Color();
}

ShadedText TEsCustomLabel::TextToPaint() const {
    // In high contrast the text takes the theme's colour of the face it is drawn on.
    const bool contrast = framework::HighContrast();
    framework::TFont font = Font();
    if (contrast) {
        font.color = framework::clBtnText;
        font.unsmoothed = true;  // smoothed edges would blend colours outside the theme
    }
    return ShadedText{Caption(), font, BackgroundColor(), Transparent(),
                      ValuesToPaint(look_.CustomSettings().Values(), Dpi(), contrast, font.color)};
}

void TEsCustomLabel::Paint(framework::TCanvas& canvas) {
    PaintShadedText(canvas, ClientRect(), TextFormat());
}

void TEsCustomLabel::PaintShadedText(framework::TCanvas& canvas, const RECT& rect, UINT format) {
    es::PaintShadedText(canvas, rect, format, TextToPaint());
}

void TEsCustomLabel::PaintToDC(HDC dc, const RECT& rect, UINT format) {
    framework::TCanvas canvas(dc);
    if (!Transparent()) {
        canvas.SetBrush(BackgroundColor());
        canvas.FillRect(RECT{0, 0, rect.right, rect.bottom});
    }
    canvas.SetBrush(BackgroundColor(), framework::TBrushStyle::Clear);
    PaintShadedText(canvas, rect, format);
}

}  // namespace es
