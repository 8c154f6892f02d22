#pragma once

#include <span>
#include <string>

namespace orvane {

// The process options start-up looks for before anything else, anywhere on
// the line after the program name, with "-" or "/" and in any case.
struct StartupRequests {
    bool diag = false;  // statistics collection on
    bool help = false;  // "-help" or "-?": show the help and exit; wins over everything
    bool exit = false;  // close the running instance
    bool send = false;  // a forwarding process waits for the end of the playback
    bool save = false;  // a forwarded line is saved after it has been applied
    friend bool operator==(const StartupRequests&, const StartupRequests&) = default;
};

StartupRequests scanStartupRequests(std::span<const std::wstring> args);

}  // namespace orvane
