#include "drawing_view.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "framework/handles.h"

namespace cadsim {
namespace {

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kRegionFill = RGB(205, 225, 250);
const COLORREF kRegionEdge = RGB(30, 80, 170);
const COLORREF kPolylineEdge = RGB(0, 0, 0);
const COLORREF kCircleEdge = RGB(210, 0, 0);
const COLORREF kHighlight = RGB(240, 140, 0);

// GDI takes 32-bit coordinates; a far-off point is pinned well outside any screen instead.
int Pixel(double value) {
    return static_cast<int>(std::lround(std::max(-1e7, std::min(1e7, value))));
}

// The widest outline reaches this far beyond an entity's bounds, rounding included.
constexpr int kOutlineReach = 4;

POINT ToPixel(const Host& host, const Point& point) {
    const RECT& area = host.drawingArea;
    return POINT{Pixel(area.left + host.view.originX + point.x * host.view.scale),
                 Pixel(area.bottom - host.view.originY - point.y * host.view.scale)};
}

// The pens and the brush of one paint, made once for all the entities it draws.
struct PaintTools {
    framework::PenHandle polyline = framework::PenHandle::Make(::CreatePen(PS_SOLID, 2, kPolylineEdge));
    framework::PenHandle region = framework::PenHandle::Make(::CreatePen(PS_SOLID, 2, kRegionEdge));
    framework::PenHandle circle = framework::PenHandle::Make(::CreatePen(PS_SOLID, 2, kCircleEdge));
    framework::PenHandle highlight = framework::PenHandle::Make(::CreatePen(PS_SOLID, 3, kHighlight));
    framework::BrushHandle fill = framework::BrushHandle::Make(::CreateSolidBrush(kRegionFill));

