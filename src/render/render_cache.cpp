#include "render/render_cache.h"

namespace orvane {

void invalidateShadow(RenderCache& cache) {
    cache.shadowValid = false;
    cache.bufferBare = false;
}

}  // namespace orvane
