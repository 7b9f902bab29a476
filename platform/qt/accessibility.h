// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The painted window as screen readers see it: one accessible object for each control
// the form names (its accessibleItems), built from the form's data and kept up to date
// after every event, with the changes told to the reader and what the player should hear
// spoken through a notification. Nothing of it is built, and
// nothing is done, while no reader listens.
class QAccessibleEvent;

namespace qthost {

class FormWindow;

// Lets Qt find the accessible form behind every FormWindow (once per program; later
// calls do nothing).
void installFormAccessibility();

// After the form may have changed: brings the accessible objects up to date and tells
// the reader what it should hear. While accessibility is off, a test of one flag.
void updateFormAccessibility(FormWindow& window);

// After the keyboard moved between the board, its controls and the text boxes: tells
// the reader where it stands.
void tellFormFocus(FormWindow& window);

// Hands every change to `listener` instead of Qt's bridge to the reader, and keeps the
// accessible objects up to date as if a reader listened: a headless test or benchmark
// has no bridge, and Qt tells nothing while none is active. nullptr: back to Qt.
using AccessibilityListener = void (*)(QAccessibleEvent* change);
void listenToFormAccessibility(AccessibilityListener listener);

}  // namespace qthost