    HPEN PenFor(const Entity& entity, bool highlighted) const {
        if (highlighted)
            return highlight.Get();
        if (entity.type == EntityType::Region)
            return region.Get();
        return entity.type == EntityType::Circle ? circle.Get() : polyline.Get();
    }
};

void PaintEntity(HDC dc, const Host& host, const PaintTools& tools, const Entity& entity, bool highlighted) {
    framework::SelectedObject usePen(dc, tools.PenFor(entity, highlighted));
    framework::SelectedObject useBrush(
        dc, entity.type == EntityType::Region ? static_cast<HGDIOBJ>(tools.fill.Get()) : ::GetStockObject(NULL_BRUSH));
    if (entity.Round()) {
        const POINT centre = ToPixel(host, entity.center);
        const int radius = Pixel(entity.radius * host.view.scale);
        ::Ellipse(dc, centre.x - radius, centre.y - radius, centre.x + radius + 1, centre.y + radius + 1);
        return;
    }
    std::vector<POINT> corners;
    corners.reserve(entity.corners.size());
    for (const Point& corner : entity.corners)
        corners.push_back(ToPixel(host, corner));
    if (entity.Closed())
        ::Polygon(dc, corners.data(), static_cast<int>(corners.size()));
    else
        ::Polyline(dc, corners.data(), static_cast<int>(corners.size()));
}

// Paper, then the entities that meet the pixels: regions first, so that their fill never hides a
// polyline or a circle drawn over them, each kind oldest first.
void Render(HDC dc, const Host& host, const RECT& pixels) {
    const framework::BrushHandle paper = framework::BrushHandle::Make(::CreateSolidBrush(kPaper));
    ::FillRect(dc, &pixels, paper.Get());
    const RECT& area = host.drawingArea;
    // The drawing under the pixels, widened by what an outline drawn outside them may cover.
    const Point low =
        ToDrawing(host.view, pixels.left - area.left - kOutlineReach, area.bottom - pixels.bottom - kOutlineReach);
    const Point high =
        ToDrawing(host.view, pixels.right - area.left + kOutlineReach, area.bottom - pixels.top + kOutlineReach);
    const std::vector<const Entity*> shown = host.commandLine.CurrentDrawing().Within(Box{low, high});
    const PaintTools tools;
    for (const bool regions : {true, false}) {
        for (const Entity* entity : shown) {
            if ((entity->type == EntityType::Region) == regions)
                PaintEntity(dc, host, tools, *entity, false);
        }
    }
}

// Clips dc to pixels for a scope.
class ClipScope {
public:
    ClipScope(HDC dc, const RECT& pixels) : dc_(dc) {
        ::SaveDC(dc_);
        ::IntersectClipRect(dc_, pixels.left, pixels.top, pixels.right, pixels.bottom);
    }
    ~ClipScope() { ::RestoreDC(dc_, -1); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    HDC dc_;
};

// The pixels of the drawing area that show what lies in box, outlines included (empty when none).
RECT PixelsShowing(const Host& host, const Box& box) {
    const RECT& area = host.drawingArea;
    const POINT low = ToPixel(host, box.min);
    const POINT high = ToPixel(host, box.max);
    const RECT reach{low.x - kOutlineReach, high.y - kOutlineReach, high.x + kOutlineReach + 1,
                     low.y + kOutlineReach + 1};
    RECT shown{};
    ::IntersectRect(&shown, &reach, &area);
    return shown;
}

// Beyond this many changed objects one rectangle around them all is cheaper to send than each.
constexpr std::size_t kMostRedrawRects = 64;

}  // namespace

// Drawn in client coordinates of the main frame: the bitmap's origin is the area's corner.
class DrawingBuffer {
public:
    DrawingBuffer(HDC like, const RECT& area)
        : bitmap_(framework::BitmapHandle::Make(
              ::CreateCompatibleBitmap(like, area.right - area.left, area.bottom - area.top))),
          dc_(like) {
        if (bitmap_ && dc_) {
            selected_ = std::make_unique<framework::SelectedObject>(dc_.Get(), bitmap_.Get());
            ::SetViewportOrgEx(dc_.Get(), -area.left, -area.top, nullptr);
        }
    }
    bool Ready() const { return selected_ != nullptr; }
    HDC Dc() const { return dc_.Get(); }

private:
    framework::BitmapHandle bitmap_;  // deleted last, once the DC no longer holds it
    framework::MemoryDc dc_;
    std::unique_ptr<framework::SelectedObject> selected_;
};

void PaintDrawing(HDC dc, Host& host, const RECT& update) {
    const RECT& area = host.drawingArea;
    RECT dirty{};
    if (!::IntersectRect(&dirty, &update, &area))
        return;
    if (!host.drawingBuffer) {
        host.drawingBuffer = std::make_shared<DrawingBuffer>(dc, area);
        if (host.drawingBuffer->Ready())
            Render(host.drawingBuffer->Dc(), host, area);
    }
    if (host.drawingBuffer->Ready()) {
        ::BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
                 host.drawingBuffer->Dc(), dirty.left, dirty.top, SRCCOPY);
    } else {
        const ClipScope clip(dc, area);
        Render(dc, host, dirty);  // no memory for the bitmap: every paint renders what it shows
    }
    // What a command has selected, over everything else.
    const ClipScope clip(dc, area);
    const PaintTools tools;
    for (int id : host.commandLine.Highlighted()) {
        const Entity* entity = host.commandLine.CurrentDrawing().Find(id);
        RECT meets{};
        const RECT shown = entity ? PixelsShowing(host, BoundsOf(*entity)) : RECT{};
        if (entity && ::IntersectRect(&meets, &shown, &dirty))
            PaintEntity(dc, host, tools, *entity, true);
    }
}

void ShowDrawingChanges(Host& host) {
    const RedrawAreas changes = host.commandLine.TakeRedrawAreas();
    if (!host.windows.mainFrame || ::IsRectEmpty(&host.drawingArea))
        return;
    DrawingBuffer* buffer = host.drawingBuffer && host.drawingBuffer->Ready() ? host.drawingBuffer.get() : nullptr;
    std::vector<RECT> dirty;
    const PaintTools tools;
    for (const DrawingChange& change : changes.drawing) {
        const RECT pixels = PixelsShowing(host, change.bounds);
        if (::IsRectEmpty(&pixels))
            continue;
        dirty.push_back(pixels);
        if (!buffer)
            continue;
        const ClipScope clip(buffer->Dc(), host.drawingArea);
        const Entity* added = change.added ? host.commandLine.CurrentDrawing().Find(change.added) : nullptr;
        // An outline added goes on top of everything: drawing it is all that changes. A region's
        // fill goes under what is there, and a removal uncovers it: those pixels are rendered anew.
        if (added && added->type != EntityType::Region)
            PaintEntity(buffer->Dc(), host, tools, *added, false);
        else
            Render(buffer->Dc(), host, pixels);
    }
    for (const Box& box : changes.selection) {
        const RECT pixels = PixelsShowing(host, box);
        if (!::IsRectEmpty(&pixels))
            dirty.push_back(pixels);
    }
    RECT all{};
    for (const RECT& pixels : dirty) {
        if (dirty.size() <= kMostRedrawRects)
            ::InvalidateRect(host.windows.mainFrame, &pixels, FALSE);
        else
            ::UnionRect(&all, &all, &pixels);
    }
    if (!::IsRectEmpty(&all))
        ::InvalidateRect(host.windows.mainFrame, &all, FALSE);
}

void ForgetRenderedDrawing(Host& host) {
    host.drawingBuffer.reset();
}

}  // namespace cadsim
