// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/detector_control.h"

#include "detector/echodet_ids.h"
#include "platform/com/create.h"
#include "platform/com/interfaces.h"

DetectorControl::DetectorControl() {
  void* object = nullptr;
  if (com::createByProgID(echodet::kProgID, IID_IDispatch, &object, &why_) >= 0)
    cards_ = static_cast<IDispatch*>(object);
}

DetectorControl::~DetectorControl() {
  if (cards_) cards_->Release();
}
