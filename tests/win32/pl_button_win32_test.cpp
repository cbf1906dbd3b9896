// The gradient push button under Wine: its pixels on the screen and its answers to real mouse and
// keyboard input (SendInput).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/form.h"
#include "widgets/pl/pl_button.h"

namespace {

using framework::TColor;
using pl::TplButton;

class Form : public framework::TForm {
public:
    Form() : TForm({"PlButtonTestForm", u"buttons", 240, 120, false, {u"Tahoma", -11, DEFAULT_CHARSET}}) {
        Show();
        ::SetForegroundWindow(Handle());
        // Tab moves between the controls of the application's main window.
        framework::Application.SetMainWindow(Handle());
    }
    TplButton* Button(int left, int top, int width = 57, int height = 26) {
        auto* button = Own<TplButton>(this);
        button->SetBounds({left, top, width, height});
        button->SetParent(this);
        return button;
    }
};

void Pump() {
    // Through the application's dispatch, so that the form offers Enter and Escape to its buttons.
    for (int round = 0; round < 5; ++round) {
        framework::Application.ProcessMessages();
        ::Sleep(20);
    }
}

COLORREF Pixel(const TplButton& button, int x, int y) {
    ::UpdateWindow(button.Handle());
    framework::WindowDc dc(button.Handle());
    return ::GetPixel(dc.Get(), x, y);
}

std::vector<COLORREF> Row(const TplButton& button, int y) {
    std::vector<COLORREF> row;
    for (int x = 0; x < button.Width(); ++x)
        row.push_back(Pixel(button, x, y));
    return row;
}

std::vector<COLORREF> Column(const TplButton& button, int x) {
    std::vector<COLORREF> column;
    for (int y = 0; y < button.Height(); ++y)
        column.push_back(Pixel(button, x, y));
    return column;
}

int Count(const TplButton& button, COLORREF colour) {
    int count = 0;
    for (int y = 0; y < button.Height(); ++y)
        for (int x = 0; x < button.Width(); ++x)
            count += Pixel(button, x, y) == colour;
    return count;
}

POINT ScreenPoint(const TplButton& button, int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(button.Handle(), &point);
    return point;
}

// Handles messages until the condition holds (the platform reports a pointer leaving with some
// delay), at most a second.
bool PumpUntil(const std::function<bool()>& condition) {
    for (int round = 0; round < 50 && !condition(); ++round) {
        framework::Application.ProcessMessages();
        ::Sleep(20);
    }
    return condition();
}

void MoveMouse(POINT point) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (point.x * 65535) / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (point.y * 65535) / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
    Pump();
}

void MouseButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof input);
    Pump();
}

void Key(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof input);
}

void Press(WORD key, WORD modifier = 0) {
    if (modifier)
        Key(modifier, true);
    Key(key, true);
    Key(key, false);
    if (modifier)
        Key(modifier, false);
    Pump();
}

COLORREF System(TColor colour) {
    return framework::ColorToRGB(colour);
}

TEST(PlButtonPixels, GradientRowsOnTheScreen) {
    Form form;
    TplButton* button = form.Button(10, 10);
    button->SetButtonStyle(pl::bsFlatNoFrame);
    button->SetGradEndColor(framework::clMoneyGreen);
    const std::vector<COLORREF> column = Column(*button, 5);
    ASSERT_EQ(26u, column.size());
    EXPECT_EQ(RGB(255, 255, 255), column[0]);
    EXPECT_EQ(RGB(253, 254, 253), column[1]);
    EXPECT_EQ(RGB(225, 239, 225), column[12]);
    EXPECT_EQ(RGB(195, 222, 195), column[24]);
    EXPECT_EQ(RGB(192, 220, 192), column[25]);
    EXPECT_EQ(Row(*button, 12), std::vector<COLORREF>(57, RGB(225, 239, 225)));
    // Drawn straight onto the window (no off-screen copy) with the parent's colour: the same face.
    button->SetParentColor(true);
    button->Refresh();
    EXPECT_EQ(Row(*button, 12), std::vector<COLORREF>(57, RGB(225, 239, 225)));

    // One pixel high: the begin colour; no gradient: the plain colour.
    button->SetBounds({10, 10, 57, 1});
    EXPECT_EQ(RGB(255, 255, 255), Pixel(*button, 5, 0));
    button->SetBounds({10, 10, 57, 26});
    button->SetColor(framework::clAqua);
    button->SetGradation(false);
    EXPECT_EQ(Row(*button, 20), std::vector<COLORREF>(57, RGB(0, 255, 255)));
}

