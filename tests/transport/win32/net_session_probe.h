#pragma once

#include "transport/win32/net_session.h"

namespace orvane {

// Reads the options of a session's socket.
struct NetSessionProbe {
    static int option(const NetSession& session, int level, int name) {
        int value = 0;  // some options come back as a single byte
        int length = sizeof(value);
        std::lock_guard lock(session.ioLock);
        if (getsockopt(session.socketHandle, level, name, reinterpret_cast<char*>(&value), &length) != 0) return -1;
        return value;
    }
};

}  // namespace orvane
