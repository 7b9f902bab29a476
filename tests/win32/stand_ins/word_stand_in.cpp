// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the word processor's automation server, an out-of-process server that
// a test registers under "Word.Application" in its own Wine prefix. It logs every call
// and answers CheckSpelling from a word list; with --fail-calls it fails every call.
//
//   word_stand_in.exe LOG WORDS [--fail-calls] -Embedding
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "tests/win32/stand_ins/class_factory.h"
#include "tests/win32/stand_ins/recorder.h"

namespace {

// The stand-in's own class, named by the test's registration.
constexpr CLSID kStandInClass = {
    0x5A1D0C3E, 0x8E7B, 0x4C55, {0x9F, 0x38, 0x2C, 0x6F, 0x3A, 0x0B, 0x7E, 0x11}};

std::set<std::string> words;
bool failCalls = false;
standin::Recorder* application = nullptr;  // the Application property hands out itself

HRESULT answerSaved(const standin::Call&, VARIANT*) { return S_OK; }

// The object a client makes: the server goes when the last one is released, as a
// server does whose client never called Quit.
class ServerObject : public standin::Recorder {
 public:
  ServerObject(std::string name, Answer answer) : Recorder(std::move(name), std::move(answer)) {
    CoAddRefServerProcess();
  }
  ~ServerObject() override {
    if (CoReleaseServerProcess() == 0) PostQuitMessage(0);
  }
};

IDispatch* makeApplication() {
  auto* documents = new standin::Recorder("Documents", [](const standin::Call& call, VARIANT* r) {
    if (call.member == "Count") {
      r->vt = VT_I4;
      r->lVal = 0;  // a fresh server has no document open
    }
    return S_OK;
  });
  auto* normal = new standin::Recorder("NormalTemplate", answerSaved);
  application = new ServerObject("Application", [=](const standin::Call& call, VARIANT* r) {
    if (failCalls) return E_FAIL;
    if (call.member == "Documents") {
      documents->AddRef();
      *r = standin::object(documents);
    } else if (call.member == "NormalTemplate") {
      normal->AddRef();
      *r = standin::object(normal);
    } else if (call.member == "Application") {
      application->AddRef();
      *r = standin::object(application);
    } else if (call.member == "CheckSpelling") {
      r->vt = VT_BOOL;
      r->boolVal = !call.args.empty() && words.count(standin::text(*call.args[0])) ? VARIANT_TRUE
                                                                                   : VARIANT_FALSE;
    } else if (call.member == "Quit") {
      PostQuitMessage(0);
    }
    return S_OK;
  });
  return application;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 3) return 2;
  SetEnvironmentVariableW(L"LEMMARO_STAND_IN_LOG", argv[1]);
  std::ifstream list{std::filesystem::path(argv[2])};
  for (std::string w; std::getline(list, w);) words.insert(w);
  for (int i = 3; i < argc; ++i) failCalls |= std::wcscmp(argv[i], L"--fail-calls") == 0;

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  standin::log("server started");
  standin::Factory factory(makeApplication);
  DWORD cookie = 0;
  if (FAILED(CoRegisterClassObject(kStandInClass, &factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE,
                                   &cookie)))
    return 1;
  MSG msg;
  // Quit ends the server; a client that never calls it leaves it for the test to end.
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  CoRevokeClassObject(cookie);
  standin::log("server quit");
  CoUninitialize();
  return 0;
}
