// SPDX-License-Identifier: GPL-3.0-or-later
// Without type libraries: the member names from a table of our own, and hosts bind
// by the published dispatch identifiers.
#include "detector/echodet_ids.h"
#include "detector/type_info.h"

namespace echodet {

namespace {

struct Member {
  const char* name;
  DISPID id;
};
constexpr Member kMembers[] = {
    {"CardValue", kDispidCardValue},
    {"Go", kDispidGo},
    {"About", kDispidAbout},
};

// Member names are matched without regard to case, as automation does. Our names
// are plain ASCII, so a UTF-16 character outside it never matches.
bool sameName(const OLECHAR* wide, const char* ascii) {
  auto lower = [](unsigned c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; };
  for (; *ascii; ++wide, ++ascii) {
    if (*wide == 0 || *wide > 0x7F) return false;
    if (lower(*wide) != lower(static_cast<unsigned char>(*ascii))) return false;
  }
  return *wide == 0;
}

}  // namespace

UINT typeInfoCount() { return 0; }

HRESULT cardsTypeInfo(ITypeInfo** info) {
  *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT idsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (!names[0]) return DISP_E_UNKNOWNNAME;
  for (const Member& m : kMembers) {
    if (sameName(names[0], m.name)) {
      ids[0] = m.id;
      // Further names would be parameter names; no member has named ones.
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
  }
  return DISP_E_UNKNOWNNAME;
}

}  // namespace echodet
