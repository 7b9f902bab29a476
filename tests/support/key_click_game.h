// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One stretch of a game played twice on a real window, by keys on one form and by the
// mouse on another dealt the same letters: both must end alike. Each window's tests
// drive it through their own system's events (Qt's on Linux, the window's messages
// under Wine), so the two windows are held to one script.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/window/form1.h"
#include "platform/hostcore/host_core.h"
#include "tests/support/fakes.h"

namespace keyclick {

// The words the script plays with, for Dati.RCX.
inline const std::vector<std::string> kWords{"BAR", "ARTE", "TIARE"};
inline const std::vector<std::string> kPhrases{"ABITARE"};

// What a window test does through its system: a key press, a click at a control's middle.
class Player {
 public:
  virtual ~Player() = default;
  virtual void key(hostcore::KeyName name, char letter = 0) = 0;
  virtual void click(const forms::Control& control) = 0;

  void type(const std::string& letters) {
    for (char c : letters) key(hostcore::KeyName::Letter, c);
  }
};

// Deals the letters of `from` to `to`, and the same chance to both from here on.
inline void sameDeal(Form1& from, Form1& to) {
  for (int i = 0; i < 7; ++i) {
    to.lettera[i].caption = from.lettera[i].caption;
    to.dealtLetters[i] = from.dealtLetters[i];
  }
  from.rnd.Randomize(7);
  to.rnd.Randomize(7);
}

// BAR scores, is refused when written again, then ARTE goes in with a slip on the way,
// and ARTEIB is no word.
inline void playByKeys(Player& p) {
  using hostcore::KeyName;
  p.type("BAR");
  p.key(KeyName::Enter);
  p.key(KeyName::Enter);
  p.key(KeyName::Escape);
  p.type("ARTI");
  p.key(KeyName::Backspace);
  p.type("E");
  p.key(KeyName::Enter);
  p.type("IB");
  p.key(KeyName::Enter);
}

inline void playByClicks(Player& p, const Form1& form) {
  const auto tile = [&](char letter) -> const forms::Control& {
    for (const auto& t : form.lettera)
      if (t.caption == std::string(1, letter)) return t;
    return form.TESTO;  // no tile shows it: a click that does nothing, and a failed test
  };
  const auto tiles = [&](const std::string& letters) {
    for (char c : letters) p.click(tile(c));
  };
  tiles("BAR");
  p.click(form.OKAY);
  p.click(form.OKAY);
  for (int i = 2; i >= 0; --i) p.click(form.scelta[i]);
  tiles("ARTI");
  p.click(form.scelta[3]);
  tiles("E");
  p.click(form.OKAY);
  tiles("IB");
  p.click(form.OKAY);
}

inline std::string row(const std::array<forms::Label, 7>& tiles) {
  std::string s;
  for (const auto& t : tiles) s += t.caption.empty() ? "." : t.caption;
  return s;
}

// What the player can tell of the game, and what it asked to play.
inline std::vector<std::string> seen(const Form1& form, const FakeMediaPlayer& player) {
  std::vector<std::string> s{row(form.lettera),
                             row(form.scelta),
                             form.TESTO.caption,
                             form.Punti.caption,
                             std::to_string(form.wordsTried),
                             std::to_string(form.wordsRejected)};
  s.insert(s.end(), form.List1.items.begin(), form.List1.items.end());
  s.insert(s.end(), player.played.begin(), player.played.end());
  return s;
}

// Plays the script on two windows' games dealt alike, by keys and by clicks, and holds
// them to one outcome.
inline void expectSameGame(Player& keys, Form1& keysForm, const FakeMediaPlayer& keysPlayer,
                           Player& clicks, Form1& clicksForm, const FakeMediaPlayer& clicksPlayer) {
  sameDeal(keysForm, clicksForm);
  playByKeys(keys);
  playByClicks(clicks, clicksForm);
  EXPECT_EQ(seen(keysForm, keysPlayer), seen(clicksForm, clicksPlayer));
  EXPECT_EQ(keysForm.List1.items, (std::vector<std::string>{"BAR", "ARTE"}));
  EXPECT_EQ(keysForm.wordsRejected, 1);
}

}  // namespace keyclick