// Pixels at the middle of the left and right edges: outermost and one further in.
struct EdgePixels {
    COLORREF left0, left1, right0, right1;
    bool operator==(const EdgePixels& other) const {
        return left0 == other.left0 && left1 == other.left1 && right0 == other.right0 && right1 == other.right1;
    }
};
EdgePixels EdgesOf(const TplButton& button) {
    const int y = button.Height() / 2;
    const int right = button.Width() - 1;
    return {Pixel(button, 0, y), Pixel(button, 1, y), Pixel(button, right, y), Pixel(button, right - 1, y)};
}
// The same edge drawn by the platform on the same face colour.
EdgePixels ReferenceEdge(UINT edge, UINT flags, COLORREF face) {
    framework::TBitmap bitmap(57, 26);
    framework::TCanvas& canvas = bitmap.Canvas();
    canvas.SetBrush(face);
    RECT rect{0, 0, 57, 26};
    canvas.FillRect(rect);
    ::DrawEdge(canvas.Handle(), &rect, edge, flags);
    return {canvas.Pixel(0, 13), canvas.Pixel(1, 13), canvas.Pixel(56, 13), canvas.Pixel(55, 13)};
}

TEST(PlButtonPixels, EachFrameStyleAndThePressedFrame) {
    Form form;
    TplButton* button = form.Button(10, 10);
    button->SetColor(framework::clWhite);
    button->SetGradation(false);
    const COLORREF face = RGB(255, 255, 255);
    const COLORREF round = RGB(117, 117, 117);
    struct Case {
        pl::TplButtonStyle style;
        pl::TplBtnFrameType frameType;
        EdgePixels expected;
    };
    const Case cases[] = {
        {pl::bsNormal, pl::bffFlat, ReferenceEdge(EDGE_RAISED, BF_RECT, face)},
        {pl::bsFlat, pl::bffFlat, ReferenceEdge(EDGE_BUMP, BF_RECT | BF_FLAT, face)},
        {pl::bsFlat, pl::bffEtched, ReferenceEdge(EDGE_ETCHED, BF_RECT, face)},
        {pl::bsFlat, pl::bffBump, ReferenceEdge(EDGE_BUMP, BF_RECT, face)},
        {pl::bsFlatNoFrame, pl::bffFlat, {face, face, face, face}},
        {pl::bsRoundRect, pl::bffFlat, {round, face, round, face}},
        {pl::bsRoundRectNoFrame, pl::bffFlat, {face, face, face, face}},
    };
    for (const Case& c : cases) {
        button->SetFlatFrameType(c.frameType);
        button->SetButtonStyle(c.style);
        EXPECT_EQ(c.expected, EdgesOf(*button)) << int(c.style) << "/" << int(c.frameType);
        EXPECT_EQ(face, Pixel(*button, 28, 4)) << int(c.style);
    }
    EXPECT_FALSE(ReferenceEdge(EDGE_RAISED, BF_RECT, face) == ReferenceEdge(EDGE_ETCHED, BF_RECT, face));

    // Pressed: two nested rectangles in the shadow colour and mid grey, only for bsNormal.
    button->SetButtonStyle(pl::bsNormal);
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    ASSERT_TRUE(button->Pressed());
    EXPECT_EQ((EdgePixels{System(framework::clBtnShadow), RGB(128, 128, 128), System(framework::clBtnShadow),
                          RGB(128, 128, 128)}),
              EdgesOf(*button));
    EXPECT_EQ(System(framework::clBtnShadow), Pixel(*button, 28, 0));
    button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(200, 200));  // released off the button: no click
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(ReferenceEdge(EDGE_RAISED, BF_RECT, face), EdgesOf(*button));
}

