// SPDX-License-Identifier: GPL-3.0-or-later
// The window's life: creation binds every event of the window to its handler.
#include "game/window/form1.h"

#include "game/words/dictionary.h"
#include "platform/com/interfaces.h"

Form1::Form1(GameServices services) : services_(services) {
  layOut();
  bindEvents();
  // The data directory is the program's choice, fixed when the window is made.
  Dir1.Path = services_.files.directory();
  if (services_.cards) services_.cards->AddRef();
}

Form1::~Form1() {
  if (services_.cards) services_.cards->Release();
}

void Form1::bindEvents() {
  onMouseMove = [this](int) { Form_MouseMove(); };
  onUnload = [this](int) { Form_Unload(); };
  TESTO.onMouseMove = [this](int) { TESTO_MouseMove(); };
  audiotxt.onMouseMove = [this](int) { audiotxt_MouseMove(); };
  nome.onMouseMove = [this](int) { nome_MouseMove(); };
  gioca.onMouseMove = [this](int) { gioca_MouseMove(); };
  gioca.onClick = [this](int) { gioca_Click(); };
  Image1.onMouseMove = [this](int) { Image1_MouseMove(); };
  Image1.onClick = [this](int) { Image1_Click(); };
  OKAY.onMouseMove = [this](int) { OKAY_MouseMove(); };
  OKAY.onClick = [this](int) { OKAY_Click(); };
  for (auto& tile : lettera) {
    tile.onMouseMove = [this](int i) { lettera_MouseMove(i); };
    tile.onClick = [this](int i) { lettera_Click(i); };
  }
  for (auto& tile : scelta) {
    tile.onMouseMove = [this](int i) { scelta_MouseMove(i); };
    tile.onClick = [this](int i) { scelta_Click(i); };
  }
  // A tick that falls due while a tick is still running (the level change pauses
  // inside one) is dropped: the clock never runs inside itself.
  Timer1.onTimer = [this](int) {
    if (tickRunning_) return;
    tickRunning_ = true;
    struct Done {
      bool& flag;
      ~Done() { flag = false; }
    } done{tickRunning_};
    Timer1_Timer();
  };
}

std::string Form1::dataPath(const char* fileName) const {
  std::string path = Dir1.Path;
  path += '\\';
  path += fileName;
  return path;
}
