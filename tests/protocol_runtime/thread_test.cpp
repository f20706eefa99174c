#include "util/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

namespace {

using namespace std::chrono_literals;

class GatedThread : public tekna::Thread {
  public:
    GatedThread(std::shared_future<void> gate, std::atomic<bool>& destroyed)
        : gate_(std::move(gate)), destroyed_(destroyed) {}
    ~GatedThread() override { destroyed_ = true; }
    std::atomic<bool> ran{false};

  protected:
    void run() override {
        gate_.wait();
        ran = true;
    }

  private:
    std::shared_future<void> gate_;
    std::atomic<bool>& destroyed_;
};

TEST(Thread, WaitReportsWhetherRunHasReturned) {
    std::promise<void> open;
    std::atomic<bool> destroyed{false};
    auto thread = std::make_shared<GatedThread>(open.get_future().share(), destroyed);
    ASSERT_TRUE(thread->start());
    EXPECT_FALSE(thread->start());  // once only
    EXPECT_FALSE(thread->wait(10ms));
    open.set_value();
    EXPECT_TRUE(thread->wait(10s));
    EXPECT_TRUE(thread->ran);
}

TEST(Thread, ObjectOutlivesItsOwnerUntilTheThreadEnds) {
    std::promise<void> open;
    std::atomic<bool> destroyed{false};
    auto thread = std::make_shared<GatedThread>(open.get_future().share(), destroyed);
    ASSERT_TRUE(thread->start());
    std::weak_ptr<GatedThread> watch = thread;
    thread.reset();  // the owner lets go while run() is still blocked
    EXPECT_FALSE(destroyed);
    open.set_value();
    for (int i = 0; i < 1000 && !destroyed; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(watch.expired());
}

TEST(Thread, RefusesToStartWithoutSharedOwnership) {
    std::promise<void> open;
    std::atomic<bool> destroyed{false};
    GatedThread unowned(open.get_future().share(), destroyed);
    EXPECT_FALSE(unowned.start());
}

}  // namespace
