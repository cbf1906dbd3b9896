// Shows the main window's banner (its design values, on a form of the main window's size) and steps
// it tick by tick, once with the image cache and once rendering the image at every tick, capturing
// every frame from the window; prints how many frames are identical and how often each rendered.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "widgets/es/es_marquee.h"
#include "framework/form.h"
#include "pixels.h"

namespace {

class Form : public framework::TForm {
public:
    Form()
        : TForm({"BannerFramesBench", u"banner frames", 210, 97, false, {u"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET}}) {}
};

void Pump() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&message);
}

struct Run {
    std::vector<std::vector<std::uint32_t>> frames;
    long renders = 0;
    int firstWrap = 0;  // the tick at which the text first started again at the right edge
};

// The marquee's frames as this benchmark counts them, kept or rendered at every tick.
struct BenchFrames : es::MarqueeFrames {
    explicit BenchFrames(bool keep) : keep(keep) {}
    bool KeepImage() const override { return keep; }
    void ImageRendered() override { ++renders; }
    bool keep;
    long renders = 0;
};

Run Frames(bool rebuildEveryTick, int ticks) {
    BenchFrames frames(!rebuildEveryTick);
    Form form;
    auto* banner = form.Own<es::TEsScrollingMarquee>();
    banner->SetFrames(&frames);
    banner->SetParent(&form);
    banner->SetBounds({8, 0, 193, 25});
    banner->SetAlignment(framework::taCenter);
    banner->SetCaption(
        u"AutoCADのMassProコマンドを使用して図心位置を取得します。面の中心かリージョンをクリックしてください");
    banner->SetFont(framework::TFont{u"Times New Roman", -24, SHIFTJIS_CHARSET, framework::clGray, 0});
    form.Show();
    banner->SetActive(true);
    banner->SetScrollSpeed(0);  // only the ticks posted here move it
    ::UpdateWindow(form.Handle());
    Run run;
    const long before = frames.renders;
    int tick = 0;
    banner->OnCycle = [&](framework::TObject*) {
        if (!run.firstWrap)
            run.firstWrap = tick;
    };
    for (int i = 0; i < ticks; ++i) {
        tick = i + 1;
        ::PostMessageA(banner->TickWindow(), es::kMarqueeTickMessage, 0, 0);
        Pump();
        ::UpdateWindow(form.Handle());
        framework::WindowDc dc(form.Handle());
        testsupport::Pixels frame(dc.Get(), 8, 0, 193, 25);
        std::vector<std::uint32_t> values;
        for (int y = 0; y < frame.Height(); ++y)
            for (int x = 0; x < frame.Width(); ++x)
                values.push_back(frame.At(x, y));
        run.frames.push_back(std::move(values));
    }
    run.renders = frames.renders - before;
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 1500;
    const Run cached = Frames(false, ticks);
    const Run rebuilt = Frames(true, ticks);
    int identical = 0;
    for (int i = 0; i < ticks; ++i)
        identical += cached.frames[i] == rebuilt.frames[i];
    std::printf("frames compared: %d (the text first wrapped at tick %d)\n", ticks, cached.firstWrap);
    std::printf("identical frames, cached vs rendered at every tick: %d of %d\n", identical, ticks);
    std::printf("image renders during the ticks: cached %ld, rendered at every tick %ld\n", cached.renders,
                rebuilt.renders);
    return identical == ticks ? 0 : 1;
}
