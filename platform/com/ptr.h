// SPDX-License-Identifier: GPL-3.0-or-later
// com::Ptr<T>: owns one reference to a COM interface and releases it when done, so
// that every early return on a failed HRESULT still balances AddRef and Release.
#pragma once

#include <utility>

#include "platform/com/interfaces.h"

namespace com {

template <class T>
class Ptr {
 public:
  Ptr() noexcept = default;
  Ptr(std::nullptr_t) noexcept {}
  // Takes a new reference of its own to p.
  explicit Ptr(T* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  Ptr(const Ptr& other) noexcept : Ptr(other.p_) {}
  Ptr(Ptr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ~Ptr() { reset(); }

  Ptr& operator=(const Ptr& other) noexcept {
    Ptr(other).swap(*this);
    return *this;
  }
  Ptr& operator=(Ptr&& other) noexcept {
    Ptr(std::move(other)).swap(*this);
    return *this;
  }

  // Adopts a reference the caller already owns (e.g. one returned by a COM call).
  static Ptr attach(T* p) noexcept {
    Ptr r;
    r.p_ = p;
    return r;
  }
  // Gives the reference up to the caller, who must release it.
  T* detach() noexcept { return std::exchange(p_, nullptr); }

  void reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  void swap(Ptr& other) noexcept { std::swap(p_, other.p_); }

  // For out-parameters: drops the current reference and hands out the slot.
  T** put() noexcept {
    reset();
    return &p_;
  }
  void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  template <class U>
  HRESULT queryInterface(REFIID iid, Ptr<U>& out) const noexcept {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(iid, out.putVoid());
  }

 private:
  T* p_ = nullptr;
};

}  // namespace com
