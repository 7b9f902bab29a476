// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A digest of everything a painter reads from a form: equal keys paint equal pictures,
// so a window repaints only when the key moves. A property that shows on screen and is
// left out here is a change the player never sees; the kit's tests change each one.
#include <cstddef>

#include "platform/forms/form.h"

namespace forms {

std::size_t paintKey(const Form& form);

}  // namespace forms
