#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvane {

struct Terminal;

// Offers held at once; re-offering an id that has one is always possible.
inline constexpr size_t kMaxOffers = 1024;

// The "off" operation: records what the device is about to send (or wants
// to use) and answers 1 when the media cache holds that file, else 0. A
// malformed offer removes the earlier offer of id and answers 0.
// May throw std::bad_alloc.
int32_t recordOffer(Terminal& t, int32_t id, const std::string& crcText, const std::string& lengthText,
                    const std::string& formatText);

// The "use" operation: shows the offered image from the cache as canvas id
// and returns the TransferResult value. May throw std::bad_alloc.
int32_t useOffer(Terminal& t, int32_t id);

}  // namespace orvane
