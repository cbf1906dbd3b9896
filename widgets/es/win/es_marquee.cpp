#include "widgets/es/es_marquee.h"

#include <mmsystem.h>

#include <algorithm>

namespace es {

namespace {
// How far the text scrolls past the edge before it comes back, in design pixels.
constexpr int kDesignGap = 15;
}  // namespace

DWORD MarqueeFrames::Now() const {
    return ::timeGetTime();
}

namespace {
MarqueeFrames productFrames;
}  // namespace

void TEsCustomScrollingMarquee::SetFrames(MarqueeFrames* frames) {
    frames_ = frames ? frames : &productFrames;
    Invalidate();
}

unsigned TEsCustomScrollingMarquee::QueryResolutionFloor() {
    TIMECAPS caps{};
    if (::timeGetDevCaps(&caps, sizeof caps) != TIMERR_NOERROR)
        return 2;
    return ResolutionFloor(caps.wPeriodMin, caps.wPeriodMax);
}

TEsCustomScrollingMarquee::TEsCustomScrollingMarquee(framework::TComponent* owner)
    : TEsCustomLabel(owner), frames_(&productFrames) {
    SetTransparent(false);
    tickWindow_ = std::make_unique<framework::TUtilityWindow>(
        [this](UINT message, WPARAM wParam, LPARAM lParam) { return TickWndProc(message, wParam, lParam); });
    controller_.StartTimer();
}

TEsCustomScrollingMarquee::~TEsCustomScrollingMarquee() {
    StopTimer();
    ReleaseTickDc();
    // Ticks still queued for the window go nowhere once it is destroyed.
    tickWindow_.reset();
}

void CALLBACK TEsCustomScrollingMarquee::TimerProc(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    // The timer service's thread: hand the tick, with its time, to the GUI thread and touch nothing else.
    ::PostMessageA(reinterpret_cast<HWND>(user), kMarqueeTickMessage, ::timeGetTime(), static_cast<LPARAM>(id));
}

void TEsCustomScrollingMarquee::StopTimer() {
    if (timerId_ != 0)
        ::timeKillEvent(timerId_);
    timerId_ = 0;
    // Stopped on purpose, or started again: either way no pause is pending.
    paused_ = false;
    // Nothing scrolls until the timer runs again: the kept DC goes back.
    ReleaseTickDc();
}

void TEsCustomScrollingMarquee::PauseTimer() {
    if (timerId_ == 0)
        return;
    // Ticks already posted still arrive and count; the time from here on is counted on the catch-up.
    ::timeKillEvent(timerId_);
    timerId_ = 0;
    ReleaseTickDc();
    paused_ = true;
    pausedAt_ = Now();
}

void TEsCustomScrollingMarquee::CatchUp() {
    const unsigned interval = controller_.Interval();
    if (!paused_ || interval == 0)
        return;
    const DWORD elapsed = Now() - pausedAt_;
    const DWORD ticks = elapsed / interval;
    if (ticks == 0)
        return;
    // The part of an interval left over counts with the next catch-up.
    pausedAt_ += ticks * interval;
    // Nothing is painted here: the paint or the change that asked for it draws the result. The
    // steps (and their cycle events) are the ones the ticks would have made, a once-only stop included.
    if (controller_.Active())
        controller_.Tick(static_cast<int>(std::min<DWORD>(ticks, 0x7FFFFFFF)));
}

void TEsCustomScrollingMarquee::ResumeTimer() {
    CatchUp();
    if (paused_)
        controller_.StartTimer();  // starting the timer again clears the pause
}

void TEsCustomScrollingMarquee::Host::StartTimer(unsigned interval, unsigned resolution) {
    marquee_.timerId_ = ::timeSetEvent(interval, resolution, TimerProc,
                                       reinterpret_cast<DWORD_PTR>(marquee_.tickWindow_->Handle()), TIME_PERIODIC);
}

void TEsCustomScrollingMarquee::Host::StopTimer() {
    marquee_.StopTimer();
}

MarqueeExtent TEsCustomScrollingMarquee::Host::MeasureText() {
    marquee_.MeasureText();
    return marquee_.ExtentNow();
}

MarqueeExtent TEsCustomScrollingMarquee::ExtentNow() const {
    return {Width(), Height(), textWidth_, textHeight_, Scaled(kDesignGap)};
}

void TEsCustomScrollingMarquee::BoundsChanged() {
    ResumeTimer();  // the ticks of the pause moved the text in the old size
    imageStale_ = true;
    controller_.SetExtent(ExtentNow());
    ReleaseTickDc();
}

void TEsCustomScrollingMarquee::Host::ClearClient() {
    marquee_.WithControlCanvas([this](framework::TCanvas& canvas) {
        canvas.SetBrush(marquee_.BackgroundColor());
        canvas.FillRect(marquee_.ClientRect());
    });
}

void TEsCustomScrollingMarquee::Host::RaiseCycle() {
    if (marquee_.OnCycle)
        marquee_.OnCycle(&marquee_);
}

void TEsCustomScrollingMarquee::MeasureText() {
    imageStale_ = true;
    // Without a parent window the last measurements stay.
    WithControlCanvas([this](framework::TCanvas& canvas) {
        canvas.SetFont(Font());
        canvas.SetBrush(BackgroundColor());
        textWidth_ = canvas.TextExtent(Caption()).cx;
        RECT rect = ClientRect();
        textHeight_ = canvas.DrawText(Caption(), rect, DT_CALCRECT | (WordWrap() ? DT_WORDBREAK : 0));
    });
    controller_.SetExtent(ExtentNow());
}

void TEsCustomScrollingMarquee::SetAlignment(framework::TAlignment alignment) {
    TEsCustomLabel::SetAlignment(alignment);
    imageStale_ = true;
}

void TEsCustomScrollingMarquee::Invalidate() {
    TEsCustomLabel::Invalidate();
    imageStale_ = true;
}

void TEsCustomScrollingMarquee::InvalidateMoved() {
    if (!frames_->KeepImage()) {
        Invalidate();  // as if nothing were cached: render again at the next paint
        return;
    }
    // A start or a stop needs no new image, not even a paint message: the current image is copied
    // at its place at once. Anything that changes the picture goes through a full paint instead.
    if (Showing() && ImageCurrent() &&
        WithControlCanvas([this](framework::TCanvas& canvas) { CopyImage(canvas, FullClient()); }))
        return;
    TEsCustomLabel::Invalidate();
}

Rect TEsCustomScrollingMarquee::FullClient() const {
    return Rect{0, 0, Width(), Height()};
}

bool TEsCustomScrollingMarquee::Showing() const {
    framework::TWinControl* parent = Parent();
    if (!Visible() || !parent || !parent->Handle() || Width() <= 0 || Height() <= 0)
        return false;
    // A minimised window shows nothing of its controls; its restore repaints them whole.
    HWND window = parent->Handle();
    return ::IsWindowVisible(window) && !::IsIconic(::GetAncestor(window, GA_ROOT));
}

void TEsCustomScrollingMarquee::PaintTick(const TickOutcome& outcome) {
    if (outcome.steps == 0 || outcome.stopped)
        return;  // a stop has repainted the whole control itself
    if (!frames_->KeepImage()) {
        Invalidate();
        return;
    }
    if (!Showing()) {
        // Nothing needs a tick until the control can be seen again: the next paint (restored,
        // shown, sized) catches the position up from the time that passed.
        PauseTimer();
        ReleaseTickDc();
        return;
    }
    if (!ImageCurrent()) {
        TEsCustomLabel::Invalidate();  // the picture itself changed: a full paint renders it again
        return;
    }
    if (outcome.refresh.Width() <= 0 || outcome.refresh.Height() <= 0)
        return;
    HDC dc = TickDc();
    if (!dc) {
        TEsCustomLabel::Invalidate();
        return;
    }
    // Fully covered by another window: nothing of it can be seen, and uncovering repaints it.
    RECT visible{};
    if (::GetClipBox(dc, &visible) == NULLREGION)
        return;
    framework::TCanvas canvas(dc);
    CopyImage(canvas, outcome.refresh);
    frames_->TickPainted();
}

HDC TEsCustomScrollingMarquee::TickDc() {
    if (tickDc_)
        return tickDc_.Get();
    framework::TWinControl* parent = Parent();
    if (!parent || !parent->Handle())
        return nullptr;
    // Kept while the banner scrolls, with the control's clip and origin set once: a tick then costs
    // no round trip to fetch and release a device context.
    tickDc_ = framework::WindowDc(parent->Handle());
    if (!tickDc_)
        return nullptr;
    const RECT bounds = BoundsRect();
    ::IntersectClipRect(tickDc_.Get(), bounds.left, bounds.top, bounds.right, bounds.bottom);
    ::SetViewportOrgEx(tickDc_.Get(), bounds.left, bounds.top, nullptr);
    return tickDc_.Get();
}

void TEsCustomScrollingMarquee::ReleaseTickDc() {
    tickDc_ = framework::WindowDc();
}

bool TEsCustomScrollingMarquee::ImageCurrent() const {
    const ImageSize size = ImageSizeNow();
    return !imageStale_ && !image_.Empty() && image_.Width() == size.width && image_.Height() == size.height &&
           imageFormat_ == ImageFormat();
}

ImageSize TEsCustomScrollingMarquee::ImageSizeNow() const {
    return MarqueeImageSize(ScrollDirection(), ExtentNow());
}

LRESULT TEsCustomScrollingMarquee::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == framework::CM_VISIBLECHANGED || message == framework::CM_COLORCHANGED ||
        message == framework::CM_FONTCHANGED || message == framework::CM_TEXTCHANGED)
        ResumeTimer();  // the ticks of the pause moved the text as it was
    if (message == framework::CM_VISIBLECHANGED)
        ReleaseTickDc();
    if (message == framework::CM_DPICHANGED || message == framework::CM_SYSCOLORCHANGE) {
        // Steps, gap and shading follow the scale; the image is rendered anew in the new look.
        ResumeTimer();
        controller_.SetPixelScale(Dpi());
        controller_.SetExtent(ExtentNow());
        ReleaseTickDc();
        Invalidate();
        return 0;
    }
    if (message == framework::CM_COLORCHANGED || message == framework::CM_FONTCHANGED ||
        message == framework::CM_TEXTCHANGED) {
        TEsCustomLabel::HandleMessage(message, wParam, lParam);
        MeasureText();
        Invalidate();
        return 0;
    }
    return TEsCustomLabel::HandleMessage(message, wParam, lParam);
}

