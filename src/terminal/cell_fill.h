#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "terminal/cell.h"

namespace orvane {

static_assert(std::is_trivially_copyable_v<Cell>, "cells are filled by copying bytes");

// Four copies of one cell. A cell is 20 bytes, so four of them are five
// whole 16-byte stores: filling from this pattern lets the copy use wide
// stores instead of three narrow ones per cell.
struct CellQuad {
    Cell cells[4];

    explicit CellQuad(const Cell& c) : cells{c, c, c, c} {}
};

inline void fillCells(Cell* dst, size_t count, const CellQuad& quad) {
    size_t i = 0;
    for (; i + 4 <= count; i += 4) std::memcpy(dst + i, quad.cells, sizeof quad.cells);
    for (; i < count; ++i) dst[i] = quad.cells[0];
}

inline void fillCells(Cell* dst, size_t count, const Cell& value) {
    fillCells(dst, count, CellQuad(value));
}

}  // namespace orvane
