// SPDX-License-Identifier: GPL-3.0-or-later
// The two lookups: the game's word list, then the spell checker.
#include <algorithm>

#include "game/window/form1.h"
#include "game/window/text.h"
#include "game/words/dictionary.h"
#include "platform/spell/spell_checker.h"

bool Form1::dictionaryHas(const std::string& word) const {
  if (!dictionaryIndex_) return false;
  const int N = std::min(static_cast<int>(numericValue(Label4.caption)), kWordSlots);
  return dictionaryIndex_->find(word, N) != 0;
}

bool Form1::CercaWord() {
  // A checker that cannot be started refuses the word; the player hears why once.
  spell::SpellCheckerProvider* provider = services_.spellCheckers;
  spellChecker = provider ? provider->start() : nullptr;
  if (!spellChecker) {
    if (!spellWarningShown_) {
      spellWarningShown_ = true;
      const std::string why =
          provider ? provider->why() : std::string("nessun correttore installato");
      host().showError("LEMMARO", cp1252("Il correttore ortografico non è disponibile: ") +
                                      forms::utf8ToCp1252(why) +
                                      cp1252("\nSi gioca con le sole parole del gioco."));
    }
    return false;
  }

  // Asked in lower case and capitalised, always both: a proper name counts too.
  const std::string x = trimSpaces(currentWord);
  const std::string lower = forms::cp1252Lower(x);
  const std::string capitalised =
      forms::cp1252Upper(lower.substr(0, 1)) + lower.substr(std::min<std::size_t>(1, lower.size()));
  const bool asLower = spellChecker->checkSpelling(lower);
  const bool asCapitalised = spellChecker->checkSpelling(capitalised);
  const bool accepted = asLower || asCapitalised;

  spellChecker.reset();
  if (!accepted) return false;
  const auto& found = List1.items;
  if (std::find(found.begin(), found.end(), x) != found.end()) {
    TESTO.caption = cp1252("La parola è già stata scritta.");
    return true;
  }
  List1.AddItem(currentWord);
  PunteggioOK();
  return true;
}
