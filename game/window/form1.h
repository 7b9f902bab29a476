// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game window: every control and every field of the game, and its handlers. The
// member functions are defined by the subsystem that owns them (window/, words/,
// clock/, scoring/, sound/).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/window/data_files.h"
#include "game/window/random.h"
#include "game/window/services.h"
#include "platform/forms/form.h"
#include "platform/forms/form_host.h"
#include "platform/spell/spell_checker.h"

namespace words {
class DictionaryIndex;
}

class Form1 : public forms::Form {
 public:
  static constexpr int kWordSlots = int{datafiles::kMaxEntries};  // the word list's last index
  // How much of Dati.RCX is read at first. Entries of the usual length fill the word
  // list well within it; a file of longer entries is read further, a few times more at
  // each step, until the list is full or the file ends.
  static constexpr std::size_t kDataFileBytes = std::size_t{kWordSlots} * 64;
  // How much of Record.RCX is read: its one line is two dozen bytes, and anything past
  // this bound could not be a best score the game wrote.
  static constexpr std::size_t kRecordFileBytes = 1024;
  // The longest word the player can build: one letter a tile of the word row.
  static constexpr std::size_t kLongestWord = 7;

  explicit Form1(GameServices services);
  ~Form1() override;

  forms::Timer* timer() override { return &Timer1; }
  // Keys and the screen reader: new ways to the same handlers.
  std::vector<forms::Control*> keyTargets(const forms::Key& key) override;
  void keyMissed(const forms::Key& key, bool blocked) override;
  std::vector<forms::AccessibleItem> accessibleItems() override;

  // ---- Controls the code uses -------------------------------------------------------
  forms::Label TESTO, Label5, Livello, Punteggio, Punti, rectxt, record, se;
  forms::TextBox nome;
  forms::Label ste;
  forms::Shape setteok;
  forms::Label Label6, TempoT;
  std::array<forms::Label, 7> scelta, lettera;
  forms::Label OKAY;
  forms::Shape ButOK, Cliccato, linea;
  forms::Label gioca;
  forms::Shape giocamsk;
  forms::Label overtxt;
  forms::Shape overmsk;
  forms::Label newrec1;
  forms::Shape recmsk;
  forms::Label newlivel;
  forms::Shape LivUpMsk, Livlin;
  forms::Label Liv, liv2, per, pertxt;
  forms::Shape permsk;
  forms::Image Image1;
  forms::Label audiotxt, Frase, label3, Label4;
  forms::ListBox List1, List2;
  forms::DirListBox Dir1;
  forms::Timer Timer1;

  // ---- Decorative shapes and lines, never touched by the code -----------------------
  forms::Shape Shape1, Shape2, Shape3, Shape4, Shape5, Shape6, Shape7, Shape8, Shape9, Shape10,
      Shape11, Shape12, Shape13, Shape14, Shape15;
  std::array<forms::Line, 2> Line1, Line2;
  forms::Line Line3;

  // ---- Form-level fields --------------------------------------------------------------
  std::string recordChar;
  std::int32_t tileIndex = 0;
  int secondsLeft = 0;
  int levelSeconds = 0;
  int levelPassed = 0;
  int bonusLevel = 0;
  std::string currentWord;
  int wordAccepted = 0;
  int audioOn = 0;
  std::string savedMessage;
  int wordsTried = 0;
  int wordsRejected = 0;
  int wordsFound = 0;
  std::array<std::string, 7> dealtLetters;
  std::vector<std::string> wordList = std::vector<std::string>(kWordSlots + 1);
  std::unique_ptr<spell::SpellChecker> spellChecker;

  // ---- Event handlers -----------------------------------------------------------------
  void Form_Load();
  void Form_Unload();
  void Form_MouseMove();
  void TESTO_MouseMove();
  void audiotxt_MouseMove();
  void nome_MouseMove();
  void gioca_MouseMove();
  void Image1_MouseMove();
  void OKAY_MouseMove();
  void lettera_MouseMove(int Index);
  void scelta_MouseMove(int Index);
  void lettera_Click(int Index);
  void scelta_Click(int Index);
  void OKAY_Click();
  void gioca_Click();
  void Image1_Click();
  void Timer1_Timer();

  // ---- Methods --------------------------------------------------------------------------
  void ScegliFrase();
  void Pulisci();
  void Pausa(double Tempo);
  void PunteggioOK();
  // Asks the spell checker. True when it answered for the word (credited, or already
  // written); false when it refused it or could not be asked.
  bool CercaWord();
  void SchedaAudio();
  void Suono(const std::string& tipo);

  // The form's one random sequence, uniform in [0, 1).
  Random rnd;

  forms::FormHost& host() { return services_.host; }

 private:
  void layOut();
  void bindEvents();

  // Pieces of the handlers that read better on their own.
  bool dictionaryHas(const std::string& word) const;
  void readRecordFile();
  void readDataFile();
  void writeRecordFile();
  // The passed level's time is up. True: the game is complete; false: the next level
  // is ready (or the window closed meanwhile).
  bool changeLevel();
  void recordAndGameOver();  // the game's last step
  void setHand();
  void setHourglass();
  void setArrow();
  void credit(int points);  // adds to the score caption
  void nextStage();         // a level or a game ends or begins, or the window closes
  std::string dataPath(const char* fileName) const;

  GameServices services_;
  bool tickRunning_ = false;        // the clock never runs inside itself
  bool spellWarningShown_ = false;  // a missing spell checker is reported once
  std::unique_ptr<words::DictionaryIndex> dictionaryIndex_;
  int levelSecured_ = 0;       // level whose seven-letter word is credited but not yet marked
  int doublingsDue_ = 0;       // doublings shown whose pause has not yet ended
  int confirmationsDone_ = 0;  // tells a repeated verdict from the message left standing
  // What the player last did on the board, for the screen reader: a letter moved to
  // `at`, or a key that moved nothing. `turn` tells one from the next, also when alike.
  struct BoardNews {
    enum class What { None, Up, Home, NoLetter, NoWord, NotNow } what = What::None;
    const forms::Control* at = nullptr;
    std::string letter;
    unsigned turn = 0;
  } boardNews_;
  void noteBoard(BoardNews::What what, const forms::Control* at, std::string letter);
  unsigned dealsDone_ = 0;  // a new deal is told even when it looks like the last
  unsigned dealTold_ = 0;   // the deal the reader's text below was made for
  std::string dealNotice_;
  // Moves on whenever a level ends, a game ends or begins, or the window closes. A step
  // that pauses notes it first and reads it again after each pause: when it has moved,
  // what the step was doing belongs to a level that is over, and it stops.
  unsigned stage_ = 0;
  bool unloading_ = false;  // the window is closing: nothing waits any more
};
