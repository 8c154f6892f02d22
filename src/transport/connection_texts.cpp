#include "transport/connection_texts.h"

namespace orvane {

namespace {

std::wstring joined(std::initializer_list<std::wstring_view> parts) {
    std::wstring text;
    for (const std::wstring_view part : parts) text += part;
    return text;
}

}  // namespace

std::wstring serialOpenFailedText(std::wstring_view error) {
    return joined({L"Serial open failed: ", error});
}

std::wstring serialConnectedText(std::wstring_view port, int baud, std::string_view framing) {
    return joined({L"Connected ", port, L" @ ", std::to_wstring(baud), L" ", std::wstring(framing.begin(), framing.end())});
}

std::wstring lanConnectFailedText(std::wstring_view error) {
    return joined({L"LAN connect failed: ", error});
}

std::wstring tcpConnectedText(std::wstring_view host, std::wstring_view portText) {
    return joined({L"Connected ", host, L":", portText, L" (TCP)"});
}

std::wstring udpListeningText(std::wstring_view host, std::wstring_view portText) {
    return joined({L"Listening on UDP ", portText, L" (sending to ", host, L":", portText, L")"});
}

std::wstring serialLostText(std::wstring_view port) {
    return joined({port, L" disconnected - waiting to reconnect..."});
}

std::wstring reconnectedText(std::wstring_view port) {
    return joined({L"Reconnected ", port});
}

}  // namespace orvane
