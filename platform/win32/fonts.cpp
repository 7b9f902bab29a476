// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/fonts.h"

#include <cmath>
#include <map>
#include <tuple>

namespace win32host {

namespace {

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool installed(const wchar_t* face) {
  LOGFONTW want{};
  want.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(want.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &want, noteFace, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// The first face of the list the system has; the last one is taken blind, and the font
// mapper finds its nearest match by the pitch and family given with it.
const wchar_t* pick(std::initializer_list<const wchar_t*> faces) {
  const wchar_t* last = nullptr;
  for (const wchar_t* face : faces) {
    if (installed(face)) return face;
    last = face;
  }
  return last;
}

const wchar_t* faceFor(forms::Typeface face) {
  static const wchar_t* serif =
      pick({L"MS Serif", L"Times New Roman", L"Liberation Serif", L"DejaVu Serif"});
  static const wchar_t* sans =
      pick({L"MS Sans Serif", L"Microsoft Sans Serif", L"Arial", L"Liberation Sans", L"Tahoma"});
  switch (face) {
    case forms::Typeface::Serif:
      return serif;
    case forms::Typeface::SansSerif:
      return sans;
  }
  return sans;
}

}  // namespace

int fontPixels(double points, int dpi) { return forms::pixelSize(points, dpi); }

HFONT fontFor(const forms::Font& font, int dpi) {
  return fontOfPixels(font, fontPixels(font.points, dpi));
}

HFONT fontOfPixels(const forms::Font& font, int pixels) {
  static std::map<std::tuple<int, bool, int>, HFONT> cache;
  auto [it, fresh] = cache.try_emplace({static_cast<int>(font.face), font.bold, pixels});
  if (fresh) {
    const BYTE family = font.face == forms::Typeface::Serif ? FF_ROMAN : FF_SWISS;
    // A negative height asks for the character height, as point sizes mean it.
    it->second = CreateFontW(-pixels, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             VARIABLE_PITCH | family, faceFor(font.face));
  }
  return it->second;
}

}  // namespace win32host
