// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/form_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "platform/forms/cp1252.h"
#include "platform/forms/paint_key.h"
#include "platform/qt/fonts.h"
#include "platform/qt/resources.h"

namespace qthost {

using forms::Colour;

namespace {

constexpr qreal kTwips = forms::kTwipsPerPixel;

// A twips rect in device pixels, its edges snapped to pixel boundaries so that panels
// and tile borders stay sharp at any scale.
QRect toDevice(const forms::Rect& r, qreal dpr) {
  const auto px = [dpr](int twips) { return static_cast<int>(std::lround(twips * dpr / kTwips)); };
  const int left = px(r.left), top = px(r.top);
  return QRect(left, top, px(r.left + r.width) - left, px(r.top + r.height) - top);
}

QRgb toRgb(Colour c) { return qRgb(forms::red(c), forms::green(c), forms::blue(c)); }
Colour fromRgb(QRgb p) { return forms::rgb(qRed(p), qGreen(p), qBlue(p)); }

// A pixel partly covered by the fill (wf), partly by the border (wb), and the rest
// left as it was: anti-aliased edges of circles and rounded corners. A fully covered
// pixel gets the operation's result exactly.
Colour blend(Colour dest, int wd, Colour fill, int wf, Colour border, int wb) {
  const auto channel = [&](unsigned (*part)(Colour)) {
    return (part(dest) * wd + part(fill) * wf + part(border) * wb + 127) / 255;
  };
  return forms::rgb(channel(forms::red), channel(forms::green), channel(forms::blue));
}

// The outline of a shape inside the device rect r; inset shrinks it by the border.
QPainterPath shapePath(forms::ShapeKind kind, QRectF r, qreal inset, qreal dpr) {
  QPainterPath path;
  switch (kind) {
    case forms::ShapeKind::Rectangle: {
      const QRectF in = r.adjusted(inset, inset, -inset, -inset);
      if (in.width() > 0 && in.height() > 0) path.addRect(in);
      break;
    }
    case forms::ShapeKind::Circle: {
      // The largest circle that fits, centred in the rect.
      const qreal d = std::min(r.width(), r.height()) - 2 * inset;
      if (d > 0) path.addEllipse(QRectF(r.center().x() - d / 2, r.center().y() - d / 2, d, d));
      break;
    }
    case forms::ShapeKind::RoundedRectangle: {
      const QRectF in = r.adjusted(inset, inset, -inset, -inset);
      const qreal radius = std::min(std::min(r.width(), r.height()) / 4.0, 10.0 * dpr) - inset;
      if (in.width() > 0 && in.height() > 0) {
        if (radius > 0)
          path.addRoundedRect(in, radius, radius);
        else
          path.addRect(in);
      }
      break;
    }
  }
  return path;
}

// Coverage of a path, 0..255 per device pixel.
QImage coverage(const QPainterPath& path, QSize size) {
  QImage mask(size, QImage::Format_Alpha8);
  mask.fill(0);
  if (!path.isEmpty()) {
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(path, QColor(0, 0, 0, 255));
  }
  return mask;
}

void fillEdges(QPainter& p, const QRectF& r, const QColor& colour) {
  p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), colour);
  p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), colour);
  p.fillRect(QRectF(r.left(), r.top(), 1, r.height()), colour);
  p.fillRect(QRectF(r.right() - 1, r.top(), 1, r.height()), colour);
}

Qt::Alignment horizontal(forms::Alignment a) {
  switch (a) {
    case forms::Alignment::Left:
      return Qt::AlignLeft;
    case forms::Alignment::Right:
      return Qt::AlignRight;
    case forms::Alignment::Center:
      return Qt::AlignHCenter;
  }
  return Qt::AlignLeft;
}

void paintLabel(QPainter& p, const forms::Label& label) {
  const QRectF r = toPixels(label.rect);
  if (label.opaque) p.fillRect(r, toQColor(label.backColor));
  if (!label.caption.empty()) {
    p.save();
    p.setClipRect(r);
    const QString text = toScreenText(label.caption);
    // Captions start at the top and wrap at word boundaries inside their width; one
    // that must stay on one line shrinks until it fits instead.
    QFont font = toQFont(label.font);
    QRectF box = r;
    int flags = horizontal(label.alignment) | Qt::AlignTop | Qt::TextWordWrap;
    if (label.shrinkToFit) {
      flags = horizontal(label.alignment) | Qt::AlignTop | Qt::TextSingleLine;
      const qreal fullHeight = QFontMetricsF(font, p.device()).height();
      while (font.pixelSize() > 1 &&
             QFontMetricsF(font, p.device()).horizontalAdvance(text) > r.width())
        font.setPixelSize(font.pixelSize() - 1);
      // The smaller line keeps the middle of the line it stands for.
      box.setTop(r.top() + (fullHeight - QFontMetricsF(font, p.device()).height()) / 2);
    }
    p.setFont(font);
    if (label.enabled) {
      p.setPen(toQColor(label.foreColor));
      p.drawText(box, flags, text);
    } else {
      // Disabled captions are etched, as the system draws them: the player sees that
      // the tiles wait while a level changes.
      p.setPen(QColor(255, 255, 255));
      p.drawText(box.translated(1, 1), flags, text);
      p.setPen(QColor(128, 128, 128));
      p.drawText(box, flags, text);
    }
    p.restore();
  }
  if (label.border) fillEdges(p, r, QColor(0, 0, 0));
}

