#pragma once
// How the grid differs from the rows painted last time: scrolled up by some
// lines, or a few rows changed in place.
#include <array>
#include <cstdint>
#include <vector>

#include "terminal/cell.h"

namespace orvane {

// Same length and every cell equal in all its fields.
bool rowsEqual(const Row& a, const Row& b);

// The smallest k (1 .. rows-1) such that every current row i equals shadow
// row i + k; 0 when there is none. Both must hold the same number of rows.
int32_t detectScrollUp(const std::vector<Row>& grid, const std::vector<Row>& shadow);

// Room in the dirty-row list; a frame with more changed rows is redrawn whole.
inline constexpr int32_t kMaxDirtyRows = 64;

struct DirtyRows {
    std::array<int32_t, kMaxDirtyRows> index{};
    int32_t count = 0;
};

// The rows that differ from the shadow row of the same index, in order,
// stopping at kMaxDirtyRows.
DirtyRows listDirtyRows(const std::vector<Row>& grid, const std::vector<Row>& shadow);

}  // namespace orvane
