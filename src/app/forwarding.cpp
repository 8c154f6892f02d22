#include "app/forwarding.h"

#include "app/command_line.h"
#include "app/settings.h"
#include "app/startup_scan.h"

#include <algorithm>
#include <cstring>

namespace orvane {

namespace {

// Puts a flag back to its value when the scope ends.
class RestoreOnExit {
public:
    RestoreOnExit(bool& flag, bool newValue) : target(flag), previous(flag) { target = newValue; }
    ~RestoreOnExit() { target = previous; }
    RestoreOnExit(const RestoreOnExit&) = delete;
    RestoreOnExit& operator=(const RestoreOnExit&) = delete;

private:
    bool& target;
    bool previous;
};

bool isNoneWord(const std::wstring& value) {
    static constexpr std::wstring_view kNone = L"none";
    return value.size() == kNone.size() &&
           std::equal(value.begin(), value.end(), kNone.begin(), [](wchar_t a, wchar_t b) { return (a | 0x20) == b; });
}

bool needsQuotes(const std::wstring& argument) {
    return argument.empty() || argument.find_first_of(L" \t\n\v\"") != std::wstring::npos;
}

// Backslashes are literal unless they precede a quote; those before a quote
// (or before the closing quote) are doubled.
std::wstring quoted(const std::wstring& argument) {
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        result.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        result += c;
    }
    result.append(backslashes * 2, L'\\');
    return result + L"\"";
}

}  // namespace

std::optional<std::wstring> acceptForwardedLine(std::uintptr_t tag, const void* data, std::size_t bytes) {
    if (tag != kForwardedLineTag || data == nullptr) return std::nullopt;
    if (bytes < sizeof(char16_t) || bytes > kMaxForwardedBytes || bytes % sizeof(char16_t) != 0) return std::nullopt;
    // Copied first: the sender's buffer is not ours to read twice.
    std::u16string copy(bytes / sizeof(char16_t), u'\0');
    std::memcpy(copy.data(), data, bytes);
    const std::size_t end = copy.find(u'\0');
    if (end == std::u16string::npos) return std::nullopt;
    return std::wstring(copy.begin(), copy.begin() + static_cast<std::ptrdiff_t>(end));
}

int ForwardGate::pass(const std::function<int()>& apply) {
    if (!startupDone || applying) return 1;
    applying = true;
    const int result = apply();
    applying = false;
    return result;
}

int applyForwardedLine(std::span<const std::wstring> args, ForwardGate& gate, CommandTarget& target) {
    return gate.pass([&] {
        const bool save = scanStartupRequests(args).save;
        const RestoreOnExit persisting(persistSettings, save);
        const int result = applyCommandLine(args, CommandPass::forwarded, target);
        if (save) target.saveSettingsNow();
        return result;
    });
}

std::vector<std::wstring> withAbsoluteFiles(std::span<const std::wstring> args,
                                            const std::function<std::wstring(const std::wstring&)>& absolute) {
    std::vector<std::wstring> result(args.begin(), args.end());
    // Walks the options as the interpreter does, so a value that looks like
    // an option is never taken for one.
    for (std::size_t at = 1; at + 1 < result.size(); ++at) {
        const std::optional<OptionValue> value = optionValueOf(result[at]);
        if (!value || *value == OptionValue::none) continue;
        std::wstring& argument = result[++at];
        const bool keepAsIs = argument.empty() || (*value == OptionValue::fileOrNone && isNoneWord(argument));
        if (*value != OptionValue::text && !keepAsIs) argument = absolute(argument);
    }
    return result;
}

std::wstring joinCommandLine(std::span<const std::wstring> args) {
    std::wstring line;
    for (const std::wstring& argument : args) {
        if (!line.empty()) line += L' ';
        line += needsQuotes(argument) ? quoted(argument) : argument;
    }
    return line;
}

}  // namespace orvane
