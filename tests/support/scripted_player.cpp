// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/scripted_player.h"

#include <algorithm>

#include "game/window/data_files.h"
#include "platform/forms/cp1252.h"

namespace {

// Letters of the phrases, and the accented ones that some of them hold. The word list
// matches plain capitals only, so a phrase with an accent is found by the spell checker
// or not at all.
const std::string kLetters = "AAAEEEIIOOUBCCDFGLLMNNPRRSSTTVZ";
const std::string kAccented = "\xC0\xC8\xC9\xCC\xD2\xD9";

std::string pickLetters(std::mt19937_64& random, const std::string& from, std::size_t count) {
  std::string pool = from, out;
  for (std::size_t i = 0; i < count && !pool.empty(); ++i) {
    const std::size_t at = random() % pool.size();
    out += pool[at];
    pool.erase(at, 1);
  }
  return out;
}

}  // namespace

SoakTable::SoakTable(std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::string text = "LEMMARO\r\n";
  for (int p = 0; p < 24; ++p) {
    std::string phrase;
    for (int i = 0; i < 7; ++i) phrase += kLetters[random() % kLetters.size()];
    if (p % 6 == 5) phrase[random() % 7] = kAccented[random() % kAccented.size()];
    text += "*" + phrase + "\r\n";
    for (int w = 0; w < 6; ++w) {
      const std::string word = pickLetters(random, phrase, 3 + random() % 4);
      listWords.push_back(word);
      text += word + "\r\n";
      spellWords.push_back(pickLetters(random, phrase, 3 + random() % 5));
    }
  }
  files.stored["Dati.RCX"] = datafiles::scramble(text);
  // The spell checker is asked in lower case and capitalised.
  for (const auto& w : spellWords) spellCheckers.correct.insert(forms::cp1252Lower(w));

  form = std::make_unique<Form1>(GameServices{host, files, &spellCheckers, &player, &cards});
  host.attach(*form);
  form->Form_Load();
}

ScriptedPlayer::ScriptedPlayer(SoakTable& table, std::uint64_t seed)
    : table_(table), form_(*table.form), random_(seed) {}

void ScriptedPlayer::clickIn(const forms::Control& control) {
  const forms::Rect& r = control.rect;
  form_.click(r.left + below(std::max(1, r.width)), r.top + below(std::max(1, r.height)));
}

void ScriptedPlayer::clickAnywhere() {
  form_.click(below(std::max(1, form_.clientWidth)), below(std::max(1, form_.clientHeight)));
}

void ScriptedPlayer::spell(const std::string& word) {
  for (char letter : word) {
    for (const auto& tile : form_.lettera) {
      if (tile.caption == std::string(1, letter)) {
        clickIn(tile);
        break;
      }
    }
  }
}

void ScriptedPlayer::confirmWord() {
  for (const auto& tile : form_.scelta) clickIn(tile);  // the word row goes home first
  const int kind = below(100);
  std::string word;
  if (below(100) < findsPhrase_ * 100) {
    word = form_.Frase.caption;
  } else if (kind < 45) {
    word = table_.listWords[random_() % table_.listWords.size()];
  } else if (kind < 75) {
    word = table_.spellWords[random_() % table_.spellWords.size()];
  } else {
    std::string letters;
    for (const auto& tile : form_.lettera) letters += tile.caption;
    word = pickLetters(random_, letters, 1 + random_() % 7);
  }
  spell(word);
  clickIn(form_.OKAY);
}

void ScriptedPlayer::typeName() {
  // What the name box lets through: any Windows-1252 text up to three characters,
  // spaces, small letters and accents included. The clock puts it in capitals.
  static const std::string kTyped = "abcxyzABC   019.\xE8\xE0\xC8\x80";
  std::string name;
  for (int n = below(4); n > 0; --n) name += kTyped[random_() % kTyped.size()];
  form_.nome.text = name;
}

void ScriptedPlayer::play(int games,
                          const std::function<void(const std::string& event)>& afterEvent) {
  afterEvent_ = afterEvent;
  int ended = 0;
  bool over = false;
  while (true) {
    if (form_.gioca.visible != over) {
      over = form_.gioca.visible;
      if (over && ++ended == games) return;
    }
    if (over && below(4) == 0) {
      findsPhrase_ = below(60) / 100.0;
      clickIn(form_.gioca);
      afterEvent("new game");
      continue;
    }
    const int action = below(100);
    const char* event;
    if (action < 22) {
      clickIn(form_.lettera[below(7)]);
      event = "letter tile";
    } else if (action < 32) {
      clickIn(form_.scelta[below(7)]);
      event = "word tile";
    } else if (action < 52) {
      confirmWord();
      event = "confirm";
    } else if (action < 56) {
      // Two clicks at one spot with no time between them.
      const forms::Control& target =
          below(3) == 0 ? static_cast<const forms::Control&>(form_.OKAY) : form_.lettera[below(7)];
      const forms::Rect& r = target.rect;
      const int x = r.left + r.width / 2, y = r.top + r.height / 2;
      form_.click(x, y);
      form_.click(x, y);
      event = "double click";
    } else if (action < 66) {
      // A click that lands whenever it falls due: often inside a pause of the game, the
      // confirmation's own short one included when it is due at once.
      const double when =
          table_.host.now + (below(2) ? below(600) / 100.0 : 0.001 * (1 + below(9)));
      const int where = below(4);
      table_.host.at(when, [this, where] {
        if (where == 0)
          clickAnywhere();
        else if (where == 1)
          clickIn(form_.OKAY);
        else
          clickIn(form_.lettera[below(7)]);
        if (afterEvent_) afterEvent_("click that fell due");
      });
      event = "click later";
    } else if (action < 69) {
      clickIn(form_.Image1);
      event = "sound switch";
    } else if (action < 72) {
      typeName();
      event = "name";
    } else if (action < 76) {
      clickAnywhere();
      event = "click anywhere";
    } else {
      table_.host.advance(0.5 + below(2500) / 100.0);
      event = "time passes";
    }
    afterEvent(event);
  }
}
