#pragma once
// Test stand-ins for the window thread and for servers on loopback addresses (127.0.0.x only).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "protocol/io_worker.h"

namespace loopback {

using namespace std::chrono_literals;

// The window thread: runs posted and sent calls in order on a thread of its own.
class TestLoop : public tekna::EventLoop {
  public:
    TestLoop() : thread_([this] { runCalls(); }) {}
    ~TestLoop() override {
        {
            const std::lock_guard guard(lock_);
            quit_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    void post(std::function<void()> call) override {
        {
            const std::lock_guard guard(lock_);
            if (quit_) {
                return;
            }
            calls_.push_back(std::move(call));
        }
        wake_.notify_all();
    }

    bool send(std::function<bool()> call) override {
        auto task = std::make_shared<std::packaged_task<bool()>>(std::move(call));
        auto result = task->get_future();
        {
            const std::lock_guard guard(lock_);
            if (quit_) {
                return false;
            }
            calls_.push_back([task] { (*task)(); });
        }
        wake_.notify_all();
        return result.get();
    }

    std::thread::id threadId() const { return thread_.get_id(); }

  private:
    void runCalls() {
        std::unique_lock guard(lock_);
        while (true) {
            wake_.wait(guard, [this] { return quit_ || !calls_.empty(); });
            if (calls_.empty()) {
                return;
            }
            auto call = std::move(calls_.front());
            calls_.pop_front();
            guard.unlock();
            call();
            guard.lock();
        }
    }

    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> calls_;
    bool quit_ = false;
    std::thread thread_;
};

// The main window's side: records every event; the data-readable answer is up to the test.
class RecordingEvents : public IoServer::WorkerEvents {
  public:
    std::function<bool()> onDataReadable = [] { return true; };

    bool onWorkerEvent(uint32_t event) override {
        const bool result = event == IoServer::WorkerEvent::kDataReadable ? onDataReadable() : true;
        record(event);
        return result;
    }
    void onSocketSetupFailed(std::string_view text) override {
        const std::lock_guard guard(lock_);
        setupFailures_.emplace_back(text);
        changed_.notify_all();
    }

    // Waits (at most 10 s, a hang guard) until `count` events of `event` have arrived.
    bool waitFor(uint32_t event, size_t count = 1) {
        std::unique_lock guard(lock_);
        return changed_.wait_for(guard, 10s, [&] { return countOf(event) >= count; });
    }
    std::vector<uint32_t> events() const {
        const std::lock_guard guard(lock_);
        return events_;
    }

  private:
    void record(uint32_t event) {
        const std::lock_guard guard(lock_);
        events_.push_back(event);
        changed_.notify_all();
    }
    size_t countOf(uint32_t event) const {
        size_t count = 0;
        for (const uint32_t e : events_) {
            count += e == event;
        }
        return count;
    }

    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<uint32_t> events_;
    std::vector<std::string> setupFailures_;
};

inline sockaddr_in address(const char* ip, uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    ::inet_pton(AF_INET, ip, &a.sin_addr);
    return a;
}

// A TCP socket bound to `ip` on a free port: listening (accepting, or silent with a full
// backlog) or not listening at all (connections are refused).
class Peer {
  public:
    enum class Mode { Refusing, Listening, FullBacklog };

    Peer(const char* ip, Mode mode) : ip_(ip) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = loopback::address(ip, 0);
        if (fd_ == -1 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            throw std::runtime_error("cannot bind a test socket to " + std::string(ip));
        }
        socklen_t length = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &length);
        port_ = ntohs(a.sin_port);
        if (mode == Mode::Refusing) {
            return;
        }
        ::listen(fd_, 0);
        if (mode == Mode::FullBacklog) {
            // Fill the accept queue; the kernel then drops further connection requests.
            for (int i = 0; i < 4; ++i) {
                const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
                const sockaddr_in target = loopback::address(ip, port_);
                ::connect(client, reinterpret_cast<const sockaddr*>(&target), sizeof target);
                fillers_.push_back(client);
            }
            std::this_thread::sleep_for(50ms);
        }
    }
    ~Peer() {
        closeAccepted();
        for (const int fd : fillers_) {
            ::close(fd);
        }
        ::close(fd_);
    }

    sockaddr_in address() const { return loopback::address(ip_, port_); }

    // Accepts one connection (waiting at most 10 s); false when none came.
    bool accept() {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 10000) != 1) {
            return false;
        }
        accepted_ = ::accept(fd_, nullptr, nullptr);
        return accepted_ != -1;
    }
    int accepted() const { return accepted_; }
    void closeAccepted() {
        if (accepted_ != -1) {
            ::close(accepted_);
            accepted_ = -1;
        }
    }

  private:
    const char* ip_;
    int fd_ = -1;
    uint16_t port_ = 0;
    int accepted_ = -1;
    std::vector<int> fillers_;
};

// Short timeouts so that the tests run fast; each test lengthens what it must not hit.
inline IoServer::WorkerTimeouts fastTimeouts() {
    IoServer::WorkerTimeouts t;
    t.connect = 300ms;
    t.pauseAfterFailedConnect = 50ms;
    t.read = 10s;
    t.reconnectPause = 10s;
    t.sendRetryPause = 10ms;
    return t;
}

}  // namespace loopback
