#pragma once
// The one environment switch of the renderer: ORVANE_NOFAST=1 turns the
// scroll and dirty-row shortcuts and the layer cache off for the whole run.

namespace orvane {

// The value of ORVANE_NOFAST (null when unset) allows the fast paths.
bool fastPathFromEnvironment(const char* value);

// Reads ORVANE_NOFAST on first use; the answer holds for the process.
bool fastPathAllowed();

}  // namespace orvane
