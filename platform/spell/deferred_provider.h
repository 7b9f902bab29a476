// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A provider whose real one is made later: the program starts the dictionary's load
// once its window is painted, so that the load does not compete with the start-up for
// the processor, yet is over long before the player can confirm a word.
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/spell/spell_checker.h"

namespace spell {

class DeferredProvider final : public SpellCheckerProvider {
 public:
  using Make = std::function<std::unique_ptr<SpellCheckerProvider>()>;
  explicit DeferredProvider(Make make) : make_(std::move(make)) {}

  // Makes the real provider now, if it was not made yet.
  void begin() {
    if (!real_ && make_) real_ = std::exchange(make_, nullptr)();
  }
  // A check asked for before begin() makes the provider itself and waits for it.
  std::unique_ptr<SpellChecker> start() override {
    begin();
    return real_ ? real_->start() : nullptr;
  }
  std::string why() const override { return real_ ? real_->why() : std::string(); }

 private:
  Make make_;
  std::unique_ptr<SpellCheckerProvider> real_;
};

}  // namespace spell
