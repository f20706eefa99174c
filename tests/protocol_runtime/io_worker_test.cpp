#include "protocol/io_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "loopback.h"

namespace {

using namespace loopback;
using IoServer::Worker;
namespace Event = IoServer::WorkerEvent;

struct RecordingLog : tekna::Logger {
    std::mutex lock;
    std::vector<std::string> lines;
    void write(const std::string& line) override {
        const std::lock_guard guard(lock);
        lines.push_back(line);
    }
};

class WorkerTest : public ::testing::Test {
  protected:
    ~WorkerTest() override { IoServer::stopWorker(worker_); }

    void start(std::vector<sockaddr_in> addresses,
               IoServer::WorkerTimeouts timeouts = fastTimeouts()) {
        ASSERT_TRUE(IoServer::startWorker(worker_, std::move(addresses), loop_, events_, timeouts));
    }

    // Starts the worker on `addresses` and waits until `server` has accepted it and the window
    // thread has heard of the connection.
    void startConnected(Peer& server, std::vector<sockaddr_in> addresses,
                        IoServer::WorkerTimeouts timeouts = fastTimeouts()) {
        start(std::move(addresses), timeouts);
        ASSERT_TRUE(server.accept());
        ASSERT_TRUE(events_->waitFor(Event::kConnected));
    }

    std::shared_ptr<TestLoop> loop_ = std::make_shared<TestLoop>();
    std::shared_ptr<RecordingEvents> events_ = std::make_shared<RecordingEvents>();
    std::shared_ptr<Worker> worker_;
};

TEST_F(WorkerTest, EmptyAddressListReportsNoServerAtOnce) {
    start({});
    ASSERT_TRUE(events_->waitFor(Event::kNoServerReachable));
    EXPECT_TRUE(worker_->wait(1s));
    EXPECT_EQ(events_->events(), (std::vector<uint32_t>{Event::kNoServerReachable}));
    EXPECT_TRUE(Event::isFinal(Event::kNoServerReachable));
    EXPECT_FALSE(Event::isFinal(Event::kConnected));
}

TEST_F(WorkerTest, EveryAddressRefusedReportsNoServer) {
    Peer first("127.0.0.2", Peer::Mode::Refusing);
    Peer second("127.0.0.3", Peer::Mode::Refusing);
    start({first.address(), second.address()});
    ASSERT_TRUE(events_->waitFor(Event::kNoServerReachable));
    EXPECT_TRUE(worker_->wait(1s));
    EXPECT_EQ(events_->events(), (std::vector<uint32_t>{Event::kNoServerReachable}));
}

TEST_F(WorkerTest, RefusedOrUnresolvedAddressIsFollowedByTheNext) {
    Peer refusing("127.0.0.2", Peer::Mode::Refusing);
    Peer server("127.0.0.3", Peer::Mode::Listening);
    // A pause after a refusal would be noticed: it is longer than the hang guard.
    auto timeouts = fastTimeouts();
    timeouts.pauseAfterFailedConnect = 60s;
    const sockaddr_in unresolved = address("0.0.0.0", 7088);
    ASSERT_NO_FATAL_FAILURE(
        startConnected(server, {unresolved, refusing.address(), server.address()}, timeouts));
    EXPECT_EQ(events_->events(), (std::vector<uint32_t>{Event::kConnected}));
}

TEST_F(WorkerTest, AddressThatDoesNotAnswerTimesOutAndTheNextIsTried) {
    Peer silent("127.0.0.4", Peer::Mode::FullBacklog);
    Peer server("127.0.0.5", Peer::Mode::Listening);
    ASSERT_NO_FATAL_FAILURE(startConnected(server, {silent.address(), server.address()}));
}

TEST_F(WorkerTest, StopDuringTheConnectWaitEndsWithoutAnEvent) {
    Peer silent("127.0.0.4", Peer::Mode::FullBacklog);
    auto timeouts = fastTimeouts();
    timeouts.connect = 60s;
    start({silent.address()}, timeouts);
    std::this_thread::sleep_for(100ms);
    const auto kept = worker_;
    EXPECT_TRUE(IoServer::stopWorker(worker_));
    EXPECT_EQ(worker_, nullptr);
    EXPECT_TRUE(kept->wait(0ms));
    EXPECT_TRUE(events_->events().empty());
}

TEST_F(WorkerTest, SilentServerIsReportedAfterTheReadTimeoutAndTheWorkerReconnects) {
    Peer server("127.0.0.6", Peer::Mode::Listening);
    auto timeouts = fastTimeouts();
    timeouts.read = 200ms;
    timeouts.reconnectPause = 50ms;
    start({server.address()}, timeouts);
    ASSERT_TRUE(server.accept());
    ASSERT_TRUE(events_->waitFor(Event::kConnectionLost));
    server.closeAccepted();
    ASSERT_TRUE(server.accept());  // a new socket and a new connection after the pause
    ASSERT_TRUE(events_->waitFor(Event::kConnected, 2));
    const auto events = events_->events();
    EXPECT_EQ(
        std::vector<uint32_t>(events.begin(), events.begin() + 3),
        (std::vector<uint32_t>{Event::kConnected, Event::kConnectionLost, Event::kConnected}));
}

TEST_F(WorkerTest, StopWhileWaitingForDataEndsWithoutFurtherEvents) {
    Peer server("127.0.0.7", Peer::Mode::Listening);
    auto timeouts = fastTimeouts();
    timeouts.read = 60s;
    ASSERT_NO_FATAL_FAILURE(startConnected(server, {server.address()}, timeouts));
    EXPECT_TRUE(IoServer::stopWorker(worker_));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(events_->events(), (std::vector<uint32_t>{Event::kConnected}));
}

TEST_F(WorkerTest, ReadRequestRunsOnTheWindowThreadAndItsAnswerIsAwaited) {
    Peer server("127.0.0.8", Peer::Mode::Listening);
    std::string received;
    std::atomic<bool> onWindowThread{true};
    events_->onDataReadable = [&] {
        onWindowThread = onWindowThread && std::this_thread::get_id() == loop_->threadId();
        uint8_t buffer[64];
        const auto result = worker_->receive(buffer);
        received.append(reinterpret_cast<const char*>(buffer), result.count);
        return received != "hello world";  // false: stop waiting for data
    };
    auto timeouts = fastTimeouts();
    timeouts.reconnectPause = 60s;
    ASSERT_NO_FATAL_FAILURE(startConnected(server, {server.address()}, timeouts));
    ASSERT_EQ(::send(server.accepted(), "hello", 5, 0), 5);
    ASSERT_TRUE(events_->waitFor(Event::kDataReadable));
    ASSERT_EQ(::send(server.accepted(), " world", 6, 0), 6);
    ASSERT_TRUE(events_->waitFor(Event::kDataReadable, 2));

    // The last answer was false: more data brings no further request.
    ASSERT_EQ(::send(server.accepted(), "!", 1, 0), 1);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(events_->events(), (std::vector<uint32_t>{Event::kConnected, Event::kDataReadable,
                                                        Event::kDataReadable}));
    EXPECT_EQ(received, "hello world");
    EXPECT_TRUE(onWindowThread);
    // Stopping interrupts the reconnection pause.
    EXPECT_TRUE(IoServer::stopWorker(worker_));
}

std::vector<uint8_t> numberedBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    }
    return bytes;
}

