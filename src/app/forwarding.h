#pragma once

#include "app/command_target.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvane {

// The tag of a forwarded command line in COPYDATASTRUCT.dwData ("OV").
inline constexpr std::uintptr_t kForwardedLineTag = 0x4F56;
// The largest forwarded line accepted, NUL included: 32 Ki UTF-16 units.
// Sizes count UTF-16 units of two bytes (Windows' wchar_t).
inline constexpr std::size_t kMaxForwardedBytes = 65536;

// The command line carried by a WM_COPYDATA structure, copied out of the
// sender's buffer; nothing unless the tag is ours, the size is an even number
// of bytes from 2 to kMaxForwardedBytes and a terminating NUL lies inside.
std::optional<std::wstring> acceptForwardedLine(std::uintptr_t tag, const void* data, std::size_t bytes);

// Keeps forwarded lines out until start-up has finished and while another
// one is being applied (applying one may dispatch a second sent message).
class ForwardGate {
public:
    void openAfterStartup() { startupDone = true; }

    // Runs `apply` and returns its result, or 1 without running it when the
    // gate is closed or busy.
    int pass(const std::function<int()>& apply);

private:
    bool startupDone = false;
    bool applying = false;
};

// Applies a forwarded, already split line as the forwarded pass behind the
// gate: `persistSettings` follows "-save" while the line runs, the record is
// saved when "-save" was present, and `persistSettings` gets back its value.
int applyForwardedLine(std::span<const std::wstring> args, ForwardGate& gate, CommandTarget& target);

// The line a later instance sends: the file values of the options made
// absolute by `absolute` (the running instance has another working folder);
// "none" for the background image and empty values are kept.
std::vector<std::wstring> withAbsoluteFiles(std::span<const std::wstring> args,
                                            const std::function<std::wstring(const std::wstring&)>& absolute);

// One command line whose splitting by the system's rules gives `args` again.
std::wstring joinCommandLine(std::span<const std::wstring> args);

}  // namespace orvane
