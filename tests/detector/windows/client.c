// SPDX-License-Identifier: GPL-3.0-or-later
// A host written against plain COM in C, knowing nothing of the control but its
// published identifiers: it finds the control by ProgID through the registry,
// creates it, binds by name, reads the type library back and drives the About box
// as a player would. Prints one line per failed check and exits non-zero if any.
//
//   client com DEVICES STAND_IN   probe expecting DEVICES (0 or 1); STAND_IN says
//                                 whether a stand-in winmm.dll must have answered
//   client about                  open the About box twice, check what it shows,
//                                 close it once by OK and once by its close box
#include <ole2.h>
#include <olectl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static const CLSID kClsidCards = {
    0x647FF8DE, 0xA292, 0x4C63, {0xBB, 0xFF, 0x03, 0xFA, 0x5C, 0x47, 0x85, 0xEF}};
static const IID kIidCards = {
    0xA7BAFD64, 0xB801, 0x4C2A, {0xB3, 0xC9, 0x24, 0x2D, 0x1C, 0x2A, 0x5A, 0x6D}};
static const IID kIidCardsEvents = {
    0xBC9DA284, 0x950A, 0x4B61, {0xB3, 0x1A, 0xCD, 0x02, 0xEA, 0x92, 0xFF, 0x24}};
static const GUID kLibid = {
    0x161B1695, 0x2A86, 0x4F33, {0xAC, 0xA9, 0xB0, 0x18, 0x26, 0x09, 0x76, 0x25}};
enum { kCardValue = 0x68030000, kGo = 0x60030003, kAbout = 0x60030004 };

static int g_failures = 0;

#define CHECK(cond, ...)                               \
  do {                                                 \
    if (!(cond)) {                                     \
      printf("FAILED line %d: %s: ", __LINE__, #cond); \
      printf(__VA_ARGS__);                             \
      printf("\n");                                    \
      ++g_failures;                                    \
    }                                                  \
  } while (0)

static HRESULT invoke(IDispatch* d, DISPID id, WORD flags, VARIANT* arg, VARIANT* result) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {arg, flags == DISPATCH_PROPERTYPUT ? &named : NULL, arg ? 1 : 0,
                       flags == DISPATCH_PROPERTYPUT ? 1 : 0};
  return d->lpVtbl->Invoke(d, id, &IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, NULL,
                           NULL);
}

static VARIANT_BOOL cardValue(IDispatch* d) {
  VARIANT r;
  VariantInit(&r);
  HRESULT hr = invoke(d, kCardValue, DISPATCH_PROPERTYGET, NULL, &r);
  CHECK(hr == S_OK && r.vt == VT_BOOL, "get CardValue: hr 0x%08lx vt %d", hr, r.vt);
  return r.boolVal;
}

static IDispatch* createByProgID(void) {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(L"Echodet.Cards", &clsid);
  CHECK(hr == S_OK && IsEqualCLSID(&clsid, &kClsidCards), "CLSIDFromProgID: 0x%08lx", hr);
  IDispatch* d = NULL;
  hr = CoCreateInstance(&clsid, NULL, CLSCTX_INPROC_SERVER, &IID_IDispatch, (void**)&d);
  CHECK(hr == S_OK && d, "CoCreateInstance: 0x%08lx", hr);
  return d;
}

typedef HRESULT(WINAPI* CanUnloadFn)(void);

// ---- the type library, read back ------------------------------------------------

static void checkName(ITypeInfo* info, MEMBERID id, const wchar_t* expected) {
  BSTR name = NULL;
  HRESULT hr = info->lpVtbl->GetDocumentation(info, id, &name, NULL, NULL, NULL);
  CHECK(hr == S_OK && name && wcscmp(name, expected) == 0, "name of %ld: %ls", id,
        name ? name : L"(none)");
  SysFreeString(name);
}

