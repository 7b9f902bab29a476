// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/keys.h"

#include <QKeyEvent>

namespace qthost {

hostcore::KeyPress corePress(const QKeyEvent& event) {
  hostcore::KeyPress press;
  press.shortcut =
      (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
  const int key = event.key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    press.name = hostcore::KeyName::Letter;
    press.letter = static_cast<char>('A' + (key - Qt::Key_A));
    return press;
  }
  switch (key) {
    case Qt::Key_Backspace:
      press.name = hostcore::KeyName::Backspace;
      break;
    case Qt::Key_Escape:
      press.name = hostcore::KeyName::Escape;
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:  // the keypad's
      press.name = hostcore::KeyName::Enter;
      break;
    case Qt::Key_Space:
      press.name = hostcore::KeyName::Space;
      break;
    case Qt::Key_Tab:
      press.name = (event.modifiers() & Qt::ShiftModifier) ? hostcore::KeyName::BackTab
                                                           : hostcore::KeyName::Tab;
      break;
    case Qt::Key_Backtab:
      press.name = hostcore::KeyName::BackTab;
      break;
    default:
      break;
  }
  return press;
}

}  // namespace qthost
