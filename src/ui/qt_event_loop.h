#pragma once
// The window thread's event loop for the socket worker: calls are queued to a context object that
// lives on the window thread. A call that is still queued when the loop shuts down is dropped, and
// a worker waiting for it in send() gets false.
#include <QObject>

#include <mutex>

#include "util/event_loop.h"

namespace chat {

class QtEventLoop final : public tekna::EventLoop {
  public:
    // Must be made on the window thread.
    QtEventLoop();
    // Shuts down when that has not happened yet (only valid on the window thread).
    ~QtEventLoop() override;

    void post(std::function<void()> call) override;
    bool send(std::function<bool()> call) override;

    // On the window thread, before the application object goes: drops every queued call and makes
    // further calls fail.
    void shutdown();

  private:
    std::mutex mutex_;
    QObject* context_;
};

}  // namespace chat
