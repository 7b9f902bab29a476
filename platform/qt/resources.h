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
// The artwork drawn from its SVG now, bypassing the cache and anything drawn ahead.
QImage renderArtwork(const std::string& name, qreal devicePixelRatio = 1.0);
// Artwork drawn ahead, at build time, for one device pixel ratio: artwork() hands it
// out instead of drawing the SVG while the window opens. `pixels` holds Format_RGB32
// rows and must last as long as the program (it is the program's own data).
void addPrerendered(const std::string& name, qreal devicePixelRatio, const uchar* pixels, int width,
                    int height);
QPixmap icon(int id, qreal devicePixelRatio = 1.0);
// The hot spot is read from the SVG root's cursor:hotspot="x,y" attribute.
QCursor cursor(int id, qreal devicePixelRatio = 1.0);
QPoint cursorHotSpot(int id);
QIcon windowIcon();

}  // namespace qthost::resources
