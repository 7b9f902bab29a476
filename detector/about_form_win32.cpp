// SPDX-License-Identifier: GPL-3.0-or-later
// The About box on Windows: a modal dialog laid out in twips, converted to pixels
// at the screen's resolution. The captions are windowless labels that the form
// paints itself, in creation order, so the three title layers overlap with their
// backgrounds transparent, the later one on top; only the OK button is a window.
#include <array>
#include <string>

#include "detector/about_form.h"
#include "platform/com/types.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;  // this library's own module handle

namespace echodet {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kClientWidth = 3750;
constexpr int kClientHeight = 1995;

// Whole pixels, truncated, as the form's designer placed them.
int toPixels(int twips, int dpi) { return twips * dpi / kTwipsPerInch; }
int toTwips(int pixels, int dpi) { return pixels * kTwipsPerInch / dpi; }

struct Label {
  const wchar_t* caption;
  int left, top, width, height;
  COLORREF colour;  // 0x00BBGGRR
  bool title;
};

// lblINFO(0..2), then lblTITLE(0..2).
constexpr int kInfo = 0;
constexpr int kTitle = 3;
constexpr Label kLabels[6] = {
    // The first two lines are one sentence; the blank at the end of the first belongs to it.
    {L"Controllo che rileva la presenza di una ", 120, 720, 3495, 195, 0x000000, false},
    {L"scheda Audio", 120, 960, 3735, 195, 0x000000, false},
    {L"Lemmaro \u2014 effetti sonori", 120, 1200, 3495, 195, 0x000000, false},
    {L"Scheda Audio", 120, 60, 3735, 555, 0x808080, true},   // grey, on top
    {L"Scheda Audio", 240, 120, 3495, 555, 0x000080, true},  // dark red
    {L"Scheda Audio", 0, 150, 4005, 555, 0x0000FF, true},    // red, lowest
};
// Creation order, which is painting order: a later label lies on top.
constexpr int kCreationOrder[6] = {kInfo + 2,  kInfo + 1,  kInfo + 0,
                                   kTitle + 2, kTitle + 1, kTitle + 0};

struct FrmAbout {
  int dpi = 96;
  HFONT labelFont = nullptr;
  HFONT buttonFont = nullptr;
  HFONT titleFont = nullptr;
  std::array<std::wstring, 6> captions;

  ~FrmAbout() {
    for (HFONT f : {labelFont, buttonFont, titleFont})
      if (f) ::DeleteObject(f);
  }
};

// The box is shown at most once at a time, whichever Cards object asked for it.
HWND g_open = nullptr;

HFONT makeFont(const wchar_t* face, int hundredthsOfPoint, bool bold, int dpi) {
  // Without smoothing, as the form was designed: every glyph pixel in its colour.
  return ::CreateFontW(-::MulDiv(hundredthsOfPoint, dpi, 72 * 100), 0, 0, 0,
                       bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, face);
}

RECT pixelRect(const Label& l, int dpi) {
  const int x = toPixels(l.left, dpi);
  const int y = toPixels(l.top, dpi);
  return RECT{x, y, x + toPixels(l.width, dpi), y + toPixels(l.height, dpi)};
}

void onInit(HWND hwnd, FrmAbout& form) {
  HDC screen = ::GetDC(nullptr);
  form.dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  if (form.dpi <= 0) form.dpi = 96;
  const int dpi = form.dpi;

  form.labelFont = makeFont(L"MS Sans Serif", 825, false, dpi);
  form.buttonFont = makeFont(L"MS Sans Serif", 825, true, dpi);
  form.titleFont = makeFont(L"Arial", 2175, true, dpi);
  for (int i = 0; i < 6; ++i) form.captions[i] = kLabels[i].caption;

  // The designed size is the client area; the frame comes on top of it.
  RECT outer{0, 0, toPixels(kClientWidth, dpi), toPixels(kClientHeight, dpi)};
  ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  // Centred as designed: the free space in whole twips, halved by integer division.
  const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
  const int left = (toTwips(screenW, dpi) - toTwips(width, dpi)) / 2;
  const int top = (toTwips(screenH, dpi) - toTwips(height, dpi)) / 2;
  ::SetWindowPos(hwnd, nullptr, toPixels(left, dpi), toPixels(top, dpi), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);

  HWND ok = ::CreateWindowExW(
      0, L"BUTTON", L"&Ok", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
      toPixels(1260, dpi), toPixels(1560, dpi), toPixels(1155, dpi), toPixels(375, dpi), hwnd,
      reinterpret_cast<HMENU>(IDOK), reinterpret_cast<HINSTANCE>(&__ImageBase), nullptr);
  if (ok) ::SendMessageW(ok, WM_SETFONT, reinterpret_cast<WPARAM>(form.buttonFont), FALSE);
}

void onPaint(HWND hwnd, const FrmAbout& form) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd, &ps);
  ::SetBkMode(dc, TRANSPARENT);
  const HGDIOBJ oldFont = ::GetCurrentObject(dc, OBJ_FONT);
  for (int i : kCreationOrder) {
    const Label& l = kLabels[i];
    RECT r = pixelRect(l, form.dpi);
    ::SelectObject(dc, l.title ? form.titleFont : form.labelFont);
    ::SetTextColor(dc, l.colour);
    ::DrawTextW(dc, form.captions[i].c_str(), static_cast<int>(form.captions[i].size()), &r,
                DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  ::SelectObject(dc, oldFont);
  ::EndPaint(hwnd, &ps);
}

// Every way of closing the box ends here (OK, Enter, Escape, the close box); none
// of them is ever refused. The captions are cleared first, titles then lines.
void unload(HWND hwnd, FrmAbout& form, INT_PTR result) {
  for (int i = 0; i < 3; ++i) form.captions[kTitle + i].clear();
  for (int i = 0; i < 3; ++i) form.captions[kInfo + i].clear();
  ::EndDialog(hwnd, result);
}

INT_PTR CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<FrmAbout*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      form = reinterpret_cast<FrmAbout*>(lParam);
      ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
      g_open = hwnd;
      onInit(hwnd, *form);
      return TRUE;
    case WM_PAINT:
      if (!form) return FALSE;
      onPaint(hwnd, *form);
      return TRUE;
    case WM_COMMAND:
      if (form && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        unload(hwnd, *form, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      if (form) unload(hwnd, *form, IDCANCEL);
      return TRUE;
    case WM_DESTROY:
      g_open = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

// An in-memory dialog template: no controls (they are made at WM_INITDIALOG, in
// pixels), caption "About", a title bar with a close box.
struct alignas(4) DialogTemplate {
  DLGTEMPLATE head;
  WORD menu;
  WORD windowClass;
  WCHAR title[6];
};

}  // namespace

HRESULT showAboutBox() {
  if (g_open) {
    ::SetForegroundWindow(g_open);
    return S_FALSE;
  }
  static const DialogTemplate kTemplate = {
      {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 0, 0, 0, 0}, 0, 0, L"About"};
  FrmAbout form;
  // Modal to whatever window of the host is active, as a form shown from a control is.
  const INT_PTR r =
      ::DialogBoxIndirectParamW(reinterpret_cast<HINSTANCE>(&__ImageBase), &kTemplate.head,
                                ::GetActiveWindow(), dialogProc, reinterpret_cast<LPARAM>(&form));
  if (r == -1 || r == 0) {
    const DWORD err = ::GetLastError();
    return err ? HRESULT_FROM_WIN32(err) : E_FAIL;
  }
  return S_OK;
}

}  // namespace echodet
