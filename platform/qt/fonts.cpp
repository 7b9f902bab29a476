// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/fonts.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace qthost {

QFont toQFont(const forms::Font& font) {
  QFont f;
  switch (font.face) {
    case forms::Typeface::Serif:
      // A Times-like face: the old serif screen font was narrow and upright.
      f.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
      f.setStyleHint(QFont::Serif);
      break;
    case forms::Typeface::SansSerif:
      // Metric-compatible with the usual Windows sans-serif, so captions fit their rects.
      f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
      f.setStyleHint(QFont::SansSerif);
      break;
  }
  f.setPixelSize(forms::pixelSize(font.points));
  f.setBold(font.bold);
  // Small bold captions stay crisp on the board; the big tile letters stay smooth.
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

}  // namespace qthost
