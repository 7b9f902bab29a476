// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paints a form from its data alone: the artwork, then every visible control in the
// form's order. The window and the tests both use it, so what is tested is what the
// player sees.
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstddef>
#include <string_view>

#include "platform/forms/form.h"

namespace qthost {

// Twips to logical pixels (15 to a pixel).
QRectF toPixels(const forms::Rect& r);
QSize clientSize(const forms::Form& form);

// A form colour, system colours resolved.
QColor toQColor(forms::Colour c);
// A Windows-1252 caption for the screen; CR LF and lone CR become line breaks.
QString toScreenText(std::string_view cp1252);

// Paints the form over the whole of image, which must be Format_RGB32 and whose
// devicePixelRatio says how many device pixels make a logical one.
void paintForm(const forms::Form& form, QImage& image);

// A fresh image of the form at the given device pixel ratio.
QImage renderForm(const forms::Form& form, qreal devicePixelRatio = 1.0);

// Combines a filled shape with the pixels under it through its raster operation:
// fill and border each touch a pixel once, so the not-xor and mask modes tint the
// artwork instead of cancelling out. Exposed for the raster-operation tests.
void compositeShape(const forms::Shape& shape, QImage& image);

}  // namespace qthost
