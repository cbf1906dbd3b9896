#include <windows.h>

#include <mmsystem.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

#include "control_ids.h"
#include "framework/application.h"
#include "framework/display.h"
#include "framework/handles.h"
#include "gui_objects.h"
#include "pixels.h"
#include "tavro_form.h"

namespace {

using framework::Application;
using framework::ScaleToDpi;
using testsupport::Pixels;

class RecordingWorkflows : public app::Workflows {
public:
    void Start(app::RunMode, const app::RunTrigger&) override { ++runs; }
    bool Running() const override { return false; }
    void Stop(app::RunEnd) override {}
    int runs = 0;
};

void Pump() {
    for (int round = 0; round < 5; ++round) {
        Application.ProcessMessages();
        ::Sleep(10);
    }
}

// The form laid out at a DPI as the system would ask when it moves to a monitor of that DPI.
void MoveToDpi(app::TTavroF& form, int dpi) {
    RECT suggested;
    ::GetWindowRect(form.Handle(), &suggested);
    ::SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

RECT RectIn(HWND window, HWND reference) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int FontHeight(HFONT font) {
    LOGFONTA log{};
    ::GetObjectA(font, sizeof log, &log);
    return log.lfHeight;
}

Pixels Capture(HWND window, const RECT& rect) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    framework::WindowDc dc(window);
    return Pixels(dc.Get(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

class DisplayScale : public ::testing::Test {
protected:
    void SetUp() override {
        Application.Initialize();
        Application.SetTitle(app::kApplicationTitle);
    }
    void TearDown() override { framework::ForceHighContrast(std::nullopt); }
};

TEST_F(DisplayScale, LayoutFontsAndBannerFollowTheDpi) {
    struct Design {
        int id;
        RECT bounds;
    };
    const Design design[] = {{app::kIdGroupBox2, {8, 52, 81, 93}},
                             {app::kIdCheckBox1, {88, 32, 137, 49}},
                             {app::kIdPlButton1, {144, 64, 201, 90}},
                             {app::kIdPlButton2, {144, 32, 201, 58}},
                             {app::kIdCheckBox2, {8, 32, 81, 49}}};
    int bannerTextAt96 = 0;
    for (const int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        app::TTavroF form;
        form.Show();
        MoveToDpi(form, dpi);
        EXPECT_EQ(form.Dpi(), dpi);
        RECT client;
        ::GetClientRect(form.Handle(), &client);
        EXPECT_NEAR(client.right, ScaleToDpi(210, dpi), 1);
        EXPECT_NEAR(client.bottom, ScaleToDpi(97, dpi), 1);
        for (const Design& d : design) {
            const RECT r = RectIn(::GetDlgItem(form.Handle(), d.id), form.Handle());
            EXPECT_NEAR(r.left, ScaleToDpi(d.bounds.left, dpi), 1) << d.id;
            EXPECT_NEAR(r.top, ScaleToDpi(d.bounds.top, dpi), 1) << d.id;
            EXPECT_NEAR(r.right, ScaleToDpi(d.bounds.right, dpi), 1) << d.id;
            EXPECT_NEAR(r.bottom, ScaleToDpi(d.bounds.bottom, dpi), 1) << d.id;
        }
        const RECT edit = RectIn(form.Edit1->Handle(), form.GroupBox2->Handle());
        EXPECT_NEAR(edit.left, ScaleToDpi(16, dpi), 1);
        EXPECT_NEAR(edit.right - edit.left, ScaleToDpi(41, dpi), 1);
        EXPECT_NEAR(edit.bottom - edit.top, ScaleToDpi(20, dpi), 1);
        const framework::Bounds banner = form.EsScrollingMarquee1->GetBounds();
        EXPECT_NEAR(banner.width, ScaleToDpi(193, dpi), 1);
        EXPECT_NEAR(banner.height, ScaleToDpi(25, dpi), 1);
        EXPECT_NEAR(form.Label2->Top(), ScaleToDpi(75, dpi), 1);

        // Fonts: the design's pixel heights scaled; the size box and the labels use the form's.
        EXPECT_NEAR(FontHeight(form.Font()), -ScaleToDpi(12, dpi), 1);
        EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(form.Edit1->Handle(), WM_GETFONT, 0, 0)), form.Font());
        EXPECT_NEAR(form.EsScrollingMarquee1->Font().height, -ScaleToDpi(24, dpi), 1);
        EXPECT_NEAR(form.plButton2->CaptionTop(), ScaleToDpi(8, dpi), 1);

        // The banner's text as drawn: its height in proportion within 5 %.
        {
            framework::WindowDc dc(form.Handle());
            framework::FontHandle font = framework::CreateFontHandle(form.EsScrollingMarquee1->Font());
            framework::SelectedObject selected(dc.Get(), font.Get());
            TEXTMETRICA metrics{};
            ::GetTextMetricsA(dc.Get(), &metrics);
            if (dpi == 96)
                bannerTextAt96 = metrics.tmHeight;
            EXPECT_NEAR(metrics.tmHeight, bannerTextAt96 * dpi / 96.0, bannerTextAt96 * dpi / 96.0 * 0.05);
        }

        // Its speed: 200 ticks (two seconds) move it by the scaled distance of 200 design pixels.
        const int before = form.EsScrollingMarquee1->Position().x;
        for (int tick = 0; tick < 200; ++tick)
            ::SendMessageA(form.EsScrollingMarquee1->TickWindow(), es::kMarqueeTickMessage, ::timeGetTime(), 0);
        EXPECT_NEAR(before - form.EsScrollingMarquee1->Position().x, 200.0 * dpi / 96, 1);

        // The face's gradient runs from white in the top row to the end colour in the bottom row.
        pl::TplButton* button = form.plButton1;
        const RECT face = RectIn(button->Handle(), form.Handle());
        const Pixels pixels = Capture(form.Handle(), face);
        const int x = pixels.Width() / 4;
        const int border = std::max(1, ScaleToDpi(1, dpi)) * 2;
        const std::uint32_t top = pixels.At(x, border);
        const std::uint32_t bottom = pixels.At(x, pixels.Height() - 1 - border);
        EXPECT_GE(framework::GreenOf(top), 250) << std::hex << top;
        EXPECT_LE(framework::RedOf(bottom), 200) << std::hex << bottom;
        EXPECT_EQ(pixels.Height(), ScaleToDpi(26, dpi));
    }
}

TEST_F(DisplayScale, RoundTripsEndWhereTheyStartedAndKeepNoGdiObjects) {
    app::TTavroF form;
    form.Show();
    Pump();
    RECT first;
    ::GetClientRect(form.Handle(), &first);
    // A first cycle of each makes what is made once; from then on each leaves the count where it was.
    const std::function<void()> cycles[] = {
        [&] {
            for (int dpi : {144, 192, 96})
                MoveToDpi(form, dpi);
        },
        [&] {
            form.SetMinimized(true);
            Pump();
            form.SetMinimized(false);
        },
        [&] { ::SendMessageA(form.Handle(), WM_SYSCOLORCHANGE, 0, 0); },
    };
    for (const auto& cycle : cycles) {
        cycle();
        Pump();
        const testsupport::GdiObjects before = testsupport::CountGdiObjects(::GetCurrentProcess());
        const long ownBefore = framework::LiveGdiObjects();
        ASSERT_GT(before.total, 0);
        for (int round = 0; round < 7; ++round) {
            cycle();
            Pump();
        }
        const testsupport::GdiObjects after = testsupport::CountGdiObjects(::GetCurrentProcess());
        EXPECT_EQ(after.total, before.total) << before.Kinds() << " -> " << after.Kinds();
        EXPECT_EQ(framework::LiveGdiObjects(), ownBefore);
    }
    RECT last;
    ::GetClientRect(form.Handle(), &last);
    EXPECT_NEAR(last.right, first.right, 1);
    EXPECT_NEAR(last.bottom, first.bottom, 1);
    // Minimised during a run, it comes back laid out at the new scale.
    form.SetMinimized(true);
    MoveToDpi(form, 144);
    form.SetMinimized(false);
    Pump();
    ::GetClientRect(form.Handle(), &last);
    EXPECT_NEAR(last.right, ScaleToDpi(210, 144), 1);
    EXPECT_NEAR(last.bottom, ScaleToDpi(97, 144), 1);
    // A DPI below 100 % or none at all lays out the design as it is.
    MoveToDpi(form, 72);
    EXPECT_EQ(form.Dpi(), 96);
    MoveToDpi(form, 0);
    EXPECT_EQ(form.Dpi(), 96);
}

// The system's colours for a test, put back afterwards.
class SystemColours {
public:
    SystemColours(std::initializer_list<std::pair<int, COLORREF>> colours) {
        for (const auto& [index, colour] : colours) {
            indices_.push_back(index);
            saved_.push_back(::GetSysColor(index));
            wanted_.push_back(colour);
        }
        ::SetSysColors(static_cast<int>(indices_.size()), indices_.data(), wanted_.data());
    }
    ~SystemColours() { ::SetSysColors(static_cast<int>(indices_.size()), indices_.data(), saved_.data()); }

private:
    std::vector<int> indices_;
    std::vector<COLORREF> saved_, wanted_;
};

std::uint32_t AsPixel(COLORREF colour) {
    return static_cast<std::uint32_t>(colour);  // both 0x00BBGGRR
}

TEST_F(DisplayScale, HighContrastPaintsOnlyTheThemesColours) {
    const SystemColours palette{{COLOR_BTNFACE, RGB(0, 0, 0)},       {COLOR_BTNTEXT, RGB(255, 255, 0)},
                                {COLOR_WINDOW, RGB(0, 0, 0)},        {COLOR_WINDOWTEXT, RGB(255, 255, 0)},
                                {COLOR_HIGHLIGHT, RGB(0, 255, 255)}, {COLOR_GRAYTEXT, RGB(0, 255, 0)}};
    std::set<std::uint32_t> allowed;
    for (int index : {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_GRAYTEXT})
        allowed.insert(AsPixel(::GetSysColor(index)));
    framework::ForceHighContrast(true);
    for (const int dpi : {96, 144}) {
        app::TTavroF form;
        form.Show();
        MoveToDpi(form, dpi);
        ::SendMessageA(form.Handle(), WM_SYSCOLORCHANGE, 0, 0);
        form.plButton1->SetFocus();
        form.plButton2->SetEnabled(false);
        Pump();
        const RECT banner = form.EsScrollingMarquee1->BoundsRect();
        for (const RECT& area : {RectIn(form.plButton1->Handle(), form.Handle()),
                                 RectIn(form.plButton2->Handle(), form.Handle()), banner}) {
            const Pixels pixels = Capture(form.Handle(), area);
            std::set<std::uint32_t> seen;
            for (int y = 0; y < pixels.Height(); ++y)
                for (int x = 0; x < pixels.Width(); ++x)
                    seen.insert(pixels.At(x, y));
            for (std::uint32_t colour : seen)
                EXPECT_TRUE(allowed.count(colour))
                    << dpi << ": " << std::hex << colour << " at " << std::dec << area.left << "," << area.top;
            EXPECT_GE(seen.size(), 2u) << "text drawn";
        }
    }
}

double Luminance(std::uint32_t colour) {
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(framework::RedOf(colour)) + 0.7152 * channel(framework::GreenOf(colour)) +
           0.0722 * channel(framework::BlueOf(colour));
}

double ContrastRatio(std::uint32_t a, std::uint32_t b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(DisplayScale, CaptionsStayReadableOnTheirFacesInADarkTheme) {
    const SystemColours dark{
        {COLOR_WINDOW, RGB(0, 0, 0)}, {COLOR_WINDOWTEXT, RGB(255, 255, 255)}, {COLOR_BTNTEXT, RGB(255, 255, 255)}};
    app::TTavroF form;
    form.Show();
    Pump();
    for (pl::TplButton* button : {form.plButton1, form.plButton2}) {
        const Pixels pixels = Capture(form.Handle(), RectIn(button->Handle(), form.Handle()));
        // The caption row band: its strongest pixel against the face beside it.
        const int y0 = button->CaptionTop(), y1 = y0 + 12;
        double best = 1;
        for (int y = y0; y < y1; ++y) {
            const std::uint32_t face = pixels.At(3, y);
            for (int x = 4; x < pixels.Width() - 4; ++x)
                best = std::max(best, ContrastRatio(pixels.At(x, y), face));
        }
        EXPECT_GE(best, 4.5) << button->Name();
    }
}

TEST_F(DisplayScale, FocusMarkFollowsTheKeyboardCues) {
    app::TTavroF form;
    form.Show();
    form.plButton2->SetFocus();
    Pump();
    const RECT area = RectIn(form.plButton2->Handle(), form.Handle());
    ::SendMessageA(form.Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    const Pixels shown = Capture(form.Handle(), area);
    ::SendMessageA(form.Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    const Pixels hidden = Capture(form.Handle(), area);
    ::SendMessageA(form.Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    const Pixels again = Capture(form.Handle(), area);
    // The mark runs along the second pixel row inside the frame.
    int differing = 0;
    for (int x = 2; x < shown.Width() - 2; ++x) {
        differing += shown.At(x, 2) != hidden.At(x, 2);
        EXPECT_EQ(shown.At(x, 2), again.At(x, 2));
    }
    EXPECT_GT(differing, 10);
}

struct Accessible {
    IAccessible* object = nullptr;
    explicit Accessible(HWND window) {
        ::AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object));
    }
    ~Accessible() {
        if (object)
            object->Release();
    }
    std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), long child = CHILDID_SELF) {
        VARIANT id{};
        id.vt = VT_I4;
        id.lVal = child;
        BSTR text = nullptr;
        if (FAILED((object->*get)(id, &text)) || !text)
            return L"";
        std::wstring result(text, ::SysStringLen(text));
        ::SysFreeString(text);
        return result;
    }
    long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), long child = CHILDID_SELF) {
        VARIANT id{}, out{};
        id.vt = VT_I4;
        id.lVal = child;
        return SUCCEEDED((object->*get)(id, &out)) && out.vt == VT_I4 ? out.lVal : -1;
    }
};

