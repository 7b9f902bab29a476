// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The control kit: every control is plain data. Handlers change properties; the host
// reads them and repaints the whole window after every event. Positions and sizes are
// in twips (15 to a pixel on a 96 dpi screen), relative to the window's client area.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/colour.h"
#include "platform/forms/raster_op.h"

namespace forms {

constexpr int kTwipsPerPixel = 15;

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool contains(int x, int y) const {
    return x >= left && y >= top && x < left + width && y < top + height;
  }
};

enum class Alignment { Left, Right, Center };

// Two typefaces stand in the layout: the serif and the sans-serif one. The host picks
// the installed faces that play their parts.
enum class Typeface { Serif, SansSerif };

struct Font {
  Typeface face = Typeface::SansSerif;
  double points = 8.25;
  bool bold = true;
};

// A font's height in pixels on a screen of `dpi` dots to the inch; at 96 (a pixel of the
// board) 8.25 pt is 11 px and 24 pt is 32 px. The layout's rects were made for those
// sizes, so windows size their fonts in pixels, and scale the whole board instead.
inline int pixelSize(double points, double dpi = 96) {
  const long pixels = std::lround(points * dpi / 72.0);
  return pixels < 1 ? 1 : static_cast<int>(pixels);
}

enum class Kind { Label, Shape, Line, TextBox, ListBox, DirListBox, Image, Timer };

// Event handlers: a control array passes the element's index, others pass -1.
using Handler = std::function<void(int index)>;

struct Control {
  explicit Control(Kind k) : kind(k) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const Kind kind;
  std::string name;
  int index = -1;  // position in its control array, -1 for a single control
  Rect rect;
  bool visible = true;
  bool enabled = true;

  // Bound by the form; empty when the control has no such handler. A control that
  // the mouse is over swallows the event even without a handler, as a real one would.
  Handler onClick;
  // The second press of a double-click raises this instead of a second Click.
  Handler onDblClick;
  Handler onMouseMove;

  // Whether the mouse can reach this control at all (shapes and lines are drawings).
  bool takesMouse() const {
    return kind == Kind::Label || kind == Kind::TextBox || kind == Kind::Image ||
           kind == Kind::ListBox;
  }
};

struct Label : Control {
  Label() : Control(Kind::Label) {}
  std::string caption;  // Windows-1252
  Font font;
  Alignment alignment = Alignment::Left;
  Colour foreColor = kWindowText;
  Colour backColor = kButtonFace;
  bool opaque = false;  // transparent labels let the artwork show through
  bool border = false;  // single-line border
  // Shown on one line, in a smaller size of its font when it would not fit the width
  // at its own; a caption that fits looks as it would without this.
  bool shrinkToFit = false;
};

enum class ShapeKind { Rectangle, Circle, RoundedRectangle };

struct Shape : Control {
  Shape() : Control(Kind::Shape) {}
  ShapeKind shape = ShapeKind::Rectangle;
  bool filled = false;  // false: outline only
  Colour fillColor = 0;
  Colour borderColor = 0;
  int borderWidth = 1;  // pixels
  DrawMode drawMode = DrawMode::CopyPen;
};

struct Line : Control {
  Line() : Control(Kind::Line) {}
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // twips
  int borderWidth = 1;                 // pixels
  Colour borderColor = 0;
};

struct TextBox : Control {
  TextBox() : Control(Kind::TextBox) {}
  std::string text;   // Windows-1252
  int maxLength = 0;  // 0: no limit
  Font font;
  Alignment alignment = Alignment::Left;
  Colour foreColor = kWindowText;
  Colour backColor = kWindowBackground;
};

struct ListBox : Control {
  ListBox() : Control(Kind::ListBox) {}
  std::vector<std::string> items;
  void AddItem(std::string item) { items.push_back(std::move(item)); }
  void Clear() { items.clear(); }
  int ListCount() const { return static_cast<int>(items.size()); }
};

struct DirListBox : Control {
  DirListBox() : Control(Kind::DirListBox) {}
  std::string Path;  // native path, as the system gave it
};

struct Image : Control {
  Image() : Control(Kind::Image) {}
  int picture = 0;  // icon resource number; 0 = none
};

struct Timer : Control {
  Timer() : Control(Kind::Timer) {}
  int interval = 0;  // milliseconds
  Handler onTimer;
};

// The window's pointer.
enum class MousePointer { Default = 0, Arrow = 1, Custom = 99 };

}  // namespace forms
