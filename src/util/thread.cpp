#include "util/thread.h"

#include <system_error>

namespace tekna {

bool Thread::start() {
    const std::weak_ptr<Thread> weak = weak_from_this();
    std::shared_ptr<Thread> self = weak.lock();
    std::unique_lock guard(lock_);
    if (!self || started_) {
        return false;
    }
    try {
        // The thread is detached at once: its own reference keeps the object alive until run()
        // has returned, and nobody ever has to join it.
        std::thread thread([self] {
            self->run();
            {
                const std::lock_guard done(self->lock_);
                self->running_ = false;
            }
            self->finished_.notify_all();
        });
        threadId_ = thread.get_id();
        thread.detach();
    } catch (const std::system_error&) {
        return false;
    }
    started_ = true;
    running_ = true;
    return true;
}

bool Thread::wait(std::chrono::milliseconds timeout) {
    std::unique_lock guard(lock_);
    return finished_.wait_for(guard, timeout, [this] { return !running_; });
}

std::thread::id Thread::threadId() const {
    const std::lock_guard guard(lock_);
    return threadId_;
}

}  // namespace tekna
