// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test doubles behind the game's interfaces: a spell checker with a word list of its
// own, a media player that remembers what it was asked to play, and a sound-card
// detector control with a chosen answer.
#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/com/interfaces.h"
#include "platform/media/media_player.h"
#include "platform/spell/spell_checker.h"

class FakeSpellCheckers : public spell::SpellCheckerProvider {
 public:
  std::set<std::string> correct;  // the forms accepted exactly as asked (Windows-1252)
  std::vector<std::string> asked;
  int started = 0;
  int alive = 0;  // checkers not yet shut down
  bool available = true;

  std::unique_ptr<spell::SpellChecker> start() override;
  std::string why() const override { return "/nowhere/it_IT.dic: No such file or directory"; }
};

class FakeMediaPlayer : public media::MediaPlayer {
 public:
  std::vector<std::string> played;
  void setURL(const std::string& path) override { played.push_back(path); }
};

// The detector control as the game reaches it: through IDispatch, by dispatch id.
class FakeCards : public IDispatch {
 public:
  int devices = 1;
  bool failInvoke = false;
  int goCalls = 0;
  std::atomic<int> references{1};

  HRESULT QueryInterface(REFIID riid, void** out) override;
  ULONG AddRef() override { return static_cast<ULONG>(++references); }
  ULONG Release() override { return static_cast<ULONG>(--references); }
  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO*, UINT*) override;

 private:
  bool value_ = false;
};
