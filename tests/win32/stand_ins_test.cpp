// SPDX-License-Identifier: GPL-3.0-or-later
// The program's outside components against stand-ins registered in this test's own Wine
// prefix (HKLM, which no other test's prefix shares): the media player control made by
// its class and told its settings and each URL; the word processor's automation server
// asked exactly as the game has always asked it, one server a check; a server that
// cannot start or fails its calls gives a refusal, never a hang; without a word
// processor, the system's checker asked for Italian.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/com_object.h"
#include "platform/win32/media_player.h"
#include "platform/win32/spell_checkers.h"

namespace {

using Lines = std::vector<std::string>;

void setKey(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY h;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                            nullptr),
            ERROR_SUCCESS)
      << "HKLM\\" << std::string(key.begin(), key.end());
  RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
}

std::wstring wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

class StandIns : public ::testing::Test {
 protected:
  StandIns() {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    log_ =
        std::wstring(dir) + L"lemmaro-stand-in-" + std::to_wstring(GetCurrentProcessId()) + L".log";
    words_ = log_ + L".words";
    DeleteFileW(log_.c_str());
    SetEnvironmentVariableW(L"LEMMARO_STAND_IN_LOG", log_.c_str());
  }
  ~StandIns() override {
    DeleteFileW(log_.c_str());
    DeleteFileW(words_.c_str());
  }