void paintLine(QPainter& p, const forms::Line& line) {
  const int width = std::max(1, line.borderWidth);
  // Odd widths sit on pixel centres, even ones on pixel edges, so straight lines are
  // sharp rather than smeared over two pixels.
  const auto snap = [width](qreal v) { return width % 2 ? std::floor(v) + 0.5 : std::round(v); };
  qreal x1 = line.x1 / kTwips, y1 = line.y1 / kTwips, x2 = line.x2 / kTwips, y2 = line.y2 / kTwips;
  if (line.x1 == line.x2) x1 = x2 = snap(x1);
  if (line.y1 == line.y2) y1 = y2 = snap(y1);
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(toQColor(line.borderColor), width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
  p.restore();
}

void paintImage(QPainter& p, const forms::Image& image, qreal dpr) {
  if (image.picture == 0) return;
  const QPixmap icon = resources::icon(image.picture, dpr);
  if (icon.isNull()) return;
  const QRectF r = toPixels(image.rect);
  p.save();
  p.setClipRect(r);
  p.drawPixmap(r.topLeft(), icon);  // at its own size, as an unstretched image shows it
  p.restore();
}

void paintTextBox(QPainter& p, const forms::TextBox& box) {
  // The window covers this with a live line edit; painting it too keeps a rendered
  // image of the form complete.
  const QRectF r = toPixels(box.rect);
  p.fillRect(r, toQColor(box.backColor));
  fillEdges(p, r, QColor(96, 96, 96));
  p.save();
  p.setClipRect(r);
  p.setFont(toQFont(box.font));
  p.setPen(toQColor(box.foreColor));
  p.drawText(r.adjusted(2, 0, -2, 0), horizontal(box.alignment) | Qt::AlignVCenter,
             toScreenText(box.text));
  p.restore();
}

void paintList(QPainter& p, const forms::Control& c) {
  const QRectF r = toPixels(c.rect);
  p.fillRect(r, toQColor(forms::kWindowBackground));
  fillEdges(p, r, QColor(96, 96, 96));
  p.save();
  p.setClipRect(r.adjusted(1, 1, -1, -1));
  p.setFont(toQFont(forms::Font{}));
  p.setPen(toQColor(forms::kWindowText));
  const int step = forms::pixelSize(forms::Font{}.points) + 2;
  qreal y = r.top() + 1;
  if (c.kind == forms::Kind::ListBox) {
    for (const std::string& item : static_cast<const forms::ListBox&>(c).items) {
      if (y > r.bottom()) break;
      p.drawText(QRectF(r.left() + 2, y, r.width() - 4, step), Qt::AlignLeft | Qt::AlignVCenter,
                 toScreenText(item));
      y += step;
    }
  } else {
    p.drawText(QRectF(r.left() + 2, y, r.width() - 4, step), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(static_cast<const forms::DirListBox&>(c).Path));
  }
  p.restore();
}

}  // namespace

QRectF toPixels(const forms::Rect& r) {
  return QRectF(r.left / kTwips, r.top / kTwips, r.width / kTwips, r.height / kTwips);
}

QSize clientSize(const forms::Form& form) {
  return QSize(static_cast<int>(std::lround(form.clientWidth / kTwips)),
               static_cast<int>(std::lround(form.clientHeight / kTwips)));
}

QColor toQColor(Colour c) {
  const Colour r = forms::resolveSystemColour(c);
  return QColor(forms::red(r), forms::green(r), forms::blue(r));
}

QString toScreenText(std::string_view cp1252) {
  QString text = QString::fromStdString(forms::cp1252ToUtf8(cp1252));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar(u'\r'), QChar(u'\n'));
  return text;
}