// The pixels of the focus mark's rectangle that change when the button takes the focus.
std::vector<POINT> FocusChanges(TplButton& button, framework::TWinControl& elsewhere) {
    elsewhere.SetFocus();
    Pump();
    std::vector<std::vector<COLORREF>> before;
    for (int y = 0; y < button.Height(); ++y)
        before.push_back(Row(button, y));
    button.SetFocus();
    Pump();
    std::vector<POINT> changed;
    for (int y = 0; y < button.Height(); ++y) {
        const std::vector<COLORREF> row = Row(button, y);
        for (int x = 0; x < button.Width(); ++x)
            if (row[static_cast<std::size_t>(x)] != before[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)])
                changed.push_back({x, y});
    }
    return changed;
}

RECT Extent(const std::vector<POINT>& points) {
    RECT extent{10000, 10000, -1, -1};
    for (const POINT& point : points) {
        extent.left = std::min<LONG>(extent.left, point.x);
        extent.top = std::min<LONG>(extent.top, point.y);
        extent.right = std::max<LONG>(extent.right, point.x + 1);
        extent.bottom = std::max<LONG>(extent.bottom, point.y + 1);
    }
    return extent;
}

TEST(PlButtonPixels, FocusMarkWhereEachStyleDrawsIt) {
    Form form;
    TplButton* other = form.Button(100, 10);
    TplButton* button = form.Button(10, 10);
    button->SetGradation(false);
    button->SetColor(framework::clWhite);
    struct Case {
        pl::TplButtonStyle style;
        pl::TplBtnFrameType frameType;
        RECT extent;
    };
    const Case cases[] = {
        {pl::bsNormal, pl::bffFlat, {2, 2, 55, 24}},
        {pl::bsFlat, pl::bffBump, {2, 2, 56, 25}},
        {pl::bsFlat, pl::bffEtched, {2, 2, 54, 23}},
        {pl::bsRoundRect, pl::bffFlat, {2, 2, 55, 24}},
    };
    for (const Case& c : cases) {
        button->SetFlatFrameType(c.frameType);
        button->SetButtonStyle(c.style);
        const std::vector<POINT> changed = FocusChanges(*button, *other);
        ASSERT_FALSE(changed.empty()) << int(c.style) << "/" << int(c.frameType);
        const RECT extent = Extent(changed);
        EXPECT_EQ(c.extent.left, extent.left) << int(c.style) << "/" << int(c.frameType);
        EXPECT_EQ(c.extent.top, extent.top) << int(c.style) << "/" << int(c.frameType);
        EXPECT_EQ(c.extent.right, extent.right) << int(c.style) << "/" << int(c.frameType);
        EXPECT_EQ(c.extent.bottom, extent.bottom) << int(c.style) << "/" << int(c.frameType);
    }
    // Without HasFocus the button takes the focus from Tab but shows no mark and fires no OnEnter.
    int entered = 0;
    button->OnEnter = [&](framework::TObject*) { ++entered; };
    button->SetButtonStyle(pl::bsNormal);
    button->SetHasFocus(false);
    EXPECT_TRUE(FocusChanges(*button, *other).empty());
    other->SetFocus();
    Pump();
    Press(VK_TAB);
    EXPECT_TRUE(button->Focused());
    EXPECT_EQ(0, entered);
    button->SetHasFocus(true);
    other->SetFocus();
    Pump();
    Press(VK_TAB);
    EXPECT_EQ(1, entered);
}