static void checkTypeLibrary(IDispatch* d) {
  UINT count = 0;
  CHECK(d->lpVtbl->GetTypeInfoCount(d, &count) == S_OK && count == 1, "type infos: %u", count);
  ITypeInfo* info = NULL;
  HRESULT hr = d->lpVtbl->GetTypeInfo(d, 0, LOCALE_USER_DEFAULT, &info);
  CHECK(hr == S_OK && info, "GetTypeInfo: 0x%08lx", hr);
  if (!info) return;

  TYPEATTR* attr = NULL;
  info->lpVtbl->GetTypeAttr(info, &attr);
  CHECK(IsEqualIID(&attr->guid, &kIidCards), "_Cards's type info has another GUID");
  const WORD flags = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE;
  CHECK((attr->wTypeFlags & flags) == flags, "_Cards flags 0x%x", attr->wTypeFlags);
  info->lpVtbl->ReleaseTypeAttr(info, attr);
  checkName(info, MEMBERID_NIL, L"_Cards");

  // The dual interface's vtable half: IDispatch's seven slots, then ours in order.
  HREFTYPE ref = 0;
  ITypeInfo* vtbl = NULL;
  hr = info->lpVtbl->GetRefTypeOfImplType(info, -1, &ref);
  if (SUCCEEDED(hr)) hr = info->lpVtbl->GetRefTypeInfo(info, ref, &vtbl);
  CHECK(hr == S_OK && vtbl, "vtable half of _Cards: 0x%08lx", hr);
  if (vtbl) {
    static const struct {
      MEMBERID id;
      INVOKEKIND kind;
      const wchar_t* name;
    } slots[4] = {{kCardValue, INVOKE_PROPERTYPUT, L"CardValue"},
                  {kCardValue, INVOKE_PROPERTYGET, L"CardValue"},
                  {kGo, INVOKE_FUNC, L"Go"},
                  {kAbout, INVOKE_FUNC, L"About"}};
    vtbl->lpVtbl->GetTypeAttr(vtbl, &attr);
    CHECK(attr->typekind == TKIND_INTERFACE && attr->cFuncs == 4, "kind %d, %d functions",
          attr->typekind, attr->cFuncs);
    vtbl->lpVtbl->ReleaseTypeAttr(vtbl, attr);
    for (UINT i = 0; i < 4; ++i) {
      FUNCDESC* f = NULL;
      if (FAILED(vtbl->lpVtbl->GetFuncDesc(vtbl, i, &f))) {
        CHECK(0, "no function %u", i);
        continue;
      }
      CHECK(f->memid == slots[i].id && f->invkind == slots[i].kind &&
                f->oVft == (SHORT)((7 + i) * sizeof(void*)),
            "slot %u: id 0x%08lx kind %d offset %d", i, f->memid, f->invkind, f->oVft);
      checkName(vtbl, f->memid, slots[i].name);
      vtbl->lpVtbl->ReleaseFuncDesc(vtbl, f);
    }
    vtbl->lpVtbl->Release(vtbl);
  }

  // The library itself, and the class with its two interfaces.
  ITypeLib* lib = NULL;
  UINT index = 0;
  hr = info->lpVtbl->GetContainingTypeLib(info, &lib, &index);
  CHECK(hr == S_OK && lib, "containing library: 0x%08lx", hr);
  if (lib) {
    TLIBATTR* la = NULL;
    lib->lpVtbl->GetLibAttr(lib, &la);
    CHECK(
        IsEqualGUID(&la->guid, &kLibid) && la->lcid == 0x409 && (la->wLibFlags & LIBFLAG_FCONTROL),
        "library lcid 0x%lx flags 0x%x", la->lcid, la->wLibFlags);
    lib->lpVtbl->ReleaseTLibAttr(lib, la);
    BSTR name = NULL, help = NULL;
    lib->lpVtbl->GetDocumentation(lib, -1, &name, &help, NULL, NULL);
    CHECK(name && help && wcscmp(name, L"Echodet") == 0 && wcscmp(help, L"Echodet") == 0,
          "library name and help string");
    SysFreeString(name);
    SysFreeString(help);

    ITypeInfo* cls = NULL;
    CHECK(lib->lpVtbl->GetTypeInfoOfGuid(lib, &kClsidCards, &cls) == S_OK, "no class Cards");
    if (cls) {
      cls->lpVtbl->GetTypeAttr(cls, &attr);
      CHECK(attr->typekind == TKIND_COCLASS && attr->cImplTypes == 2 &&
                (attr->wTypeFlags & (TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL)) ==
                    (TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL),
            "class Cards: kind %d, %d interfaces, flags 0x%x", attr->typekind, attr->cImplTypes,
            attr->wTypeFlags);
      cls->lpVtbl->ReleaseTypeAttr(cls, attr);
      checkName(cls, MEMBERID_NIL, L"Cards");
      static const IID* const impl[2] = {&kIidCards, &kIidCardsEvents};
      static const INT implFlags[2] = {IMPLTYPEFLAG_FDEFAULT,
                                       IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE};
      for (UINT i = 0; i < 2; ++i) {
        INT f = 0;
        ITypeInfo* it = NULL;
        cls->lpVtbl->GetImplTypeFlags(cls, i, &f);
        cls->lpVtbl->GetRefTypeOfImplType(cls, i, &ref);
        cls->lpVtbl->GetRefTypeInfo(cls, ref, &it);
        CHECK(f == implFlags[i], "interface %u of Cards: flags %d", i, f);
        if (!it) continue;
        it->lpVtbl->GetTypeAttr(it, &attr);
        CHECK(IsEqualIID(&attr->guid, impl[i]) && (attr->wTypeFlags & TYPEFLAG_FHIDDEN),
              "interface %u of Cards", i);
        if (i == 1)
          CHECK(attr->typekind == TKIND_DISPATCH && attr->cFuncs == 0,
                "__Cards: kind %d, %d functions", attr->typekind, attr->cFuncs);
        it->lpVtbl->ReleaseTypeAttr(it, attr);
        it->lpVtbl->Release(it);
      }
      cls->lpVtbl->Release(cls);
    }
    lib->lpVtbl->Release(lib);
  }
  info->lpVtbl->Release(info);
}

