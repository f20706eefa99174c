#pragma once
// The window thread's event loop as other threads see it. The window thread owns all program
// state; another thread reaches it only by handing it a call. The UI implements this on its
// event loop; tests run a loop of their own on a test thread.
#include <functional>

namespace tekna {

class EventLoop {
  public:
    virtual ~EventLoop() = default;
    // Queues `call` to run on the window thread and returns at once.
    virtual void post(std::function<void()> call) = 0;
    // Runs `call` on the window thread and waits for it to finish; returns its result, or false
    // when the loop no longer runs calls. Must not be called from the window thread itself.
    virtual bool send(std::function<bool()> call) = 0;
};

}  // namespace tekna
