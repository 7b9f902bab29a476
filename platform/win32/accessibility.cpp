// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/accessibility.h"

#include <string>
#include <vector>

#include "platform/hostcore/accessible_tree.h"
#include "platform/win32/form_window.h"
#include "platform/win32/gdi_painter.h"
#include "platform/win32/text.h"

namespace win32host {

const IID kIID_IAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

namespace {

#ifndef EVENT_OBJECT_LIVEREGIONCHANGED
constexpr DWORD EVENT_OBJECT_LIVEREGIONCHANGED = 0x8019;
#endif

// The name of a button's default action.
constexpr wchar_t kPress[] = L"Premi";

// The child after the items: what the player last heard unasked, a live region.
constexpr std::size_t kHeard = static_cast<std::size_t>(-1);

BSTR bstr(const std::wstring& text) {
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// A child's number: its place among the shown items, from 1.
LONG idOf(const hostcore::AccessibleTree& tree, std::size_t item) {
  const std::vector<std::size_t>& shown = tree.shownItems();
  for (std::size_t k = 0; k < shown.size(); ++k)
    if (shown[k] == item) return static_cast<LONG>(k + 1);
  return CHILDID_SELF;
}

// The child the keyboard stands on, or the client area itself.
LONG focusId(const hostcore::AccessibleTree& tree, const forms::Control* focused) {
  for (std::size_t k : tree.shownItems())
    if (focused && tree.item(k).control == focused) return idOf(tree, k);
  return CHILDID_SELF;
}

void setChild(VARIANT* v, LONG id) {
  VariantInit(v);
  v->vt = VT_I4;
  v->lVal = id;
}

}  // namespace

// The client area's accessible object. It answers from the tree as the last update left
// it, so what a reader asks and what it was told agree; once the window is gone every
// question fails as a disconnected object's does.
class FormAccessible final : public IAccessible {
 public:
  FormAccessible(FormWindow& window, hostcore::AccessibleTree& tree, const std::wstring& heard)
      : window_(&window), tree_(&tree), heard_(&heard) {}

