// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paints a form from its data alone with GDI: the artwork, then every visible control in
// the form's order, shapes through their raster operations (SetROP2). The window paints
// into an off-screen bitmap and copies it in one go, so nothing flickers; the tests
// paint into a bitmap of their own and read its pixels.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/forms/form.h"

namespace win32host {

// Twips to device pixels at dpi (96: 15 twips to a pixel).
int toDevice(int twips, int dpi);
RECT toDevice(const forms::Rect& r, int dpi);
SIZE clientSize(const forms::Form& form, int dpi);

// A form colour as GDI takes it, system colours from the system.
COLORREF toColorRef(forms::Colour c);

// Paints the whole client area of the form into dc, whose pixels are the client area's
// device pixels at dpi.
void paintForm(const forms::Form& form, HDC dc, int dpi);

// Combines one shape with the pixels under it: the fill and the border each touch a
// pixel once, so not-xor-pen tints the artwork instead of cancelling itself out.
void paintShape(const forms::Shape& shape, HDC dc, int dpi);

// An off-screen 32-bit picture with its pixels at hand, top row first.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // 0x00BBGGRR, as the form's colours.
  forms::Colour pixel(int x, int y) const;
  void fill(forms::Colour c);

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;  // 0x00RRGGBB per pixel
};

}  // namespace win32host
