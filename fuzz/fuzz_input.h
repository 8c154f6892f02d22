#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace orvane::fuzzing {

// Reads the program's choices; past the end every choice is 0.
class InputReader {
public:
    explicit InputReader(std::span<const uint8_t> data) : data_(data) {}
    bool empty() const { return pos_ >= data_.size(); }
    uint8_t byte() { return empty() ? 0 : data_[pos_++]; }
    uint16_t u16() {
        const uint16_t low = byte();
        return uint16_t(low | byte() << 8);
    }
    // 0 .. n-1 for n up to 256.
    size_t below(size_t n) { return n == 0 ? 0 : byte() % n; }
    template <class T, size_t N>
    const T& pick(const T (&table)[N]) {
        return table[below(N)];
    }
    std::string take(size_t n) {
        const size_t count = std::min(n, data_.size() - std::min(pos_, data_.size()));
        std::string bytes(reinterpret_cast<const char*>(data_.data() + pos_), count);
        pos_ += count;
        return bytes;
    }

private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

}  // namespace orvane::fuzzing
