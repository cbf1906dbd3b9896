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

POINT ToPixel(const Host& host, const Point& point) {
    const RECT& area = host.drawingArea;
    return POINT{Pixel(area.left + host.view.originX + point.x * host.view.scale),
                 Pixel(area.bottom - host.view.originY - point.y * host.view.scale)};
}

void PaintEntity(HDC dc, const Host& host, const Entity& entity, bool highlighted) {
    COLORREF edge = kPolylineEdge;
    if (entity.type == EntityType::Region)
        edge = kRegionEdge;
    else if (entity.type == EntityType::Circle)
        edge = kCircleEdge;
    const framework::PenHandle pen =
        framework::PenHandle::Make(::CreatePen(PS_SOLID, highlighted ? 3 : 2, highlighted ? kHighlight : edge));
    const framework::BrushHandle fill = framework::BrushHandle::Make(::CreateSolidBrush(kRegionFill));
    framework::SelectedObject usePen(dc, pen.Get());
    framework::SelectedObject useBrush(
        dc, entity.type == EntityType::Region ? static_cast<HGDIOBJ>(fill.Get()) : ::GetStockObject(NULL_BRUSH));
    if (entity.Round()) {
        const POINT centre = ToPixel(host, entity.center);
        const int radius = Pixel(entity.radius * host.view.scale);
        ::Ellipse(dc, centre.x - radius, centre.y - radius, centre.x + radius + 1, centre.y + radius + 1);
        return;
    }
    std::vector<POINT> corners;
    for (const Point& corner : entity.corners)
        corners.push_back(ToPixel(host, corner));
    ::Polygon(dc, corners.data(), static_cast<int>(corners.size()));
}

}  // namespace

void PaintDrawing(HDC dc, const Host& host) {
    const framework::BrushHandle paper = framework::BrushHandle::Make(::CreateSolidBrush(kPaper));
    ::FillRect(dc, &host.drawingArea, paper.Get());
    const RECT& area = host.drawingArea;
    ::IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    const std::vector<int> highlighted = host.commandLine.Highlighted();
    // Regions first, so that their fill never hides a polyline or a circle drawn over them.
    for (const bool regions : {true, false}) {
        for (const Entity& entity : host.commandLine.CurrentDrawing().Entities()) {
            if ((entity.type == EntityType::Region) != regions)
                continue;
            const bool selected = std::find(highlighted.begin(), highlighted.end(), entity.id) != highlighted.end();
            PaintEntity(dc, host, entity, selected);
        }
    }
}

}  // namespace cadsim
