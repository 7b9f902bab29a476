// SPDX-License-Identifier: GPL-3.0-or-later
// _Cards, the control's default interface, for hosts that call it early-bound
// through the vtable rather than through IDispatch.
#pragma once

#include "detector/echodet_ids.h"
#include "platform/com/interfaces.h"

namespace echodet {

// A dual interface: IDispatch's seven slots, then these four, in this order.
struct ICards : IDispatch {
  virtual HRESULT put_CardValue(VARIANT_BOOL value) = 0;
  virtual HRESULT get_CardValue(VARIANT_BOOL* value) = 0;
  // Counts the machine's sound cards and sets CardValue to whether there is one.
  virtual HRESULT Go() = 0;
  // Shows the About box modally; returns when it is closed.
  virtual HRESULT About() = 0;

 protected:
  ~ICards() = default;
};

}  // namespace echodet
