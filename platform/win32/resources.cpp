// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/resources.h"

#include <map>
#include <utility>

#include "platform/win32/text.h"

namespace win32host::resources {

namespace {

// The program's own resources, also when this code is linked into a test program.
HINSTANCE module() { return GetModuleHandleW(nullptr); }

Artwork load(const std::string& resourceName, int scale) {
  Artwork art;
  art.bitmap = static_cast<HBITMAP>(
      LoadImageW(module(), toWide(resourceName).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!art.bitmap) return art;
  BITMAP info{};
  GetObjectW(art.bitmap, sizeof info, &info);
  art.width = info.bmWidth;
  art.height = info.bmHeight;
  art.scale = scale;
  return art;
}

}  // namespace

Artwork artwork(const std::string& name, int dpi) {
  static std::map<std::pair<std::string, int>, Artwork> cache;
  const int scale = dpi > 96 ? 2 : 1;
  auto [it, fresh] = cache.try_emplace({name, scale});
  if (fresh) {
    it->second = load(scale == 2 ? name + "_2x" : name, scale);
    if (!it->second.bitmap && scale == 2) it->second = load(name, 1);
  }
  return it->second;
}

HICON icon(int id, int sizePixels) {
  static std::map<std::pair<int, int>, HICON> cache;
  auto [it, fresh] = cache.try_emplace({id, sizePixels});
  if (fresh)
    it->second = static_cast<HICON>(
        LoadImageW(module(), MAKEINTRESOURCEW(id), IMAGE_ICON, sizePixels, sizePixels, 0));
  return it->second;
}

HCURSOR cursor(int id) {
  static std::map<int, HCURSOR> cache;
  auto [it, fresh] = cache.try_emplace(id);
  if (fresh)
    it->second = static_cast<HCURSOR>(
        LoadImageW(module(), MAKEINTRESOURCEW(id), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
  return it->second;
}

}  // namespace win32host::resources
