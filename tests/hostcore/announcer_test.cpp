// SPDX-License-Identifier: GPL-3.0-or-later
// What the reader is told unasked, and where Tab takes the keyboard: a notice is said
// when it shows, when its text turns new or when its turn moves on, never while hidden;
// Tab stops on what a player can press or type in, disabled or not, and comes back to
// the board.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/hostcore/announcer.h"

namespace {

using forms::AccessibleItem;
using forms::AccessibleRole;

struct Board {
  forms::Label message, banner, button;
  forms::TextBox box;
  forms::Label hidden;

  Board() { hidden.visible = false; }

  std::vector<AccessibleItem> items(const std::string& said, unsigned turn,
                                    const std::string& bannerText) {
    return {{&message, AccessibleRole::Label, said, false, said, turn},
            {&banner, AccessibleRole::Label, bannerText, false, bannerText, 0},
            {&hidden, AccessibleRole::Button, "nascosto", false, "nascosto", 0},
            {&box, AccessibleRole::EditableText, "Nome", false, {}, 0},
            {&button, AccessibleRole::Button, "Conferma", false, {}, 0}};
  }
};

TEST(Announcer, SaysWhatIsNewOnceAndWhatIsRepeatedOnItsTurn) {
  Board b;
  hostcore::Announcer a;
  // The first look tells all that shows; sentences are closed with a stop.
  EXPECT_EQ(a.update(b.items("Pronti", 0, "LIVELLO")), "Pronti. LIVELLO.");
  EXPECT_EQ(a.update(b.items("Pronti", 0, "LIVELLO")), "");
  EXPECT_EQ(a.update(b.items("Pronti", 1, "LIVELLO")), "Pronti.");  // the same, again
  EXPECT_EQ(a.update(b.items("Bene!!!", 1, "LIVELLO")), "Bene!!!");
  // An item that hides and shows again is told again; nothing is said while hidden.
  b.banner.visible = false;
  EXPECT_EQ(a.update(b.items("Bene!!!", 1, "GAME OVER")), "");
  b.banner.visible = true;
  EXPECT_EQ(a.update(b.items("Bene!!!", 1, "GAME OVER")), "GAME OVER.");
  EXPECT_EQ(a.update(b.items("", 2, "GAME OVER")), "");
}

TEST(Announcer, TabStopsOnWhatTakesTheKeyboardAndComesBackToTheBoard) {
  Board b;
  const std::vector<AccessibleItem> items = b.items("", 0, "");
  b.button.enabled = false;  // still a stop: the reader says that it does not work
  EXPECT_EQ(hostcore::nextFocus(items, nullptr, true), &b.box);
  EXPECT_EQ(hostcore::nextFocus(items, &b.box, true), &b.button);
  EXPECT_EQ(hostcore::nextFocus(items, &b.button, true), nullptr);
  EXPECT_EQ(hostcore::nextFocus(items, nullptr, false), &b.button);
  EXPECT_EQ(hostcore::nextFocus(items, &b.box, false), nullptr);
  EXPECT_EQ(hostcore::nextFocus({}, nullptr, true), nullptr);
}

}  // namespace
