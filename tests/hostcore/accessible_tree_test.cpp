// SPDX-License-Identifier: GPL-3.0-or-later
// What the host core tells a screen reader, without a window: items come and go with
// their controls, names and states that change are told, the message line's news is
// heard unasked (a repeated verdict too, on its turn), and a default action is a click
// by the rules of a click.
#include "platform/hostcore/accessible_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = hostcore::AccessibleChange::Kind;

struct Board : forms::Form {
  forms::Label message, banner, button;
  forms::TextBox name;
  std::string notice;  // what the message line wants spoken
  unsigned turn = 0;   // and its turn
  int presses = 0;
  int extra = 0;  // items past the usual ones

  Board() {
    message.rect = {0, 0, 3000, 300};
    banner.rect = {0, 0, 3000, 900};  // over the message line
    button.rect = {0, 1000, 900, 300};
    name.rect = {1000, 1000, 900, 300};
    banner.visible = false;
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&message, &banner, &button, &name})
      add(*c);
    button.onClick = [this](int) { ++presses; };
  }
  std::vector<forms::AccessibleItem> accessibleItems() override {
    std::vector<forms::AccessibleItem> items;
    items.push_back({&message, forms::AccessibleRole::Label, message.caption, false, notice, turn});
    items.push_back({&banner, forms::AccessibleRole::Label, "BANNER", false, "BANNER"});
    items.push_back({&button, forms::AccessibleRole::ToggleButton, "Suono", presses % 2 == 1, {}});
    items.push_back(
        {&name, forms::AccessibleRole::EditableText, "Giocatore " + name.text, false, {}});
    for (int i = 0; i < extra; ++i)
      items.push_back({&button, forms::AccessibleRole::Label, "x", false, {}});
    return items;
  }
};

std::vector<std::pair<Kind, std::size_t>> told(const std::vector<hostcore::AccessibleChange>& c) {
  std::vector<std::pair<Kind, std::size_t>> out;
  for (const auto& change : c) out.emplace_back(change.kind, change.item);
  return out;
}

TEST(AccessibleTree, TellsWhatAPlayerWouldSeeChangeAndNothingElse) {
  Board form;
  hostcore::AccessibleTree tree(form);
  EXPECT_TRUE(tree.refresh().empty());
  EXPECT_TRUE(tree.rebuilt());
  EXPECT_EQ(tree.shownItems(), (std::vector<std::size_t>{0, 2, 3}));

  // A new verdict: its name changes and it is heard; the same verdict on its next turn is
  // heard again; an emptied notice is not.
  using Told = std::vector<std::pair<Kind, std::size_t>>;
  form.message.caption = form.notice = "Bravo!";
  form.turn = 1;
  EXPECT_EQ(told(tree.refresh()), (Told{{Kind::Renamed, 0}}));
  EXPECT_EQ(tree.announcement(), "Bravo!");
  EXPECT_FALSE(tree.rebuilt());
  EXPECT_EQ(tree.item(0).name, "Bravo!");
  EXPECT_TRUE(tree.refresh().empty());
  EXPECT_EQ(tree.announcement(), "");
  form.turn = 2;
  EXPECT_TRUE(tree.refresh().empty());
  EXPECT_EQ(tree.announcement(), "Bravo!");
  form.notice.clear();
  EXPECT_TRUE(tree.refresh().empty());

  // Shown and hidden, states, names; what shows with a notice is heard.
  form.banner.visible = true;
  form.button.enabled = false;
  form.name.text = "ABI";
  EXPECT_EQ(told(tree.refresh()), (Told{{Kind::Shown, 1}, {Kind::State, 2}, {Kind::Renamed, 3}}));
  EXPECT_EQ(tree.announcement(), "BANNER.");
  EXPECT_EQ(tree.shownItems(), (std::vector<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(tree.item(3).name, "Giocatore ABI");
  form.banner.visible = false;
  form.button.enabled = true;
  form.presses = 1;  // switched from elsewhere: checked
  EXPECT_EQ(told(tree.refresh()), (Told{{Kind::Hidden, 1}, {Kind::State, 2}}));

  // Other items: the tree starts over and tells nothing.
  form.extra = 1;
  EXPECT_TRUE(tree.refresh().empty());
  EXPECT_TRUE(tree.rebuilt());
}

TEST(AccessibleTree, ADefaultActionIsAClickByTheRulesOfAClick) {
  Board form;
  hostcore::AccessibleTree tree(form);
  tree.refresh();
  EXPECT_TRUE(tree.pressable(2));
  EXPECT_FALSE(tree.pressable(0));
  EXPECT_FALSE(tree.press(0));  // a label has no action
  EXPECT_TRUE(tree.press(2));
  form.button.enabled = false;
  EXPECT_FALSE(tree.press(2));
  EXPECT_FALSE(tree.press(99));
  EXPECT_EQ(form.presses, 1);
  // The reader's hit-test finds what the mouse finds: the banner over the message line.
  EXPECT_EQ(tree.itemAt(100, 100), 0u);
  form.banner.visible = true;
  tree.refresh();
  EXPECT_EQ(tree.itemAt(100, 100), 1u);
  EXPECT_EQ(tree.itemAt(1100, 1100), 3u);
  EXPECT_EQ(tree.itemAt(2900, 1400), std::nullopt);
}

}  // namespace
