#include "widgets/es/es_label.h"

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
    font.name = "Times New Roman";
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

ShadedText TEsCustomLabel::TextToPaint() const {
    return ShadedText{Caption(), Font(), Color(), Transparent(), look_.CustomSettings().Values()};
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
        canvas.SetBrush(Color());
        canvas.FillRect(RECT{0, 0, rect.right, rect.bottom});
    }
    canvas.SetBrush(Color(), framework::TBrushStyle::Clear);
    PaintShadedText(canvas, rect, format);
}

}  // namespace es
