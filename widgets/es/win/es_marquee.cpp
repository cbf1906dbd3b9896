#include "widgets/es/es_marquee.h"

#include <mmsystem.h>

#include <algorithm>

namespace es {

bool TEsCustomScrollingMarquee::rebuildEveryTick_ = false;

namespace {

constexpr int kMaxImageExtent = 16384;

}  // namespace

unsigned TEsCustomScrollingMarquee::QueryResolutionFloor() {
    TIMECAPS caps{};
    if (::timeGetDevCaps(&caps, sizeof caps) != TIMERR_NOERROR)
        return 2;
    return ResolutionFloor(caps.wPeriodMin, caps.wPeriodMax);
}

TEsCustomScrollingMarquee::TEsCustomScrollingMarquee(framework::TComponent* owner) : TEsCustomLabel(owner) {
    SetTransparent(false);
    tickWindow_ = std::make_unique<framework::TUtilityWindow>(
        [this](UINT message, WPARAM wParam, LPARAM lParam) { return TickWndProc(message, wParam, lParam); });
    controller_.StartTimer();
}

TEsCustomScrollingMarquee::~TEsCustomScrollingMarquee() {
    StopTimer();
    // Ticks still queued for the window go nowhere once it is destroyed.
    tickWindow_.reset();
}

void CALLBACK TEsCustomScrollingMarquee::TimerProc(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    // The timer service's thread: hand the tick to the GUI thread and touch nothing else.
    ::PostMessageA(reinterpret_cast<HWND>(user), kMarqueeTickMessage, 0, static_cast<LPARAM>(id));
}

void TEsCustomScrollingMarquee::StopTimer() {
    if (timerId_ != 0)
        ::timeKillEvent(timerId_);
    timerId_ = 0;
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
    return Extent();
}

MarqueeExtent TEsCustomScrollingMarquee::Host::Extent() const {
    return {marquee_.Width(), marquee_.Height(), marquee_.textWidth_, marquee_.textHeight_};
}

void TEsCustomScrollingMarquee::Host::ClearClient() {
    marquee_.WithControlCanvas([this](framework::TCanvas& canvas) {
        canvas.SetBrush(marquee_.Color());
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
        canvas.SetBrush(Color());
        textWidth_ = canvas.TextExtent(Caption()).cx;
        RECT rect = ClientRect();
        textHeight_ = canvas.DrawText(Caption(), rect, DT_CALCRECT | (WordWrap() ? DT_WORDBREAK : 0));
    });
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
    if (rebuildEveryTick_) {
        Invalidate();  // as if nothing were cached: render again at the next paint
        return;
    }
    // A move needs no new image, not even a paint message: the current image is copied at the new
    // place at once. Anything that changes the picture goes through a full paint instead.
    if (Visible() && ImageCurrent() && WithControlCanvas([this](framework::TCanvas& canvas) { CopyImage(canvas); }))
        return;
    TEsCustomLabel::Invalidate();
}

bool TEsCustomScrollingMarquee::ImageCurrent() const {
    const ImageSize size = ImageSizeNow();
    return !imageStale_ && !image_.Empty() && image_.Width() == size.width && image_.Height() == size.height &&
           imageFormat_ == ImageFormat();
}

ImageSize TEsCustomScrollingMarquee::ImageSizeNow() const {
    ImageSize size = MarqueeImageSize(ScrollDirection(), host_.Extent());
    // A caption too long for one bitmap is drawn clipped rather than not at all.
    size.width = std::min(size.width, kMaxImageExtent);
    size.height = std::min(size.height, kMaxImageExtent);
    return size;
}

LRESULT TEsCustomScrollingMarquee::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
    if (message == kMarqueeTickMessage && controller_.Active())
        controller_.Tick();
    return ::DefWindowProcA(tickWindow_->Handle(), message, wParam, lParam);
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
    const ImageSize size = ImageSizeNow();
    const UINT format = ImageFormat();
    // Only what shapes the picture renders it again; a move copies the same image elsewhere.
    if (!ImageCurrent()) {
        imageStale_ = false;
        imageFormat_ = format;
        if (image_.SetSize(size.width, size.height)) {
            PaintToDC(image_.Canvas().Handle(), RECT{0, 0, size.width, size.height}, format);
            ++imageRenders_;
        }
    }
    if (image_.Empty()) {
        canvas.SetBrush(Color());
        canvas.FillRect(ClientRect());
        return;
    }
    CopyImage(canvas);
}

void TEsCustomScrollingMarquee::CopyImage(framework::TCanvas& canvas) {
    const POINT at = Position();
    canvas.SetBrush(Color());
    ::BitBlt(canvas.Handle(), at.x, at.y, image_.Width(), image_.Height(), image_.Canvas().Handle(), 0, 0, SRCCOPY);
    // The area outside the image shows the background, as the activation left it.
    const int w = Width(), h = Height();
    const int top = std::clamp<int>(at.y, 0, h), bottom = std::clamp<int>(at.y + image_.Height(), 0, h);
    const int left = std::clamp<int>(at.x, 0, w), right = std::clamp<int>(at.x + image_.Width(), 0, w);
    for (const RECT& strip :
         {RECT{0, 0, w, top}, RECT{0, bottom, w, h}, RECT{0, top, left, bottom}, RECT{right, top, w, bottom}}) {
        if (strip.right > strip.left && strip.bottom > strip.top)
            canvas.FillRect(strip);
    }
}

}  // namespace es
