#include "app/win32/forwarded_line.h"

#include "app/win32/command_args.h"

#include <optional>
#include <string>

namespace orvane {

LRESULT receiveForwardedLine(LPARAM copyData, ForwardGate& gate, CommandTarget& target) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(copyData);
    if (data == nullptr) return 0;
    const std::optional<std::wstring> line = acceptForwardedLine(data->dwData, data->lpData, data->cbData);
    if (!line) return 0;
    const std::optional<std::vector<std::wstring>> args = splitCommandLine(line->c_str());
    if (!args) return 0;
    return applyForwardedLine(*args, gate, target);
}

}  // namespace orvane
