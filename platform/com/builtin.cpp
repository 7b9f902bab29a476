// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/com/builtin.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/com/guid.h"
#include "platform/com/reason.h"
#include "platform/com/registry.h"

namespace com {

namespace {

struct Entry {
  CLSID clsid;
  std::string progId;
  GetClassObjectFn getClassObject;
};

// Few classes, registered once at start-up and read at every creation: a list will do.
struct Table {
  std::mutex mutex;
  std::vector<Entry> entries;
};

Table& table() {
  static Table t;  // built on first use, so a class may be registered from any static start-up
  return t;
}

bool sameProgID(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

HRESULT registerBuiltInClass(const BuiltInClass& entry, std::string* reason) {
  if (!registry::isValidProgID(entry.progId)) {
    setReason(reason, "\"" + std::string(entry.progId) + "\" is not a valid ProgID");
    return CO_E_CLASSSTRING;
  }
  if (!entry.getClassObject) {
    setReason(reason, "built-in class " + toString(entry.clsid) + " has no class object");
    return E_POINTER;
  }
  Table& t = table();
  std::lock_guard lock(t.mutex);
  for (const Entry& e : t.entries) {
    if (e.clsid != entry.clsid && sameProgID(e.progId, entry.progId)) {
      setReason(reason, std::string(entry.progId) + " is already built in as " + toString(e.clsid));
      return E_INVALIDARG;
    }
  }
  std::erase_if(t.entries, [&](const Entry& e) { return e.clsid == entry.clsid; });
  t.entries.push_back({entry.clsid, std::string(entry.progId), entry.getClassObject});
  return S_OK;
}

void unregisterBuiltInClass(REFCLSID clsid) {
  Table& t = table();
  std::lock_guard lock(t.mutex);
  std::erase_if(t.entries, [&](const Entry& e) { return e.clsid == clsid; });
}

bool builtInCLSID(std::string_view progId, CLSID* clsid) {
  Table& t = table();
  std::lock_guard lock(t.mutex);
  for (const Entry& e : t.entries) {
    if (sameProgID(e.progId, progId)) {
      if (clsid) *clsid = e.clsid;
      return true;
    }
  }
  return false;
}

bool builtInGetter(REFCLSID clsid, GetClassObjectFn* getClassObject) {
  Table& t = table();
  std::lock_guard lock(t.mutex);
  for (const Entry& e : t.entries) {
    if (e.clsid == clsid) {
      if (getClassObject) *getClassObject = e.getClassObject;
      return true;
    }
  }
  return false;
}

}  // namespace com