TEST_F(WorkerTest, SendThatWouldBlockDeliversEveryByteInOrder) {
    Peer server("127.0.0.9", Peer::Mode::Listening);
    ASSERT_NO_FATAL_FAILURE(startConnected(server, {server.address()}));

    const auto packet = numberedBytes(8 << 20);  // more than both socket buffers hold
    std::vector<uint8_t> arrived;
    std::thread reader([&] {
        std::this_thread::sleep_for(30ms);  // let the sender meet a full buffer first
        std::vector<uint8_t> buffer(1 << 16);
        while (arrived.size() < packet.size()) {
            const ssize_t n = ::recv(server.accepted(), buffer.data(), buffer.size(), 0);
            if (n <= 0) {
                break;
            }
            arrived.insert(arrived.end(), buffer.begin(), buffer.begin() + n);
        }
    });
    RecordingLog log;
    worker_->send(packet, &log);
    reader.join();
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(arrived, packet);
}

TEST_F(WorkerTest, SendThatKeepsBlockingIsLoggedAndClosesTheSocket) {
    Peer server("127.0.0.10", Peer::Mode::Listening);
    ASSERT_NO_FATAL_FAILURE(startConnected(server, {server.address()}));

    RecordingLog log;
    worker_->send(numberedBytes(64 << 20), &log);  // the server never reads
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find("\tWorker Thread: send() failed, WSALastError=" +
                                std::to_string(EAGAIN) + "\r\n"),
              std::string::npos);
    // The closed socket shows up as the thread's next event.
    ASSERT_TRUE(events_->waitFor(Event::kConnectionLost));
}

TEST_F(WorkerTest, ReadFailureIsLoggedAndClosesTheSocket) {
    Peer server("127.0.0.11", Peer::Mode::Listening);
    ASSERT_NO_FATAL_FAILURE(startConnected(server, {server.address()}));

    RecordingLog log;
    EXPECT_FALSE(worker_->readFailed(104, &log));
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find("\tWorker Thread: recv() failed, WSALastError=104\r\n"),
              std::string::npos);
    uint8_t buffer[8];
    EXPECT_NE(worker_->receive(buffer).error, 0);
    ASSERT_TRUE(events_->waitFor(Event::kConnectionLost));
}

}  // namespace