void compositeShape(const forms::Shape& shape, QImage& image) {
  const qreal dpr = image.devicePixelRatio();
  const QRect dev = toDevice(shape.rect, dpr);
  if (dev.isEmpty()) return;
  const QRectF local(0, 0, dev.width(), dev.height());
  const qreal border = std::max(1L, std::lround(std::max(1, shape.borderWidth) * dpr));
  // The masks depend on the outline alone and the form's shapes rarely change it:
  // kept between repaints, they spare drawing two paths per shape every time.
  using Key = std::tuple<int, int, int, qreal, qreal>;
  thread_local std::map<Key, std::pair<QImage, QImage>> masks;
  const Key key{static_cast<int>(shape.shape), dev.width(), dev.height(), border, dpr};
  auto found = masks.find(key);
  if (found == masks.end()) {
    if (masks.size() >= 64) masks.clear();  // a form has a handful of shapes
    found = masks
                .emplace(key, std::pair(
                                  coverage(shapePath(shape.shape, local, 0, dpr), dev.size()),
                                  coverage(shapePath(shape.shape, local, border, dpr), dev.size())))
                .first;
  }
  const QImage& outer = found->second.first;
  const QImage& inner = found->second.second;
  const Colour fill = forms::resolveSystemColour(shape.fillColor);
  const Colour pen = forms::resolveSystemColour(shape.borderColor);

  const QRect visible = dev.intersected(image.rect());
  for (int iy = visible.top(); iy <= visible.bottom(); ++iy) {
    const int y = iy - dev.top();
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(iy));
    const uchar* out = outer.constScanLine(y);
    const uchar* in = inner.constScanLine(y);
    for (int ix = visible.left(); ix <= visible.right(); ++ix) {
      const int x = ix - dev.left();
      const int ci = in[x];
      const int co = std::max<int>(out[x], ci);
      if (co == 0) continue;
      // Each part of a pixel is touched once, by the fill or by the border, never by
      // both: twice, not-xor-pen would cancel itself out.
      const Colour d = fromRgb(row[ix]);
      // Most pixels are wholly inside the fill or wholly on the border, where the blend
      // below comes to the operation's result exactly; at 2x the weighing of every
      // pixel was most of a repaint.
      if (ci == 255) {
        if (shape.filled) row[ix] = toRgb(forms::applyDrawMode(shape.drawMode, d, fill));
        continue;
      }
      if (co == 255 && ci == 0) {
        row[ix] = toRgb(forms::applyDrawMode(shape.drawMode, d, pen));
        continue;
      }
      const Colour f = shape.filled ? forms::applyDrawMode(shape.drawMode, d, fill) : d;
      const Colour b = forms::applyDrawMode(shape.drawMode, d, pen);
      row[ix] = toRgb(blend(d, 255 - co, f, ci, b, co - ci));
    }
  }
}

void paintForm(const forms::Form& form, QImage& image) {
  const qreal dpr = image.devicePixelRatio();
  image.fill(toQColor(forms::kButtonFace));  // where the artwork does not reach

  // Shapes work on the pixels directly, so the painter is closed around each of them.
  std::optional<QPainter> painter;
  const auto open = [&]() -> QPainter& {
    if (!painter) {
      painter.emplace(&image);
      painter->setRenderHint(QPainter::TextAntialiasing);
    }
    return *painter;
  };

  if (!form.picture.empty()) {
    const QImage art = resources::artwork(form.picture, dpr);
    if (!art.isNull()) open().drawImage(QPointF(0, 0), art);
  }

  for (const forms::Control* c : form.controls()) {
    if (!c->visible) continue;
    switch (c->kind) {
      case forms::Kind::Shape:
        painter.reset();
        compositeShape(static_cast<const forms::Shape&>(*c), image);
        break;
      case forms::Kind::Label:
        paintLabel(open(), static_cast<const forms::Label&>(*c));
        break;
      case forms::Kind::Line:
        paintLine(open(), static_cast<const forms::Line&>(*c));
        break;
      case forms::Kind::Image:
        paintImage(open(), static_cast<const forms::Image&>(*c), dpr);
        break;
      case forms::Kind::TextBox:
        paintTextBox(open(), static_cast<const forms::TextBox&>(*c));
        break;
      case forms::Kind::ListBox:
      case forms::Kind::DirListBox:
        paintList(open(), *c);
        break;
      case forms::Kind::Timer:
        break;
    }
  }
}

QImage renderForm(const forms::Form& form, qreal devicePixelRatio) {
  const QSize size = clientSize(form);
  QImage image(static_cast<int>(std::lround(size.width() * devicePixelRatio)),
               static_cast<int>(std::lround(size.height() * devicePixelRatio)),
               QImage::Format_RGB32);
  image.setDevicePixelRatio(devicePixelRatio);
  paintForm(form, image);
  return image;
}

}  // namespace qthost
