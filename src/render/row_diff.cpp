#include "render/row_diff.h"

#include <algorithm>

namespace orvane {

bool rowsEqual(const Row& a, const Row& b) { return a == b; }

int32_t detectScrollUp(const std::vector<Row>& grid, const std::vector<Row>& shadow) {
    const auto rows = int32_t(std::min(grid.size(), shadow.size()));
    for (int32_t k = 1; k < rows; ++k) {
        bool scrolled = true;
        for (int32_t i = 0; i + k < rows && scrolled; ++i)
            scrolled = rowsEqual(grid[size_t(i)], shadow[size_t(i + k)]);
        if (scrolled) return k;
    }
    return 0;
}

DirtyRows listDirtyRows(const std::vector<Row>& grid, const std::vector<Row>& shadow) {
    DirtyRows dirty;
    const auto rows = int32_t(std::min(grid.size(), shadow.size()));
    for (int32_t r = 0; r < rows && dirty.count < kMaxDirtyRows; ++r)
        if (!rowsEqual(grid[size_t(r)], shadow[size_t(r)])) dirty.index[size_t(dirty.count++)] = r;
    return dirty;
}

}  // namespace orvane
