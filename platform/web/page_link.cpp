// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web/page_link.h"

#include <emscripten.h>
#include <emscripten/threading.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "platform/forms/raster_op.h"

namespace webhost {

namespace {

std::mutex gMutex;
std::condition_variable gArrived;
std::deque<PageEvent> gEvents;

struct Waiting {
  bool done = false;
  PageAnswer answer;
};
int gNextToken = 1;
std::map<int, std::shared_ptr<Waiting>> gWaiting;

// A copy on the heap that the page frees once it has read it.
char* heapCopy(const std::string& s) {
  char* p = static_cast<char*>(std::malloc(s.size() + 1));
  if (p) std::memcpy(p, s.c_str(), s.size() + 1);
  return p;
}

void push(PageEvent e) {
  {
    std::lock_guard<std::mutex> lock(gMutex);
    gEvents.push_back(std::move(e));
  }
  gArrived.notify_all();
}

}  // namespace

std::optional<PageEvent> nextEvent(double seconds) {
  std::unique_lock<std::mutex> lock(gMutex);
  const auto ready = [] { return !gEvents.empty(); };
  if (seconds < 0)
    gArrived.wait(lock, ready);
  else if (seconds > 0)
    gArrived.wait_for(lock, std::chrono::duration<double>(seconds), ready);
  if (gEvents.empty()) return std::nullopt;
  PageEvent e = std::move(gEvents.front());
  gEvents.pop_front();
  return e;
}

void showOnPage(const std::string& json) {
  char* copy = heapCopy(json);
  if (!copy) return;
  MAIN_THREAD_ASYNC_EM_ASM({ Module.lemmaroLink.show($0); }, copy);
}

PageAnswer askPage(const std::string& what, const std::string& name, const std::string& bytes,
                   double seconds) {
  auto waiting = std::make_shared<Waiting>();
  int token = 0;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    token = gNextToken++;
    gWaiting[token] = waiting;
  }
  char* whatCopy = heapCopy(what);
  char* nameCopy = heapCopy(name);
  char* data = static_cast<char*>(std::malloc(bytes.size() + 1));
  if (!whatCopy || !nameCopy || !data) {
    std::free(whatCopy);
    std::free(nameCopy);
    std::free(data);
    std::lock_guard<std::mutex> lock(gMutex);
    gWaiting.erase(token);
    return {false, {}, "memoria esaurita"};
  }
  std::memcpy(data, bytes.data(), bytes.size());
  MAIN_THREAD_ASYNC_EM_ASM({ Module.lemmaroLink.ask($0, $1, $2, $3, $4); }, token, whatCopy,
                           nameCopy, data, bytes.size());
  std::unique_lock<std::mutex> lock(gMutex);
  gArrived.wait_for(lock, std::chrono::duration<double>(seconds), [&] { return waiting->done; });
  gWaiting.erase(token);
  if (!waiting->done) return {false, {}, "il browser non ha risposto in tempo"};
  return std::move(waiting->answer);
}

}  // namespace webhost

// ---- Called by the page, on the browser's main thread -------------------------------
using webhost::PageEvent;

extern "C" {

EMSCRIPTEN_KEEPALIVE void lemmaro_event(int kind, int a, int b, int c) {
  webhost::push(PageEvent{static_cast<PageEvent::Kind>(kind), a, b, c, {}});
}

// `text` is the page's heap copy; it is taken over here.
EMSCRIPTEN_KEEPALIVE void lemmaro_event_text(int kind, int a, char* text) {
  webhost::push(PageEvent{static_cast<PageEvent::Kind>(kind), a, 0, 0, text ? text : ""});
  std::free(text);
}

// `bytes` and `message` are the page's heap copies; they are taken over here.
EMSCRIPTEN_KEEPALIVE void lemmaro_answer(int token, int ok, char* bytes, int length,
                                         char* message) {
  {
    std::lock_guard<std::mutex> lock(webhost::gMutex);
    const auto found = webhost::gWaiting.find(token);
    if (found != webhost::gWaiting.end()) {
      webhost::Waiting& w = *found->second;
      w.done = true;
      w.answer.ok = ok != 0;
      if (bytes && length > 0) w.answer.bytes.assign(bytes, static_cast<std::size_t>(length));
      if (message) w.answer.message = message;
    }
  }
  std::free(bytes);
  std::free(message);
  webhost::gArrived.notify_all();
}

// The board's raster operations, for the page's painter: one pixel (0x00BBGGRR) under a
// pen, by the same rule the other windows paint with.
EMSCRIPTEN_KEEPALIVE unsigned lemmaro_apply_draw_mode(int mode, unsigned dest, unsigned pen) {
  return forms::applyDrawMode(static_cast<forms::DrawMode>(mode), dest, pen);
}

}  // extern "C"
