#pragma once
// Intrusive, atomic reference count: the object destroys itself when the last reference goes.
// `Ref<T>` holds one reference for as long as it lives.
#include <atomic>
#include <cstdint>
#include <utility>

namespace tekna {

class RefCountable {
  public:
    void addRef() const { count_.fetch_add(1, std::memory_order_relaxed); }
    void release() const {
        if (count_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            const_cast<RefCountable*>(this)->destroy();
        }
    }
    int32_t refCount() const { return count_.load(std::memory_order_relaxed); }

  protected:
    RefCountable() = default;
    RefCountable(const RefCountable&) : count_(0) {}
    RefCountable& operator=(const RefCountable&) { return *this; }
    virtual ~RefCountable() = default;
    virtual void destroy() { delete this; }

  private:
    mutable std::atomic<int32_t> count_{0};
};

template <typename T>
class Ref {
  public:
    Ref() = default;
    explicit Ref(T* object) : object_(object) {
        if (object_) {
            object_->addRef();
        }
    }
    Ref(const Ref& other) : Ref(other.object_) {}
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    Ref& operator=(Ref other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~Ref() {
        if (object_) {
            object_->release();
        }
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

  private:
    T* object_ = nullptr;
};

template <typename T, typename... Args>
Ref<T> makeRef(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace tekna
