#include "ui/qt_event_loop.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

namespace {

// Runs the window thread's events until `done` is ready.
template <typename T>
T waitWhileProcessing(std::future<T>& done) {
    while (done.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        QCoreApplication::processEvents();
    }
    return done.get();
}

TEST(QtEventLoopTest, CallsRunOnTheWindowThread) {
    chat::QtEventLoop loop;
    QThread* windowThread = QThread::currentThread();
    std::atomic<bool> postedOnWindowThread = false;
    auto sent = std::async(std::launch::async, [&] {
        loop.post([&] { postedOnWindowThread = QThread::currentThread() == windowThread; });
        return loop.send([&] { return QThread::currentThread() == windowThread; });
    });
    EXPECT_TRUE(waitWhileProcessing(sent));
    EXPECT_TRUE(postedOnWindowThread);
}

TEST(QtEventLoopTest, SendFailsOnceTheLoopIsShutDown) {
    chat::QtEventLoop loop;
    std::atomic<bool> ran = false;
    // The window thread runs no events here: the call is still queued (or not yet sent) when the
    // loop shuts down, and the waiting sender is let go either way.
    auto sent =
        std::async(std::launch::async, [&] { return loop.send([&] { return ran = true; }); });
    QThread::msleep(50);
    loop.shutdown();
    EXPECT_FALSE(sent.get());
    EXPECT_FALSE(ran);
    EXPECT_FALSE(loop.send([] { return true; }));
}

}  // namespace
