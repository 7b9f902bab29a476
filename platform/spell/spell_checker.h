// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outside spell checker the game falls back on for words its own dictionary lacks.
#include <memory>
#include <string>
#include <string_view>

namespace spell {

// One checker per check: the game starts one, asks it, and shuts it down.
class SpellChecker {
 public:
  virtual ~SpellChecker() = default;
  // word is Windows-1252 text; true when the word is correctly spelt.
  virtual bool checkSpelling(std::string_view word) = 0;
};

class SpellCheckerProvider {
 public:
  virtual ~SpellCheckerProvider() = default;
  // Starts a checker for one check, or returns nullptr when none can be started;
  // why() then says what went wrong, naming the file where a file is at fault.
  virtual std::unique_ptr<SpellChecker> start() = 0;
  virtual std::string why() const = 0;
};

}  // namespace spell
