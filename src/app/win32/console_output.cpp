#include "app/win32/console_output.h"

#include "app/help_text.h"

#include <windows.h>

#include <string>

namespace orvane {

namespace {

bool parentConsoleAttached() {
    static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
    return attached;
}

}  // namespace

bool writeToParentConsole(std::wstring_view text) {
    if (!parentConsoleAttached()) return false;
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    return WriteConsoleW(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
}

void showHelp() {
    if (writeToParentConsole(helpForConsole())) return;
    const std::wstring text(helpText());
    const std::wstring caption(kHelpCaption);
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
}

void printUnknownOptions(std::wstring_view list) {
    writeToParentConsole(unknownOptionsConsoleLine(list));
}

}  // namespace orvane
