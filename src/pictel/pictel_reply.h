#pragma once

#include <cstdint>

namespace orvane {

struct Terminal;

// Queues ESC [= code ; id ; value w for the device.
void sendPictelReply(Terminal& t, int32_t code, int32_t id, int32_t value);

}  // namespace orvane
