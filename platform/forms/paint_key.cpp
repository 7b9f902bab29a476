// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/forms/paint_key.h"

#include <functional>
#include <string>

namespace forms {

namespace {

class Digest {
 public:
  template <typename T>
  Digest& operator<<(const T& value) {
    mix(std::hash<T>{}(value));
    return *this;
  }
  Digest& operator<<(const Rect& r) { return *this << r.left << r.top << r.width << r.height; }
  Digest& operator<<(const Font& f) {
    return *this << static_cast<int>(f.face) << f.points << f.bold;
  }
  std::size_t value() const { return h_; }

 private:
  void mix(std::size_t v) { h_ ^= v + 0x9e3779b97f4a7c15ULL + (h_ << 6) + (h_ >> 2); }
  std::size_t h_ = 0;
};

}  // namespace

std::size_t paintKey(const Form& form) {
  Digest d;
  d << form.picture << form.clientWidth << form.clientHeight;
  for (const Control* c : form.controls()) {
    d << c->visible;
    if (!c->visible) continue;
    d << c->rect << c->enabled;
    switch (c->kind) {
      case Kind::Label: {
        const auto& l = static_cast<const Label&>(*c);
        d << l.caption << l.font << static_cast<int>(l.alignment) << l.foreColor << l.backColor
          << l.opaque << l.border;
        break;
      }
      case Kind::Shape: {
        const auto& s = static_cast<const Shape&>(*c);
        d << static_cast<int>(s.shape) << s.filled << s.fillColor << s.borderColor << s.borderWidth
          << static_cast<int>(s.drawMode);
        break;
      }
      case Kind::Line: {
        const auto& l = static_cast<const Line&>(*c);
        d << l.x1 << l.y1 << l.x2 << l.y2 << l.borderWidth << l.borderColor;
        break;
      }
      case Kind::TextBox: {
        const auto& t = static_cast<const TextBox&>(*c);
        d << t.text << t.font << static_cast<int>(t.alignment) << t.foreColor << t.backColor;
        break;
      }
      case Kind::ListBox:
        for (const std::string& item : static_cast<const ListBox&>(*c).items) d << item;
        break;
      case Kind::DirListBox:
        d << static_cast<const DirListBox&>(*c).Path;
        break;
      case Kind::Image:
        d << static_cast<const Image&>(*c).picture;
        break;
      case Kind::Timer:
        break;
    }
  }
  return d.value();
}

}  // namespace forms
