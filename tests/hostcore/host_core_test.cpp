// SPDX-License-Identifier: GPL-3.0-or-later
// The host core without a window: which presses and releases make clicks and
// double-clicks, where the keyboard goes, when the timer runs, and what sync() tells a
// window to bring up to date.
#include "platform/hostcore/host_core.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using hostcore::KeyName;
using hostcore::KeyPress;

// Two buttons, a name box and a timer; every handler writes what it got into a log.
struct Panel : forms::Form {
  forms::Label left, right;
  forms::TextBox name;
  forms::Timer clock;
  std::vector<std::string> log;

  Panel() {
    clientWidth = 3000;
    clientHeight = 1500;
    left.rect = {0, 0, 1000, 1000};
    right.rect = {1500, 0, 1000, 1000};
    name.rect = {0, 1100, 1000, 300};
    clock.interval = 1000;
    clock.enabled = false;
    for (forms::Control* c : std::initializer_list<forms::Control*>{&left, &right, &name}) add(*c);
    left.onClick = [this](int) { log.push_back("click left"); };
    left.onDblClick = [this](int) { log.push_back("double left"); };
    right.onClick = [this](int) { log.push_back("click right"); };
    name.onClick = [this](int) { log.push_back("click name"); };
    name.onDblClick = [this](int) { log.push_back("double name"); };
    clock.onTimer = [this](int) { log.push_back("tick"); };
    onUnload = [this](int) { log.push_back("unload"); };
  }
  forms::Timer* timer() override { return &clock; }
  std::vector<forms::AccessibleItem> accessibleItems() override {
    return {{&name, forms::AccessibleRole::EditableText, "Nome", false, {}},
            {&left, forms::AccessibleRole::Button, "Sinistra", false, {}},
            {&right, forms::AccessibleRole::Button, "Destra", false, {}}};
  }
  std::vector<forms::Control*> keyTargets(const forms::Key& key) override {
    log.push_back(std::string("key ") + (key.code == forms::KeyCode::Letter ? key.letter : '#'));
    return {};
  }
};

KeyPress named(KeyName name) { return KeyPress{name, 0, false}; }

class Core : public ::testing::Test {
 protected:
  Panel form;
  hostcore::HostCore core{form};
};

TEST_F(Core, APressAndReleaseOnOneControlClickItAndADoubleClickIsOneDblClick) {
  core.press(500, 500);
  core.release(2000, 500);  // slid off onto another control: nothing
  core.press(2000, 500);
  core.release(2000, 500);
  core.press(500, 500);
  core.release(500, 500);
  core.press(500, 500, true);  // the second press of a double-click on the same control
  core.release(500, 500);
  core.press(500, 500, true);  // a third: a click again
  core.release(500, 500);
  core.press(2000, 500, true);  // a double-click's second press elsewhere is a press
  core.release(2000, 500);
  core.release(2000, 500);  // a release without its press
  EXPECT_EQ(form.log, (std::vector<std::string>{"click right", "click left", "double left",
                                                "click left", "click right"}));
}

TEST_F(Core, TheNameBoxHasTheKeyboardOnlyFromAClickOrTabUntilEnterEscapeTabOrAClickElsewhere) {
  EXPECT_TRUE(core.key({KeyName::Letter, 'A', false}));
  EXPECT_FALSE(core.key({KeyName::Letter, 'A', true}));  // a shortcut is no move
  EXPECT_FALSE(core.key(named(KeyName::Other)));
  for (KeyName back : {KeyName::Enter, KeyName::Escape, KeyName::Tab, KeyName::BackTab}) {
    core.pressBox(form.name);
    core.releaseBox(form.name);
    EXPECT_EQ(core.typingIn(), &form.name);
    EXPECT_FALSE(core.key({KeyName::Letter, 'B', false}));  // the box's own typing
    EXPECT_FALSE(core.key(named(KeyName::Backspace)));
    EXPECT_FALSE(core.key(named(KeyName::Space)));
    EXPECT_TRUE(core.key(named(back)));
    EXPECT_EQ(core.typingIn(), nullptr);
  }
  // Tab walks the box, the buttons and the board, in reading order; Backtab back.
  core.press(500, 500);
  std::vector<forms::Control*> stops;
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(core.key(named(KeyName::Tab)));
    stops.push_back(core.focused());
  }
  EXPECT_EQ(stops, (std::vector<forms::Control*>{&form.name, &form.left, &form.right, nullptr}));
  core.key(named(KeyName::BackTab));
  EXPECT_EQ(core.focused(), &form.right);
  // A button the keyboard stands on takes Space and Enter; Escape leaves it.
  EXPECT_TRUE(core.key(named(KeyName::Space)));
  EXPECT_TRUE(core.key(named(KeyName::Enter)));
  EXPECT_TRUE(core.key(named(KeyName::Escape)));
  EXPECT_EQ(core.focused(), nullptr);
  // A hidden box is no stop; a box hidden or disabled while typed in gives the keyboard
  // back, as does a click on the board.
  form.name.visible = false;
  core.key(named(KeyName::Tab));
  EXPECT_EQ(core.focused(), &form.left);
  core.press(500, 500);
  EXPECT_EQ(core.focused(), nullptr);
  form.name.visible = true;
  core.pressBox(form.name);
  EXPECT_TRUE(core.sync().focus);
  form.name.enabled = false;
  EXPECT_TRUE(core.sync().focus);
  EXPECT_EQ(core.typingIn(), nullptr);
  // The system moving the keyboard out of the edits leaves a button where it stands.
  core.key(named(KeyName::BackTab));
  core.keyboardAt(nullptr);
  EXPECT_EQ(core.focused(), &form.right);
  EXPECT_EQ(form.log, (std::vector<std::string>{"key A", "click name", "click name", "click name",
                                                "click name", "click right", "click right"}));
}

