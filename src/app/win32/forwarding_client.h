#pragma once

#include "app/startup_scan.h"

#include <windows.h>

#include <optional>
#include <span>
#include <string>

namespace orvane {

// How a later instance finds the running one.
inline constexpr wchar_t kMainWindowClassName[] = L"OrvaneMainWnd";
// Set by the running instance when a "-send" playback ends (or cannot start).
inline constexpr wchar_t kPlayDoneEventName[] = L"Local\\Orvane_PlayDone";
// How long a "-send" waits for the end of its playback.
inline constexpr DWORD kPlayDoneWaitMs = 600000;
// How long a forwarded line may take to be applied (a screenshot, a
// playback start, a reopen of the serial port).
inline constexpr UINT kForwardTimeoutMs = 600000;

// Sends `args` (file values made absolute) to the running instance's window
// and, with `waitForPlayback`, waits for the play-done event. Returns the
// running instance's result, or 1 when the line could not be delivered.
int forwardCommandLine(HWND running, std::span<const std::wstring> args, bool waitForPlayback);

// "-exit": asks every running instance to close, one after the other.
// Returns 0, or 1 when instances were still running after the last round.
int exitRunningInstances();

// The first decisions of start-up, after the pre-scan: "-help" shows the help,
// "-exit" closes the running instances, and with a running instance the line
// is forwarded to it. Returns the exit code when this process is done,
// nothing when it is to become the first instance.
std::optional<int> handOffStartup(std::span<const std::wstring> args, const StartupRequests& requests);

}  // namespace orvane
