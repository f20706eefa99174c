#pragma once
// A thread object whose body is run(). The running thread holds shared ownership of the object,
// so the object outlives its thread even when its owner lets go first (for example after a wait
// that timed out): whoever releases the last reference, the owner or the ending thread, destroys
// it. Objects must therefore be owned by a std::shared_ptr before start().
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace tekna {

class Thread : public std::enable_shared_from_this<Thread> {
  public:
    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    virtual ~Thread() = default;

    // Asks run() to end soon; the base does nothing.
    virtual void stop() {}

    // Starts run() on a new thread. False when the thread could not be created, or when the
    // object was started before or is not owned by a std::shared_ptr.
    bool start();
    // True when run() has returned, waiting at most `timeout` for it.
    bool wait(std::chrono::milliseconds timeout);
    std::thread::id threadId() const;

  protected:
    virtual void run() = 0;

  private:
    mutable std::mutex lock_;
    std::condition_variable finished_;
    bool started_ = false;
    bool running_ = false;
    std::thread::id threadId_;
};

}  // namespace tekna
