#include "app/help_text.h"

namespace orvane {

namespace {

// Two blanks after the first full stop belong to the text.
constexpr std::wstring_view kHelp =
    L"Orvane command-line options.  Settings apply for THIS SESSION ONLY unless -save is given.\r\n"
    L"\r\n"
    L"Transport:\r\n"
    L"  -serial | -lan            connection mode\r\n"
    L"  -port <COMx>              serial port\r\n"
    L"  -host <ip> -netport <n> -proto tcp|udp     LAN target\r\n"
    L"Line:\r\n"
    L"  -baud <n>   -framing 8N1|7E1|8E1|8N2\r\n"
    L"Terminal:\r\n"
    L"  -palette <name>  -echo on|off  -inputmode char|line  -lineterm cr|crlf|lf\r\n"
    L"  -autoscroll on|off  -displaymode ansi|ascii|hex  -geometry 80x25|80x24|132x25|132x24\r\n"
    L"  -cursor block|outline|double  -cursorblink on|off\r\n"
    L"  -bell off|ding|wav|visual  -bellwav <file>  -rts on|off  -dtr on|off\r\n"
    L"Pictel:\r\n"
    L"  -mediacache on|off  -mediarepo on|off  -sounds on|off\r\n"
    L"Background image (permanent bottom layer; survives serial ops):\r\n"
    L"  -bgimage <file>|none   -bgfit stretch|aspect|center   -bgopacity 0..100\r\n"
    L"Playback tuning:\r\n"
    L"  -playchardelay <ms>  -playeoldelay <ms>  -playeol cr|lf|crlf\r\n"
    L"Capture / window:\r\n"
    L"  -capturehex on|off   -maximize   -size WxH   -slim\r\n"
    L"Actions (run in command-line order):\r\n"
    L"  -clearcache   -connect   -disconnect   -capture <file>   -play <file>\r\n"
    L"Window / lock (also work against an already-running instance):\r\n"
    L"  -minimize   -restore   -maximize   -slim   -lock   -unlock\r\n"
    L"Single-instance: the FIRST orvane owns the GUI; any later orvane forwards its\r\n"
    L"options to it and exits.  -exit closes the running instance.\r\n"
    L"  -screenshot <file>        save a PNG/JPG of the terminal grid (by extension)\r\n"
    L"Screenshot setup (File > Screenshot Setup; grid-only capture):\r\n"
    L"  -ssfolder <dir>  -ssname <base>  -ssautonumber on|off  -ssformat png|jpg\r\n"
    L"  -sswithbg on|off  -sswithglass on|off   -snap  (take one per the configured mode)\r\n"
    L"  -send <file>              play a file into the link, blocking until it finishes\r\n"
    L"Persist / help:\r\n"
    L"  -save   -help\r\n";

}  // namespace

std::wstring_view helpText() {
    return kHelp;
}

std::wstring helpForConsole() {
    return L"\r\n" + std::wstring(kHelp) + L"\r\n";
}

std::wstring unknownOptionsConsoleLine(std::wstring_view list) {
    return L"Orvane: ignored unknown option(s): " + std::wstring(list) + L"\r\n";
}

std::wstring unknownOptionsNotice(std::wstring_view list) {
    return L"Ignored unknown option(s): " + std::wstring(list);
}

}  // namespace orvane
