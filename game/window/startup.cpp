// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: runs when the window opens and again, whole, for every new game.
#include "game/window/data_files.h"
#include "game/window/form1.h"
#include "game/window/text.h"
#include "game/words/dictionary.h"

void Form1::Form_Load() {
  nextStage();  // a game begins: a step paused under the last one has nothing left to do
  SchedaAudio();
  host().setTopMost();
  levelSeconds = 240;
  setteok.fillColor = forms::rgb(192, 0, 0);
  bonusLevel = 1;
  Livello.caption = "01";
  label3.caption = "0";
  Pulisci();
  Punti.caption = "0000000";
  tileIndex = 0;
  recordChar.clear();
  readRecordFile();
  rnd.Randomize(-host().secondsSinceMidnight());
  tileIndex = 0;
  readDataFile();
  Label4.caption = std::to_string(kWordSlots);
  secondsLeft = 240;
  Timer1.enabled = true;
  ScegliFrase();
}

void Form1::readRecordFile() {
  const base::Result<std::string> stored =
      services_.files.load(dataPath("Record.RCX"), kRecordFileBytes);
  if (!stored) {
    host().showError("LEMMARO", cp1252(stored.error().message) +
                                    cp1252("\nIl record non è stato letto; si gioca lo stesso."));
    return;
  }
  tileIndex = static_cast<std::int32_t>(stored->size());
  std::string text;
  if (datafiles::readRecord(*stored, text)) record.caption = std::move(text);
}

void Form1::readDataFile() {
  std::string stored;
  datafiles::Words words;
  for (std::size_t limit = kDataFileBytes;; limit *= 4) {
    base::Result<std::string> file = services_.files.load(dataPath("Dati.RCX"), limit);
    if (!file) {
      host().showError("LEMMARO", cp1252(file.error().message) +
                                      cp1252("\nMancano le parole e le frasi del gioco."));
      stored.clear();
      words = {};
      break;
    }
    stored = std::move(*file);
    // Entries past the last slot of the word list are ignored.
    words = datafiles::readWords(stored, kWordSlots);
    if (stored.size() < limit || words.entries.size() >= std::size_t{kWordSlots}) break;
  }
  tileIndex = static_cast<std::int32_t>(stored.size());
  // Slots past this load's entries are emptied, so no word of an older file lingers.
  const std::size_t loaded = words.entries.size();
  for (std::size_t k = 0; k < loaded; ++k) wordList[k + 1] = std::move(words.entries[k]);
  for (std::size_t k = loaded + 1; k < wordList.size(); ++k) wordList[k].clear();
  List2.Clear();
  for (auto& phrase : words.phrases) {
    List2.AddItem(std::move(phrase));
    label3.caption = wholeNumberText(numericValue(label3.caption) + 1);
  }
  dictionaryIndex_ = std::make_unique<words::DictionaryIndex>(wordList);
}
