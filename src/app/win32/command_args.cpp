#include "app/win32/command_args.h"

#include <windows.h>
#include <shellapi.h>

namespace orvane {

std::optional<std::vector<std::wstring>> splitCommandLine(const wchar_t* line) {
    int count = 0;
    wchar_t** parts = CommandLineToArgvW(line, &count);
    if (parts == nullptr) return std::nullopt;
    std::vector<std::wstring> args(parts, parts + count);
    LocalFree(parts);
    return args;
}

}  // namespace orvane
