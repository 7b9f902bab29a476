// SPDX-License-Identifier: GPL-3.0-or-later
// What an in-process server library needs for its four entry points: registering
// its class under its own path, and the bookkeeping behind DllCanUnloadNow.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/types.h"

// Marks an entry point of the library. C linkage keeps the undecorated name the
// loader looks up; on Windows the module definition file lists what is exported,
// elsewhere the symbol must stay visible when the library is built with
// -fvisibility=hidden.
#if defined(_WIN32)
#define COM_EXPORT extern "C"
#else
#define COM_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace com::server {

// Everything registration records about a library's one class.
struct ClassInfo {
  CLSID clsid;
  const char* progId;
  const char* description;  // shown by tools that list classes
  bool control;             // offered to hosts as a control
};

// Absolute path of the shared library that contains `address` (any function or
// object of that library), as the dynamic loader knows it.
HRESULT modulePath(const void* address, std::string* path, std::string* reason = nullptr);

// Records progId -> clsid -> the library containing addressInLibrary. Where the
// system keeps a type library registry (Windows), the library's embedded type
// library (resource "TYPELIB" 1) is registered too, and the class names it.
HRESULT registerClass(const ClassInfo& info, const void* addressInLibrary,
                      std::string* reason = nullptr);
// Removes what registerClass recorded and nothing else; entries already gone are fine.
HRESULT unregisterClass(const ClassInfo& info, const void* addressInLibrary,
                        std::string* reason = nullptr);

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
