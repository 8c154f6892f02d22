#pragma once

#include <string>
#include <string_view>

namespace orvane::demo {

enum class ReadStatus { Data, Timeout, Closed };

// One connected client, as the platform's socket layer provides it.
class Link {
public:
    virtual ~Link() = default;
    // Waits up to timeoutMs (-1: without limit) for bytes and appends them to out.
    virtual ReadStatus read(std::string& out, int timeoutMs) = 0;
    // Sends every byte; false when the connection failed.
    virtual bool write(std::string_view bytes) = 0;
};

// Runs the shell on the link until the user quits or the client goes away.
void runSession(Link& link);

}  // namespace orvane::demo
