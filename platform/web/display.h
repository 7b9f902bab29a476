// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the page must show of a form, written as the JSON that the page's painter and
// its accessible overlay read (platform/web/page/painter.js, access.js). Plain C++.
#include <string>
#include <vector>

#include "platform/forms/form.h"
#include "platform/hostcore/accessible_tree.h"

namespace webhost {

// A JSON string literal of a Windows-1252 or UTF-8 text (`cp1252` says which).
std::string jsonText(const std::string& text, bool cp1252 = true);

// The picture: the artwork, then each control of `paintList`, bottom-most first.
std::string paintJson(const forms::Form& form, const std::vector<const forms::Control*>& paintList);

// The accessible items as the reader should find them, in reading order.
std::string accessJson(const hostcore::AccessibleTree& tree);

// The text boxes: where each stands, how it looks and what it holds.
std::string boxesJson(const std::vector<forms::TextBox*>& boxes);

}  // namespace webhost