LRESULT TEsCustomScrollingMarquee::TickWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kMarqueeTickMessage)
        return ::DefWindowProcW(tickWindow_->Handle(), message, wParam, lParam);
    // A tick handled later than one interval after it was posted has others queued behind it (the
    // thread was busy: a workflow's wait, a slow paint): they move the text as many pixels and are
    // painted once. A tick on time costs no look at the queue.
    int ticks = 1;
    if (::timeGetTime() - static_cast<DWORD>(wParam) >= controller_.Interval())
        ticks += TakeQueuedTicks();
    if (controller_.Active())
        PaintTick(controller_.Tick(ticks));
    return 0;
}

int TEsCustomScrollingMarquee::TakeQueuedTicks() {
    int taken = 0;
    MSG queued;
    while (::PeekMessageA(&queued, tickWindow_->Handle(), kMarqueeTickMessage, kMarqueeTickMessage, PM_REMOVE)) {
        // A peek returns the request to quit whatever its filter says: it goes back for the loop.
        if (queued.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(queued.wParam));
            break;
        }
        ++taken;
    }
    return taken;
}

UINT TEsCustomScrollingMarquee::ImageFormat() const {
    UINT format = DT_EXPANDTABS | (ShowAccelChar() ? 0 : DT_NOPREFIX);
    // Horizontal scrolling draws one line at the image's left edge.
    if (!IsHorizontal(ScrollDirection())) {
        if (WordWrap())
            format |= DT_WORDBREAK;
        if (Alignment() == framework::taRightJustify)
            format |= DT_RIGHT;
        else if (Alignment() == framework::taCenter)
            format |= DT_CENTER;
    }
    return format;
}