  Lines logged() const {
    Lines lines;
    std::ifstream in{std::filesystem::path(log_)};
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The log as the stand-in wrote it, for whoever reads the test's output.
  void show() const {
    for (const auto& line : logged()) std::printf("  %s\n", line.c_str());
  }
  void clearLog() const { DeleteFileW(log_.c_str()); }

  static void registerMediaPlayer() {
    const std::wstring key =
        L"Software\\Classes\\CLSID\\{6BF52A52-394A-11D3-B153-00C04F79FAA6}"
        L"\\InprocServer32";
    setKey(key, nullptr, wide(MEDIA_PLAYER_STAND_IN));
    setKey(key, L"ThreadingModel", L"Apartment");
  }
  // The system's checker, knowing `words`, and no word processor before it.
  void registerSystemChecker(const Lines& words) const {
    std::ofstream list{std::filesystem::path(words_)};
    for (const auto& w : words) list << w << "\n";
    SetEnvironmentVariableW(L"LEMMARO_STAND_IN_WORDS", words_.c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Word.Application");
    const std::wstring key =
        L"Software\\Classes\\CLSID\\{7AB36653-1796-484B-BDFA-E74F1DB7C1DC}"
        L"\\InprocServer32";
    setKey(key, nullptr, wide(SPELL_CHECKER_STAND_IN));
    setKey(key, L"ThreadingModel", L"Both");
  }
  // The word processor, knowing `words`; `server` replaces the stand-in's program.
  void registerWordProcessor(const Lines& words, const std::wstring& options = L"",
                             const std::string& server = WORD_STAND_IN) const {
    std::ofstream list{std::filesystem::path(words_)};
    for (const auto& w : words) list << w << "\n";
    const std::wstring clsid = L"{5A1D0C3E-8E7B-4C55-9F38-2C6F3A0B7E11}";
    setKey(L"Software\\Classes\\Word.Application\\CLSID", nullptr, clsid);
    setKey(L"Software\\Classes\\CLSID\\" + clsid + L"\\LocalServer32", nullptr,
           L"\"" + wide(server) + L"\" \"" + log_ + L"\" \"" + words_ + L"\"" + options);
  }

  // One check as the game makes it: a checker started, the word asked in lower case and
  // capitalised, the checker shut down.
  static bool check(spell::SpellCheckerProvider& chain, const std::string& lower) {
    auto checker = chain.start();
    if (!checker) return false;
    const std::string capitalised = char(lower[0] - 'a' + 'A') + lower.substr(1);
    const bool asLower = checker->checkSpelling(lower);
    const bool asCapitalised = checker->checkSpelling(capitalised);
    return asLower || asCapitalised;
  }

  std::wstring log_, words_;
  win32host::ComApartment apartment_;
};

TEST_F(StandIns, TheMediaPlayerIsMadeByItsClassWithItsSettings) {
  registerMediaPlayer();
  {
    win32host::Win32MediaPlayer player;
    ASSERT_TRUE(player.hasControl()) << player.why();
    player.setURL("C:\\Program Files\\Lemmaro\\FX01.wav");
    player.setURL("C:\\Program Files\\Lemmaro\\FX04.wav");
  }
  EXPECT_EQ(logged(), (Lines{"player.settings", "settings.autoStart=true", "settings.playCount=1",
                             "settings.volume=50", "settings.balance=0", "settings.rate=1",
                             "settings.mute=false", "settings.enableErrorDialogs=false",
                             "player.URL=C:\\Program Files\\Lemmaro\\FX01.wav",
                             "player.URL=C:\\Program Files\\Lemmaro\\FX04.wav"}));
  show();
}

TEST_F(StandIns, TheWordProcessorIsAskedOneServerACheck) {
  registerWordProcessor({"casa", "Roma"});
  auto chain = win32host::makeSpellCheckerChain(nullptr);
  const Lines opening = {"server started", "Application.Documents", "Documents.Count",
                         "Documents.Add()"};
  const Lines closing = {"Application.NormalTemplate", "NormalTemplate.Saved=true",
                         "Application.Application", "Application.Quit()", "server quit"};
  struct Case {
    const char* word;
    bool accepted;
    Lines asked;
  };
  for (const Case& c : {Case{"casa",
                             true,
                             {"Application.CheckSpelling(casa) -> true",
                              "Application.CheckSpelling(Casa) -> false"}},
                        Case{"roma",
                             true,
                             {"Application.CheckSpelling(roma) -> false",
                              "Application.CheckSpelling(Roma) -> true"}},
                        Case{"qzxw",
                             false,
                             {"Application.CheckSpelling(qzxw) -> false",
                              "Application.CheckSpelling(Qzxw) -> false"}}}) {
    clearLog();
    EXPECT_EQ(check(*chain, c.word), c.accepted) << c.word;
    Lines expected = opening;
    expected.insert(expected.end(), c.asked.begin(), c.asked.end());
    expected.insert(expected.end(), closing.begin(), closing.end());
    // The server logs its quit as it goes; give it the moment it takes.
    for (int i = 0; i < 50 && logged() != expected; ++i) Sleep(100);
    EXPECT_EQ(logged(), expected) << c.word;
    show();
  }
}

TEST_F(StandIns, AServerThatFailsOrCannotStartIsARefusal) {
  registerWordProcessor({"casa"}, L" --fail-calls");
  auto chain = win32host::makeSpellCheckerChain(nullptr);
  EXPECT_FALSE(check(*chain, "casa"));
  // The server, its client gone without a Quit, goes when its object is released.
  Lines log;
  for (int i = 0; i < 50 && ((log = logged()).empty() || log.back() != "server quit"); ++i)
    Sleep(100);
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log.front(), "server started");
  EXPECT_EQ(log.back(), "server quit");
  for (std::size_t i = 1; i + 1 < log.size(); ++i)
    EXPECT_NE(log[i].find(" failed"), std::string::npos) << log[i];
  show();

  registerWordProcessor({"casa"}, L"", "C:\\nowhere\\winword.exe");
  EXPECT_FALSE(check(*chain, "casa"));
  EXPECT_EQ(chain->why(), "nessun correttore installato");
}

TEST_F(StandIns, TheSystemsCheckerIsAskedForItalianWhenThereIsNoWordProcessor) {
  registerSystemChecker({"casa", "Roma"});
  auto chain = win32host::makeSpellCheckerChain(nullptr);
  struct Case {
    const char* word;
    bool accepted;
  };
  for (const Case& c : {Case{"casa", true}, Case{"roma", true}, Case{"qzxw", false}}) {
    clearLog();
    EXPECT_EQ(check(*chain, c.word), c.accepted) << c.word;
    const std::string capitalised = char(c.word[0] - 'a' + 'A') + std::string(c.word + 1);
    const Lines log = logged();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0], "IsSupported(it-IT)");
    EXPECT_EQ(log[1], "CreateSpellChecker(it-IT)");
    EXPECT_EQ(log[2].substr(0, log[2].find(')') + 1), "Check(" + std::string(c.word) + ")");
    EXPECT_EQ(log[3].substr(0, log[3].find(')') + 1), "Check(" + capitalised + ")");
    show();
  }
}

}  // namespace
