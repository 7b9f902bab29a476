// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/form_window.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/forms/cp1252.h"
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

// The refusal of a system call, for the player.
base::Error refused(const char* call) {
  const DWORD code = GetLastError();
  return base::Error{std::string("La finestra del gioco non si può creare: ") + call +
                         " non riesce: " + describe(HRESULT_FROM_WIN32(code)),
                     static_cast<int>(code)};
}

base::Status registerClass() {
  static bool done = false;
  if (done) return {};
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  // Double clicks arrive as their own message: the core tells a double-click on the
  // control that took the last click from a second press anywhere else.
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  wc.hIcon = resources::icon(resources::kWindowIcon, GetSystemMetrics(SM_CXICON));
  wc.hIconSm = resources::icon(resources::kWindowIcon, GetSystemMetrics(SM_CXSMICON));
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    return refused("RegisterClassExW");
  done = true;
  return {};
}

// A key as the core names it. Keypad Enter is VK_RETURN too.
hostcore::KeyPress corePress(WPARAM vk) {
  hostcore::KeyPress press;
  press.shortcut = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0 ||
                   GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0;
  if (vk >= 'A' && vk <= 'Z') {
    press.name = hostcore::KeyName::Letter;
    press.letter = static_cast<char>(vk);
    return press;
  }
  switch (vk) {
    case VK_BACK:
      press.name = hostcore::KeyName::Backspace;
      break;
    case VK_ESCAPE:
      press.name = hostcore::KeyName::Escape;
      break;
    case VK_RETURN:
      press.name = hostcore::KeyName::Enter;
      break;
    case VK_SPACE:
      press.name = hostcore::KeyName::Space;
      break;
    case VK_TAB:
      press.name = GetKeyState(VK_SHIFT) < 0 ? hostcore::KeyName::BackTab : hostcore::KeyName::Tab;
      break;
    default:
      break;
  }
  return press;
}

// The characters the keys above type, which an edit would take or beep at.
bool typedByCoreKey(WPARAM ch) { return ch == L'\r' || ch == L'\n' || ch == 0x1B || ch == L'\t'; }

}  // namespace

FormWindow::FormWindow(forms::Form& form) : core_(form) {}

base::Result<std::unique_ptr<FormWindow>> FormWindow::create(forms::Form& form) {
  std::unique_ptr<FormWindow> window(new FormWindow(form));
  if (base::Status opened = window->open(); !opened) return opened.error();
  return window;
}

base::Status FormWindow::open() {
  if (base::Status registered = registerClass(); !registered) return registered;
  dpi_ = dpiOf(nullptr);
  const RECT frame = frameFor(clientSize(form(), dpi_), dpi_);
  hwnd_ = CreateWindowExW(kExStyle, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return refused("CreateWindowExW");
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&windowProc));
  const int dpi = dpiOf(hwnd_);
  if (dpi != dpi_) {
    dpi_ = dpi;
    resizeForDpi();
  }

  for (forms::Control* c : form().controls()) {
    if (c->kind != forms::Kind::TextBox) continue;
    edits_.push_back(Edit{static_cast<forms::TextBox*>(c), nullptr, 0, 0, nullptr});
  }
  for (Edit& e : edits_) {
    const DWORD align = e.box->alignment == forms::Alignment::Center  ? ES_CENTER
                        : e.box->alignment == forms::Alignment::Right ? ES_RIGHT
                                                                      : ES_LEFT;
    e.hwnd = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL | align, 0, 0,
                             0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!e.hwnd) return refused("CreateWindowExW");
    SetPropW(e.hwnd, kEditProp, &e);
    SetPropW(e.hwnd, kEditProcProp,
             reinterpret_cast<HANDLE>(GetWindowLongPtrW(e.hwnd, GWLP_WNDPROC)));
    SetWindowLongPtrW(e.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&editProc));
  }
  sync();
  return {};
}

