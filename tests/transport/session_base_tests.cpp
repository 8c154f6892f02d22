#include "transport/session_base.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <optional>
#include <system_error>

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Post {
    WindowHandle window;
    unsigned message;
};

// Every message the sessions of these tests post, in order.
class PostLog {
public:
    static PostLog& instance() {
        static PostLog log;
        return log;
    }
    static void record(WindowHandle window, unsigned message) {
        PostLog& log = instance();
        std::lock_guard lock(log.mutex);
        log.posts.push_back({window, message});
        log.changed.notify_all();
    }
    void reset() {
        std::lock_guard lock(mutex);
        posts.clear();
    }
    size_t count(unsigned message) {
        std::lock_guard lock(mutex);
        return countLocked(message);
    }
    bool waitForCount(unsigned message, size_t wanted) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 5s, [&] { return countLocked(message) >= wanted; });
    }
    std::vector<Post> all() {
        std::lock_guard lock(mutex);
        return posts;
    }

private:
    size_t countLocked(unsigned message) const {
        size_t n = 0;
        for (const Post& post : posts) n += post.message == message ? 1 : 0;
        return n;
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Post> posts;
};

// A device the test feeds: reads return its bytes, time out, or fail.
class FakeDevice {
public:
    struct Event {
        std::vector<uint8_t> bytes;
        bool fails = false;
    };

    void push(std::vector<uint8_t> bytes) { add({std::move(bytes), false}); }
    void fail() { add({{}, true}); }

    // Reads then block until an event comes, whatever the time.
    void holdReads() {
        std::lock_guard lock(mutex);
        holding = true;
    }

    std::optional<Event> read() {
        std::unique_lock lock(mutex);
        ++readCount;
        changed.notify_all();
        const auto ready = [&] { return !events.empty(); };
        if (holding) {
            changed.wait(lock, ready);
        } else if (!changed.wait_for(lock, 10ms, ready)) {
            return std::nullopt;
        }
        Event event = std::move(events.front());
        events.pop_front();
        return event;
    }

    size_t pending() {
        std::lock_guard lock(mutex);
        return events.size();
    }
    int reads() {
        std::lock_guard lock(mutex);
        return readCount;
    }
    bool waitForReads(int wanted) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 5s, [&] { return readCount >= wanted; });
    }

private:
    void add(Event event) {
        std::lock_guard lock(mutex);
        events.push_back(std::move(event));
        changed.notify_all();
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Event> events;
    bool holding = false;
    int readCount = 0;
};

// The smallest session over SessionBase: its reader has the shape of the
// real ones (room check, read, deliver or report the loss).
class ScriptedSession : public SessionBase {
public:
    explicit ScriptedSession(size_t queueLimit = kReceiveQueueLimit) : SessionBase(PostLog::record, queueLimit) {}
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

    FakeDevice device;

private:
    void readLoop() {
        while (!stopRequested() && waitForQueueRoom()) {
            const std::optional<FakeDevice::Event> event = device.read();
            if (!event) continue;
            if (event->fails) {
                reportLinkLost();
                return;
            }
            deliver(event->bytes.data(), event->bytes.size());
        }
    }

    bool opened = false;
};

class SessionBaseTest : public ::testing::Test {
protected:
    void SetUp() override { PostLog::instance().reset(); }
    PostLog& log = PostLog::instance();
    int windowMarker = 0;
    WindowHandle window = &windowMarker;
};

TEST_F(SessionBaseTest, EachChunkIsQueuedThenPostedOnceToTheTarget) {
    ScriptedSession session;
    session.setNotifyTarget(window, WM_SESSION_DATA, WM_SESSION_CLOSED);
    ASSERT_TRUE(session.open());
    session.device.push({1, 2, 3});
    session.device.push({4});
    session.device.push({5, 6});
    ASSERT_TRUE(log.waitForCount(WM_SESSION_DATA, 3));

    std::vector<uint8_t> out;
    EXPECT_EQ(session.drainReceived(out), 6);
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    for (const Post& post : log.all()) {
        EXPECT_EQ(post.window, window);
        EXPECT_EQ(post.message, WM_SESSION_DATA);
    }
    EXPECT_TRUE(session.takeRxActivity());
    EXPECT_FALSE(session.takeRxActivity());
    EXPECT_FALSE(session.takeTxActivity());
}

TEST_F(SessionBaseTest, WithoutAWindowOrWithMessageIdZeroNothingIsPostedButDataIsQueued) {
    ScriptedSession session;
    ASSERT_TRUE(session.open());
    session.device.push({7});
    session.setNotifyTarget(window, 0, WM_SESSION_CLOSED);
    session.device.push({8});
    const int readsBefore = session.device.reads();
    ASSERT_TRUE(session.device.waitForReads(readsBefore + 3));  // both consumed by now
    std::vector<uint8_t> out;
    EXPECT_EQ(session.drainReceived(out), 2);
    EXPECT_EQ(log.all().size(), 0u);
}

