#include "terminal/terminal.h"

namespace orvane {

Terminal::Terminal() {
    resizeGrid(*this);
    layerGeneration = 0;  // building the first grid is not a change
}

}  // namespace orvane
