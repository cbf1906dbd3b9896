// Prints what one paint of a gradient push button costs under Wine (median of many repaints):
// the main window's button, a round button with an icon, disabled (grey copy of the icon), and a
// 10,000-character evenly spread caption. Figures, not a test.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "framework/application.h"
#include "framework/form.h"
#include "widgets/pl/pl_button.h"

namespace {

constexpr int kPaints = 200;

class Form : public framework::TForm {
public:
    Form() : TForm({"PlButtonBenchForm", u"bench", 240, 80, false, {u"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET}}) {
        Show();
    }
};

double MedianPaintMicroseconds(pl::TplButton& button) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < kPaints; ++i) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        button.Refresh();
        ::QueryPerformanceCounter(&end);
        times.push_back(1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

framework::IconHandle SampleIcon() {
    return framework::IconHandle(::CopyIcon(::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION))));
}

}  // namespace

int main() {
    framework::Application.Initialize();
    Form form;
    auto* button = form.Own<pl::TplButton>(&form);
    button->SetBounds({144, 32, 57, 26});
    button->SetParent(&form);
    button->SetGradEndColor(framework::clMoneyGreen);
    button->CaptionA().SetCaption(u"実　行");
    button->SetCaptionTop(8);
    std::printf("paint, median of %d (microseconds):\n", kPaints);
    std::printf("  main window button 57x26:                 %8.1f\n", MedianPaintMicroseconds(*button));

    framework::IconHandle icon = SampleIcon();
    framework::TIcon iconGraphic;
    iconGraphic.SetHandle(icon.Get());
    framework::TPicture picture;
    picture.Assign(&iconGraphic);
    button->SetBounds({8, 8, 120, 40});
    button->SetButtonStyle(pl::bsRoundRect);
    button->Image().SetPicture(picture);
    std::printf("  round 120x40 with a 32x32 icon:            %8.1f\n", MedianPaintMicroseconds(*button));
    button->SetEnabled(false);
    std::printf("  the same disabled (grey copy):             %8.1f\n", MedianPaintMicroseconds(*button));
    button->SetEnabled(true);

    button->Image().Picture().Clear();
    button->CaptionA().SetCaption(std::u16string(10000, u'W'));
    button->CaptionA().SetAlignment(pl::taEven);
    std::printf("  10,000-character evenly spread caption:    %8.1f\n", MedianPaintMicroseconds(*button));
    std::printf("GDI objects held by the framework afterwards: %ld\n", framework::LiveGdiObjects());
    return 0;
}