TEST_F(SessionBaseTest, AFailedReadPostsTheClosedMessageOnceAndTheSessionStaysOpen) {
    ScriptedSession session;
    session.setNotifyTarget(window, WM_SESSION_DATA, WM_SESSION_CLOSED);
    ASSERT_TRUE(session.open());
    session.device.fail();
    session.device.push({9});  // never read: the reader has ended
    ASSERT_TRUE(log.waitForCount(WM_SESSION_CLOSED, 1));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(log.count(WM_SESSION_CLOSED), 1u);
    EXPECT_EQ(log.count(WM_SESSION_DATA), 0u);
    EXPECT_EQ(session.device.pending(), 1u);
    EXPECT_TRUE(session.isOpen());
    session.close();
    EXPECT_FALSE(session.isOpen());
    EXPECT_EQ(log.count(WM_SESSION_CLOSED), 1u);
}

TEST_F(SessionBaseTest, AClosedMessageIdOfZeroSuppressesTheNotice) {
    ScriptedSession session;
    session.setNotifyTarget(window, WM_SESSION_DATA, 0);
    ASSERT_TRUE(session.open());
    session.device.fail();
    ASSERT_TRUE(session.device.waitForReads(1));
    session.close();
    EXPECT_EQ(log.all().size(), 0u);
}

TEST_F(SessionBaseTest, AReadThatFailsWhileClosingIsSilent) {
    ScriptedSession session;
    session.setNotifyTarget(window, WM_SESSION_DATA, WM_SESSION_CLOSED);
    session.device.holdReads();
    ASSERT_TRUE(session.open());
    ASSERT_TRUE(session.device.waitForReads(1));
    auto closing = std::async(std::launch::async, [&] { session.close(); });
    EXPECT_EQ(closing.wait_for(50ms), std::future_status::timeout);  // joined on the blocked read
    session.device.fail();
    ASSERT_EQ(closing.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(log.all().size(), 0u);
}

TEST_F(SessionBaseTest, AFullQueueStopsTheReaderUntilItIsDrained) {
    ScriptedSession session(8);
    ASSERT_TRUE(session.open());
    session.device.push({1, 2, 3, 4, 5});
    session.device.push({6, 7, 8, 9});
    session.device.push({10});
    while (session.queuedBytes() < 9) std::this_thread::sleep_for(1ms);
    const int readsWhenFull = session.device.reads();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(session.device.reads(), readsWhenFull);  // no read while full
    EXPECT_EQ(session.device.pending(), 1u);

    std::vector<uint8_t> out;
    EXPECT_EQ(session.drainReceived(out), 9);
    while (session.queuedBytes() < 1) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(session.drainReceived(out), 1);
    EXPECT_EQ(out, std::vector<uint8_t>{10});
}

TEST_F(SessionBaseTest, CloseEndsAReaderThatWaitsForQueueRoomAndDropsTheQueue) {
    ScriptedSession session(4);
    ASSERT_TRUE(session.open());
    session.device.push({1, 2, 3, 4});
    while (session.queuedBytes() < 4) std::this_thread::sleep_for(1ms);
    const auto start = Clock::now();
    session.close();
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_EQ(session.queuedBytes(), 0u);
    std::vector<uint8_t> out{1};
    EXPECT_EQ(session.drainReceived(out), 0);
}

TEST_F(SessionBaseTest, DiscardDropsQueuedChunksWithoutDeliveringThem) {
    ScriptedSession session;
    ASSERT_TRUE(session.open());
    session.device.push({1, 2});
    while (session.queuedBytes() < 2) std::this_thread::sleep_for(1ms);
    session.discardReceived();
    session.device.push({3});
    while (session.queuedBytes() < 1) std::this_thread::sleep_for(1ms);
    std::vector<uint8_t> out;
    session.drainReceived(out);
    EXPECT_EQ(out, std::vector<uint8_t>{3});
}

TEST_F(SessionBaseTest, WriteActivityIsTakenOnce) {
    ScriptedSession session;
    const uint8_t byte = 'x';
    session.write(&byte, 1);
    EXPECT_FALSE(session.takeTxActivity());  // closed: nothing sent
    ASSERT_TRUE(session.open());
    session.write(&byte, 1);
    EXPECT_TRUE(session.takeTxActivity());
    EXPECT_FALSE(session.takeTxActivity());
}

class ThreadlessSession : public ScriptedSession {
protected:
    std::thread spawnReaderThread(std::function<void()>) override {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
};

TEST_F(SessionBaseTest, AReaderThatCannotStartFailsTheOpenAndLeavesTheSessionClosed) {
    ThreadlessSession session;
    EXPECT_FALSE(session.open());
    EXPECT_EQ(session.lastError(), L"cannot start reader thread");
    EXPECT_FALSE(session.isOpen());
    session.close();  // and closing again is harmless
}

}  // namespace
}  // namespace orvane
