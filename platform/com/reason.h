// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The runtime's calls return an HRESULT, as COM's do; where the caller asked why (a
// non-null `reason`), they also say it in words.
#include <string>
#include <utility>

namespace com {

inline void setReason(std::string* reason, std::string text) {
  if (reason) *reason = std::move(text);
}

}  // namespace com
