// TComPtr: an owned COM interface reference, released when it goes.
#pragma once

#include <unknwn.h>

#include <utility>

namespace classlib {

template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  // Takes over a reference the caller owns.
  explicit TComPtr(T* owned) : p_(owned) {}
  TComPtr(const TComPtr& o) : p_(o.p_) {
    if (p_ != nullptr) p_->AddRef();
  }
  TComPtr(TComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  TComPtr& operator=(TComPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~TComPtr() { Reset(); }

  // A new reference to an interface someone else owns.
  static TComPtr Borrow(T* borrowed) {
    if (borrowed != nullptr) borrowed->AddRef();
    return TComPtr(borrowed);
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Releases the reference held and gives the slot for an out parameter.
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  void Reset() {
    if (p_ != nullptr) std::exchange(p_, nullptr)->Release();
  }

 private:
  T* p_ = nullptr;
};

}  // namespace classlib
