// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/resources.h"

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <cmath>
#include <map>
#include <utility>

namespace qthost::resources {

namespace {

// Renders an SVG resource at logical size `size` (its own size when empty).
QImage renderSvg(const QString& path, QSize size, qreal dpr) {
  QSvgRenderer svg(path);
  if (!svg.isValid()) return {};
  if (size.isEmpty()) size = svg.defaultSize();
  QImage image(static_cast<int>(std::lround(size.width() * dpr)),
               static_cast<int>(std::lround(size.height() * dpr)),
               QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    svg.render(&p);
  }
  image.setDevicePixelRatio(dpr);
  return image;
}

// Pictures are rendered once per scale: the window repaints often. Cursors hold
// window-system resources, so the cache goes with the application, not at exit.
using Key = std::pair<QString, qreal>;
struct Caches {
  std::map<Key, QImage> art, icons;
  std::map<Key, QCursor> cursors;
};
Caches* cachesInstance = nullptr;

Caches& caches() {
  if (!cachesInstance) {
    cachesInstance = new Caches;
    qAddPostRoutine([] {
      delete cachesInstance;
      cachesInstance = nullptr;
    });
  }
  return *cachesInstance;
}

struct Prerendered {
  const uchar* pixels;
  int width, height;
};

// Filled while the program's static data is set up, before main.
std::map<std::pair<std::string, qreal>, Prerendered>& prerendered() {
  static std::map<std::pair<std::string, qreal>, Prerendered> table;
  return table;
}

}  // namespace

void addPrerendered(const std::string& name, qreal dpr, const uchar* pixels, int width,
                    int height) {
  prerendered()[{name, dpr}] = Prerendered{pixels, width, height};
}

QImage renderArtwork(const std::string& name, qreal dpr) {
  const QString path = QStringLiteral(":/art/%1.svg").arg(QString::fromStdString(name));
  // Opaque from here on: the board is a background and is blitted, not blended.
  QImage image = renderSvg(path, {}, dpr).convertToFormat(QImage::Format_RGB32);
  image.setDevicePixelRatio(dpr);
  return image;
}

QImage artwork(const std::string& name, qreal dpr) {
  const QString path = QStringLiteral(":/art/%1.svg").arg(QString::fromStdString(name));
  auto [it, fresh] = caches().art.try_emplace({path, dpr});
  if (fresh) {
    const auto ahead = prerendered().find({name, dpr});
    if (ahead != prerendered().end()) {
      // Drawing the board's SVG is most of the first frame's cost; the pixels drawn at
      // build time are used where they lie, without a copy.
      const Prerendered& p = ahead->second;
      it->second = QImage(p.pixels, p.width, p.height, p.width * 4, QImage::Format_RGB32);
      it->second.setDevicePixelRatio(dpr);
    } else {
      it->second = renderArtwork(name, dpr);
    }
  }
  return it->second;
}

QPixmap icon(int id, qreal dpr) {
  const QString path = QStringLiteral(":/icons/%1.svg").arg(id);
  auto [it, fresh] = caches().icons.try_emplace({path, dpr});
  if (fresh) it->second = renderSvg(path, QSize(kIconSize, kIconSize), dpr);
  if (it->second.isNull()) return {};
  QPixmap pixmap = QPixmap::fromImage(it->second);
  pixmap.setDevicePixelRatio(dpr);
  return pixmap;
}

QPoint cursorHotSpot(int id) {
  QFile file(QStringLiteral(":/cursors/%1.svg").arg(id));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement) {
      // The root element carries it; nothing further down does.
      for (const QXmlStreamAttribute& a : xml.attributes()) {
        if (a.name() == QLatin1String("hotspot")) {
          const auto parts = a.value().split(u',');
          if (parts.size() == 2)
            return QPoint(parts[0].trimmed().toInt(), parts[1].trimmed().toInt());
        }
      }
      return {};
    }
  }
  return {};
}

QCursor cursor(int id, qreal dpr) {
  auto& cache = caches().cursors;
  const QString path = QStringLiteral(":/cursors/%1.svg").arg(id);
  auto it = cache.find({path, dpr});
  if (it == cache.end()) {
    QCursor made(Qt::ArrowCursor);
    const QImage image = renderSvg(path, QSize(kCursorSize, kCursorSize), dpr);
    if (!image.isNull()) {
      QPixmap pixmap = QPixmap::fromImage(image);
      pixmap.setDevicePixelRatio(dpr);
      const QPoint hot = cursorHotSpot(id);
      made = QCursor(pixmap, hot.x(), hot.y());
    }
    it = cache.emplace(std::make_pair(path, dpr), made).first;
  }
  return it->second;
}

QIcon windowIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) {
    const QImage image = renderSvg(QStringLiteral(":/app/icon.svg"), QSize(size, size), 1.0);
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace qthost::resources
