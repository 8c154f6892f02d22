#pragma once

#include <string>
#include <string_view>

namespace orvane {

// What the status bar says about the link.

inline constexpr std::wstring_view kSelectPortFirstText = L"Select a serial port first";
inline constexpr std::wstring_view kInvalidNetPortText = L"Enter a valid port (1-65535)";
inline constexpr std::wstring_view kDisconnectedText = L"Disconnected";
inline constexpr std::wstring_view kClosedByPeerText = L"Connection closed by peer";
inline constexpr std::wstring_view kNoPortsEntry = L"No serial ports found";

std::wstring serialOpenFailedText(std::wstring_view error);
std::wstring serialConnectedText(std::wstring_view port, int baud, std::string_view framing);
std::wstring lanConnectFailedText(std::wstring_view error);
std::wstring tcpConnectedText(std::wstring_view host, std::wstring_view portText);
std::wstring udpListeningText(std::wstring_view host, std::wstring_view portText);
std::wstring serialLostText(std::wstring_view port);
std::wstring reconnectedText(std::wstring_view port);

}  // namespace orvane
