#include "threadless_session.h"
#include "transport/session_base.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <future>
#include <mutex>

namespace orvane {
namespace {

using namespace std::chrono_literals;

// Whether `done` holds within two seconds (it takes milliseconds).
template <typename Condition>
bool eventually(Condition done) {
    for (const auto end = std::chrono::steady_clock::now() + 2s; !done();) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Every message the sessions of these tests post, in order.
std::mutex postMutex;
std::vector<std::pair<WindowHandle, unsigned>> posts;
std::vector<uintptr_t> postedWParams;

void recordPost(WindowHandle window, unsigned message, uintptr_t wParam) {
    std::lock_guard lock(postMutex);
    posts.emplace_back(window, message);
    postedWParams.push_back(wParam);
}

size_t postCount(unsigned message) {
    std::lock_guard lock(postMutex);
    return static_cast<size_t>(std::count_if(posts.begin(), posts.end(), [&](auto& p) { return p.second == message; }));
}

// A device the test feeds: each read takes the next event, or times out
// after a millisecond when there is none (unless reads are held).
class FakeDevice {
public:
    struct Event {
        std::vector<uint8_t> bytes;
        bool fails = false;
    };

    void push(Event event) {
        std::lock_guard lock(mutex);
        events.push_back(std::move(event));
    }
    size_t pending() {
        std::lock_guard lock(mutex);
        return events.size();
    }
    std::optional<Event> read() {
        ++reads;
        do {
            {
                std::lock_guard lock(mutex);
                if (!events.empty()) {
                    Event event = std::move(events.front());
                    events.pop_front();
                    return event;
                }
            }
            std::this_thread::sleep_for(1ms);
        } while (held);
        return std::nullopt;
    }

    std::atomic<int> reads{0};
    std::atomic<bool> held{false};

private:
    std::mutex mutex;
    std::deque<Event> events;
};

// The smallest session over SessionBase: its reader has the shape of the
// real ones (room check, read, deliver or report the loss).
class ScriptedSession : public SessionBase {
public:
    explicit ScriptedSession(size_t queueLimit = kReceiveQueueLimit) : SessionBase(recordPost, queueLimit) {}
    ~ScriptedSession() override { close(); }

    bool open() {
        close();
        opened = true;
        if (startReader([this] { readLoop(); })) return true;
        close();
        return false;
    }
    bool isOpen() const override { return opened; }
    void close() override {
        stopReader();
        opened = false;
        clearQueue();
    }
    void write(const uint8_t*, size_t length) override {
        if (opened && length > 0) noteTransmitted();
    }
    std::vector<uint8_t> drained() {
        std::vector<uint8_t> out{0xEE};
        const int count = drainReceived(out);
        EXPECT_EQ(count, static_cast<int>(out.size()));
        return out;
    }

    FakeDevice device;

private:
    void readLoop() {
        while (!stopRequested() && waitForQueueRoom()) {
            const std::optional<FakeDevice::Event> event = device.read();
            if (!event) continue;
            if (event->fails) return reportLinkLost();
            deliver(event->bytes.data(), event->bytes.size());
        }
    }

    bool opened = false;
};

class SessionBaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        posts.clear();
        postedWParams.clear();
    }
    int windowMarker = 0;
    WindowHandle window = &windowMarker;
    ScriptedSession session;
};

TEST_F(SessionBaseTest, EachChunkIsQueuedThenPostedOnceToTheTarget) {
    session.setNotifyTarget(window, WM_SESSION_DATA, WM_SESSION_CLOSED);
    ASSERT_TRUE(session.open());
    for (const std::vector<uint8_t>& chunk : {std::vector<uint8_t>{1, 2, 3}, {4}, {5, 6}}) session.device.push({chunk});
    ASSERT_TRUE(eventually([&] { return postCount(WM_SESSION_DATA) == 3; }));
    EXPECT_EQ(session.drained(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    for (const auto& [target, message] : posts) EXPECT_EQ(target, window);
    EXPECT_EQ(posts.size(), 3u);
    EXPECT_EQ(postedWParams, (std::vector<uintptr_t>{0, 0, 0}));
    EXPECT_TRUE(session.takeRxActivity());
    EXPECT_FALSE(session.takeRxActivity());
    EXPECT_FALSE(session.takeTxActivity());
}

TEST_F(SessionBaseTest, WithoutAWindowOrWithMessageIdZeroNothingIsPostedButDataIsQueued) {
    ASSERT_TRUE(session.open());
    session.device.push({{7}});
    ASSERT_TRUE(eventually([&] { return session.queuedBytes() == 1; }));
    session.setNotifyTarget(window, 0, 0);
    session.device.push({{8}});
    session.device.push({{}, true});
    ASSERT_TRUE(eventually([&] { return session.device.pending() == 0 && session.queuedBytes() == 2; }));
    session.close();
    EXPECT_TRUE(posts.empty());
}

TEST_F(SessionBaseTest, AFailedReadPostsTheClosedMessageOnceAndTheSessionStaysOpen) {
    session.setNotifyTarget(window, WM_SESSION_DATA, WM_SESSION_CLOSED);
    ASSERT_TRUE(session.open());
    session.device.push({{}, true});
    session.device.push({{9}});  // never read: the reader has ended
    ASSERT_TRUE(eventually([&] { return postCount(WM_SESSION_CLOSED) == 1; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(session.device.pending(), 1u);
    EXPECT_TRUE(session.isOpen());
    session.close();
    EXPECT_FALSE(session.isOpen());
    EXPECT_EQ(posts.size(), 1u);
}

TEST_F(SessionBaseTest, EachOpenHasANewGenerationThatItsClosedMessageCarries) {
    ScriptedSession other;
    session.setNotifyTarget(window, WM_SESSION_DATA, WM_SESSION_CLOSED);
    EXPECT_EQ(session.openGeneration(), 0u);
    ASSERT_TRUE(session.open());
    const OpenGeneration first = session.openGeneration();
    ASSERT_TRUE(other.open());  // the other session's opens count too
    ASSERT_TRUE(session.open());
    const OpenGeneration second = session.openGeneration();
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, first);
    EXPECT_NE(second, other.openGeneration());
    EXPECT_NE(first, other.openGeneration());
    session.close();
    EXPECT_EQ(session.openGeneration(), second);  // closing keeps it
    test::ThreadlessSession<ScriptedSession> threadless;
    EXPECT_FALSE(threadless.open());
    EXPECT_EQ(threadless.openGeneration(), 0u);  // a failed open keeps it
    ASSERT_TRUE(session.open());
    session.device.push({{}, true});
    ASSERT_TRUE(eventually([&] { return postCount(WM_SESSION_CLOSED) == 1; }));
    EXPECT_EQ(postedWParams.back(), session.openGeneration());
}

TEST_F(SessionBaseTest, AReadThatFailsWhileClosingIsSilent) {
    session.setNotifyTarget(window, WM_SESSION_DATA, WM_SESSION_CLOSED);
    session.device.held = true;
    ASSERT_TRUE(session.open());
    ASSERT_TRUE(eventually([&] { return session.device.reads == 1; }));
    auto closing = std::async(std::launch::async, [&] { session.close(); });
    EXPECT_EQ(closing.wait_for(50ms), std::future_status::timeout);  // joined on the blocked read
    session.device.push({{}, true});
    ASSERT_EQ(closing.wait_for(5s), std::future_status::ready);
    EXPECT_TRUE(posts.empty());
}

TEST_F(SessionBaseTest, AFullQueueStopsTheReaderUntilItIsDrained) {
    ScriptedSession small(8);
    ASSERT_TRUE(small.open());
    for (const std::vector<uint8_t>& chunk : {std::vector<uint8_t>{1, 2, 3, 4, 5}, {6, 7, 8, 9}, {10}}) {
        small.device.push({chunk});
    }
    ASSERT_TRUE(eventually([&] { return small.queuedBytes() == 9; }));
    const int readsWhenFull = small.device.reads;
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(small.device.reads, readsWhenFull);  // no read while full
    EXPECT_EQ(small.drained().size(), 9u);
    ASSERT_TRUE(eventually([&] { return small.queuedBytes() == 1; }));
    EXPECT_EQ(small.drained(), std::vector<uint8_t>{10});
}

TEST_F(SessionBaseTest, CloseEndsAReaderThatWaitsForRoomAndDiscardDropsTheQueue) {
    ScriptedSession small(4);
    ASSERT_TRUE(small.open());
    small.device.push({{1, 2}});
    ASSERT_TRUE(eventually([&] { return small.queuedBytes() == 2; }));
    small.discardReceived();
    small.device.push({{3, 4, 5, 6}});
    ASSERT_TRUE(eventually([&] { return small.queuedBytes() == 4; }));
    EXPECT_EQ(small.drained(), (std::vector<uint8_t>{3, 4, 5, 6}));
    small.device.push({{7, 8, 9, 10}});
    ASSERT_TRUE(eventually([&] { return small.queuedBytes() == 4; }));
    small.close();  // the reader waits for room now
    EXPECT_EQ(small.queuedBytes(), 0u);
}

TEST_F(SessionBaseTest, WriteActivityIsTakenOnce) {
    const uint8_t byte = 'x';
    session.write(&byte, 1);
    EXPECT_FALSE(session.takeTxActivity());  // closed: nothing sent
    ASSERT_TRUE(session.open());
    session.write(&byte, 1);
    EXPECT_TRUE(session.takeTxActivity());
    EXPECT_FALSE(session.takeTxActivity());
}

TEST_F(SessionBaseTest, AReaderThatCannotStartFailsTheOpenAndLeavesTheSessionClosed) {
    test::ThreadlessSession<ScriptedSession> threadless;
    EXPECT_FALSE(threadless.open());
    EXPECT_EQ(threadless.lastError(), L"cannot start reader thread");
    EXPECT_FALSE(threadless.isOpen());
}

}  // namespace
}  // namespace orvane
