#pragma once

#include <cstddef>
#include <cstdint>

struct VTerm;
struct VTermScreen;

namespace orvane::bench {

// libvterm set up the way an embedding terminal uses it: a screen with the
// alternate screen enabled, damage merged per scroll and reported to a
// callback, replies drained. Benchmark only; the product never links it.
class VtermReference {
public:
    VtermReference(int32_t cols, int32_t rows);  // throws std::bad_alloc
    ~VtermReference();
    VtermReference(const VtermReference&) = delete;
    VtermReference& operator=(const VtermReference&) = delete;

    void feed(const uint8_t* bytes, size_t count);
    // Flushes merged damage, as a frame would before painting.
    void finish();
    // Something that depends on everything fed, so the work stays observable.
    uint64_t probe() const;

    uint64_t damageEvents = 0;
    uint64_t moveEvents = 0;

private:
    VTerm* vt_ = nullptr;
    VTermScreen* screen_ = nullptr;
};

}  // namespace orvane::bench
