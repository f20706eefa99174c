#pragma once
// The socket worker: one thread per connection that creates the TCP socket, connects it to the
// first server address that answers and then waits until data can be read. It reports to the
// window thread through calls on the event loop; the window thread does everything else (reads
// with receive(), sends with send()). Reading never overlaps the worker's wait: the worker asks
// the window thread to read synchronously and waits again only after the read is done.
//
// Stopping: the window thread sets the stop flag and calls stop(), which closes the socket. A
// wake pipe interrupts every wait of the worker (the socket wait, the connect wait and the
// pauses) at once, so a stopped worker ends without any further event. The thread keeps the
// worker alive until it has ended (tekna::Thread), so the owner may let go after a bounded wait.
#include <netinet/in.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "util/event_loop.h"
#include "util/logger.h"
#include "util/thread.h"

namespace IoServer {

// The window messages the worker's events stand for, kept for the boundary to the main window.
inline constexpr uint32_t kWorkerMessage = 2024;             // WM_USER + 1000
inline constexpr uint32_t kSocketSetupFailedMessage = 2026;  // WM_USER + 1002

// Codes of message 2024. The high word tells a final event (1) from an ordinary one (0).
namespace WorkerEvent {
inline constexpr uint32_t kDataReadable = 0x1;
inline constexpr uint32_t kConnected = 0x10;
inline constexpr uint32_t kConnectionLost = 0x10001;  // nothing read within the read timeout
inline constexpr uint32_t kNoServerReachable = 0x10010;
constexpr bool isFinal(uint32_t event) {
    return (event >> 16) == 1;
}
}  // namespace WorkerEvent

inline constexpr std::string_view kCreateSocketFailed = "创建SOCKET失败！";
inline constexpr std::string_view kNonBlockingFailed = "设置SOCKET为非阻塞模式失败！";
inline constexpr std::string_view kBufferSizeFailed = "设置IO缓冲区大小失败！";
inline constexpr int kSocketBufferSize = 0x40000;

// What the main window does with the worker's events; every call runs on the window thread.
class WorkerEvents {
  public:
    virtual ~WorkerEvents() = default;
    // Message 2024. For kDataReadable the handler reads now and the worker waits for it: false
    // tells the worker to stop waiting for data. The results of the other events are not used.
    virtual bool onWorkerEvent(uint32_t event) = 0;
    // Message 2026: the socket could not be set up; `text` (UTF-8) says how. The thread has ended.
    virtual void onSocketSetupFailed(std::string_view text) = 0;
};

struct WorkerTimeouts {
    std::chrono::milliseconds connect{5000};
    std::chrono::milliseconds pauseAfterFailedConnect{2000};  // after a connect wait that failed
    std::chrono::milliseconds read{
        60000};  // the liveness rule: the server sends at least this often
    std::chrono::milliseconds reconnectPause{5000};
    std::chrono::milliseconds sendRetryPause{100};
    int sendRetries = 10;  // would-block retries for the same remaining bytes
    std::chrono::milliseconds stopWait{1000};
};

class Worker : public tekna::Thread {
  public:
    Worker(std::vector<sockaddr_in> addresses, std::shared_ptr<tekna::EventLoop> loop,
           std::shared_ptr<WorkerEvents> events, WorkerTimeouts timeouts = {});
    ~Worker() override;

    // Any thread: the thread leaves at its next check; a pending wait ends at once.
    void requestStop();
    bool stopRequested() const { return stop_.load(); }
    // Sets the stop flag and closes the socket.
    void stop() override;

    // Window thread: sends the whole packet, retrying a would-block send; on any other failure
    // (or too many would-blocks) writes "Worker Thread: send() failed, WSALastError=%d" to `log`
    // and closes the socket. A lost connection then shows up as the thread's next event.
    void send(std::span<const uint8_t> packet, tekna::Logger* log);

    struct Received {
        size_t count = 0;  // 0: the server closed the connection, or the read failed
        int error = 0;     // the socket error code of a failed read
    };
    // Window thread, in the handler of kDataReadable: reads what has arrived.
    Received receive(std::span<uint8_t> buffer);
    // Window thread, after a failed read: writes "Worker Thread: recv() failed, WSALastError=%d"
    // and closes the socket. Returns false.
    bool readFailed(int error, tekna::Logger* log);

    const WorkerTimeouts& timeouts() const { return timeouts_; }

  protected:
    void run() override;

  private:
    enum class ConnectResult { Connected, NoServer, SetupFailed, Stopped };
    enum class AttemptResult { Connected, Refused, Failed, Stopped };
    enum class WaitResult { Ready, TimedOut, Failed, Woken };

    ConnectResult connectToServer();
    AttemptResult connectTo(const sockaddr_in& address);
    bool createSocket();
    void waitForData();
    // Waits for `events` on the socket, or for a wake.
    WaitResult waitForSocket(int socket, short events, std::chrono::milliseconds timeout);
    // True when the stop flag is set, at once or within `duration`.
    bool pauseUnlessStopped(std::chrono::milliseconds duration);
    void drainWakes();
    void closeSocket();
    void postToWindow(std::function<void(WorkerEvents&)> call);
    void postEvent(uint32_t event);
    void postSetupFailure(std::string_view text);

    std::atomic<bool> stop_{false};
    const std::shared_ptr<tekna::EventLoop> loop_;
    const std::shared_ptr<WorkerEvents> events_;
    const std::vector<sockaddr_in> addresses_;
    std::atomic<int> socket_{-1};
    const WorkerTimeouts timeouts_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
};

// Replaces the worker in `slot` (stopping the old one) by a new one with a copy of `addresses`
// and starts its thread. True when the thread was started.
bool startWorker(std::shared_ptr<Worker>& slot, std::vector<sockaddr_in> addresses,
                 std::shared_ptr<tekna::EventLoop> loop, std::shared_ptr<WorkerEvents> events,
                 WorkerTimeouts timeouts = {});
// Window thread: sets the stop flag, closes the socket, waits at most the worker's stop wait for
// its thread, and clears the slot. True when the thread ended within the wait; otherwise it ends
// on its own later and releases the worker then.
bool stopWorker(std::shared_ptr<Worker>& slot);

}  // namespace IoServer