TEST_F(Core, BoxesClickAndDoubleClickLikeTheBoard) {
  core.pressBox(form.name);
  core.releaseBox(form.name);
  core.pressBox(form.name, true);
  core.releaseBox(form.name);
  core.press(500, 500);
  core.release(500, 500);
  core.pressBox(form.name, true);  // after a click elsewhere: a click
  core.releaseBox(form.name);
  EXPECT_EQ(form.log,
            (std::vector<std::string>{"click name", "double name", "click left", "click name"}));
}

TEST_F(Core, SyncReportsEachChangeOnceAndTheTimerStopsForGoodOnClose) {
  hostcore::Changes first = core.sync();
  EXPECT_TRUE(first.title && first.pointer && first.timer && first.repaint);
  EXPECT_FALSE(first.focus);
  EXPECT_EQ(first.boxTexts, (std::vector<forms::TextBox*>{&form.name}));
  core.framePainted();
  hostcore::Changes none = core.sync();
  EXPECT_FALSE(none.title || none.pointer || none.timer || none.focus || none.repaint);
  EXPECT_TRUE(none.boxTexts.empty());

  form.caption = "LEMMARO";
  form.mousePointer = forms::MousePointer::Custom;
  form.mouseIcon = 101;
  form.clock.enabled = true;
  form.name.text = "ABI";
  form.left.caption = "A";
  core.pressBox(form.name);
  hostcore::Changes all = core.sync();
  EXPECT_TRUE(all.title && all.pointer && all.timer && all.focus && all.repaint);
  EXPECT_EQ(all.boxTexts.size(), 1u);
  EXPECT_EQ(core.cursor(), 101);
  EXPECT_EQ(core.timer(), (hostcore::TimerSetting{true, 1000}));

  // The player's own typing is no change to send back; what the game cannot hold is.
  EXPECT_TRUE(core.boxEdited(form.name, "abi"));
  EXPECT_EQ(form.name.text, "abi");
  EXPECT_TRUE(core.sync().boxTexts.empty());
  EXPECT_FALSE(core.boxEdited(form.name, "ab\xe2\x82\xac\xe4\xb8\x80"));  // a CJK letter
  EXPECT_EQ(form.name.text, "abi");
  EXPECT_EQ(core.sync().boxTexts.size(), 1u);
  EXPECT_TRUE(core.boxEdited(form.name, "\xc3\xa8"));  // è is Windows-1252's own
  EXPECT_EQ(form.name.text, "\xe8");

  core.tick();
  core.close();
  core.close();
  core.tick();
  core.press(500, 500);
  core.release(500, 500);
  EXPECT_FALSE(core.key({KeyName::Letter, 'A', false}));
  EXPECT_FALSE(core.timer().running);
  EXPECT_TRUE(core.sync().timer);
  EXPECT_EQ(form.log, (std::vector<std::string>{"tick", "unload"}));
}

TEST_F(Core, ThePaintListIsTheVisibleControlsBottomFirst) {
  form.right.visible = false;
  EXPECT_EQ(core.paintList(), (std::vector<const forms::Control*>{&form.left, &form.name}));
}

}  // namespace
