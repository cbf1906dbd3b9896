#pragma once
// The scrolling marquee: a 3D label whose caption, rendered once into an off-screen image, moves
// one pixel per tick of a multimedia timer in one of four directions, wrapping, bouncing or
// passing once.

#include <windows.h>

#include <memory>
#include <string>

#include "widgets/es/es_label.h"
#include "framework/bitmap.h"
#include "framework/utility_window.h"
#include "widgets/es/marquee_controller.h"

namespace es {

// The tick the timer callback posts to the marquee's hidden window; wParam: the timeGetTime of the post.
constexpr UINT kMarqueeTickMessage = WM_USER + 500;

// How a marquee makes its frames and what it tells of them. The product's keeps its rendered image,
// counts nothing and reads the system's millisecond clock; a benchmark or a test gives its own.
class MarqueeFrames {
public:
    virtual ~MarqueeFrames() = default;
    // False: the image is rendered again for every tick, as if nothing were cached.
    virtual bool KeepImage() const { return true; }
    virtual void ImageRendered() {}
    virtual void TickPainted() {}
    // The millisecond clock a pause is measured with.
    virtual DWORD Now() const;
};

class TEsCustomScrollingMarquee : public TEsCustomLabel {
public:
    explicit TEsCustomScrollingMarquee(framework::TComponent* owner = nullptr);
    ~TEsCustomScrollingMarquee() override;
    std::string ClassName() const override { return "TEsCustomScrollingMarquee"; }

    // Each setter first moves the text on by the time the timer was paused, as the ticks would have.
    bool Active() const { return controller_.Active(); }
    void SetActive(bool value) {
        CatchUp();
        controller_.SetActive(value);
    }
    TEsBehaviors Behavior() const { return controller_.Behavior(); }
    void SetBehavior(TEsBehaviors value) {
        CatchUp();
        controller_.SetBehavior(value);
    }
    TEsScrollDirection ScrollDirection() const { return controller_.ScrollDirection(); }
    void SetScrollDirection(TEsScrollDirection value) {
        CatchUp();
        controller_.SetScrollDirection(value);
    }
    int ScrollSpeed() const { return controller_.ScrollSpeed(); }
    // Above 10 (or below 0) is ignored.
    void SetScrollSpeed(int value) {
        CatchUp();
        controller_.SetScrollSpeed(value);
    }
    void SetAlignment(framework::TAlignment alignment) override;

    framework::TNotifyEvent OnCycle;

    // Where the image's top-left corner is drawn, in client coordinates.
    POINT Position() const { return POINT{controller_.Position().x, controller_.Position().y}; }
    HWND TickWindow() const { return tickWindow_->Handle(); }
    bool TimerRunning() const { return timerId_ != 0; }
    // Whether the timer is stopped because nothing of the control can be seen; the next paint (or
    // change) moves the text on by the ticks of the time since and starts the timer again.
    bool TimerPaused() const { return paused_; }
    unsigned Interval() const { return controller_.Interval(); }
    // Another way of making frames (null: the product's); it must outlive the marquee.
    void SetFrames(MarqueeFrames* frames);

    // Marks the image stale as well: every property change comes through here.
    void Invalidate() override;
    void Paint(framework::TCanvas& canvas) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The image is rendered again, the steps work with the new size, the kept DC goes.
    void BoundsChanged() override;

private:
    class Host : public MarqueeHost {
    public:
        explicit Host(TEsCustomScrollingMarquee& marquee) : marquee_(marquee) {}
        MarqueeExtent MeasureText() override;
        void StartTimer(unsigned interval, unsigned resolution) override;
        void StopTimer() override;
        void ClearClient() override;
        // A move, a start or a stop: the image keeps its content, so it is only copied again.
        void Invalidate() override { marquee_.InvalidateMoved(); }
        void RaiseCycle() override;

    private:
        TEsCustomScrollingMarquee& marquee_;
    };

    void MeasureText();
    MarqueeExtent ExtentNow() const;
    Rect FullClient() const;
    // Whether any of the control can be on the screen: shown, on a shown window that is not minimised.
    bool Showing() const;
    // Paints what the ticks changed, when it can be seen.
    void PaintTick(const TickOutcome& outcome);
    HDC TickDc();
    void ReleaseTickDc();
    void StopTimer();
    // Stops the timer while nothing of the control can be seen: hidden, minimised, no size.
    void PauseTimer();
    // Moves the text on by the whole intervals since the pause, as many ticks would have.
    void CatchUp();
    // Catches up and starts the timer again, when paused.
    void ResumeTimer();
    DWORD Now() const { return frames_->Now(); }
    LRESULT TickWndProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Removes the ticks waiting in the queue and returns how many there were.
    int TakeQueuedTicks();
    // Repaints the moved text without marking the image stale.
    void InvalidateMoved();
    bool ImageCurrent() const;
    ImageSize ImageSizeNow() const;
    // Copies the image at the current position, the rest of the client area in the background
    // colour; only within the area.
    void CopyImage(framework::TCanvas& canvas, const Rect& area);
    UINT ImageFormat() const;
    static void CALLBACK TimerProc(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

    static unsigned QueryResolutionFloor();

    Host host_{*this};
    unsigned resolutionFloor_ = QueryResolutionFloor();
    MarqueeController controller_{host_, resolutionFloor_};
    framework::TBitmap image_;
    bool imageStale_ = true;
    UINT imageFormat_ = 0;  // the format the image was rendered with
    int textWidth_ = 0;
    int textHeight_ = 0;
    UINT timerId_ = 0;
    bool paused_ = false;
    DWORD pausedAt_ = 0;  // the clock at the pause, moved on by the intervals caught up since
    framework::WindowDc tickDc_;
    std::unique_ptr<framework::TUtilityWindow> tickWindow_;
    MarqueeFrames* frames_;
};

// Publishes the marquee's properties; the behaviour is all in TEsCustomScrollingMarquee.
class TEsScrollingMarquee : public TEsCustomScrollingMarquee {
public:
    using TEsCustomScrollingMarquee::TEsCustomScrollingMarquee;
    std::string ClassName() const override { return "TEsScrollingMarquee"; }
};

}  // namespace es
