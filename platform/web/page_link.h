// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The link between the game's thread and the page. The page runs on the browser's
// main thread and the game on a thread of its own, so the two meet only here:
// - what the player does on the page comes in as events, queued until the game's
//   thread takes them (in its loop, or in a pause that keeps processing events);
// - what the game shows goes out to the page as a message, without waiting;
// - what only the page can do (its storage, its fetches) is asked of it, and the
//   game's thread waits for the answer.
#include <optional>
#include <string>

namespace webhost {

struct PageEvent {
  // The numbers are the page's (platform/web/page/link.js).
  enum class Kind {
    Press = 1,     // a, b: twips; c: 1 for the second press of a double-click
    Release = 2,   // a, b: twips
    Move = 3,      // a, b: twips
    Key = 4,       // a: hostcore::KeyName, b: the letter, c: 1 with a shortcut modifier
    BoxText = 5,   // a: the text box's index among the boxes; text: its new UTF-8 text
    BoxFocus = 6,  // a: the box that took the keyboard, -1 for none
    Activate = 7,  // a: an accessible item that a screen reader pressed
    Dismiss = 8,   // the player dismissed the message box
    Close = 9,     // the page goes away
    Painted = 10,  // the page painted its first frame
  };
  Kind kind;
  int a = 0, b = 0, c = 0;
  std::string text;
};

// Takes the next event, waiting for one at most `seconds` (0: not at all; negative:
// for as long as it takes).
std::optional<PageEvent> nextEvent(double seconds);

// Hands the page a message (JSON) for lemmaroPage.show(); returns at once.
void showOnPage(const std::string& json);

struct PageAnswer {
  bool ok = false;
  std::string bytes;    // what the page read
  std::string message;  // why it could not (UTF-8, for the player)
};
// Asks the page `what` of `name` (lemmaroPage.storage[what](name, bytes)) and waits for
// its answer at most `seconds`; past that the answer is a failure that says so.
PageAnswer askPage(const std::string& what, const std::string& name, const std::string& bytes,
                   double seconds);

}  // namespace webhost
