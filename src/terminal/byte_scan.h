#pragma once

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#define ORVANE_SSE2 1
#endif

#include "terminal/terminal.h"

namespace orvane {

// The end of the run of printable bytes (isPrintableByte) that starts at p.
inline const uint8_t* printableRunEnd(const uint8_t* p, const uint8_t* end) {
#ifdef ORVANE_SSE2
    // Sixteen bytes at a time: a byte stops the run when it is at most 0x1F
    // (unsigned) or is DEL.
    const __m128i lastControl = _mm_set1_epi8(0x1F);
    const __m128i del = _mm_set1_epi8(0x7F);
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i control = _mm_cmpeq_epi8(_mm_max_epu8(bytes, lastControl), lastControl);
        const __m128i stop = _mm_or_si128(control, _mm_cmpeq_epi8(bytes, del));
        const int mask = _mm_movemask_epi8(stop);
        if (mask != 0) return p + std::countr_zero(unsigned(mask));
        p += 16;
    }
#endif
    while (p < end && isPrintableByte(*p)) ++p;
    return p;
}

}  // namespace orvane
