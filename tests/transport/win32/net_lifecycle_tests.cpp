#include "net_peers.h"
#include "process_counts.h"

#include "transport/win32/net_session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::Socket;

// Keeps a session's reader busy, so that it notices a close at once instead
// of after its 200 ms wait: a peer that sends a byte every millisecond, on
// each TCP connection it accepts or as UDP datagrams.
class Ticker {
public:
    Ticker(SOCKET tcpListener, uint16_t udpPort)
        : worker([=, this] { tcpListener != INVALID_SOCKET ? tickTcp(tcpListener) : tickUdp(udpPort); }) {}
    ~Ticker() {
        stop = true;
        worker.join();
    }
    // Waits until the peer holds no connection, so that its socket does not
    // show in a handle count.
    void waitUntilIdle() const {
        for (int i = 0; connected.load() && i < 2000; ++i) std::this_thread::sleep_for(1ms);
    }

private:
    void tickTcp(SOCKET listener) {
        while (!stop.load()) {
            Socket peer = test::acceptWithin(listener, 20ms);
            connected = peer.valid();
            while (peer.valid() && !stop.load() && send(peer.get(), "t", 1, 0) == 1) std::this_thread::sleep_for(1ms);
            peer.reset();
            connected = false;
        }
    }
    void tickUdp(uint16_t port) {
        uint16_t own = 0;
        Socket s = test::bindUdp(own);
        while (!stop.load()) {
            test::sendDatagram(s.get(), "t", port);  // refused while the session is closed
            std::this_thread::sleep_for(1ms);
        }
    }

    std::atomic<bool> stop{false};
    std::atomic<bool> connected{false};
    std::thread worker;
};

TEST(NetSessionLifecycle, ATcpSessionOpenedAndClosedAThousandTimesLeaksNothing) {
    uint16_t port = 0;
    Socket listener = test::listenTcp(AF_INET, port, 64);
    ASSERT_TRUE(listener.valid());
    const Ticker ticker(listener.get(), 0);
    std::vector<uint8_t> out;
    test::expectNoLeakOver<NetSession>(
        [&](NetSession& session) {
            ASSERT_TRUE(session.connectTcp(L"127.0.0.1", port));
            session.close();
            EXPECT_FALSE(session.isOpen());
            EXPECT_EQ(session.drainReceived(out), 0);
        },
        [&] { ticker.waitUntilIdle(); });
}

TEST(NetSessionLifecycle, AUdpSessionOpenedAndClosedAThousandTimesLeaksNothing) {
    const uint16_t port = test::unusedPort(SOCK_DGRAM);
    const Ticker ticker(INVALID_SOCKET, port);
    test::expectNoLeakOver<NetSession>([&](NetSession& session) {
        ASSERT_TRUE(session.openUdp(L"127.0.0.1", port));
        session.close();
        EXPECT_FALSE(session.isOpen());
    });
}

}  // namespace
}  // namespace orvane
