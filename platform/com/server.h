// SPDX-License-Identifier: GPL-3.0-or-later
// What an in-process server library needs for its four entry points: registering
// its class under its own path, and the bookkeeping behind DllCanUnloadNow.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/types.h"

// Marks an entry point that must stay visible when the library is built with
// -fvisibility=hidden; C linkage keeps the undecorated name the loader looks up.
#define COM_EXPORT extern "C" __attribute__((visibility("default")))

namespace com::server {

// Absolute path of the shared library that contains `address` (any function or
// object of that library), as the dynamic loader knows it.
HRESULT modulePath(const void* address, std::string* path, std::string* reason = nullptr);

// Records progId -> clsid -> the library containing addressInLibrary.
HRESULT registerClass(REFCLSID clsid, std::string_view progId, const void* addressInLibrary,
                      std::string* reason = nullptr);
HRESULT unregisterClass(REFCLSID clsid, std::string_view progId, std::string* reason = nullptr);

// Counts that keep the library in use: live objects, and locks (LockServer and
// outstanding class-factory references). Each library linking this code gets its
// own counts.
void objectCreated() noexcept;
void objectDestroyed() noexcept;
void lock() noexcept;
void unlock() noexcept;  // never drops below zero, whatever a careless client does
// S_OK when nothing counts any more, S_FALSE otherwise.
HRESULT canUnloadNow() noexcept;

}  // namespace com::server
