// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web/display.h"

#include <cmath>
#include <cstdio>

#include "platform/forms/colour.h"
#include "platform/forms/cp1252.h"

namespace webhost {

namespace {

// Twips to CSS pixels, as numbers the page can snap to its device pixels.
std::string px(int twips) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", twips / double(forms::kTwipsPerPixel));
  return buffer;
}

std::string rect(const forms::Rect& r) {
  return "[" + px(r.left) + "," + px(r.top) + "," + px(r.width) + "," + px(r.height) + "]";
}

std::string css(forms::Colour c) {
  const forms::Colour r = forms::resolveSystemColour(c);
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", forms::red(r), forms::green(r),
                forms::blue(r));
  return std::string("\"") + buffer + "\"";
}

// The pixel's value as the raster operations take it (0x00BBGGRR).
std::string raw(forms::Colour c) { return std::to_string(forms::resolveSystemColour(c)); }

const char* flag(bool b) { return b ? "true" : "false"; }

std::string font(const forms::Font& f) {
  return std::string("\"face\":\"") + (f.face == forms::Typeface::Serif ? "serif" : "sans") +
         "\",\"px\":" + std::to_string(forms::pixelSize(f.points)) + ",\"bold\":" + flag(f.bold);
}

const char* align(forms::Alignment a) {
  switch (a) {
    case forms::Alignment::Right:
      return "\"right\"";
    case forms::Alignment::Center:
      return "\"center\"";
    case forms::Alignment::Left:
      break;
  }
  return "\"left\"";
}

const char* shapeName(forms::ShapeKind k) {
  switch (k) {
    case forms::ShapeKind::Circle:
      return "\"circle\"";
    case forms::ShapeKind::RoundedRectangle:
      return "\"round\"";
    case forms::ShapeKind::Rectangle:
      break;
  }
  return "\"rect\"";
}

const char* roleName(forms::AccessibleRole role) {
  switch (role) {
    case forms::AccessibleRole::Button:
      return "\"button\"";
    case forms::AccessibleRole::ToggleButton:
      return "\"toggle\"";
    case forms::AccessibleRole::EditableText:
      return "\"text\"";
    case forms::AccessibleRole::Label:
      break;
  }
  return "\"label\"";
}

std::string control(const forms::Control& c) {
  switch (c.kind) {
    case forms::Kind::Label: {
      const auto& l = static_cast<const forms::Label&>(c);
      return "{\"k\":\"label\",\"r\":" + rect(l.rect) + ",\"text\":" + jsonText(l.caption) + "," +
             font(l.font) + ",\"align\":" + align(l.alignment) + ",\"fore\":" + css(l.foreColor) +
             ",\"back\":" + css(l.backColor) + ",\"opaque\":" + flag(l.opaque) +
             ",\"border\":" + flag(l.border) + ",\"shrink\":" + flag(l.shrinkToFit) +
             ",\"enabled\":" + flag(l.enabled) + "}";
    }
    case forms::Kind::Shape: {
      const auto& s = static_cast<const forms::Shape&>(c);
      return "{\"k\":\"shape\",\"r\":" + rect(s.rect) + ",\"shape\":" + shapeName(s.shape) +
             ",\"filled\":" + flag(s.filled) + ",\"fill\":" + raw(s.fillColor) +
             ",\"pen\":" + raw(s.borderColor) + ",\"bw\":" + std::to_string(s.borderWidth) +
             ",\"mode\":" + std::to_string(static_cast<int>(s.drawMode)) + "}";
    }
    case forms::Kind::Line: {
      const auto& l = static_cast<const forms::Line&>(c);
      return "{\"k\":\"line\",\"p\":[" + px(l.x1) + "," + px(l.y1) + "," + px(l.x2) + "," +
             px(l.y2) + "],\"bw\":" + std::to_string(l.borderWidth) +
             ",\"colour\":" + css(l.borderColor) + "}";
    }
    case forms::Kind::Image: {
      const auto& i = static_cast<const forms::Image&>(c);
      return "{\"k\":\"image\",\"r\":" + rect(i.rect) + ",\"pic\":" + std::to_string(i.picture) +
             "}";
    }
    case forms::Kind::TextBox: {
      const auto& b = static_cast<const forms::TextBox&>(c);
      return "{\"k\":\"box\",\"r\":" + rect(b.rect) + ",\"text\":" + jsonText(b.text) + "," +
             font(b.font) + ",\"align\":" + align(b.alignment) + ",\"fore\":" + css(b.foreColor) +
             ",\"back\":" + css(b.backColor) + "}";
    }
    case forms::Kind::ListBox: {
      std::string items;
      for (const std::string& item : static_cast<const forms::ListBox&>(c).items)
        items += (items.empty() ? "" : ",") + jsonText(item);
      return "{\"k\":\"list\",\"r\":" + rect(c.rect) + ",\"items\":[" + items + "]}";
    }
    case forms::Kind::DirListBox:
      return "{\"k\":\"list\",\"r\":" + rect(c.rect) + ",\"items\":[" +
             jsonText(static_cast<const forms::DirListBox&>(c).Path, false) + "]}";
    case forms::Kind::Timer:
      break;
  }
  return {};
}

}  // namespace

std::string jsonText(const std::string& text, bool cp1252) {
  const std::string utf8 = cp1252 ? forms::cp1252ToUtf8(text) : text;
  std::string out = "\"";
  for (const char ch : utf8) {
    const auto u = static_cast<unsigned char>(ch);
    switch (ch) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (u < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
          out += buffer;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

std::string paintJson(const forms::Form& form,
                      const std::vector<const forms::Control*>& paintList) {
  std::string items;
  for (const forms::Control* c : paintList) {
    const std::string item = control(*c);
    if (!item.empty()) items += (items.empty() ? "" : ",") + item;
  }
  return "{\"art\":" + jsonText(form.picture) + ",\"w\":" + px(form.clientWidth) +
         ",\"h\":" + px(form.clientHeight) + ",\"back\":" + css(forms::kButtonFace) +
         ",\"items\":[" + items + "]}";
}

std::string accessJson(const hostcore::AccessibleTree& tree) {
  std::string items;
  for (const std::size_t i : tree.shownItems()) {
    const forms::AccessibleItem& item = tree.item(i);
    const forms::Rect r = item.control ? item.control->rect : forms::Rect{};
    items += (items.empty() ? "" : ",");
    items += "{\"i\":" + std::to_string(i) + ",\"role\":" + roleName(item.role) +
             ",\"name\":" + jsonText(item.name) + ",\"r\":" + rect(r) +
             ",\"enabled\":" + flag(tree.enabled(i)) + ",\"checked\":" + flag(item.checked) +
             ",\"pressable\":" + flag(tree.pressable(i)) + "}";
  }
  return "[" + items + "]";
}

std::string boxesJson(const std::vector<forms::TextBox*>& boxes) {
  std::string out;
  for (const forms::TextBox* b : boxes) {
    out += (out.empty() ? "" : ",");
    out += "{\"r\":" + rect(b->rect) + ",\"text\":" + jsonText(b->text) + "," + font(b->font) +
           ",\"align\":" + align(b->alignment) + ",\"fore\":" + css(b->foreColor) +
           ",\"back\":" + css(b->backColor) + ",\"visible\":" + flag(b->visible) +
           ",\"enabled\":" + flag(b->enabled) + ",\"max\":" + std::to_string(b->maxLength) + "}";
  }
  return "[" + out + "]";
}

}  // namespace webhost