FormWindow::~FormWindow() {
  if (hwnd_) {
    KillTimer(hwnd_, kTimerId);
    // The window is going without the form's say: no unload handler runs now.
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
  const RECT frame = frameFor(clientSize(form(), dpi_), dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  core_.dropFrame();
  core_.resendBoxes();
  for (Edit& e : edits_) e.back = e.fore = ~0u;
}

void FormWindow::sync() {
  if (!hwnd_) return;
  const hostcore::Changes changes = core_.sync();
  if (changes.title) SetWindowTextW(hwnd_, toWide(form().caption).c_str());
  if (changes.pointer) showPointer();
  if (changes.timer) {
    // Setting the timer again restarts its count, so only a change sets it.
    const hostcore::TimerSetting t = core_.timer();
    if (t.running)
      SetTimer(hwnd_, kTimerId, static_cast<UINT>(t.interval), nullptr);
    else
      KillTimer(hwnd_, kTimerId);
  }
  for (Edit& e : edits_) syncEdit(e);
  for (forms::TextBox* box : changes.boxTexts)
    for (Edit& e : edits_)
      if (e.box == box) showBoxText(e);
  if (changes.focus) {
    HWND to = hwnd_;
    for (Edit& e : edits_)
      if (e.box == core_.typingIn()) to = e.hwnd;
    if (GetFocus() != to) SetFocus(to);
    // The edit tells a reader itself; on the board the reader hears where it stands.
    if (to == hwnd_) accessibility_.focusMoved();
  }
  if (changes.repaint) InvalidateRect(hwnd_, nullptr, FALSE);
  accessibility_.update();
}

HCURSOR FormWindow::currentCursor() const {
  if (const int id = core_.cursor())
    if (HCURSOR c = resources::cursor(id)) return c;
  return LoadCursorW(nullptr, IDC_ARROW);
}

void FormWindow::showPointer() {
  // The pointer changes at once where it stands (the hourglass while the game is busy),
  // not only on the next move of the mouse.
  POINT where;
  if (GetCursorPos(&where)) {
    HWND under = WindowFromPoint(where);
    if (under == hwnd_ || (under && GetParent(under) == hwnd_)) SetCursor(currentCursor());
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
}

void FormWindow::showBoxText(Edit& e) {
  // The form changed the text (the game upper-cases the name): the edit follows it,
  // keeping the caret where the player left it.
  DWORD start = 0, end = 0;
  SendMessageW(e.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const std::wstring text = toWide(e.box->text);
  updatingEdit_ = true;
  SetWindowTextW(e.hwnd, text.c_str());
  updatingEdit_ = false;
  const DWORD caret = std::min<DWORD>(end, static_cast<DWORD>(text.size()));
  SendMessageW(e.hwnd, EM_SETSEL, caret, caret);
}

void FormWindow::editChanged(Edit& e) {
  if (updatingEdit_) return;
  const int n = GetWindowTextLengthW(e.hwnd);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  GetWindowTextW(e.hwnd, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(n));
  // A character the game cannot keep is refused, and the box's text put back, rather
  // than turned into a question mark behind the player's back.
  if (!core_.boxEdited(*e.box, wideToUtf8(text))) MessageBeep(MB_OK);
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
  const SIZE size = clientSize(form(), dpi_);
  if (!frame_ || frame_->width() != size.cx || frame_->height() != size.cy) {
    frame_ = std::make_unique<Canvas>(size.cx, size.cy);
    core_.dropFrame();
  }
  // Exposes by other windows repaint from the last picture; the form is painted off
  // screen and copied in one go, so the player never sees it half drawn.
  if (!core_.frameCurrent()) {
    paintForm(form(), frame_->dc(), dpi_);
    core_.framePainted();
  }
  BitBlt(dc, 0, 0, size.cx, size.cy, frame_->dc(), 0, 0, SRCCOPY);
  EndPaint(hwnd_, &ps);
}

void FormWindow::mouseAt(LPARAM lParam, int& x, int& y) const {
  x = toTwips(GET_X_LPARAM(lParam));
  y = toTwips(GET_Y_LPARAM(lParam));
}

void FormWindow::close() {
  core_.close();
  KillTimer(hwnd_, kTimerId);
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
    case WM_LBUTTONDBLCLK:
      mouseAt(lParam, x, y);
      core_.press(x, y, message == WM_LBUTTONDBLCLK);
      SetCapture(hwnd_);
      sync();
      return 0;
    case WM_LBUTTONUP:
      ReleaseCapture();
      mouseAt(lParam, x, y);
      core_.release(x, y);
      sync();
      return 0;
    case WM_MOUSEMOVE:
      mouseAt(lParam, x, y);
      core_.move(x, y);
      sync();
      return 0;
    case WM_KEYDOWN:
      if (core_.key(corePress(wParam))) {
        sync();
        return 0;
      }
      break;
    case WM_CHAR:
      return 0;  // the board takes keys, not characters
    case WM_SETFOCUS:
      core_.keyboardAt(nullptr);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(currentCursor());
        return TRUE;
      }
      break;
    case WM_TIMER:
      if (wParam == kTimerId) {
        core_.tick();
        sync();
      }
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
    case WM_GETOBJECT: {
      LRESULT answer = 0;
      if (accessibility_.answer(wParam, lParam, answer)) return answer;
      break;
    }
    case kAccessiblePress:
      accessibility_.press(wParam);
      return 0;
    case WM_CLOSE:
      close();
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kTimerId);
      hwnd_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool FormWindow::handleEdit(Edit& e, UINT message, WPARAM wParam, LPARAM) {
  forms::TextBox& box = *e.box;
  switch (message) {
    case WM_MOUSEMOVE:
      core_.moveOverBox(box);
      sync();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      core_.pressBox(box, message == WM_LBUTTONDBLCLK);
      break;  // the edit takes the keyboard itself
    case WM_LBUTTONUP:
      core_.releaseBox(box);
      sync();
      break;
    case WM_SETFOCUS:
      core_.keyboardAt(&box);
      break;
    case WM_KEYDOWN:
      // A key that reaches the edit finds the keyboard there; Enter, Escape and Tab
      // give it back to the board.
      if (core_.typingIn() != &box) core_.keyboardAt(&box);
      if (core_.key(corePress(wParam))) {
        sync();
        return true;
      }
      break;
    case WM_CHAR:
      return typedByCoreKey(wParam);
    case WM_SETCURSOR:
      SetCursor(currentCursor());
      return true;
    default:
      break;
  }
  return false;
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
    if (self && self->handleEdit(*e, message, wParam, lParam))
      return message == WM_SETCURSOR ? TRUE : 0;
  }
  if (message == WM_NCDESTROY) {
    RemovePropW(hwnd, kEditProp);
    RemovePropW(hwnd, kEditProcProp);
  }
  return CallWindowProcW(original, hwnd, message, wParam, lParam);
}

}  // namespace win32host
