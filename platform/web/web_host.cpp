// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web/web_host.h"

#include <emscripten.h>

#include <ctime>
#include <string>
#include <utility>

#include "platform/forms/cp1252.h"
#include "platform/web/display.h"
#include "platform/web/page_link.h"

namespace webhost {

namespace {

double realSeconds() { return emscripten_get_now() / 1000.0; }

// A pause with nothing to take gives the processor back for this long, as the other
// windows do.
constexpr double kIdleWait = 0.0005;

}  // namespace

WebHost::WebHost(Options options) : options_(options), start_(realSeconds()) {
  if (options_.speed <= 0) options_.speed = 1;
}

WebHost::~WebHost() = default;

void WebHost::show(forms::Form& form) {
  form_ = &form;
  core_ = std::make_unique<hostcore::HostCore>(form);
  tree_ = std::make_unique<hostcore::AccessibleTree>(form);
  for (forms::Control* c : form.controls())
    if (c->kind == forms::Kind::TextBox) boxes_.push_back(static_cast<forms::TextBox*>(c));
  tree_->refresh(false);  // the page's reader hears the board, not a list of news
  sync();
}

void WebHost::run() {
  while (core_ && !core_->closed() && !pageGone_) pump(-1);
}

double WebHost::monotonicSeconds() { return (realSeconds() - start_) * options_.speed; }

double WebHost::secondsSinceMidnight() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const double fraction = realSeconds() - static_cast<long long>(realSeconds());
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

void WebHost::doEvents() { pump(0); }

void WebHost::pump(double wait) {
  sync();
  // Until the next event, or the timer's next tick when it runs.
  double limit = wait;
  if (timer_.running && !ticking_) {
    const double untilTick = nextTick_ - realSeconds();
    limit = untilTick <= 0 ? 0 : (wait < 0 ? untilTick : std::min(wait, untilTick));
  }
  if (wait == 0) limit = kIdleWait;
  bool any = false;
  for (auto e = nextEvent(limit); e; e = nextEvent(0)) {
    any = true;
    handle(*e);
    sync();
    if (pageGone_) return;
  }
  (void)any;
  tickIfDue();
}

void WebHost::tickIfDue() {
  if (!core_ || !timer_.running || ticking_) return;
  const double now = realSeconds();
  if (now < nextTick_) return;
  const double interval = timer_.interval / 1000.0 / options_.speed;
  nextTick_ += interval;
  if (nextTick_ < now) nextTick_ = now + interval;  // late: no burst of ticks
  ticking_ = true;
  core_->tick();
  ticking_ = false;
  sync();
}

void WebHost::handle(const PageEvent& e) {
  using Kind = PageEvent::Kind;
  if (e.kind == Kind::Close) {
    pageGone_ = true;
    if (core_) core_->close();
    return;
  }
  if (e.kind == Kind::Painted) {
    if (firstPainted_) std::exchange(firstPainted_, nullptr)();
    return;
  }
  if (e.kind == Kind::Dismiss) {
    dismissed_ = true;
    return;
  }
  // While a message box waits, the board takes nothing.
  if (!core_ || messageBox_) return;
  forms::TextBox* box = e.a >= 0 && e.a < static_cast<int>(boxes_.size())
                            ? boxes_[static_cast<std::size_t>(e.a)]
                            : nullptr;
  switch (e.kind) {
    case Kind::Press:
      core_->press(e.a, e.b, e.c != 0);
      break;
    case Kind::Release:
      core_->release(e.a, e.b);
      break;
    case Kind::Move:
      core_->move(e.a, e.b);
      break;
    case Kind::Key:
      core_->key(hostcore::KeyPress{static_cast<hostcore::KeyName>(e.a), static_cast<char>(e.b),
                                    e.c != 0});
      break;
    case Kind::BoxText:
      if (box) core_->boxEdited(*box, e.text);
      break;
    case Kind::BoxFocus:
      core_->keyboardAt(box);
      break;
    case Kind::Activate:
      if (e.a >= 0 && static_cast<std::size_t>(e.a) < tree_->size())
        tree_->press(static_cast<std::size_t>(e.a));
      break;
    default:
      break;
  }
}

void WebHost::sync() {
  if (!core_) return;
  const hostcore::Changes changes = core_->sync();
  std::string message;
  const auto add = [&message](const std::string& key, const std::string& value) {
    message += (message.empty() ? "" : ",") + ("\"" + key + "\":") + value;
  };
  if (changes.timer) {
    const hostcore::TimerSetting t = core_->timer();
    // Only a change restarts the timer: restarting pushes the next tick back.
    if (t.running && (!timer_.running || t.interval != timer_.interval))
      nextTick_ = realSeconds() + t.interval / 1000.0 / options_.speed;
    timer_ = t;
  }
  if (changes.title || sentTitle_.empty()) {
    const std::string title = jsonText(form_->caption);
    if (title != sentTitle_) add("title", sentTitle_ = title);
  }
  if (changes.pointer || sentCursor_ < 0) {
    sentCursor_ = core_->cursor();
    add("cursor", std::to_string(sentCursor_));
  }
  if (changes.repaint) {
    add("paint", paintJson(*form_, core_->paintList()));
    core_->framePainted();
  }
  std::string boxes = boxesJson(boxes_);
  if (boxes != sentBoxes_) add("boxes", sentBoxes_ = std::move(boxes));
  if (!changes.boxTexts.empty()) {
    std::string which;
    for (forms::TextBox* b : changes.boxTexts)
      for (std::size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i] == b) which += (which.empty() ? "" : ",") + std::to_string(i);
    add("boxTexts", "[" + which + "]");
  }
  tree_->refresh(true);
  std::string access = accessJson(*tree_);
  if (access != sentAccess_) add("access", sentAccess_ = std::move(access));
  if (!tree_->announcement().empty()) add("say", jsonText(tree_->announcement()));
  // Where the keyboard is: a box (by its index, from 1000), an item, or the board (-1).
  int focus = -1;
  if (forms::TextBox* typing = core_->typingIn()) {
    for (std::size_t i = 0; i < boxes_.size(); ++i)
      if (boxes_[i] == typing) focus = 1000 + static_cast<int>(i);
  } else if (forms::Control* on = core_->focused()) {
    for (std::size_t i = 0; i < tree_->size(); ++i)
      if (tree_->item(i).control == on) focus = static_cast<int>(i);
  }
  if (changes.focus || focus != sentFocus_) {
    sentFocus_ = focus;
    add("focus", std::to_string(focus));
  }
  if (!message.empty()) showOnPage("{" + message + "}");
}

void WebHost::showError(const std::string& title, const std::string& text) {
  const std::string t = forms::cp1252ToUtf8(title), m = forms::cp1252ToUtf8(text);
  emscripten_log(EM_LOG_CONSOLE | EM_LOG_WARN, "%s: %s", t.c_str(), m.c_str());
  if (pageGone_) return;
  sync();
  showOnPage("{\"box\":{\"title\":" + jsonText(title) + ",\"text\":" + jsonText(text) + "}}");
  const bool outer = !messageBox_;
  messageBox_ = true;
  dismissed_ = false;
  while (!dismissed_ && !pageGone_ && !(core_ && core_->closed())) pump(-1);
  if (outer) messageBox_ = false;
  dismissed_ = false;
}

}  // namespace webhost
