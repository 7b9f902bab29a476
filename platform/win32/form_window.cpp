// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/form_window.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/forms/paint_key.h"
#include "platform/win32/fonts.h"
#include "platform/win32/resources.h"
#include "platform/win32/text.h"

namespace win32host {

namespace {

constexpr wchar_t kWindowClass[] = L"LemmaroForm";
constexpr UINT_PTR kTimerId = 1;
// A fixed dialog frame: a caption with its close box, no sizing border, no minimise or
// maximise box.
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr wchar_t kEditProp[] = L"LemmaroEdit";
constexpr wchar_t kEditProcProp[] = L"LemmaroEditProc";

// Per-monitor dpi calls exist only on newer systems; older ones get the system dpi.
template <typename F>
F systemCall(const char* name) {
  return reinterpret_cast<F>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int dpiOf(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = systemCall<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    const UINT dpi = getDpiForWindow(hwnd);
    if (dpi) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

RECT frameFor(SIZE client, int dpi) {
  RECT r{0, 0, client.cx, client.cy};
  using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = systemCall<AdjustFn>("AdjustWindowRectExForDpi");
  if (adjustForDpi)
    adjustForDpi(&r, kStyle, FALSE, kExStyle, static_cast<UINT>(dpi));
  else
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  return r;
}

void registerClass() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  // Double clicks arrive as their own message, so a double click's second press is not a
  // second press of a button: it raises no Click.
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  wc.hIcon = resources::icon(resources::kWindowIcon, GetSystemMetrics(SM_CXICON));
  wc.hIconSm = resources::icon(resources::kWindowIcon, GetSystemMetrics(SM_CXSMICON));
  RegisterClassExW(&wc);
}

}  // namespace

FormWindow::FormWindow(forms::Form& form) : form_(form) {
  registerClass();
  dpi_ = dpiOf(nullptr);
  const RECT frame = frameFor(clientSize(form_, dpi_), dpi_);
  hwnd_ = CreateWindowExW(kExStyle, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&windowProc));
  const int dpi = dpiOf(hwnd_);
  if (dpi != dpi_) {
    dpi_ = dpi;
    resizeForDpi();
  }

  for (forms::Control* c : form_.controls()) {
    if (c->kind != forms::Kind::TextBox) continue;
    edits_.push_back(Edit{static_cast<forms::TextBox*>(c), nullptr, {}, 0, 0, nullptr});
  }
  for (Edit& e : edits_) {
    const DWORD align = e.box->alignment == forms::Alignment::Center  ? ES_CENTER
                        : e.box->alignment == forms::Alignment::Right ? ES_RIGHT
                                                                      : ES_LEFT;
    e.hwnd = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL | align, 0, 0,
                             0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetPropW(e.hwnd, kEditProp, &e);
    SetPropW(e.hwnd, kEditProcProp,
             reinterpret_cast<HANDLE>(GetWindowLongPtrW(e.hwnd, GWLP_WNDPROC)));
    SetWindowLongPtrW(e.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&editProc));
  }
  sync();
}

