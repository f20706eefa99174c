#include "util/ref_countable.h"

#include <gtest/gtest.h>

namespace tekna {
namespace {

struct Probe : RefCountable {
    explicit Probe(int* destroyed) : destroyed_(destroyed) {}
    ~Probe() override { ++*destroyed_; }
    int* destroyed_;
};

TEST(RefCountable, LastReferenceDestroysOnce) {
    int destroyed = 0;
    {
        Ref<Probe> a = makeRef<Probe>(&destroyed);
        Ref<Probe> b = a;
        EXPECT_EQ(a->refCount(), 2);
        Ref<Probe> c = std::move(b);
        EXPECT_EQ(a->refCount(), 2);
        a = Ref<Probe>();
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
}

}  // namespace
}  // namespace tekna
