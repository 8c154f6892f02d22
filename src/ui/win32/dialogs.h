#pragma once

#include "ui/win32/app_state.h"

#include <windows.h>

#include <string>
#include <vector>

namespace orvane {

// The About box; its button opens the help document.
void showAboutBox(AppState& state);
// The end-user disclaimer: true when accepted. The view-only form has one
// button and returns false.
bool showDisclaimer(HWND owner, bool askToAccept);
// Opens the first help document found from the executable's folder upwards,
// or says that there is none.
void openHelpDocument(HWND owner);

}  // namespace orvane
