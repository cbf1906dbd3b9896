// The framework's control base under Wine: window ownership, graphic controls painted and fed by
// their parent, the canvas and bitmap owners.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/bitmap.h"
#include "framework/exceptions.h"
#include "framework/form.h"
#include "framework/graphic_control.h"
#include "framework/utility_window.h"

namespace {

using framework::Bounds;
using framework::TColor;

framework::FormDesign SmallForm() {
    return {"FrameworkControlsTestForm", u"controls", 120, 60, false, {u"Tahoma", -11, DEFAULT_CHARSET}};
}

class Swatch : public framework::TGraphicControl {
public:
    explicit Swatch(TColor fill) : fill_(fill) {}
    void Paint(framework::TCanvas& canvas) override {
        canvas.SetBrush(fill_);
        canvas.FillRect(ClientRect());
        ++paints;
    }
    std::vector<UINT> notices;
    int paints = 0;

protected:
    bool Opaque() const override { return true; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= framework::CM_BASE && message < framework::CM_BASE + 0x100)
            notices.push_back(message);
        return TGraphicControl::HandleMessage(message, wParam, lParam);
    }

private:
    TColor fill_;
};

class Form : public framework::TForm {
public:
    Form() : TForm(SmallForm()) {}
};

COLORREF ScreenPixel(HWND window, int x, int y) {
    framework::WindowDc dc(window);
    return ::GetPixel(dc.Get(), x, y);
}

void Pump() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&message);
}

TEST(GraphicControl, IsPaintedInItsRectangleAndInvalidatesOnlyThat) {
    Form form;
    auto* swatch = form.Own<Swatch>(framework::clRed);
    swatch->SetParent(&form);
    swatch->SetBounds({10, 20, 30, 8});
    form.Show();
    ::UpdateWindow(form.Handle());
    EXPECT_EQ(ScreenPixel(form.Handle(), 10, 20), RGB(255, 0, 0));
    EXPECT_EQ(ScreenPixel(form.Handle(), 39, 27), RGB(255, 0, 0));
    EXPECT_NE(ScreenPixel(form.Handle(), 40, 27), RGB(255, 0, 0));
    EXPECT_NE(ScreenPixel(form.Handle(), 10, 19), RGB(255, 0, 0));

    ::ValidateRect(form.Handle(), nullptr);
    swatch->Invalidate();
    RECT update{};
    ASSERT_TRUE(::GetUpdateRect(form.Handle(), &update, FALSE));
    EXPECT_EQ(update.left, 10);
    EXPECT_EQ(update.top, 20);
    EXPECT_EQ(update.right, 40);
    EXPECT_EQ(update.bottom, 28);
}

TEST(GraphicControl, FollowsItsParentsColourUntilItHasItsOwn) {
    Form form;
    auto* swatch = form.Own<Swatch>(framework::clRed);
    swatch->SetParent(&form);
    form.SetColor(framework::clGreen);
    EXPECT_EQ(swatch->Color(), framework::clGreen);
    swatch->SetColor(framework::clBlue);
    EXPECT_FALSE(swatch->ParentColor());
    form.SetColor(framework::clYellow);
    EXPECT_EQ(swatch->Color(), framework::clBlue);
    const std::vector<UINT> expected{framework::CM_PARENTCOLORCHANGED, framework::CM_COLORCHANGED,
                                     framework::CM_COLORCHANGED, framework::CM_PARENTCOLORCHANGED};
    EXPECT_EQ(swatch->notices, expected);
}

TEST(GraphicControl, ClickComesAfterTheCaptureIsGiven) {
    Form form;
    auto* swatch = form.Own<Swatch>(framework::clRed);
    swatch->SetParent(&form);
    swatch->SetBounds({10, 10, 20, 20});
    form.Show();
    std::vector<HWND> captureAtClick;
    swatch->OnClick = [&](framework::TObject*) { captureAtClick.push_back(::GetCapture()); };

    ::SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    EXPECT_EQ(::GetCapture(), form.Handle());
    ::SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(60, 50));  // released off the control
    EXPECT_TRUE(captureAtClick.empty());

    ::SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    ::SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(16, 16));
    ASSERT_EQ(captureAtClick.size(), 1u);
    EXPECT_EQ(captureAtClick[0], nullptr);
}

// A control that notes what it saw, in a log that outlives it.
class Witness : public framework::TWinControl {
public:
    Witness(HWND parent, std::vector<std::string>& log) : log_(log) {
        CreateHandle(parent, "STATIC", 0, 0, u"", {0, 0, 10, 10}, 5);
    }
    ~Witness() override { log_.push_back("object freed"); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DESTROY)
            log_.push_back("window destroyed");
        return TWinControl::HandleMessage(message, wParam, lParam);
    }

