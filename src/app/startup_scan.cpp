#include "app/startup_scan.h"

#include "app/command_line.h"

#include <optional>

namespace orvane {

StartupRequests scanStartupRequests(std::span<const std::wstring> args) {
    StartupRequests found;
    for (std::size_t at = 1; at < args.size(); ++at) {
        const std::optional<std::wstring> name = optionNameOf(args[at]);
        if (!name) continue;
        found.diag |= *name == L"diag";
        found.help |= *name == L"help" || *name == L"?";
        found.exit |= *name == L"exit";
        found.send |= *name == L"send";
        found.save |= *name == L"save";
    }
    return found;
}

}  // namespace orvane
