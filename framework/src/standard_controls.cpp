#include "framework/controls.h"
#include "framework/wide_text.h"

namespace framework {
namespace {

const char kGroupBoxClass[] = "TGroupBox";

}  // namespace

TLabel::TLabel(HWND parent, const Bounds& bounds, const std::u16string& caption, int id)
    : caption_(caption), designBounds_(bounds) {
    CreateHandle(parent, "STATIC", SS_LEFT | SS_NOPREFIX, 0, caption, bounds, id);
    AdjustSize();
}

void TLabel::SetCaption(const std::u16string& caption) {
    caption_ = caption;
    SetText(caption);
    AdjustSize();
}

void TLabel::SetBounds(const Bounds& bounds) {
    designBounds_ = bounds;
    AdjustSize();
}

LRESULT TLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = TWinControl::HandleMessage(message, wParam, lParam);
    if (message == CM_FONTCHANGED)
        AdjustSize();  // a new font (at another scale) gives the caption another size
    return result;
}

void TLabel::AdjustSize() {
    WindowDc dc(Handle());
    if (!dc)
        return;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(Handle(), WM_GETFONT, 0, 0));
    SelectedObject selected(dc.Get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
    SIZE extent{};
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.Get(), &metrics);
    ::GetTextExtentPoint32W(dc.Get(), WideText(caption_), WideLength(caption_), &extent);
    TWinControl::SetBounds({designBounds_.left, designBounds_.top, extent.cx, metrics.tmHeight});
}

TEdit::TEdit(HWND parent, const Bounds& bounds, const std::u16string& text, int id) {
    CreateHandle(parent, "EDIT", WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE, text, bounds, id);
}

TCheckBox::TCheckBox(HWND parent, const Bounds& bounds, const std::u16string& caption, bool checked, int id) {
    CreateHandle(parent, "BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0, caption, bounds, id);
    SetChecked(checked);
}

bool TCheckBox::Checked() const {
    return ::SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
    ::SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

TGroupBox::TGroupBox(HWND parent, const Bounds& bounds, const std::u16string& caption, int id) {
    RegisterOwnClass(kGroupBoxClass, 0, ::GetSysColorBrush(COLOR_BTNFACE));
    CreateOwnWindow(kGroupBoxClass, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent, caption,
                    bounds, id);
}

LRESULT TGroupBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam && RouteCommand(wParam, lParam))
                return 0;
            return ::SendMessageA(::GetParent(Handle()), message, wParam, lParam);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return ::SendMessageA(::GetParent(Handle()), message, wParam, lParam);
    }
    return TWinControl::HandleMessage(message, wParam, lParam);
}

void TGroupBox::PaintWindow(HDC dc, const RECT&) {
    // Everything selected here is put back before the paint DC goes.
    SelectedObject selectedFont(dc, WindowFont());
    const std::u16string caption = Text();
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, WideText(caption), WideLength(caption), &extent);
    RECT frame;
    ::GetClientRect(Handle(), &frame);
    frame.top += extent.cy / 2;
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkMode(dc, OPAQUE);
        ::TextOutW(dc, Scaled(8), 0, WideText(caption), WideLength(caption));
    }
}

}  // namespace framework
