#include "drawing_view.h"

#include <algorithm>
#include <cmath>
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
    ::Polygon(dc, corners.data(), static_cast<int>(corners.size()));
}

}  // namespace

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

void PaintDrawing(HDC dc, const Host& host, const RECT& update) {
    const RECT& area = host.drawingArea;
    RECT dirty{};
    if (!::IntersectRect(&dirty, &update, &area))
        return;
    const framework::BrushHandle paper = framework::BrushHandle::Make(::CreateSolidBrush(kPaper));
    ::FillRect(dc, &dirty, paper.Get());
    ::IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    // The drawing under the dirty pixels, widened by what an outline drawn outside them may cover.
    const Point low =
        ToDrawing(host.view, dirty.left - area.left - kOutlineReach, area.bottom - dirty.bottom - kOutlineReach);
    const Point high =
        ToDrawing(host.view, dirty.right - area.left + kOutlineReach, area.bottom - dirty.top + kOutlineReach);
    const std::vector<const Entity*> shown = host.commandLine.CurrentDrawing().Within(Box{low, high});
    std::vector<int> highlighted = host.commandLine.Highlighted();
    std::sort(highlighted.begin(), highlighted.end());
    const PaintTools tools;
    // Regions first, so that their fill never hides a polyline or a circle drawn over them.
    for (const bool regions : {true, false}) {
        for (const Entity* entity : shown) {
            if ((entity->type == EntityType::Region) != regions)
                continue;
            PaintEntity(dc, host, tools, *entity,
                        std::binary_search(highlighted.begin(), highlighted.end(), entity->id));
        }
    }
}

}  // namespace cadsim
