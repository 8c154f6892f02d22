#include <cstdio>
#include <string>

#include "options.h"
#include "server.h"

int main(int argc, char** argv) {
    orvane::demo::Options options;
    std::string error;
    if (!orvane::demo::parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "orvane_demo_device: %s\n%s", error.c_str(), orvane::demo::usageText().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(orvane::demo::usageText().c_str(), stdout);
        return 0;
    }
    return orvane::demo::runServer(options);
}