void TEsCustomScrollingMarquee::Paint(framework::TCanvas& canvas) {
    ResumeTimer();  // painted, so it can be seen: the frame the ticks of the pause lead to
    const ImageSize size = ImageSizeNow();
    const UINT format = ImageFormat();
    // Only what shapes the picture renders it again; a move copies the same image elsewhere.
    if (!ImageCurrent()) {
        imageStale_ = false;
        imageFormat_ = format;
        if (image_.SetSize(size.width, size.height)) {
            PaintToDC(image_.Canvas().Handle(), RECT{0, 0, size.width, size.height}, format);
            frames_->ImageRendered();
        }
    }
    if (image_.Empty()) {
        canvas.SetBrush(BackgroundColor());
        canvas.FillRect(ClientRect());
        return;
    }
    CopyImage(canvas, FullClient());
}

void TEsCustomScrollingMarquee::CopyImage(framework::TCanvas& canvas, const Rect& area) {
    const Point at = controller_.Position();
    const ImageSize size{image_.Width(), image_.Height()};
    // Only the part of the image inside the area is copied.
    const Rect part = Intersection(area, {at.x, at.y, at.x + size.width, at.y + size.height});
    if (part.Width() > 0)
        ::BitBlt(canvas.Handle(), part.left, part.top, part.Width(), part.Height(), image_.Canvas().Handle(),
                 part.left - at.x, part.top - at.y, SRCCOPY);
    // The area outside the image shows the background, as the activation left it.
    canvas.SetBrush(BackgroundColor());
    for (const Rect& strip : BackgroundStrips(at, size, Width(), Height()).parts) {
        const Rect fill = Intersection(strip, area);
        if (fill.Width() > 0)
            canvas.FillRect(RECT{fill.left, fill.top, fill.right, fill.bottom});
    }
}

}  // namespace es