TEST(PlButtonPixels, DisabledCaptionIsEtched) {
    Form form;
    TplButton* button = form.Button(10, 10, 75, 26);
    button->SetGradation(false);
    button->SetColor(framework::clBlue);
    button->SetButtonStyle(pl::bsFlatNoFrame);
    button->CaptionA().SetCaption(u"WWW");
    const COLORREF text = System(framework::clWindowText);
    const COLORREF highlight = System(framework::clBtnHighlight);
    const COLORREF shadow = System(framework::clBtnShadow);
    ASSERT_GT(Count(*button, text), 0);
    EXPECT_EQ(0, Count(*button, shadow));

    button->SetEnabled(false);
    ::UpdateWindow(button->Handle());
    EXPECT_EQ(0, Count(*button, text));
    EXPECT_GT(Count(*button, shadow), 0);
    // The highlight shows one pixel down and right of the shadow's lowest right-most pixel.
    int lowest = -1, right = -1;
    for (int y = 0; y < button->Height(); ++y)
        for (int x = 0; x < button->Width(); ++x)
            if (Pixel(*button, x, y) == shadow && (y > lowest || (y == lowest && x > right)))
                lowest = y, right = x;
    EXPECT_EQ(highlight, Pixel(*button, right + 1, lowest + 1));

    // Neither HasFocus nor DisableImage: drawn as if enabled; DisableImage alone: etched again.
    button->SetHasFocus(false);
    ::UpdateWindow(button->Handle());
    EXPECT_GT(Count(*button, text), 0);
    button->SetDisableImage(true);
    EXPECT_EQ(0, Count(*button, text));
    EXPECT_GT(Count(*button, shadow), 0);
}

