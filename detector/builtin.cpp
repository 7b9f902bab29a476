// SPDX-License-Identifier: GPL-3.0-or-later
#include "detector/builtin.h"

#include "detector/class_object.h"
#include "detector/echodet_ids.h"
#include "platform/com/builtin.h"

namespace echodet {

HRESULT registerBuiltInDetector(std::string* reason) {
  return com::registerBuiltInClass({CLSID_Cards, kProgID, &getClassObject}, reason);
}

}  // namespace echodet
