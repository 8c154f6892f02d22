#pragma once
// Stream selection on the grid: from a start cell to an end cell in reading
// order, whole rows in between. The terminal window maps mouse positions to
// cells and calls these; the selection stays put when the screen changes.
#include <string>

#include "terminal/terminal.h"

namespace orvane {

// The left button went down on `cell`: a new, empty selection starts there.
void beginSelectionAt(Terminal& t, CellPos cell);

// The mouse moved to `cell` with the button held; ignored when no drag is on.
void extendSelectionTo(Terminal& t, CellPos cell);

// The button went up; the selection stays.
void endSelection(Terminal& t);

void selectAll(Terminal& t);

// The selected text: rows joined by CR LF, each row's trailing spaces
// removed; empty when nothing is selected.
std::u16string selectionText(const Terminal& t);

}  // namespace orvane
