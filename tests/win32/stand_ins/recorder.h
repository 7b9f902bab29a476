// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Automation objects for the stand-ins the Windows tests register in their own Wine
// prefix: every call a client makes is written, one line each, to the file named by
// LEMMARO_STAND_IN_LOG, and answered by the stand-in's own handler.
#include <oaidl.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace standin {

// "name=value" lines of the log take a VARIANT as text: numbers, strings, booleans.
inline std::string text(const VARIANT& v) {
  VARIANT s;
  VariantInit(&s);
  if (v.vt == VT_BOOL) return v.boolVal ? "true" : "false";
  if (FAILED(VariantChangeType(&s, const_cast<VARIANT*>(&v), 0, VT_BSTR))) return "?";
  const int n = WideCharToMultiByte(CP_UTF8, 0, s.bstrVal, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.bstrVal, -1, out.data(), n, nullptr, nullptr);
  VariantClear(&s);
  return out;
}

inline void log(const std::string& line) {
  char path[MAX_PATH];
  if (!GetEnvironmentVariableA("LEMMARO_STAND_IN_LOG", path, MAX_PATH)) return;
  if (FILE* f = std::fopen(path, "ab")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

inline std::string narrow(const std::wstring& w) {
  std::string out;
  for (wchar_t c : w) out += static_cast<char>(c < 128 ? c : '?');
  return out;
}

// What a call asks: the member's name, get, put or call, and its arguments in order.
struct Call {
  std::string member;
  WORD flags;
  std::vector<VARIANT*> args;  // first argument first
};

// An automation object named `name` in the log, whose members are whatever the client
// names; `answer` fills the result of each call and may fail it.
class Recorder : public IDispatch {
 public:
  using Answer = std::function<HRESULT(const Call&, VARIANT* result)>;
  Recorder(std::string name, Answer answer) : name_(std::move(name)), answer_(std::move(answer)) {}
  virtual ~Recorder() = default;
  // A member at the identifier its real class gives it, for clients that call it so.
  void member(DISPID id, const std::string& name) { fixed_.emplace_back(id, name); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    for (UINT i = 0; i < count; ++i) {
      const std::string name = narrow(names[i]);
      ids[i] = DISPID_UNKNOWN;
      for (const auto& [id, known] : fixed_)
        if (_stricmp(known.c_str(), name.c_str()) == 0) ids[i] = id;
      if (ids[i] != DISPID_UNKNOWN) continue;
      std::size_t k = 0;
      while (k < members_.size() && _stricmp(members_[k].c_str(), name.c_str()) != 0) ++k;
      if (k == members_.size()) members_.push_back(name);
      ids[i] = static_cast<DISPID>(k + 100);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    Call call;
    const auto k = static_cast<std::size_t>(id - 100);
    call.member = id >= 100 && k < members_.size() ? members_[k] : "#" + std::to_string(id);
    for (const auto& [fixedId, known] : fixed_)
      if (fixedId == id) call.member = known;
    call.flags = flags;
    for (UINT i = params ? params->cArgs : 0; i > 0; --i)
      call.args.push_back(&params->rgvarg[i - 1]);
    std::string line = name_ + "." + call.member;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      line += "=" + (call.args.empty() ? std::string() : text(*call.args[0]));
    } else if (flags & DISPATCH_METHOD) {
      line += "(";
      for (std::size_t i = 0; i < call.args.size(); ++i)
        line += (i ? "," : "") + text(*call.args[i]);
      line += ")";
    }
    VARIANT answer;
    VariantInit(&answer);
    const HRESULT hr = answer_(call, &answer);
    if (FAILED(hr))
      line += " failed";
    else if (answer.vt == VT_BOOL)
      line += " -> " + text(answer);
    log(line);
    if (result)
      *result = answer;
    else
      VariantClear(&answer);
    return hr;
  }

 private:
  std::string name_;
  Answer answer_;
  std::vector<std::string> members_;
  std::vector<std::pair<DISPID, std::string>> fixed_;
  ULONG refs_ = 1;
};

inline VARIANT object(IDispatch* d) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = d;
  return v;
}

}  // namespace standin
