// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every window of a form decides the same way, whatever system it stands on: which
// press and release make a click or a double-click, where the keyboard is and what a key
// does, when the timer runs and ticks, when the picture must be painted again, which
// pointer shows, and when the system's edit of a text box must take the form's text.
// Plain C++: a window turns its system's events into the calls below, and after each
// one applies what sync() reports with its system's own calls.
//
//   core.release(x, y);                 // events in, in twips
//   const hostcore::Changes c = core.sync();
//   if (c.repaint) invalidate();        // decisions out
//   for (forms::TextBox* box : c.boxTexts) setEditText(*box);
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/form.h"

namespace hostcore {

// A key as the system reports it, reduced to what the game tells apart.
enum class KeyName { Letter, Backspace, Escape, Enter, Space, Tab, BackTab, Other };

struct KeyPress {
  KeyName name = KeyName::Other;
  char letter = 0;        // 'A' to 'Z' for a Letter, whatever the shift state
  bool shortcut = false;  // Ctrl, Alt or the system key held: never a move of the game
};

// How the system's timer should run.
struct TimerSetting {
  bool running = false;
  int interval = 0;  // milliseconds
  bool operator==(const TimerSetting& o) const {
    return running == o.running && (!running || interval == o.interval);
  }
  bool operator!=(const TimerSetting& o) const { return !(*this == o); }
};

// What changed since the last sync(), for the window to apply.
struct Changes {
  bool title = false;    // show the form's caption as the window's title
  bool pointer = false;  // show cursor() as the pointer
  bool timer = false;    // run the system timer as timer() says
  bool focus = false;    // the keyboard moved: to typingIn()'s edit, or else to the board,
                         // standing on focused() (tell a reader where)
  bool repaint = false;  // the picture is no longer what the form shows
  // Text boxes whose system edit must take the box's text (the game changed it).
  std::vector<forms::TextBox*> boxTexts;
};

class HostCore {
 public:
  // The form must outlive the core.
  explicit HostCore(forms::Form& form);

  forms::Form& form() { return form_; }
  const forms::Form& form() const { return form_; }

  // ---- Mouse, in twips of the client area ------------------------------------------
  // A left-button press; `doubled` when the system reports it as the second press of a
  // double-click. On the control that took the last click that press and its release
  // are one DblClick; anywhere else, an ordinary press.
  void press(int x, int y, bool doubled = false);
  // The release that ends the press: a click when it falls on the control pressed.
  void release(int x, int y);
  void move(int x, int y);
  // The same on the system's own edit of a text box, which takes its own mouse. A
  // press there gives the box the keyboard.
  void pressBox(forms::TextBox& box, bool doubled = false);
  void releaseBox(forms::TextBox& box);
  void moveOverBox(forms::TextBox& box);

  // ---- Keyboard ----------------------------------------------------------------------
  // A key pressed (or repeated while held) where the keyboard is. Returns whether the
  // core used it; a key it leaves belongs to the system (the box's own editing). Tab and
  // Backtab walk the controls a player can press or type in, in reading order, and the
  // board between the last and the first. A text box has the keyboard from a click or
  // Tab until Enter, Escape, Tab or a click elsewhere; a control the keyboard stands on
  // takes Space and Enter as a click (Enter does on the board what it always does when
  // the control takes no click) and Escape leaves it for the board; on the board the
  // game's keys play.
  bool key(const KeyPress& key);
  // The control the keyboard stands on, or nullptr for the board.
  forms::Control* focused() const { return focused_; }
  // The text box that has the keyboard, or nullptr.
  forms::TextBox* typingIn() const;
  // The system moved the keyboard itself: into a box's edit, or out of the edits
  // (nullptr; a control the keyboard stood on keeps it).
  void keyboardAt(forms::TextBox* box);

  // ---- Text boxes --------------------------------------------------------------------
  // The player edited a box in its system edit (UTF-8). Returns false, and leaves the
  // box as it was, when the game could not keep the text (it holds Windows-1252 only):
  // the next sync() then puts the box's own text back into the edit.
  bool boxEdited(forms::TextBox& box, std::string_view utf8);
  // Forgets what each edit shows, so that the next sync() hands every box over again.
  void resendBoxes();

  // ---- Timer and closing -------------------------------------------------------------
  TimerSetting timer() const;
  // The system timer fired: runs the form's timer handler if it still should.
  void tick();
  // The window is closing: runs the form's unload handler the first time. Afterwards
  // no input, tick or key reaches the form.
  void close();
  bool closed() const { return closed_; }

  // ---- Picture and pointer -----------------------------------------------------------
  // The controls to paint, bottom-most first: the visible ones.
  std::vector<const forms::Control*> paintList() const;
  // Whether the last painted picture is still what the form shows.
  bool frameCurrent() const;
  // The window painted the form as it stands now.
  void framePainted();
  // The picture is lost (a new size or scale): the next paint paints afresh.
  void dropFrame() { frameValid_ = false; }
  // The cursor resource the pointer shows, 0 for the system's arrow.
  int cursor() const;

  // Compares the form with what the window shows and reports what to bring up to date.
  Changes sync();

 private:
  struct Box {
    forms::TextBox* box;
    std::string shown;  // the text its edit shows
    bool sent = false;
  };
  Box* boxOf(const forms::TextBox& box);
  bool takesInput(const forms::TextBox& box) const;

  forms::Form& form_;
  std::vector<Box> boxes_;

  forms::Control* pressed_ = nullptr;      // the control a left-button press fell on
  forms::Control* lastClicked_ = nullptr;  // the control the last Click went to
  bool pressing_ = false;
  bool doubled_ = false;  // the press being held is the second of a double-click
  forms::Control* focused_ = nullptr;
  bool closed_ = false;

  std::size_t frameKey_ = 0;
  bool frameValid_ = false;

  // What the window was last told to show.
  bool synced_ = false;
  std::string title_;
  int cursor_ = 0;
  TimerSetting timer_;
  forms::Control* focus_ = nullptr;
};

// Whether a UTF-8 text is one the game keeps as it is (Windows-1252 holds it whole).
bool holdsAsText(std::string_view utf8);

}  // namespace hostcore
