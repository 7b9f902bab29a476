// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the game takes from outside, each behind an interface with a real and a test
// implementation.
#include <string>

#include "platform/files/data_files.h"
#include "platform/forms/form_host.h"

namespace spell {
class SpellCheckerProvider;
class SpellChecker;
}  // namespace spell
namespace media {
class MediaPlayer;
}
struct IDispatch;

struct GameServices {
  forms::FormHost& host;
  // The data directory and its files: the game reads and writes nothing else.
  files::DataFiles& files;
  // The spell checker; null: none available.
  spell::SpellCheckerProvider* spellCheckers = nullptr;
  // Plays the effects; null: no media player could be made.
  media::MediaPlayer* mediaPlayer = nullptr;
  // The sound-card detector control, Cards1; null: it could not be created. The form
  // takes a reference on it and releases it when it goes.
  IDispatch* cards = nullptr;
  // The decimal separator of the user's locale, in Windows-1252, where the system keeps
  // it apart from the C library's locale; empty: the C library's locale's.
  std::string decimalSeparator = {};
};
