#include "protocol/io_worker.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>
#include <utility>

namespace IoServer {

namespace {

using Clock = std::chrono::steady_clock;

bool setNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    return flags != -1 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != -1;
}

bool isWouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}

void logSocketFailure(tekna::Logger* log, std::string_view call, int error) {
    tekna::logMessage(log, "Worker Thread: " + std::string(call) +
                               "() failed, WSALastError=" + std::to_string(error));
}

}  // namespace

Worker::Worker(std::vector<sockaddr_in> addresses, std::shared_ptr<tekna::EventLoop> loop,
               std::shared_ptr<WorkerEvents> events, WorkerTimeouts timeouts)
    : loop_(std::move(loop)),
      events_(std::move(events)),
      addresses_(std::move(addresses)),
      timeouts_(timeouts) {
    // Without the pipe every wait still ends by its timeout or by the socket's closure.
    int ends[2];
    if (::pipe(ends) == 0) {
        wakeRead_ = ends[0];
        wakeWrite_ = ends[1];
        setNonBlocking(wakeRead_);
        setNonBlocking(wakeWrite_);
    }
}

Worker::~Worker() {
    closeSocket();
    for (const int fd : {wakeRead_, wakeWrite_}) {
        if (fd != -1) {
            ::close(fd);
        }
    }
}

void Worker::requestStop() {
    stop_.store(true);
    if (wakeWrite_ != -1) {
        const char wake = 1;
        [[maybe_unused]] const auto written = ::write(wakeWrite_, &wake, 1);  // full pipe: awake
    }
}

void Worker::stop() {
    requestStop();  // first, so that the wake by the closure finds the flag set
    closeSocket();
}

void Worker::closeSocket() {
    const int fd = socket_.exchange(-1);
    if (fd != -1) {
        ::shutdown(fd, SHUT_RDWR);
        ::close(fd);
    }
}

// A posted event reaches the window only while its worker still exists and has not been
// stopped: the window thread may have replaced or dropped the worker in the meantime.
void Worker::postToWindow(std::function<void(WorkerEvents&)> call) {
    loop_->post([self = weak_from_this(), events = events_, call = std::move(call)] {
        const auto alive = self.lock();
        if (alive && !static_cast<const Worker&>(*alive).stopRequested()) {
            call(*events);
        }
    });
}

void Worker::postEvent(uint32_t event) {
    postToWindow([event](WorkerEvents& events) { events.onWorkerEvent(event); });
}

void Worker::postSetupFailure(std::string_view text) {
    postToWindow([text](WorkerEvents& events) { events.onSocketSetupFailed(text); });
}

void Worker::run() {
    while (!stopRequested()) {
        switch (connectToServer()) {
            case ConnectResult::Connected:
                break;
            case ConnectResult::NoServer:
                postEvent(WorkerEvent::kNoServerReachable);
                return;
            case ConnectResult::SetupFailed:
            case ConnectResult::Stopped:
                return;
        }
        postEvent(WorkerEvent::kConnected);
        waitForData();
        if (pauseUnlessStopped(timeouts_.reconnectPause)) {
            return;
        }
    }
}

// Each address gets a fresh socket: after a failed or timed-out attempt a POSIX socket is in no
// state to connect again.
Worker::ConnectResult Worker::connectToServer() {
    for (const sockaddr_in& address : addresses_) {
        if (stopRequested()) {
            return ConnectResult::Stopped;
        }
        if (!createSocket()) {
            return ConnectResult::SetupFailed;
        }
        switch (connectTo(address)) {
            case AttemptResult::Connected:
                return ConnectResult::Connected;
            case AttemptResult::Refused:
                break;
            case AttemptResult::Failed:
                if (pauseUnlessStopped(timeouts_.pauseAfterFailedConnect)) {
                    return ConnectResult::Stopped;
                }
                break;
            case AttemptResult::Stopped:
                return ConnectResult::Stopped;
        }
    }
    closeSocket();
    return stopRequested() ? ConnectResult::Stopped : ConnectResult::NoServer;
}

bool Worker::createSocket() {
    closeSocket();
    const int fd = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (fd == -1) {
        postSetupFailure(kCreateSocketFailed);
        return false;
    }
    socket_.store(fd);
    if (!setNonBlocking(fd)) {
        postSetupFailure(kNonBlockingFailed);
        return false;
    }
    const int size = kSocketBufferSize;
    if (::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size) != 0 ||
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size) != 0) {
        postSetupFailure(kBufferSizeFailed);
        return false;
    }
    return true;
}