// An icon 16 pixels square: a red 8-pixel square in the middle, the rest transparent.
framework::IconHandle RedSquareIcon() {
    framework::WindowDc screen(nullptr);
    framework::BitmapHandle colour = framework::BitmapHandle::Make(::CreateCompatibleBitmap(screen.Get(), 16, 16));
    framework::BitmapHandle mask = framework::BitmapHandle::Make(::CreateBitmap(16, 16, 1, 1, nullptr));
    {
        framework::MemoryDc dc(screen.Get());
        framework::SelectedObject selected(dc.Get(), colour.Get());
        RECT all{0, 0, 16, 16}, middle{4, 4, 12, 12};
        ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        framework::BrushHandle red = framework::BrushHandle::Make(::CreateSolidBrush(RGB(255, 0, 0)));
        ::FillRect(dc.Get(), &middle, red.Get());
        framework::SelectedObject selectedMask(dc.Get(), mask.Get());
        ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::FillRect(dc.Get(), &middle, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
    return framework::IconHandle(::CreateIconIndirect(&info));
}

// A bitmap 16 pixels square: green with a black middle.
std::unique_ptr<framework::TBitmap> GreenBlackBitmap(int size = 16) {
    auto bitmap = std::make_unique<framework::TBitmap>(size, size);
    bitmap->Canvas().SetBrush(framework::clLime);
    bitmap->Canvas().FillRect({0, 0, size, size});
    bitmap->Canvas().SetBrush(framework::clBlack);
    bitmap->Canvas().FillRect({4, 4, 12, 12});
    return bitmap;
}

class Metafile : public framework::TGraphic {
public:
    std::string ClassName() const override { return "TMetafile"; }
    int Width() const override { return 16; }
    int Height() const override { return 16; }
    std::unique_ptr<framework::TGraphic> Clone() const override { return std::make_unique<Metafile>(); }
};

TEST(PlButtonPixels, IconAlwaysTransparentBitmapOnlyWhenAsked) {
    Form form;
    TplButton* button = form.Button(10, 10);
    button->SetGradation(false);
    button->SetColor(framework::clWhite);
    button->SetButtonStyle(pl::bsFlatNoFrame);
    const COLORREF face = RGB(255, 255, 255);
    // The picture sits at Left 10, centred vertically: (26 - 16) div 2 = 5.
    framework::IconHandle icon = RedSquareIcon();
    ASSERT_TRUE(icon);
    framework::TPicture picture;
    framework::TIcon iconGraphic;
    ASSERT_TRUE(iconGraphic.SetHandle(icon.Get()));
    picture.Assign(&iconGraphic);
    button->Image().SetPicture(picture);
    EXPECT_EQ(5, button->Image().Top());
    EXPECT_EQ(face, Pixel(*button, 10, 5));
    EXPECT_EQ(RGB(255, 0, 0), Pixel(*button, 18, 13));

    std::unique_ptr<framework::TBitmap> bitmap = GreenBlackBitmap();
    picture.Assign(bitmap.get());
    button->Image().SetPicture(picture);
    EXPECT_EQ(RGB(0, 255, 0), Pixel(*button, 10, 5));
    EXPECT_EQ(RGB(0, 0, 0), Pixel(*button, 18, 13));
    button->Image().SetTransParent(true);
    EXPECT_EQ(face, Pixel(*button, 10, 5));
    EXPECT_EQ(RGB(0, 0, 0), Pixel(*button, 18, 13));

    // Disabled: the grey copy, black becoming 120; green (162) is the transparent colour now.
    button->SetEnabled(false);
    EXPECT_EQ(RGB(120, 120, 120), Pixel(*button, 18, 13));
    EXPECT_EQ(face, Pixel(*button, 10, 5));
    button->Image().SetTransParent(false);
    EXPECT_EQ(RGB(162, 162, 162), Pixel(*button, 10, 5));
    button->SetEnabled(true);

    // A graphic of another kind is kept but not drawn.
    Metafile metafile;
    picture.Assign(&metafile);
    button->Image().SetPicture(picture);
    ASSERT_NE(nullptr, button->Image().Picture().Other());
    EXPECT_EQ(Row(*button, 13), std::vector<COLORREF>(57, face));

    // Larger than the button: centred above the top edge, drawn clipped.
    std::unique_ptr<framework::TBitmap> large = GreenBlackBitmap(40);
    picture.Assign(large.get());
    button->Image().SetTransParent(false);
    button->Image().SetPicture(picture);
    EXPECT_EQ((26 - 40) / 2, button->Image().Top());
    EXPECT_EQ(RGB(0, 255, 0), Pixel(*button, 10, 0));
}

TEST(PlButtonShape, RoundStylesClipTheCorners) {
    Form form;
    TplButton* button = form.Button(10, 10);
    EXPECT_EQ(nullptr, button->WindowRegion());
    button->SetButtonStyle(pl::bsRoundRect);
    ASSERT_NE(nullptr, button->WindowRegion());
    framework::RegionHandle shape = framework::RegionHandle::Make(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(COMPLEXREGION, ::GetWindowRgn(button->Handle(), shape.Get()));
    EXPECT_FALSE(::PtInRegion(shape.Get(), 0, 0));
    EXPECT_FALSE(::PtInRegion(shape.Get(), 56, 25));
    EXPECT_TRUE(::PtInRegion(shape.Get(), 28, 0));
    EXPECT_TRUE(::PtInRegion(shape.Get(), 56, 13));
    // On the screen the corner shows the form, the middle the button.
    POINT corner{10, 10}, middle{38, 23};
    ::ClientToScreen(form.Handle(), &corner);
    ::ClientToScreen(form.Handle(), &middle);
    EXPECT_EQ(form.Handle(), ::WindowFromPoint(corner));
    EXPECT_EQ(button->Handle(), ::WindowFromPoint(middle));
    ::UpdateWindow(form.Handle());
    framework::WindowDc formDc(form.Handle());
    EXPECT_EQ(System(framework::clBtnFace), ::GetPixel(formDc.Get(), 10, 10));
    EXPECT_EQ(RGB(117, 117, 117), Pixel(*button, 28, 0));

    // The same style again keeps the shape; a resize makes one for the new size; bsNormal removes it.
    HRGN before = button->WindowRegion();
    button->SetButtonStyle(pl::bsRoundRect);
    EXPECT_EQ(before, button->WindowRegion());
    button->SetBounds({10, 10, 80, 30});
    ASSERT_EQ(COMPLEXREGION, ::GetWindowRgn(button->Handle(), shape.Get()));
    EXPECT_TRUE(::PtInRegion(shape.Get(), 79, 15));
    button->SetButtonStyle(pl::bsRoundRectNoFrame);
    EXPECT_NE(nullptr, button->WindowRegion());
    button->SetButtonStyle(pl::bsNormal);
    EXPECT_EQ(nullptr, button->WindowRegion());
    EXPECT_EQ(ERROR, ::GetWindowRgn(button->Handle(), shape.Get()));
}

TEST(PlButtonInput, PressDragOffAndBackShowsPressedOnlyUntilLeavingAndStillClicks) {
    Form form;
    TplButton* button = form.Button(20, 20);
    int clicks = 0;
    HWND captureAtClick = reinterpret_cast<HWND>(1);
    button->OnClick = [&](framework::TObject*) {
        ++clicks;
        captureAtClick = ::GetCapture();
    };
    const EdgePixels raised = EdgesOf(*button);
    MoveMouse(ScreenPoint(*button, 28, 13));
    MouseButton(true);
    EXPECT_TRUE(button->Pressed());
    EXPECT_EQ(System(framework::clBtnShadow), EdgesOf(*button).left0);
    EXPECT_TRUE(button->Focused());
    MoveMouse(ScreenPoint(*button, 100, 60));
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(raised, EdgesOf(*button));
    MoveMouse(ScreenPoint(*button, 30, 12));
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(raised, EdgesOf(*button));
    MouseButton(false);
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(nullptr, captureAtClick);  // the mouse was free while OnClick ran

    // Released off the button: no click.
    MouseButton(true);
    MoveMouse(ScreenPoint(*button, 100, 60));
    MouseButton(false);
    EXPECT_EQ(1, clicks);

    // Another window taking the mouse (as a message box does) ends the press without a click.
    MoveMouse(ScreenPoint(*button, 28, 13));
    MouseButton(true);
    ASSERT_TRUE(button->Pressed());
    ::SetCapture(form.Handle());
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(raised, EdgesOf(*button));
    MouseButton(false);
    ::ReleaseCapture();
    EXPECT_EQ(1, clicks);
}

TEST(PlButtonInput, WithoutHasFocusAClickTakesNoFocus) {
    Form form;
    TplButton* other = form.Button(100, 20);
    TplButton* button = form.Button(20, 20);
    button->SetHasFocus(false);
    int clicks = 0;
    button->OnClick = [&](framework::TObject*) { ++clicks; };
    other->SetFocus();
    Pump();
    MoveMouse(ScreenPoint(*button, 28, 13));
    MouseButton(true);
    MouseButton(false);
    EXPECT_EQ(1, clicks);
    EXPECT_TRUE(other->Focused());
}

TEST(PlButtonInput, ShiftStateOnMouseEnter) {
    Form form;
    TplButton* button = form.Button(20, 20);
    std::vector<pl::TShiftState> entered;
    std::vector<POINT> at;
    std::string events;
    button->OnMouseEnter = [&](framework::TObject*, pl::TShiftState shift, int x, int y) {
        entered.push_back(shift);
        at.push_back({x, y});
        events += "enter " + std::to_string(shift) + " " + std::to_string(x) + "," + std::to_string(y) + "; ";
    };
    int left = 0;
    button->OnMouseLeave = [&](framework::TObject*, pl::TShiftState, int x, int y) {
        ++left;
        events += "leave " + std::to_string(x) + "," + std::to_string(y) + "; ";
    };
    MoveMouse(ScreenPoint(*button, 100, 60));
    Key(VK_SHIFT, true);
    MoveMouse(ScreenPoint(*button, 10, 8));
    Key(VK_SHIFT, false);
    MoveMouse(ScreenPoint(*button, 100, 60));
    EXPECT_TRUE(PumpUntil([&] { return left == 1; })) << events;
    MoveMouse(ScreenPoint(*button, 12, 9));
    ASSERT_EQ(2u, entered.size()) << events;
    EXPECT_EQ(pl::ssShift, entered[0]);
    EXPECT_EQ(0u, entered[1]);
    EXPECT_EQ(10, at[0].x);
    EXPECT_EQ(8, at[0].y);
    EXPECT_EQ(1, left) << events;
}

TEST(PlButtonInput, EnterEscapeAndModalResult) {
    Form form;
    TplButton* first = form.Button(10, 10);
    TplButton* second = form.Button(80, 10);
    TplButton* third = form.Button(10, 50);
    std::vector<std::string> clicks;
    first->OnClick = [&](framework::TObject*) { clicks.push_back("first"); };
    second->OnClick = [&](framework::TObject*) { clicks.push_back("second"); };
    third->OnClick = [&](framework::TObject*) { clicks.push_back("third"); };
    third->SetModalResult(7);
    third->SetFocus();
    Pump();

    form.SetModalResult(0);
    Press(VK_RETURN);
    EXPECT_EQ(std::vector<std::string>{"third"}, clicks);
    EXPECT_EQ(7, form.ModalResult());

    // With Shift the form does not take Enter; the key-down's plain click leaves ModalResult alone.
    form.SetModalResult(0);
    Press(VK_RETURN, VK_SHIFT);
    EXPECT_EQ((std::vector<std::string>{"third", "third"}), clicks);
    EXPECT_EQ(0, form.ModalResult());

    // Escape clicks the first cancel button the form offers it to, and no other.
    first->SetCancel(true);
    second->SetCancel(true);
    form.SetModalResult(5);
    Press(VK_ESCAPE);
    EXPECT_EQ((std::vector<std::string>{"third", "third", "first"}), clicks);
    EXPECT_EQ(0, form.ModalResult());  // the first button's ModalResult, 0, is copied

    // Not with Ctrl held; not without HasFocus, nor while disabled; a button without a parent form
    // still clicks.
    Press(VK_ESCAPE, VK_CONTROL);
    first->SetHasFocus(false);
    Press(VK_ESCAPE);
    first->SetHasFocus(true);
    first->SetEnabled(false);
    Press(VK_ESCAPE);
    EXPECT_EQ((std::vector<std::string>{"third", "third", "first", "second", "second"}), clicks);
    TplButton loose;
    int looseClicks = 0;
    loose.OnClick = [&](framework::TObject*) { ++looseClicks; };
    loose.Click();
    EXPECT_EQ(1, looseClicks);
    EXPECT_EQ(u"", loose.CaptionA().Caption());  // never placed: no name given to the caption
}

// Space as on a standard push button: the pressed look while it is down, the click when it comes
// up; Escape or the focus leaving first lets go without a click; Shift+Space is the plain click.
TEST(PlButtonInput, SpacePressesAndClicksOnReleaseUnlessEscapeOrFocusLossComesFirst) {
    Form form;
    TplButton* button = form.Button(10, 10);
    TplButton* other = form.Button(80, 10);
    int clicks = 0, otherClicks = 0;
    button->OnClick = [&](framework::TObject*) { ++clicks; };
    other->OnClick = [&](framework::TObject*) { ++otherClicks; };
    button->SetModalResult(3);
    const COLORREF raised = Pixel(*button, 28, 0);
    button->SetFocus();
    Pump();

    form.SetModalResult(0);
    Key(VK_SPACE, true);
    Pump();
    EXPECT_TRUE(button->Pressed());
    EXPECT_EQ(System(framework::clBtnShadow), Pixel(*button, 28, 0));  // the pressed frame
    EXPECT_EQ(0, clicks);
    Key(VK_SPACE, false);
    Pump();
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(raised, Pixel(*button, 28, 0));
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(3, form.ModalResult());

    Key(VK_SPACE, true);
    Pump();
    Press(VK_ESCAPE);
    EXPECT_FALSE(button->Pressed());
    Key(VK_SPACE, false);
    Pump();
    EXPECT_EQ(1, clicks);

    Key(VK_SPACE, true);
    Pump();
    other->SetFocus();
    Pump();
    EXPECT_FALSE(button->Pressed());
    Key(VK_SPACE, false);  // comes up on the other button, which never saw it go down
    Pump();
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(0, otherClicks);

    button->SetFocus();
    Pump();
    form.SetModalResult(0);
    Press(VK_SPACE, VK_SHIFT);
    EXPECT_EQ(2, clicks);
    EXPECT_EQ(0, form.ModalResult());

    // Held down, the key repeats: still one click.
    Key(VK_SPACE, true);
    Key(VK_SPACE, true);
    Key(VK_SPACE, true);
    Pump();
    Key(VK_SPACE, false);
    Pump();
    EXPECT_EQ(3, clicks);
}

TEST(PlButtonBadInput, HugeCaptionsTinySizesAndForeignAssignments) {
    Form form;
    TplButton* button = form.Button(10, 10);
    button->SetName("plButton9");
    EXPECT_EQ(u"", button->CaptionA().Caption());  // placed before it had a name
    const EdgePixels raised = EdgesOf(*button);
    button->CaptionA().SetCaption(std::u16string(10000, u'W'));
    button->CaptionB().SetCaption(std::u16string(5000, u'あ') + u'\xD800');  // a surrogate without its partner
    button->CaptionB().SetAlignment(pl::taEven);
    EXPECT_EQ(raised, EdgesOf(*button));  // painted through to the frame

    for (const framework::Bounds& bounds : {framework::Bounds{10, 10, 0, 0}, framework::Bounds{10, 10, 1, 1},
                                            framework::Bounds{10, 10, 0, 26}, framework::Bounds{10, 10, 57, 0}}) {
        button->SetBounds(bounds);
        ::UpdateWindow(button->Handle());
    }
    button->SetBounds({10, 10, 57, 26});
    button->CaptionA().SetCaption(u"");
    button->CaptionB().SetCaption(u"");
    EXPECT_EQ(raised, EdgesOf(*button));  // back to its size, painted as before

    button->CaptionA().SetCaption(u"閉じる");
    TplButton* other = form.Button(100, 10);
    try {
        button->CaptionA().Assign(&other->Image());
        ADD_FAILURE() << "no error";
    } catch (const framework::EConvertError& error) {
        EXPECT_EQ(u"TplBtnImage を TplBtnCaption に代入できません", error.Message());
    }
    EXPECT_EQ(u"閉じる", button->CaptionA().Caption());
    button->Image().SetTop(3);
    EXPECT_THROW(button->Image().Assign(&button->CaptionA()), framework::EConvertError);
    EXPECT_EQ(3, button->Image().Top());
    EXPECT_FALSE(button->Image().VertCenter());
}

TEST(PlButtonPixels, PaintingKeepsNoGdiObjects) {
    Form form;
    TplButton* button = form.Button(10, 10);
    button->SetButtonStyle(pl::bsRoundRect);
    button->CaptionA().SetCaption(u"実　行");
    button->CaptionB().SetCaption(u"ABC");
    button->CaptionB().SetAlignment(pl::taEven);
    framework::IconHandle icon = RedSquareIcon();
    framework::TIcon iconGraphic;
    ASSERT_TRUE(iconGraphic.SetHandle(icon.Get()));
    framework::TPicture picture;
    picture.Assign(&iconGraphic);
    button->Image().SetPicture(picture);
    button->SetFocus();
    button->Refresh();
    const long before = framework::LiveGdiObjects();
    for (int i = 0; i < 20; ++i) {
        button->SetEnabled(i % 2 == 0);
        button->SetButtonStyle(i % 3 == 0 ? pl::bsNormal : pl::bsRoundRect);
        button->Refresh();
    }
    EXPECT_EQ(before, framework::LiveGdiObjects());
}

TEST(PlButtonBadInput, DestroyedWhileHoldingTheCapture) {
    Form form;
    auto button = std::make_unique<TplButton>();
    button->SetBounds({10, 10, 57, 26});
    button->SetParent(&form);
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    ASSERT_EQ(button->Handle(), ::GetCapture());
    button.reset();
    EXPECT_EQ(nullptr, ::GetCapture());
    MoveMouse(POINT{30, 30});
    MouseButton(false);
    EXPECT_TRUE(::IsWindow(form.Handle()));
}

}  // namespace
