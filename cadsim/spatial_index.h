#pragma once
// Finds the entities whose bounds meet a point or a box without looking at the others, as a CAD
// program's spatial index does. Each entity sits in a grid whose square cells are at least as
// large as its bounds (cell sides are powers of two), so it covers at most four cells there, and
// a point meets one cell of each grid. Portable: no window system here.

#include <cstddef>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

#include "geometry.h"

namespace cadsim {

class SpatialIndex {
public:
    void Insert(int id, const Box& bounds);
    void Erase(int id, const Box& bounds);

    // The ids whose bounds may hold point: every one that does, and a few neighbours. Each
    // id once, in no particular order.
    std::vector<int> Near(const Point& point) const;
    // The ids whose bounds may meet box: every one that does, and a few more.
    std::vector<int> Within(const Box& box) const;

private:
    struct Cell {
        std::int64_t x;
        std::int64_t y;
        bool operator==(const Cell& other) const { return x == other.x && y == other.y; }
    };
    struct CellHash {
        std::size_t operator()(const Cell& cell) const {
            return std::hash<std::int64_t>()(cell.x * 0x9E3779B97F4A7C15ull ^ cell.y);
        }
    };
    struct Grid {
        std::unordered_map<Cell, std::vector<int>, CellHash> cells;
        std::size_t entries = 0;
    };

    template <typename Visit>
    static void ForCells(int level, const Box& box, Visit visit);

    std::map<int, Grid> grids_;  // by the power of two of the cell side
};

}  // namespace cadsim