Worker::AttemptResult Worker::connectTo(const sockaddr_in& address) {
    // 0.0.0.0 stands for a host name that could not be resolved. Some systems would connect it
    // to this machine; it must fail instead.
    if (address.sin_addr.s_addr == htonl(INADDR_ANY)) {
        return AttemptResult::Refused;
    }
    const int fd = socket_.load();
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return AttemptResult::Connected;
    }
    if (errno != EINPROGRESS && errno != EINTR && !isWouldBlock(errno)) {
        return AttemptResult::Refused;  // refused or unreachable at once: next address now
    }
    const WaitResult waited = waitForSocket(fd, POLLOUT, timeouts_.connect);
    if (stopRequested()) {
        return AttemptResult::Stopped;
    }
    if (waited != WaitResult::Ready) {
        return AttemptResult::Failed;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        return AttemptResult::Failed;
    }
    if (error == 0) {
        return AttemptResult::Connected;
    }
    return error == ECONNREFUSED ? AttemptResult::Refused : AttemptResult::Failed;
}

void Worker::waitForData() {
    while (!stopRequested()) {
        const WaitResult waited = waitForSocket(socket_.load(), POLLIN, timeouts_.read);
        if (stopRequested()) {
            return;
        }
        if (waited == WaitResult::Woken) {
            continue;
        }
        if (waited != WaitResult::Ready) {
            postEvent(WorkerEvent::kConnectionLost);
            return;
        }
        // This thread (and so the worker) waits inside send() until the call has run.
        const bool keepWaiting = loop_->send([this] {
            return !stopRequested() && events_->onWorkerEvent(WorkerEvent::kDataReadable);
        });
        if (!keepWaiting) {
            return;
        }
    }
}

Worker::WaitResult Worker::waitForSocket(int socket, short events,
                                         std::chrono::milliseconds timeout) {
    if (socket == -1) {
        return WaitResult::Failed;  // closed by the window thread
    }
    const auto deadline = Clock::now() + timeout;
    while (true) {
        pollfd fds[2] = {{socket, events, 0}, {wakeRead_, POLLIN, 0}};
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        const int count = ::poll(fds, 2, static_cast<int>(std::max<int64_t>(left.count(), 0)));
        if (count == -1 && errno == EINTR) {
            continue;
        }
        if (count == -1) {
            return WaitResult::Failed;
        }
        if (count == 0) {
            return WaitResult::TimedOut;
        }
        if (fds[1].revents != 0) {
            drainWakes();
            return WaitResult::Woken;
        }
        // A closed or failed socket reads as readable (the read then reports it), as with select.
        return (fds[0].revents & POLLNVAL) != 0 ? WaitResult::Failed : WaitResult::Ready;
    }
}

bool Worker::pauseUnlessStopped(std::chrono::milliseconds duration) {
    const auto deadline = Clock::now() + duration;
    while (!stopRequested()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd wake{wakeRead_, POLLIN, 0};
        if (::poll(&wake, 1, static_cast<int>(left.count())) > 0) {
            drainWakes();
        }
    }
    return true;
}

void Worker::drainWakes() {
    char bytes[64];
    while (wakeRead_ != -1 && ::read(wakeRead_, bytes, sizeof bytes) > 0) {
    }
}

void Worker::send(std::span<const uint8_t> packet, tekna::Logger* log) {
    int wouldBlocks = 0;
    while (!packet.empty()) {
        const ssize_t sent = ::send(socket_.load(), packet.data(), packet.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            packet = packet.subspan(static_cast<size_t>(sent));
            wouldBlocks = 0;
            continue;
        }
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        if (isWouldBlock(error) && wouldBlocks < timeouts_.sendRetries) {
            ++wouldBlocks;
            std::this_thread::sleep_for(timeouts_.sendRetryPause);
            continue;
        }
        logSocketFailure(log, "send", error);
        closeSocket();
        return;
    }
}

Worker::Received Worker::receive(std::span<uint8_t> buffer) {
    const ssize_t received = ::recv(socket_.load(), buffer.data(), buffer.size(), 0);
    if (received > 0) {
        return {static_cast<size_t>(received), 0};
    }
    return {0, received == 0 ? 0 : errno};
}

bool Worker::readFailed(int error, tekna::Logger* log) {
    logSocketFailure(log, "recv", error);
    closeSocket();
    return false;
}

bool startWorker(std::shared_ptr<Worker>& slot, std::vector<sockaddr_in> addresses,
                 std::shared_ptr<tekna::EventLoop> loop, std::shared_ptr<WorkerEvents> events,
                 WorkerTimeouts timeouts) {
    stopWorker(slot);
    slot = std::make_shared<Worker>(std::move(addresses), std::move(loop), std::move(events),
                                    timeouts);
    return slot->start();
}

bool stopWorker(std::shared_ptr<Worker>& slot) {
    if (!slot) {
        return true;
    }
    slot->requestStop();
    slot->stop();
    const bool ended = slot->wait(slot->timeouts().stopWait);
    slot.reset();
    return ended;
}

}  // namespace IoServer