TEST_F(DisplayScale, ScreenReadersHearTheButtonsAndTheBanner) {
    ::CoInitialize(nullptr);
    auto form = std::make_unique<app::TTavroF>();
    RecordingWorkflows workflows;
    form->SetWorkflows(&workflows);
    form->Show();
    form->plButton2->SetFocus();
    Pump();
    struct Case {
        pl::TplButton* button;
        const wchar_t* name;
        bool focused;
    };
    for (const Case& c : {Case{form->plButton2, L"実行", true}, Case{form->plButton1, L"閉じる", false}}) {
        Accessible accessible(c.button->Handle());
        ASSERT_NE(accessible.object, nullptr);
        EXPECT_EQ(accessible.Text(&IAccessible::get_accName), c.name);
        EXPECT_EQ(accessible.Number(&IAccessible::get_accRole), ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(accessible.Text(&IAccessible::get_accDefaultAction), L"押す");
        const long state = accessible.Number(&IAccessible::get_accState);
        EXPECT_EQ((state & STATE_SYSTEM_FOCUSED) != 0, c.focused);
        EXPECT_TRUE(state & STATE_SYSTEM_FOCUSABLE);
        EXPECT_FALSE(state & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_PRESSED));
    }
    Accessible execute(form->plButton2->Handle());
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    EXPECT_EQ(execute.object->accDoDefaultAction(self), S_OK);
    Pump();
    EXPECT_EQ(workflows.runs, 1);
    form->plButton2->SetEnabled(false);
    EXPECT_TRUE(execute.Number(&IAccessible::get_accState) & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_NE(execute.object->accDoDefaultAction(self), S_OK);
    Pump();
    EXPECT_EQ(workflows.runs, 1);

    // The banner: a static text among the window's children, named by its message.
    Accessible window(form->Handle());
    ASSERT_NE(window.object, nullptr);
    long children = 0;
    window.object->get_accChildCount(&children);
    ASSERT_GE(children, 1);
    EXPECT_EQ(window.Number(&IAccessible::get_accRole, children), ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(window.Text(&IAccessible::get_accName, children).substr(0, 7), L"AutoCAD");

    // Kept past the window: errors, no crash.
    form.reset();
    EXPECT_EQ(execute.Text(&IAccessible::get_accName), L"");
    EXPECT_NE(execute.object->accDoDefaultAction(self), S_OK);
    EXPECT_EQ(window.Number(&IAccessible::get_accRole, children), -1);
    ::CoUninitialize();
}

}  // namespace