  void disconnect() { window_ = nullptr, tree_ = nullptr, heard_ = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, kIID_IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: readers call IAccessible's own slots.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!window_) return CO_E_OBJNOTCONNECTED;
    return AccessibleObjectFromWindow(window_->hwnd(), static_cast<DWORD>(OBJID_WINDOW),
                                      IID_IDispatch, reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    if (!window_) return CO_E_OBJNOTCONNECTED;
    *count = static_cast<LONG>(tree_->shownItems().size() + (heard_->empty() ? 0 : 1));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::size_t item = 0;
    const HRESULT hr = find(child, item);
    if (hr != S_OK) return hr == S_FALSE ? E_INVALIDARG : hr;
    return S_FALSE;  // a simple element: the parent answers for it
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return text(child, name, [this](std::size_t* item) -> std::wstring {
      if (item && *item == kHeard) return *heard_;
      return item ? toWide(tree_->item(*item).name) : toWide(window_->form().caption);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return text(child, value, [this](std::size_t* item) -> std::wstring {
      const forms::AccessibleItem* it = item && *item != kHeard ? &tree_->item(*item) : nullptr;
      if (!it || it->role != forms::AccessibleRole::EditableText ||
          it->control->kind != forms::Kind::TextBox)
        return {};
      return toWide(static_cast<const forms::TextBox*>(it->control)->text);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* out) override { return nothing(out); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override { return nothing(out); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
    if (topic) *topic = 0;
    return nothing(file);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* out) override {
    return nothing(out);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return number(child, role, [this](std::size_t* item) -> LONG {
      if (item && *item == kHeard) return ROLE_SYSTEM_ALERT;
      return item ? roleOf(tree_->item(*item)) : ROLE_SYSTEM_CLIENT;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return number(child, state, [this](std::size_t* item) -> LONG {
      if (item && *item == kHeard) return STATE_SYSTEM_READONLY;
      return item ? stateOf(*item) : STATE_SYSTEM_FOCUSABLE;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    if (!window_) return CO_E_OBJNOTCONNECTED;
    if (GetFocus() != window_->hwnd() && !window_->core().typingIn()) return S_FALSE;
    setChild(focus, focusId(*tree_, window_->core().focused()));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection) VariantInit(selection);
    return window_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return text(child, action, [this](std::size_t* item) -> std::wstring {
      return item && *item != kHeard && tree_->pressable(*item) ? kPress : L"";
    });
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override {
    return window_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    std::size_t item = 0;
    const HRESULT hr = find(child, item);
    if (FAILED(hr)) return hr;
    RECT r;
    if (hr == S_FALSE || item == kHeard)
      GetClientRect(window_->hwnd(), &r);
    else
      r = toDevice(tree_->item(item).control->rect, window_->dpi());
    MapWindowPoints(window_->hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left, *top = r.top, *width = r.right - r.left, *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) override {
    if (end) VariantInit(end);
    return window_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!window_) return CO_E_OBJNOTCONNECTED;
    POINT p{x, y};
    ScreenToClient(window_->hwnd(), &p);
    RECT client;
    GetClientRect(window_->hwnd(), &client);
    if (!PtInRect(&client, p)) return S_FALSE;
    LONG id = CHILDID_SELF;
    if (const auto item = tree_->itemAt(window_->toTwips(p.x), window_->toTwips(p.y)))
      id = idOf(*tree_, *item);
    setChild(child, id);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    std::size_t item = 0;
    const HRESULT hr = find(child, item);
    if (FAILED(hr)) return hr;
    if (hr == S_FALSE || item == kHeard || !tree_->pressable(item)) return DISP_E_MEMBERNOTFOUND;
    // The press goes into the message queue, as the mouse's does: the reader has its
    // answer at once, and a handler that pauses runs from the loop, not inside the call.
    PostMessageW(window_->hwnd(), kAccessiblePress, item, 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  // S_OK with the item for a child, S_FALSE for the client area itself.
  HRESULT find(const VARIANT& child, std::size_t& item) const {
    if (!window_) return CO_E_OBJNOTCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    if (child.lVal == CHILDID_SELF) return S_FALSE;
    const std::vector<std::size_t>& shown = tree_->shownItems();
    if (!heard_->empty() && static_cast<std::size_t>(child.lVal) == shown.size() + 1) {
      item = kHeard;
      return S_OK;
    }
    if (child.lVal < 1 || static_cast<std::size_t>(child.lVal) > shown.size()) return E_INVALIDARG;
    item = shown[static_cast<std::size_t>(child.lVal) - 1];
    return S_OK;
  }

  template <typename Text>
  HRESULT text(const VARIANT& child, BSTR* out, Text of) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::size_t item = 0;
    const HRESULT hr = find(child, item);
    if (FAILED(hr)) return hr;
    const std::wstring t = of(hr == S_OK ? &item : nullptr);
    if (t.empty()) return S_FALSE;
    *out = bstr(t);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  template <typename Number>
  HRESULT number(const VARIANT& child, VARIANT* out, Number of) const {
    if (!out) return E_POINTER;
    VariantInit(out);
    std::size_t item = 0;
    const HRESULT hr = find(child, item);
    if (FAILED(hr)) return hr;
    out->vt = VT_I4;
    out->lVal = of(hr == S_OK ? &item : nullptr);
    return S_OK;
  }

  HRESULT nothing(BSTR* out) const {
    if (out) *out = nullptr;
    return window_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }

  static LONG roleOf(const forms::AccessibleItem& item) {
    switch (item.role) {
      case forms::AccessibleRole::Button:
        return ROLE_SYSTEM_PUSHBUTTON;
      case forms::AccessibleRole::ToggleButton:
        return ROLE_SYSTEM_CHECKBUTTON;
      case forms::AccessibleRole::EditableText:
        return ROLE_SYSTEM_TEXT;
      case forms::AccessibleRole::Label:
        break;
    }
    return ROLE_SYSTEM_STATICTEXT;
  }

  LONG stateOf(std::size_t item) const {
    const forms::AccessibleItem& it = tree_->item(item);
    LONG state = 0;
    if (!tree_->enabled(item)) state |= STATE_SYSTEM_UNAVAILABLE;
    if (it.role == forms::AccessibleRole::ToggleButton && it.checked) state |= STATE_SYSTEM_CHECKED;
    if (forms::takesFocus(it)) state |= STATE_SYSTEM_FOCUSABLE;
    if (window_->core().focused() == it.control) state |= STATE_SYSTEM_FOCUSED;
    if (it.role == forms::AccessibleRole::Label) state |= STATE_SYSTEM_READONLY;
    return state;
  }

  LONG refs_ = 1;
  FormWindow* window_;
  hostcore::AccessibleTree* tree_;
  const std::wstring* heard_;
};

WindowAccessibility::WindowAccessibility(FormWindow& window) : window_(window) {}

WindowAccessibility::~WindowAccessibility() {
  if (object_) {
    object_->disconnect();
    object_->Release();
  }
  delete tree_;
}

hostcore::AccessibleTree& WindowAccessibility::tree() {
  if (!tree_) {
    tree_ = new hostcore::AccessibleTree(window_.form());
    tree_->refresh(false);  // the first update tells the player all that stands
  }
  return *tree_;
}

bool WindowAccessibility::answer(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return false;
  if (!object_) object_ = new FormAccessible(window_, tree(), heard_);
  result = LresultFromObject(kIID_IAccessible, wParam, object_);
  return true;
}

void WindowAccessibility::update() {
  // Nobody asked and nobody listens: nothing to keep up to date.
  if (!tree_ && !IsWinEventHookInstalled(EVENT_OBJECT_NAMECHANGE)) return;
  const bool fresh = !tree_;
  hostcore::AccessibleTree& t = tree();
  if (fresh) return;
  const std::vector<std::size_t> before = t.shownItems();
  const std::vector<hostcore::AccessibleChange> changes = t.refresh();
  HWND hwnd = window_.hwnd();
  const auto raise = [hwnd](DWORD event, LONG id) {
    NotifyWinEvent(event, hwnd, static_cast<LONG>(OBJID_CLIENT), id);
  };
  bool reordered = t.rebuilt();
  for (const hostcore::AccessibleChange& c : changes) {
    switch (c.kind) {
      case hostcore::AccessibleChange::Kind::Shown:
        raise(EVENT_OBJECT_SHOW, idOf(t, c.item));
        reordered = true;
        break;
      case hostcore::AccessibleChange::Kind::Hidden: {
        LONG was = CHILDID_SELF;  // its number before it left
        for (std::size_t k = 0; k < before.size(); ++k)
          if (before[k] == c.item) was = static_cast<LONG>(k + 1);
        raise(EVENT_OBJECT_HIDE, was);
        reordered = true;
        break;
      }
      case hostcore::AccessibleChange::Kind::Renamed:
        raise(EVENT_OBJECT_NAMECHANGE, idOf(t, c.item));
        break;
      case hostcore::AccessibleChange::Kind::State:
        raise(EVENT_OBJECT_STATECHANGE, idOf(t, c.item));
        break;
    }
  }
  // What the player should hear unasked (the verdict, a letter moved, the deal, a
  // banner) goes to the live region after the items, which readers announce as it
  // changes wherever the keyboard is.
  if (!t.announcement().empty()) {
    reordered |= heard_.empty();
    heard_ = toWide(t.announcement());
  }
  if (reordered) raise(EVENT_OBJECT_REORDER, CHILDID_SELF);
  if (!t.announcement().empty()) {
    const LONG id = static_cast<LONG>(t.shownItems().size() + 1);
    raise(EVENT_OBJECT_NAMECHANGE, id);
    raise(EVENT_OBJECT_LIVEREGIONCHANGED, id);
  }
}

void WindowAccessibility::focusMoved() {
  if (!tree_) return;
  NotifyWinEvent(EVENT_OBJECT_FOCUS, window_.hwnd(), static_cast<LONG>(OBJID_CLIENT),
                 focusId(*tree_, window_.core().focused()));
}

void WindowAccessibility::press(WPARAM item) {
  if (window_.closed() || !tree_) return;
  tree_->press(static_cast<std::size_t>(item));
  window_.sync();
}

}  // namespace win32host
