#include "spatial_index.h"

#include <algorithm>
#include <cmath>

namespace cadsim {
namespace {

// Coordinates stay below 1e12 and sizes above 2^-64 of a unit in practice; clamping the cell
// numbers keeps anything beyond that correct (only slower), since clamping keeps their order.
constexpr int kFinestLevel = -64;
constexpr int kCoarsestLevel = 64;
constexpr double kLargestCellNumber = 4503599627370496.0;  // 2^52

// The grid of the smallest cells that are at least as large as the box.
int LevelOf(const Box& bounds) {
    const double side = std::max(bounds.max.x - bounds.min.x, bounds.max.y - bounds.min.y);
    if (!(side > 0))
        return kFinestLevel;
    int exponent = 0;
    const double mantissa = std::frexp(side, &exponent);  // side = mantissa * 2^exponent, mantissa in [0.5, 1)
    if (mantissa == 0.5)
        --exponent;  // an exact power of two fits a cell of its own size
    return std::clamp(exponent, kFinestLevel, kCoarsestLevel);
}

std::int64_t CellNumber(double value, int level) {
    const double number = std::floor(std::ldexp(value, -level));
    if (!(number > -kLargestCellNumber))
        return static_cast<std::int64_t>(-kLargestCellNumber);
    return static_cast<std::int64_t>(std::min(number, kLargestCellNumber));
}

void AddOnce(std::vector<int>& ids) {
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
}

}  // namespace

template <typename Visit>
void SpatialIndex::ForCells(int level, const Box& box, Visit visit) {
    const std::int64_t left = CellNumber(box.min.x, level);
    const std::int64_t right = CellNumber(box.max.x, level);
    const std::int64_t bottom = CellNumber(box.min.y, level);
    const std::int64_t top = CellNumber(box.max.y, level);
    for (std::int64_t x = left; x <= right; ++x)
        for (std::int64_t y = bottom; y <= top; ++y)
            visit(Cell{x, y});
}

void SpatialIndex::Insert(int id, const Box& bounds) {
    const int level = LevelOf(bounds);
    Grid& grid = grids_[level];
    ForCells(level, bounds, [&grid, id](const Cell& cell) { grid.cells[cell].push_back(id); });
    ++grid.entries;
}

void SpatialIndex::Erase(int id, const Box& bounds) {
    const int level = LevelOf(bounds);
    const auto found = grids_.find(level);
    if (found == grids_.end())
        return;
    Grid& grid = found->second;
    bool erased = false;
    ForCells(level, bounds, [&grid, &erased, id](const Cell& cell) {
        const auto bucket = grid.cells.find(cell);
        if (bucket == grid.cells.end())
            return;
        std::vector<int>& ids = bucket->second;
        const auto at = std::find(ids.begin(), ids.end(), id);
        if (at == ids.end())
            return;
        ids.erase(at);
        erased = true;
        if (ids.empty())
            grid.cells.erase(bucket);
    });
    if (erased && --grid.entries == 0)
        grids_.erase(found);
}

std::vector<int> SpatialIndex::Near(const Point& point) const {
    std::vector<int> ids;
    for (const auto& [level, grid] : grids_) {
        const auto bucket = grid.cells.find(Cell{CellNumber(point.x, level), CellNumber(point.y, level)});
        if (bucket != grid.cells.end())
            ids.insert(ids.end(), bucket->second.begin(), bucket->second.end());
    }
    AddOnce(ids);
    return ids;
}

std::vector<int> SpatialIndex::Within(const Box& box) const {
    std::vector<int> ids;
    for (const auto& [level, grid] : grids_) {
        const double across = static_cast<double>(CellNumber(box.max.x, level) - CellNumber(box.min.x, level) + 1);
        const double up = static_cast<double>(CellNumber(box.max.y, level) - CellNumber(box.min.y, level) + 1);
        if (across * up > static_cast<double>(grid.cells.size())) {
            // The box covers more cells than hold anything: look at those that do.
            const Cell low{CellNumber(box.min.x, level), CellNumber(box.min.y, level)};
            const Cell high{CellNumber(box.max.x, level), CellNumber(box.max.y, level)};
            for (const auto& [cell, bucket] : grid.cells)
                if (low.x <= cell.x && cell.x <= high.x && low.y <= cell.y && cell.y <= high.y)
                    ids.insert(ids.end(), bucket.begin(), bucket.end());
            continue;
        }
        ForCells(level, box, [&grid, &ids](const Cell& cell) {
            const auto bucket = grid.cells.find(cell);
            if (bucket != grid.cells.end())
                ids.insert(ids.end(), bucket->second.begin(), bucket->second.end());
        });
    }
    AddOnce(ids);
    return ids;
}

}  // namespace cadsim
