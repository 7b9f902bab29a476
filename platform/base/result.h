// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way an operation says that it failed and why: it returns a Result by value.
// The reason is written for the player (it names what failed, in Italian where the
// player reads it); the errno value, when there is one, lets callers tell failures apart.
//
//   base::Result<std::string> r = files.load("Dati.RCX");
//   if (!r) host.showError(r.error().message);
//   else use(*r);
#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace base {

struct Error {
  std::string message;  // what failed and why, ready to be shown
  int code = 0;         // the errno value behind it, 0 when there is none
};

template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}
  Result(Error error) : v_(std::in_place_index<1>, std::move(error)) {}

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return assertOk(), std::get<0>(v_); }
  const T& value() const& { return assertOk(), std::get<0>(v_); }
  T&& value() && { return assertOk(), std::get<0>(std::move(v_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const Error& error() const {
    assert(!ok());
    return std::get<1>(v_);
  }

 private:
  void assertOk() const { assert(ok()); }
  std::variant<T, Error> v_;
};

// An operation that yields nothing but success or a reason.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)), ok_(false) {}

  bool ok() const { return ok_; }
  explicit operator bool() const { return ok_; }
  const Error& error() const {
    assert(!ok_);
    return error_;
  }

 private:
  Error error_;
  bool ok_ = true;
};

using Status = Result<void>;

}  // namespace base
