// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/win32_host.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/forms/cp1252.h"
#include "platform/win32/text.h"

namespace win32host {

namespace {

void becomeDpiAware() {
  // Per-monitor (v2) where the system has it, else the whole system's dpi; the window
  // then scales itself instead of being stretched blurry by the system.
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  using ContextFn = BOOL(WINAPI*)(HANDLE);
  if (auto setContext = reinterpret_cast<ContextFn>(
          reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")))) {
    if (setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) return;
  }
  using AwareFn = BOOL(WINAPI*)();
  if (auto setAware = reinterpret_cast<AwareFn>(
          reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware"))))
    setAware();
}

// How many waiting messages one pass dispatches at most: a flood of mouse moves must
// not keep a pause from ending.
constexpr int kMessagesPerPass = 64;

}  // namespace

Win32Host::Win32Host(Options options) : options_(std::move(options)) {
  becomeDpiAware();
  QueryPerformanceFrequency(&frequency_);
  QueryPerformanceCounter(&start_);
}

Win32Host::~Win32Host() = default;

base::Status Win32Host::show(forms::Form& form) {
  if (!window_ || &window_->form() != &form) {
    base::Result<std::unique_ptr<FormWindow>> made = FormWindow::create(form);
    if (!made) return made.error();
    window_ = std::move(*made);
  }
  if (topMost_) window_->setTopMost();
  window_->showCentred();
  // The loop's first message picks up what the form's start-up set (the clock, the
  // name, the pointer).
  PostMessageW(window_->hwnd(), WM_NULL, 0, 0);
  return {};
}

int Win32Host::run() {
  MSG msg;
  while (!quit_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      exitCode_ = got == 0 ? static_cast<int>(msg.wParam) : 1;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (window_) window_->sync();
  }
  return exitCode_;
}

void Win32Host::close() { window_.reset(); }

double Win32Host::monotonicSeconds() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - start_.QuadPart) /
         static_cast<double>(frequency_.QuadPart);
}

double Win32Host::secondsSinceMidnight() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
}

void Win32Host::doEvents() {
  // What the handler changed so far shows now, while it waits.
  if (window_) window_->sync();
  if (quit_) return;
  MSG msg;
  int handled = 0;
  while (handled < kMessagesPerPass && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The window closed inside a handler: the loop outside ends once it unwinds.
      quit_ = true;
      exitCode_ = static_cast<int>(msg.wParam);
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    ++handled;
  }
  // Nothing was waiting: give the processor back until something comes, briefly.
  if (handled == 0) MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32Host::setTopMost() {
  topMost_ = true;
  if (window_) window_->setTopMost();
}

void Win32Host::showError(const std::string& title, const std::string& text) {
  std::fprintf(stderr, "%s: %s: %s\n", options_.program.c_str(), forms::cp1252ToUtf8(title).c_str(),
               forms::cp1252ToUtf8(text).c_str());
  std::fflush(stderr);
  if (!options_.dialogs) return;
  HWND owner =
      window_ && window_->hwnd() && IsWindowVisible(window_->hwnd()) ? window_->hwnd() : nullptr;
  MessageBoxW(owner, toWide(text).c_str(), toWide(title).c_str(), MB_OK | MB_ICONWARNING);
  if (window_) window_->sync();
}

}  // namespace win32host