// ---- the probe and the names --------------------------------------------------------

static int runCom(int devices, int standIn) {
  IDispatch* d = createByProgID();
  if (!d) return 1;
  HMODULE ocx = GetModuleHandleW(L"Echodet.ocx");
  CanUnloadFn canUnload =
      ocx ? (CanUnloadFn)(void (*)(void))GetProcAddress(ocx, "DllCanUnloadNow") : NULL;
  CHECK(canUnload != NULL, "the control's library is not loaded in process");
  if (canUnload) CHECK(canUnload() == S_FALSE, "unloadable while an object lives");

  static const wchar_t* const names[3] = {L"CardValue", L"go", L"ABOUT"};
  static const DISPID ids[3] = {kCardValue, kGo, kAbout};
  for (int i = 0; i < 3; ++i) {
    LPOLESTR name = (LPOLESTR)names[i];
    DISPID id = 0;
    HRESULT hr = d->lpVtbl->GetIDsOfNames(d, &IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    CHECK(hr == S_OK && id == ids[i], "GetIDsOfNames(%ls): 0x%08lx, 0x%08lx", names[i], hr, id);
  }
  LPOLESTR stop = L"Stop";
  DISPID none = 0;
  CHECK(d->lpVtbl->GetIDsOfNames(d, &IID_NULL, &stop, 1, 0, &none) == DISP_E_UNKNOWNNAME &&
            none == DISPID_UNKNOWN,
        "an unknown name resolved");
  checkTypeLibrary(d);

  CHECK(cardValue(d) == VARIANT_FALSE, "a new control answers true");
  CHECK(invoke(d, kGo, DISPATCH_METHOD, NULL, NULL) == S_OK, "Go failed");
  const VARIANT_BOOL expected = devices > 0 ? VARIANT_TRUE : VARIANT_FALSE;
  CHECK(cardValue(d) == expected, "after Go, expected %d devices", devices);
  HMODULE winmm = GetModuleHandleW(L"winmm.dll");
  CHECK(winmm != NULL, "Go did not load winmm");
  const int answeredByStandIn = winmm && GetProcAddress(winmm, "echodet_stand_in") != NULL;
  CHECK(answeredByStandIn == standIn, "the stand-in winmm.dll %s",
        standIn ? "was not the one loaded" : "was loaded instead of the system's");

  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_BOOL;
  arg.boolVal = expected ? VARIANT_FALSE : VARIANT_TRUE;
  CHECK(invoke(d, kCardValue, DISPATCH_PROPERTYPUT, &arg, NULL) == S_OK, "put CardValue");
  CHECK(cardValue(d) == arg.boolVal, "the written value did not hold");
  CHECK(invoke(d, kGo, DISPATCH_METHOD, NULL, NULL) == S_OK, "Go failed");
  CHECK(cardValue(d) == expected, "Go did not probe again");

  CHECK(d->lpVtbl->Release(d) == 0, "references left");
  if (canUnload) CHECK(canUnload() == S_OK, "not unloadable once everything is released");
  return 0;
}

// ---- the About box --------------------------------------------------------------------

// Where the Linux box puts each caption, in client pixels at 96 dpi (15 twips a pixel).
typedef struct {
  const char* name;
  COLORREF colour;
  RECT rect;
} Caption;
static const Caption kCaptions[] = {
    {"lblTITLE0", RGB(0x80, 0x80, 0x80), {8, 4, 8 + 249, 4 + 37}},
    {"lblTITLE1", RGB(0x80, 0, 0), {16, 8, 16 + 233, 8 + 37}},
    {"lblTITLE2", RGB(0xFF, 0, 0), {0, 10, 0 + 267, 10 + 37}},
    {"lblINFO0", RGB(0, 0, 0), {8, 48, 8 + 233, 48 + 13}},
    {"lblINFO1", RGB(0, 0, 0), {8, 64, 8 + 249, 64 + 13}},
    {"lblINFO2", RGB(0, 0, 0), {8, 80, 8 + 233, 80 + 13}},
};
enum { kCaptionCount = sizeof kCaptions / sizeof kCaptions[0] };

typedef struct {
  int closeBox;  // close this time by the close box, else by OK
  int shot;      // which opening: the screenshot is saved as about-N.bmp
  int sawBox;
} Watch;

static HWND waitForBox(void) {
  for (int i = 0; i < 200; ++i) {
    HWND box = FindWindowW(L"#32770", L"About");
    if (box && IsWindowVisible(box)) return box;
    Sleep(50);
  }
  return NULL;
}

static void saveBitmap(const char* path, const BITMAPINFOHEADER* head, const void* bits) {
  FILE* f = fopen(path, "wb");
  if (!f) return;
  const DWORD size = (DWORD)(head->biWidth * -head->biHeight * 4);
  BITMAPFILEHEADER file = {0x4D42, (DWORD)(sizeof file + sizeof *head + size), 0, 0,
                           (DWORD)(sizeof file + sizeof *head)};
  fwrite(&file, sizeof file, 1, f);
  fwrite(head, sizeof *head, 1, f);
  fwrite(bits, size, 1, f);
  fclose(f);
}

// A screenshot of the box's client area, from the screen, searched for each caption's
// colour: its text must lie inside the caption's Linux rectangle, centred as there.
static void checkPicture(HWND box, int shot) {
  RECT client;
  GetClientRect(box, &client);
  POINT origin = {0, 0};
  ClientToScreen(box, &origin);
  const int w = client.right, h = client.bottom;
  HDC screen = GetDC(NULL);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFOHEADER head = {sizeof head, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  DWORD* px = NULL;
  HBITMAP bmp = CreateDIBSection(screen, (BITMAPINFO*)&head, DIB_RGB_COLORS, (void**)&px, NULL, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  char path[32];
  snprintf(path, sizeof path, "about-%d.bmp", shot);
  saveBitmap(path, &head, px);

  int counts[kCaptionCount] = {0};
  for (int c = 0; c < kCaptionCount; ++c) {
    const Caption* cap = &kCaptions[c];
    // DIB pixels are 0x00RRGGBB; captions are given as 0x00BBGGRR.
    const DWORD want =
        (GetRValue(cap->colour) << 16) | (GetGValue(cap->colour) << 8) | GetBValue(cap->colour);
    // Black text lives in rows of its own; the titles are told apart by colour.
    const int top = cap->colour == 0 ? cap->rect.top : 0;
    const int bottom = cap->colour == 0 ? cap->rect.bottom : 48;
    RECT found = {w, h, -1, -1};
    for (int y = top; y < bottom && y < h; ++y)
      for (int x = 0; x < w; ++x)
        if ((px[y * w + x] & 0xFFFFFF) == want) {
          ++counts[c];
          if (x < found.left) found.left = x;
          if (y < found.top) found.top = y;
          if (x > found.right) found.right = x;
          if (y > found.bottom) found.bottom = y;
        }
    CHECK(counts[c] > 20, "%s: no text in its colour (shot %d)", cap->name, shot);
    if (counts[c] <= 20) continue;
    const int right = cap->rect.right < w ? cap->rect.right : w;
    CHECK(found.left >= cap->rect.left && found.right < right && found.top >= cap->rect.top &&
              found.bottom < cap->rect.bottom,
          "%s drawn at %ld,%ld-%ld,%ld, outside its place (shot %d)", cap->name, found.left,
          found.top, found.right, found.bottom, shot);
    const int centre2 = (int)(found.left + found.right + 1);
    const int wanted2 = (int)(cap->rect.left + cap->rect.right);
    CHECK(abs(centre2 - wanted2) <= 8, "%s centred at %d/2, not %d/2 (shot %d)", cap->name, centre2,
          wanted2, shot);
  }
  // The layers lie in their z-order: the grey one on top shows whole, the red one
  // at the bottom mostly hidden.
  CHECK(counts[0] > counts[1] && counts[0] > counts[2], "title layers out of order: %d %d %d",
        counts[0], counts[1], counts[2]);

  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(NULL, screen);
}

static void clickAt(POINT p) {
  const int sw = GetSystemMetrics(SM_CXSCREEN) - 1, sh = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT in[3];
  memset(in, 0, sizeof in);
  for (int i = 0; i < 3; ++i) {
    in[i].type = INPUT_MOUSE;
    in[i].mi.dx = p.x * 65535 / sw;
    in[i].mi.dy = p.y * 65535 / sh;
  }
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(3, in, sizeof in[0]);
}

static DWORD WINAPI watchBox(void* param) {
  Watch* watch = (Watch*)param;
  HWND box = waitForBox();
  if (!box) return 0;
  watch->sawBox = 1;
  Sleep(300);  // let it paint

  RECT client, frame;
  GetClientRect(box, &client);
  GetWindowRect(box, &frame);
  CHECK(client.right == 250 && client.bottom == 133, "client area %ldx%ld, not 250x133",
        client.right, client.bottom);
  // Centred on the screen: the free space in whole twips, halved.
  const int fw = frame.right - frame.left, fh = frame.bottom - frame.top;
  const int left = ((GetSystemMetrics(SM_CXSCREEN) * 15 - fw * 15) / 2) / 15;
  const int top = ((GetSystemMetrics(SM_CYSCREEN) * 15 - fh * 15) / 2) / 15;
  CHECK(frame.left == left && frame.top == top, "at %ld,%ld, not centred at %d,%d", frame.left,
        frame.top, left, top);

  HWND ok = FindWindowExW(box, NULL, L"Button", NULL);
  wchar_t text[16] = {0};
  RECT r = {0};
  if (ok) {
    GetWindowTextW(ok, text, 16);
    GetWindowRect(ok, &r);
    MapWindowPoints(NULL, box, (POINT*)&r, 2);
  }
  CHECK(ok && wcscmp(text, L"&Ok") == 0, "no &Ok button");
  CHECK(r.left == 84 && r.top == 104 && r.right - r.left == 77 && r.bottom - r.top == 25,
        "button at %ld,%ld %ldx%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
  checkPicture(box, watch->shot);

  if (watch->closeBox) {
    // Xvfb runs no window manager, so there is no title bar to click: this sends
    // what the close box sends.
    PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else {
    // A real click, through the X server, in the middle of the button.
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(box, &centre);
    clickAt(centre);
  }
  return 0;
}

static int runAbout(void) {
  IDispatch* d = createByProgID();
  if (!d) return 1;
  for (int round = 0; round < 2; ++round) {
    Watch watch = {round == 1, round + 1, 0};
    HANDLE t = CreateThread(NULL, 0, watchBox, &watch, 0, NULL);
    HRESULT hr = invoke(d, kAbout, DISPATCH_METHOD, NULL, NULL);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    CHECK(watch.sawBox, "no About box appeared");
    CHECK(hr == S_OK, "About: 0x%08lx", hr);
    CHECK(FindWindowW(L"#32770", L"About") == NULL, "the About box was left behind");
  }
  d->lpVtbl->Release(d);
  return 0;
}

int main(int argc, char** argv) {
  setvbuf(stdout, NULL, _IONBF, 0);
  if (FAILED(OleInitialize(NULL))) return 2;
  int r = 2;
  if (argc == 4 && strcmp(argv[1], "com") == 0)
    r = runCom(atoi(argv[2]), atoi(argv[3]));
  else if (argc == 2 && strcmp(argv[1], "about") == 0)
    r = runAbout();
  else
    printf("usage: client com DEVICES STAND_IN | client about\n");
  OleUninitialize();
  if (g_failures) printf("%d checks failed\n", g_failures);
  return r ? r : g_failures ? 1 : 0;
}
