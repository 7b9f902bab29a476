// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer tells what can be clicked: a hand over the controls that react, the
// arrow over the bare window, the message line, the audio label and empty tiles.
#include "game/resources/resource_ids.h"
#include "game/window/form1.h"

namespace {
constexpr int kHandCursor = RES_CURSOR_HAND;
constexpr int kHourglassCursor = RES_CURSOR_HOURGLASS;
}  // namespace

void Form1::setHand() {
  mouseIcon = kHandCursor;
  mousePointer = forms::MousePointer::Custom;
}

void Form1::setHourglass() {
  mouseIcon = kHourglassCursor;
  mousePointer = forms::MousePointer::Custom;
}

void Form1::setArrow() { mousePointer = forms::MousePointer::Arrow; }

void Form1::Form_MouseMove() { setArrow(); }
void Form1::TESTO_MouseMove() { setArrow(); }
void Form1::audiotxt_MouseMove() { setArrow(); }
void Form1::nome_MouseMove() { setHand(); }
void Form1::gioca_MouseMove() { setHand(); }
void Form1::Image1_MouseMove() { setHand(); }
void Form1::OKAY_MouseMove() { setHand(); }

void Form1::lettera_MouseMove(int Index) {
  if (Index >= 0 && Index <= 6 && !lettera[Index].caption.empty())
    setHand();
  else
    setArrow();
}

void Form1::scelta_MouseMove(int Index) {
  if (Index >= 0 && Index <= 6 && !scelta[Index].caption.empty())
    setHand();
  else
    setArrow();
}
