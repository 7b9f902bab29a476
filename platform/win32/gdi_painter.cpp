// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/gdi_painter.h"

#include <algorithm>
#include <cmath>

#include "platform/win32/fonts.h"
#include "platform/win32/resources.h"
#include "platform/win32/text.h"

namespace win32host {

using forms::Colour;

namespace {

// Brushes and pens are made per paint and given back at once: the window repaints only
// when the picture changes, so there is nothing worth caching.
class Brush {
 public:
  explicit Brush(COLORREF c) : brush_(CreateSolidBrush(c)) {}
  ~Brush() { DeleteObject(brush_); }
  operator HBRUSH() const { return brush_; }

 private:
  HBRUSH brush_;
};

class Region {
 public:
  explicit Region(HRGN rgn) : rgn_(rgn) {}
  ~Region() {
    if (rgn_) DeleteObject(rgn_);
  }
  operator HRGN() const { return rgn_; }

 private:
  HRGN rgn_;
};

int scaled(int pixels, int dpi) { return std::max(1, MulDiv(pixels, dpi, 96)); }

// The outline of a shape inside r, shrunk by inset on every side; null when nothing is left.
HRGN shapeRegion(forms::ShapeKind kind, const RECT& r, int inset, int dpi) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  const RECT in{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
  if (in.right <= in.left || in.bottom <= in.top) return nullptr;
  switch (kind) {
    case forms::ShapeKind::Rectangle:
      return CreateRectRgn(in.left, in.top, in.right, in.bottom);
    case forms::ShapeKind::Circle: {
      // The largest circle that fits, centred in the rect.
      const int d = std::min(w, h) - 2 * inset;
      const int x = r.left + (w - d) / 2, y = r.top + (h - d) / 2;
      // Elliptic regions leave out their last row and column.
      return CreateEllipticRgn(x, y, x + d + 1, y + d + 1);
    }
    case forms::ShapeKind::RoundedRectangle: {
      const int radius = std::min(std::min(w, h) / 4, 10 * dpi / 96) - inset;
      if (radius <= 0) return CreateRectRgn(in.left, in.top, in.right, in.bottom);
      return CreateRoundRectRgn(in.left, in.top, in.right + 1, in.bottom + 1, 2 * radius,
                                2 * radius);
    }
  }
  return nullptr;
}

UINT horizontal(forms::Alignment a) {
  switch (a) {
    case forms::Alignment::Left:
      return DT_LEFT;
    case forms::Alignment::Right:
      return DT_RIGHT;
    case forms::Alignment::Center:
      return DT_CENTER;
  }
  return DT_LEFT;
}

void frame(HDC dc, const RECT& r, COLORREF colour) {
  Brush brush(colour);
  FrameRect(dc, &r, brush);
}

void drawCaption(HDC dc, RECT r, const std::wstring& text, UINT flags, COLORREF colour) {
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

void paintLabel(HDC dc, const forms::Label& label, int dpi) {
  const RECT box = toDevice(label.rect, dpi);
  if (label.opaque) {
    Brush back(toColorRef(label.backColor));
    FillRect(dc, &box, back);
  }
  if (!label.caption.empty()) {
    SelectObject(dc, fontFor(label.font, dpi));
    SetBkMode(dc, TRANSPARENT);
    // Captions start at the top and wrap at word boundaries inside their width; one
    // that must stay on one line shrinks until it fits instead.
    UINT flags = horizontal(label.alignment) | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
    const std::wstring text = toScreenText(label.caption);
    RECT r = box;
    if (label.shrinkToFit) {
      flags = horizontal(label.alignment) | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
      const auto measure = [&](SIZE& extent) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        return static_cast<int>(metrics.tmHeight);
      };
      SIZE extent{};
      const int fullHeight = measure(extent);
      int height = fullHeight;
      for (int pixels = fontPixels(label.font.points, dpi);
           pixels > 1 && extent.cx > box.right - box.left;) {
        SelectObject(dc, fontOfPixels(label.font, --pixels));
        height = measure(extent);
      }
      // The smaller line keeps the middle of the line it stands for.
      r.top += (fullHeight - height) / 2;
    }
    if (label.enabled) {
      drawCaption(dc, r, text, flags, toColorRef(label.foreColor));
    } else {
      // Etched, as the system draws a disabled caption: the tiles wait while a level changes.
      const int d = scaled(1, dpi);
      drawCaption(dc, RECT{r.left + d, r.top + d, r.right + d, r.bottom + d}, text, flags,
                  RGB(255, 255, 255));
      drawCaption(dc, r, text, flags, RGB(128, 128, 128));
    }
  }
  if (label.border) frame(dc, box, RGB(0, 0, 0));
}

void paintLine(HDC dc, const forms::Line& line, int dpi) {
  const int width = scaled(std::max(1, line.borderWidth), dpi);
  LOGBRUSH brush{BS_SOLID, toColorRef(line.borderColor), 0};
  HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND, width, &brush, 0, nullptr);
  HGDIOBJ old = SelectObject(dc, pen);
  SetROP2(dc, R2_COPYPEN);
  MoveToEx(dc, toDevice(line.x1, dpi), toDevice(line.y1, dpi), nullptr);
  LineTo(dc, toDevice(line.x2, dpi), toDevice(line.y2, dpi));
  SelectObject(dc, old);
  DeleteObject(pen);
}

void paintImage(HDC dc, const forms::Image& image, int dpi) {
  if (image.picture == 0) return;
  const int size = MulDiv(resources::kIconSize, dpi, 96);
  HICON icon = resources::icon(image.picture, size);
  if (!icon) return;
  const RECT r = toDevice(image.rect, dpi);
  // At its own size, as an unstretched image shows it, clipped to the control.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  DrawIconEx(dc, r.left, r.top, icon, size, size, 0, nullptr, DI_NORMAL);
  RestoreDC(dc, saved);
}

void paintTextBox(HDC dc, const forms::TextBox& box, int dpi) {
  // The window covers this with a live edit control; painting it too keeps a picture of
  // the form complete.
  const RECT r = toDevice(box.rect, dpi);
  Brush back(toColorRef(box.backColor));
  FillRect(dc, &r, back);
  frame(dc, r, RGB(96, 96, 96));
  SelectObject(dc, fontFor(box.font, dpi));
  SetBkMode(dc, TRANSPARENT);
  const std::wstring text = toWide(box.text);
  drawCaption(dc, r, text, horizontal(box.alignment) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
              toColorRef(box.foreColor));
}

void paintList(HDC dc, const forms::Control& c, int dpi) {
  const RECT r = toDevice(c.rect, dpi);
  Brush back(toColorRef(forms::kWindowBackground));
  FillRect(dc, &r, back);
  frame(dc, r, RGB(96, 96, 96));
  SelectObject(dc, fontFor(forms::Font{}, dpi));
  SetBkMode(dc, TRANSPARENT);
  const int step = fontPixels(forms::Font{}.points, dpi) + 2;
  RECT line{r.left + 2, r.top + 1, r.right - 2, r.top + 1 + step};
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
  const UINT flags = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  if (c.kind == forms::Kind::ListBox) {
    for (const std::string& item : static_cast<const forms::ListBox&>(c).items) {
      if (line.top > r.bottom) break;
      drawCaption(dc, line, toWide(item), flags, toColorRef(forms::kWindowText));
      OffsetRect(&line, 0, step);
    }
  } else {
    drawCaption(dc, line, utf8ToWide(static_cast<const forms::DirListBox&>(c).Path), flags,
                toColorRef(forms::kWindowText));
  }
  RestoreDC(dc, saved);
}

void paintArtwork(HDC dc, const std::string& name, int dpi) {
  const resources::Artwork art = resources::artwork(name, dpi);
  if (!art.bitmap) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, art.bitmap);
  const int width = MulDiv(art.width, dpi, 96 * art.scale);
  const int height = MulDiv(art.height, dpi, 96 * art.scale);
  if (width == art.width && height == art.height) {
    BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
  } else {
    // Between the two made scales: smoothed, not pixel-doubled.
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, width, height, source, 0, 0, art.width, art.height, SRCCOPY);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace

int toDevice(int twips, int dpi) { return MulDiv(twips, dpi, 96 * forms::kTwipsPerPixel); }

RECT toDevice(const forms::Rect& r, int dpi) {
  // Edges are rounded, not sizes, so panels that share an edge in twips share it on screen.
  return RECT{toDevice(r.left, dpi), toDevice(r.top, dpi), toDevice(r.left + r.width, dpi),
              toDevice(r.top + r.height, dpi)};
}

SIZE clientSize(const forms::Form& form, int dpi) {
  return SIZE{toDevice(form.clientWidth, dpi), toDevice(form.clientHeight, dpi)};
}

COLORREF toColorRef(Colour c) {
  // 0x00BBGGRR is COLORREF's own layout; a system colour is its index in the low byte.
  if (forms::isSystemColour(c)) return GetSysColor(static_cast<int>(c & 0xFF));
  return c & 0x00FFFFFF;
}

void paintShape(const forms::Shape& shape, HDC dc, int dpi) {
  const RECT r = toDevice(shape.rect, dpi);
  if (r.right <= r.left || r.bottom <= r.top) return;
  const int border = scaled(std::max(1, shape.borderWidth), dpi);
  Region outer(shapeRegion(shape.shape, r, 0, dpi));
  Region inner(shapeRegion(shape.shape, r, border, dpi));
  if (!outer) return;
  const int oldMode = SetROP2(dc, static_cast<int>(shape.drawMode));
  // The R2_ codes are the layout's draw modes, so the number goes straight to GDI.
  // PaintRgn combines the brush with the board through that mode (FillRgn would not).
  if (shape.filled && inner) {
    Brush fill(toColorRef(shape.fillColor));
    HGDIOBJ old = SelectObject(dc, fill);
    PaintRgn(dc, inner);
    SelectObject(dc, old);
  }
  Region ring(CreateRectRgn(0, 0, 0, 0));
  if (inner)
    CombineRgn(ring, outer, inner, RGN_DIFF);
  else
    CombineRgn(ring, outer, nullptr, RGN_COPY);
  Brush pen(toColorRef(shape.borderColor));
  HGDIOBJ old = SelectObject(dc, pen);
  PaintRgn(dc, ring);
  SelectObject(dc, old);
  SetROP2(dc, oldMode);
}

void paintForm(const forms::Form& form, HDC dc, int dpi) {
  const SIZE size = clientSize(form, dpi);
  {
    // Where the artwork does not reach.
    Brush face(toColorRef(forms::kButtonFace));
    const RECT all{0, 0, size.cx, size.cy};
    FillRect(dc, &all, face);
  }
  if (!form.picture.empty()) paintArtwork(dc, form.picture, dpi);
  const HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
  for (const forms::Control* c : form.controls()) {
    if (!c->visible) continue;
    switch (c->kind) {
      case forms::Kind::Shape:
        paintShape(static_cast<const forms::Shape&>(*c), dc, dpi);
        break;
      case forms::Kind::Label:
        paintLabel(dc, static_cast<const forms::Label&>(*c), dpi);
        break;
      case forms::Kind::Line:
        paintLine(dc, static_cast<const forms::Line&>(*c), dpi);
        break;
      case forms::Kind::Image:
        paintImage(dc, static_cast<const forms::Image&>(*c), dpi);
        break;
      case forms::Kind::TextBox:
        paintTextBox(dc, static_cast<const forms::TextBox&>(*c), dpi);
        break;
      case forms::Kind::ListBox:
      case forms::Kind::DirListBox:
        paintList(dc, *c, dpi);
        break;
      case forms::Kind::Timer:
        break;
    }
  }
  SelectObject(dc, oldFont);
}

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<std::uint32_t*>(bits);
  previous_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

Colour Canvas::pixel(int x, int y) const {
  GdiFlush();  // GDI may batch drawing; the bits are read directly
  const std::uint32_t p = bits_[static_cast<std::size_t>(y) * width_ + x];
  return forms::rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void Canvas::fill(Colour c) {
  Brush brush(toColorRef(c));
  const RECT all{0, 0, width_, height_};
  FillRect(dc_, &all, brush);
}

}  // namespace win32host