private:
    std::vector<std::string>& log_;
};

TEST(WindowOwnership, FormDestroysItsWindowBeforeItsControlsGo) {
    std::vector<std::string> log;
    HWND child = nullptr;
    {
        auto form = std::make_unique<Form>();
        child = form->Own<Witness>(form->Handle(), log)->Handle();
    }
    EXPECT_FALSE(::IsWindow(child));
    EXPECT_EQ(log, (std::vector<std::string>{"window destroyed", "object freed"}));
}

TEST(WindowOwnership, MessagesQueuedForAFreedObjectGoNowhere) {
    int handled = 0;
    HWND window = nullptr;
    {
        framework::TUtilityWindow utility([&](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_APP + 1) {
                ++handled;
                return 0;
            }
            return ::DefWindowProcA(nullptr, message, wParam, lParam);
        });
        window = utility.Handle();
        ::PostMessageA(window, WM_APP + 1, 0, 0);
        Pump();
        ::PostMessageA(window, WM_APP + 1, 0, 0);
        ::PostMessageA(window, WM_APP + 1, 0, 0);
    }
    Pump();
    EXPECT_EQ(handled, 1);
    EXPECT_FALSE(::IsWindow(window));
}

// A handler may reach its window through whatever holds it: none of the creation's messages get to it.
TEST(WindowOwnership, UtilityHandlerSeesNoMessageBeforeItsWindowIsHeld) {
    std::unique_ptr<framework::TUtilityWindow> held;
    std::vector<UINT> early;
    int handled = 0;
    held = std::make_unique<framework::TUtilityWindow>([&](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (!held) {
            early.push_back(message);
            return ::DefWindowProcA(nullptr, message, wParam, lParam);
        }
        if (message == WM_APP + 2)
            ++handled;
        return ::DefWindowProcA(held->Handle(), message, wParam, lParam);
    });
    ::SendMessageA(held->Handle(), WM_APP + 2, 0, 0);
    EXPECT_TRUE(early.empty()) << "first early message: " << (early.empty() ? 0 : early.front());
    EXPECT_EQ(handled, 1);
}

TEST(Canvas, PutsBackWhatTheDcHeldAndFreesWhatItMade) {
    framework::MemoryDc dc(nullptr);
    const HGDIOBJ font = ::GetCurrentObject(dc.Get(), OBJ_FONT);
    const HGDIOBJ brush = ::GetCurrentObject(dc.Get(), OBJ_BRUSH);
    const HGDIOBJ pen = ::GetCurrentObject(dc.Get(), OBJ_PEN);
    const long before = framework::LiveGdiObjects();
    {
        framework::TCanvas canvas(dc.Get());
        canvas.SetFont({u"Tahoma", -20, DEFAULT_CHARSET, framework::clRed, framework::fsBold});
        canvas.SetBrush(framework::clBlue);
        canvas.SetPen(framework::clGreen, 2);
        canvas.TextOut(0, 0, u"x");
        canvas.Rectangle({0, 0, 4, 4});
        canvas.SetBrush(framework::clWhite);  // a second brush: the first goes at once
        canvas.FillRect({0, 0, 2, 2});
        EXPECT_EQ(framework::LiveGdiObjects(), before + 3);
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_FONT), font);
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BRUSH), brush);
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), pen);
    EXPECT_EQ(framework::LiveGdiObjects(), before);
}

TEST(Bitmap, SizesTransparencyAndAssignment) {
    const long before = framework::LiveGdiObjects();
    {
        framework::TBitmap bitmap;
        EXPECT_FALSE(bitmap.SetSize(0, 5));
        EXPECT_FALSE(bitmap.SetSize(1 << 20, 1 << 20));  // far beyond what the system can make
        EXPECT_TRUE(bitmap.Empty());
        bitmap.Canvas().SetPixel(0, 0, framework::clRed);  // drawing on an empty bitmap is harmless

        ASSERT_TRUE(bitmap.SetSize(4, 3));
        bitmap.Canvas().SetBrush(framework::clLime);
        bitmap.Canvas().FillRect({0, 0, 4, 3});
        bitmap.Canvas().SetPixel(0, 2, framework::clNavy);
        EXPECT_EQ(bitmap.TransparentColor(), framework::clNavy);  // the bottom-left pixel

        framework::TBitmap copy;
        copy.Assign(&bitmap);
        EXPECT_EQ(copy.Width(), 4);
        EXPECT_EQ(copy.Canvas().Pixel(3, 0), framework::clLime);

        framework::TPersistent other;
        EXPECT_THROW(copy.Assign(&other), framework::EConvertError);
        EXPECT_EQ(copy.Width(), 4);
    }
    EXPECT_EQ(framework::LiveGdiObjects(), before);
}

}  // namespace
