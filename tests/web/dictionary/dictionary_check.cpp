// SPDX-License-Identifier: GPL-3.0-or-later
// The page's spell checker, made as the page's program makes it (the dictionary
// downloaded from the site by the load's thread), asked every question of verdicts.txt:
// each answer must be the Linux game's. Prints what differs, and last a line
// "dictionary-check: passed" or "dictionary-check: failed" for the runner.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "game/window/form1.h"
#include "platform/forms/cp1252.h"
#include "platform/spell/hunspell_checker.h"
#include "platform/spell/web_dictionary.h"

namespace {

int fail(const std::string& why) {
  std::printf("dictionary-check: %s\ndictionary-check: failed\n", why.c_str());
  return 1;
}

}  // namespace

int main() {
  using Clock = std::chrono::steady_clock;
  const auto began = Clock::now();
  const auto provider =
      spell::makeHunspellProvider(spell::kWebItalianAff, spell::kWebItalianDic, Form1::kLongestWord,
                                  spell::kLoadPatience, spell::fetchWebDictionary);
  // The game asks again at every confirmation; so does this, for a minute at most.
  std::unique_ptr<spell::SpellChecker> checker;
  while (!(checker = provider->start())) {
    if (Clock::now() - began > std::chrono::minutes(1))
      return fail("no checker: " + provider->why());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  const auto ms = [](Clock::duration d) {
    return static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
  };
  std::printf("dictionary-check: ready in %lld ms\n", ms(Clock::now() - began));

  std::ifstream questions("/verdicts.txt");
  if (!questions) return fail("/verdicts.txt is missing");
  int asked = 0, accepted = 0, differ = 0;
  const auto asking = Clock::now();
  for (std::string line; std::getline(questions, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos || tab + 2 != line.size()) return fail("bad line: " + line);
    const std::string word = line.substr(0, tab);
    const bool expected = line[tab + 1] == '1';
    const bool answer = checker->checkSpelling(forms::utf8ToCp1252(word));
    ++asked;
    accepted += answer;
    if (answer != expected && ++differ <= 20)
      std::printf("dictionary-check: \"%s\" is %s here, %s on Linux\n", word.c_str(),
                  answer ? "correct" : "wrong", expected ? "correct" : "wrong");
  }
  std::printf("dictionary-check: %d asked in %lld ms, %d correct, %d differ\n", asked,
              ms(Clock::now() - asking), accepted, differ);
  if (asked < 8000) return fail("too few questions");
  if (differ > 0) return fail("verdicts differ");
  std::printf("dictionary-check: passed\n");
  return 0;
}
