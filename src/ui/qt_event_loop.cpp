#include "ui/qt_event_loop.h"

#include <QMetaObject>

#include <condition_variable>
#include <memory>

namespace chat {
namespace {

// The answer of one sent call. The call's queued copy holds a Completion; when the copy is dropped
// without running (the loop shut down), the Completion's destructor still wakes the sender.
struct SendState {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool result = false;

    void finish(bool value) {
        {
            const std::lock_guard lock(mutex);
            if (finished) {
                return;
            }
            finished = true;
            result = value;
        }
        done.notify_all();
    }
};

class Completion {
  public:
    explicit Completion(std::shared_ptr<SendState> state) : state_(std::move(state)) {}
    Completion(Completion&&) noexcept = default;
    Completion& operator=(Completion&&) noexcept = default;
    Completion(const Completion&) = delete;
    Completion& operator=(const Completion&) = delete;
    ~Completion() {
        if (state_) {
            state_->finish(false);
        }
    }
    void finish(bool value) { state_->finish(value); }

  private:
    std::shared_ptr<SendState> state_;
};

}  // namespace

QtEventLoop::QtEventLoop() : context_(new QObject) {}

QtEventLoop::~QtEventLoop() {
    shutdown();
}

void QtEventLoop::shutdown() {
    const std::lock_guard lock(mutex_);
    delete context_;  // drops the calls still queued for it
    context_ = nullptr;
}

void QtEventLoop::post(std::function<void()> call) {
    const std::lock_guard lock(mutex_);
    if (context_ != nullptr) {
        QMetaObject::invokeMethod(context_, std::move(call), Qt::QueuedConnection);
    }
}

bool QtEventLoop::send(std::function<bool()> call) {
    auto state = std::make_shared<SendState>();
    {
        const std::lock_guard lock(mutex_);
        if (context_ == nullptr) {
            return false;
        }
        auto completion = std::make_shared<Completion>(state);
        QMetaObject::invokeMethod(
            context_, [call = std::move(call), completion] { completion->finish(call()); },
            Qt::QueuedConnection);
    }
    std::unique_lock lock(state->mutex);
    state->done.wait(lock, [&state] { return state->finished; });
    return state->result;
}

}  // namespace chat
