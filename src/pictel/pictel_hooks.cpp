// Until the Pictel engine is in, its traffic is consumed without effect:
// the parser already frames and drops these strings and sequences.
#include "pictel/pictel_hooks.h"

namespace orvane {

void dispatchPictelApc(Terminal&) {}
void dispatchPictelCsi(Terminal&, uint8_t) {}
void onGridResized(Terminal&, int32_t, int32_t) {}

}  // namespace orvane
