#pragma once

#include <functional>
#include <system_error>
#include <thread>

namespace orvane::test {

// A session whose reader thread cannot be created, as when the process has
// run out of threads.
template <typename Session>
class ThreadlessSession : public Session {
protected:
    std::thread spawnReaderThread(std::function<void()>) override {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
};

}  // namespace orvane::test
