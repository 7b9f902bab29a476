// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A digest of everything a host paints from a form: equal keys paint equal pictures, so
// a window repaints only when the key moves. Both hosts' painters read exactly these
// properties; keep it in step with them.
#include <cstddef>

#include "platform/forms/form.h"

namespace forms {

std::size_t paintKey(const Form& form);

}  // namespace forms
