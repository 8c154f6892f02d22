#include "vterm_reference.h"

#include <new>

#include <vterm.h>

namespace orvane::bench {
namespace {

int onDamage(VTermRect, void* user) {
    ++static_cast<VtermReference*>(user)->damageEvents;
    return 1;
}

// Claiming the move lets libvterm scroll by moving rows instead of
// re-damaging them, as a renderer that blits would.
int onMoveRect(VTermRect, VTermRect, void* user) {
    ++static_cast<VtermReference*>(user)->moveEvents;
    return 1;
}

int onMoveCursor(VTermPos, VTermPos, int, void*) { return 1; }

constexpr VTermScreenCallbacks kCallbacks = {
    onDamage, onMoveRect, onMoveCursor, nullptr, nullptr, nullptr, nullptr, nullptr,
};

}  // namespace

VtermReference::VtermReference(int32_t cols, int32_t rows) {
    vt_ = vterm_new(rows, cols);
    if (vt_ == nullptr) throw std::bad_alloc();
    // UTF-8 on: with it off libvterm reads 0x80-0x9F as C1 controls (CSI,
    // string starts) and swallows text, which is not the work the code page
    // 437 scenario asks for. With it on every high byte becomes a glyph
    // (a replacement character where the UTF-8 is invalid).
    vterm_set_utf8(vt_, 1);
    screen_ = vterm_obtain_screen(vt_);
    vterm_screen_set_callbacks(screen_, &kCallbacks, this);
    vterm_screen_set_damage_merge(screen_, VTERM_DAMAGE_SCROLL);
    vterm_screen_enable_altscreen(screen_, 1);
    vterm_screen_reset(screen_, 1);
}

VtermReference::~VtermReference() { vterm_free(vt_); }

void VtermReference::feed(const uint8_t* bytes, size_t count) {
    vterm_input_write(vt_, reinterpret_cast<const char*>(bytes), count);
    char replies[256];
    while (vterm_output_read(vt_, replies, sizeof replies) > 0) {
    }
}

void VtermReference::finish() { vterm_screen_flush_damage(screen_); }

uint64_t VtermReference::probe() const {
    VTermPos cursor;
    vterm_state_get_cursorpos(vterm_obtain_state(vt_), &cursor);
    VTermScreenCell cell;
    vterm_screen_get_cell(screen_, cursor, &cell);
    return static_cast<uint64_t>(cursor.row) * 131 + static_cast<uint64_t>(cursor.col) +
           cell.chars[0] + damageEvents + moveEvents;
}

}  // namespace orvane::bench
