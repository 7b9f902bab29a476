// SPDX-License-Identifier: GPL-3.0-or-later
// On Windows the control comes from the system's COM, by the same registered name.
#include "app/detector_control.h"

#include <windows.h>

#include "detector/echodet_ids.h"
#include "platform/win32/com_object.h"
#include "platform/win32/text.h"

DetectorControl::DetectorControl() {
  cards_ = win32host::createByProgID(win32host::utf8ToWide(echodet::kProgID).c_str(),
                                     CLSCTX_INPROC_SERVER, &why_);
}

DetectorControl::~DetectorControl() {
  if (cards_) cards_->Release();
}
