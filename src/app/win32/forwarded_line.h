#pragma once

#include "app/command_target.h"
#include "app/forwarding.h"

#include <windows.h>

namespace orvane {

// WM_COPYDATA in the main window: a command line from a later instance,
// applied as the forwarded pass. Returns the message result: 0 for anything
// that is not a well-formed forwarded line, 1 while the gate is closed,
// otherwise the pass result.
LRESULT receiveForwardedLine(LPARAM copyData, ForwardGate& gate, CommandTarget& target);

}  // namespace orvane
