// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/keys.h"

#include <QKeyEvent>

namespace qthost {

std::optional<forms::Key> formKey(const QKeyEvent& event) {
  if (event.type() != QEvent::KeyPress) return std::nullopt;
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
    return std::nullopt;
  const int key = event.key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z)
    return forms::Key{forms::KeyCode::Letter, static_cast<char>('A' + (key - Qt::Key_A))};
  switch (key) {
    case Qt::Key_Backspace:
      return forms::Key{forms::KeyCode::Backspace};
    case Qt::Key_Escape:
      return forms::Key{forms::KeyCode::Escape};
    case Qt::Key_Return:
    case Qt::Key_Enter:  // the keypad's
      return forms::Key{forms::KeyCode::Enter};
    default:
      return std::nullopt;
  }
}

bool endsTyping(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return true;
    default:
      return false;
  }
}

}  // namespace qthost
