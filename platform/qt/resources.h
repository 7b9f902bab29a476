// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pictures, looked up by the names and numbers a form uses. They live as
// SVG sources in the Qt resources of whoever links them:
//   artwork "name"  -> :/art/name.svg      (drawn at the SVG's own size)
//   icon n          -> :/icons/n.svg       (32 x 32)
//   cursor n        -> :/cursors/n.svg     (32 x 32, hot spot in the root element)
//   window icon     -> :/app/icon.svg      (16, 32 and 48 px)
// A missing picture comes back null; the window then shows nothing in its place.
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <string>

namespace qthost::resources {

constexpr int kIconSize = 32;
constexpr int kCursorSize = 32;

QImage artwork(const std::string& name, qreal devicePixelRatio = 1.0);
QPixmap icon(int id, qreal devicePixelRatio = 1.0);
// The hot spot is read from the SVG root's cursor:hotspot="x,y" attribute.
QCursor cursor(int id, qreal devicePixelRatio = 1.0);
QPoint cursorHotSpot(int id);
QIcon windowIcon();

}  // namespace qthost::resources