FormWindow::~FormWindow() {
  if (hwnd_) {
    KillTimer(hwnd_, kTimerId);
    // The window is going without the form's say: no unload handler runs now.
    closed_ = true;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  for (Edit& e : edits_)
    if (e.backBrush) DeleteObject(e.backBrush);
}

int FormWindow::toTwips(int pixels) const {
  return MulDiv(pixels, 96 * forms::kTwipsPerPixel, dpi_);
}

void FormWindow::resizeForDpi() {
  const RECT frame = frameFor(clientSize(form_, dpi_), dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  frameValid_ = false;
  for (Edit& e : edits_) e.shownText.clear(), e.back = e.fore = ~0u;
}

void FormWindow::sync() {
  if (!hwnd_ || closed_) return;
  if (!captionShown_ || form_.caption != shownCaption_) {
    captionShown_ = true;
    shownCaption_ = form_.caption;
    SetWindowTextW(hwnd_, toWide(form_.caption).c_str());
  }
  syncPointer();
  syncTimer();
  for (Edit& e : edits_) syncEdit(e);
  if (!frameValid_ || forms::paintKey(form_) != frameKey_) InvalidateRect(hwnd_, nullptr, FALSE);
}

HCURSOR FormWindow::currentCursor() const {
  if (form_.mousePointer == forms::MousePointer::Custom && form_.mouseIcon != 0)
    if (HCURSOR c = resources::cursor(form_.mouseIcon)) return c;
  return LoadCursorW(nullptr, IDC_ARROW);
}

void FormWindow::syncPointer() {
  const HCURSOR want = currentCursor();
  if (want == shownCursor_) return;
  shownCursor_ = want;
  // The pointer changes at once where it stands (the hourglass while the game is busy),
  // not only on the next move of the mouse.
  POINT where;
  if (GetCursorPos(&where)) {
    HWND under = WindowFromPoint(where);
    if (under == hwnd_ || (under && GetParent(under) == hwnd_)) SetCursor(want);
  }
}

void FormWindow::syncTimer() {
  forms::Timer* t = form_.timer();
  const bool run = t && !closed_ && t->enabled && t->interval > 0;
  if (!run) {
    if (timerRunning_) KillTimer(hwnd_, kTimerId);
    timerRunning_ = false;
    return;
  }
  // Restarting would push the next tick back, so only a change restarts it.
  if (!timerRunning_ || timerInterval_ != t->interval) {
    SetTimer(hwnd_, kTimerId, static_cast<UINT>(t->interval), nullptr);
    timerRunning_ = true;
    timerInterval_ = t->interval;
  }
}

void FormWindow::syncEdit(Edit& e) {
  forms::TextBox& box = *e.box;
  const RECT r = toDevice(box.rect, dpi_);
  RECT now;
  GetWindowRect(e.hwnd, &now);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&now), 2);
  if (!EqualRect(&now, &r))
    MoveWindow(e.hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  if (static_cast<bool>(IsWindowVisible(e.hwnd)) != box.visible)
    ShowWindow(e.hwnd, box.visible ? SW_SHOWNA : SW_HIDE);
  if (static_cast<bool>(IsWindowEnabled(e.hwnd)) != box.enabled) EnableWindow(e.hwnd, box.enabled);
  const int limit = box.maxLength > 0 ? box.maxLength : 0;
  if (static_cast<int>(SendMessageW(e.hwnd, EM_GETLIMITTEXT, 0, 0)) != (limit ? limit : 0x7FFFFFFE))
    SendMessageW(e.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);

  const COLORREF back = toColorRef(box.backColor), fore = toColorRef(box.foreColor);
  if (back != e.back || fore != e.fore) {
    e.back = back;
    e.fore = fore;
    if (e.backBrush) DeleteObject(e.backBrush);
    e.backBrush = CreateSolidBrush(back);
    SendMessageW(e.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(box.font, dpi_)), TRUE);
    InvalidateRect(e.hwnd, nullptr, TRUE);
  }

  if (box.text != e.shownText) {
    // The form changed the text (the game upper-cases the name): follow it, keeping
    // the caret where the player left it.
    e.shownText = box.text;
    DWORD start = 0, end = 0;
    SendMessageW(e.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    const std::wstring text = toWide(box.text);
    updatingEdit_ = true;
    SetWindowTextW(e.hwnd, text.c_str());
    updatingEdit_ = false;
    const DWORD caret = std::min<DWORD>(end, static_cast<DWORD>(text.size()));
    SendMessageW(e.hwnd, EM_SETSEL, caret, caret);
  }
}

void FormWindow::editChanged(Edit& e) {
  if (updatingEdit_) return;
  const int n = GetWindowTextLengthW(e.hwnd);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  GetWindowTextW(e.hwnd, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(n));
  const std::string cp1252 = fromWide(text);
  if (toWide(cp1252) != text) {
    // The game keeps its text in Windows-1252: the box takes only what it can hold,
    // rather than turning a character into a question mark behind the player's back.
    // The box shows the form's text again, even an empty one.
    MessageBeep(MB_OK);
    const std::wstring kept = toWide(e.box->text);
    updatingEdit_ = true;
    SetWindowTextW(e.hwnd, kept.c_str());
    updatingEdit_ = false;
    SendMessageW(e.hwnd, EM_SETSEL, kept.size(), kept.size());
    e.shownText = e.box->text;
    return;
  }
  // The player's typing goes straight into the form, as the game reads it.
  e.box->text = cp1252;
  e.shownText = cp1252;
  sync();
}

void FormWindow::tick() {
  forms::Timer* t = form_.timer();
  if (closed_ || !t || !t->enabled) return;
  if (t->onTimer) t->onTimer(-1);
  sync();
}

void FormWindow::showCentred() {
  if (!shownOnce_) {
    shownOnce_ = true;
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2,
                 work.top + (work.bottom - work.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(hwnd_, SW_SHOW);
  for (Edit& e : edits_)
    if (e.box->visible) ShowWindow(e.hwnd, SW_SHOWNA);
  sync();
  UpdateWindow(hwnd_);
}

void FormWindow::setTopMost() {
  if (hwnd_) SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void FormWindow::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  const SIZE size = clientSize(form_, dpi_);
  if (!frame_ || frame_->width() != size.cx || frame_->height() != size.cy) {
    frame_ = std::make_unique<Canvas>(size.cx, size.cy);
    frameValid_ = false;
  }
  // Exposes by other windows repaint from the last picture; the form is painted off
  // screen and copied in one go, so the player never sees it half drawn.
  const std::size_t key = forms::paintKey(form_);
  if (!frameValid_ || key != frameKey_) {
    paintForm(form_, frame_->dc(), dpi_);
    frameKey_ = key;
    frameValid_ = true;
  }
  BitBlt(dc, 0, 0, size.cx, size.cy, frame_->dc(), 0, 0, SRCCOPY);
  EndPaint(hwnd_, &ps);
}

void FormWindow::mouseAt(LPARAM lParam, int& x, int& y) const {
  x = toTwips(GET_X_LPARAM(lParam));
  y = toTwips(GET_Y_LPARAM(lParam));
}

void FormWindow::close() {
  if (!closed_) {
    if (form_.onUnload) form_.onUnload(-1);
    closed_ = true;
    KillTimer(hwnd_, kTimerId);
    timerRunning_ = false;
  }
  // The handler may have pumped events that destroyed the window already.
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  int x = 0, y = 0;
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // every pixel comes from the form
    case WM_LBUTTONDOWN:
      if (closed_) return 0;
      mouseAt(lParam, x, y);
      pressing_ = true;
      pressed_ = form_.controlAt(x, y);
      SetCapture(hwnd_);
      sync();
      return 0;
    case WM_LBUTTONUP:
      ReleaseCapture();
      if (closed_ || !pressing_) return 0;
      pressing_ = false;
      mouseAt(lParam, x, y);
      // A click is a press and a release on the same control, as on any button.
      if (form_.controlAt(x, y) == pressed_) form_.click(x, y);
      sync();
      return 0;
    case WM_LBUTTONDBLCLK:
      return 0;  // the second press of a double click is no click
    case WM_MOUSEMOVE:
      if (closed_) return 0;
      mouseAt(lParam, x, y);
      form_.mouseMove(x, y);
      sync();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(currentCursor());
        return TRUE;
      }
      break;
    case WM_TIMER:
      if (wParam == kTimerId) tick();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE)
        for (Edit& e : edits_)
          if (e.hwnd == reinterpret_cast<HWND>(lParam)) editChanged(e);
      return 0;
    case WM_CTLCOLOREDIT:
      for (Edit& e : edits_) {
        if (e.hwnd != reinterpret_cast<HWND>(lParam)) continue;
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, e.fore);
        SetBkColor(dc, e.back);
        return reinterpret_cast<LRESULT>(e.backBrush);
      }
      break;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      resizeForDpi();
      sync();
      return 0;
    }
    case WM_CLOSE:
      close();
      return 0;
    case WM_DESTROY:
      hwnd_ = nullptr;
      closed_ = true;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT FormWindow::handleEdit(Edit& e, UINT message, WPARAM, LPARAM) {
  forms::TextBox& box = *e.box;
  if (closed_ || !box.visible || !box.enabled) return -1;
  switch (message) {
    case WM_MOUSEMOVE:
      if (box.onMouseMove) box.onMouseMove(box.index);
      sync();
      break;
    case WM_LBUTTONUP:
      if (box.onClick) box.onClick(box.index);
      sync();
      break;
    case WM_SETCURSOR:
      SetCursor(currentCursor());
      return TRUE;
    default:
      break;
  }
  return -1;
}

LRESULT CALLBACK FormWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->handle(message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* e = static_cast<Edit*>(GetPropW(hwnd, kEditProp));
  const auto original = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kEditProcProp));
  if (e && message != WM_NCDESTROY) {
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(GetParent(hwnd), GWLP_USERDATA));
    if (self) {
      const LRESULT r = self->handleEdit(*e, message, wParam, lParam);
      if (r != -1) return r;
    }
  }
  if (message == WM_NCDESTROY) {
    RemovePropW(hwnd, kEditProp);
    RemovePropW(hwnd, kEditProcProp);
  }
  return CallWindowProcW(original, hwnd, message, wParam, lParam);
}

}  // namespace win32host
