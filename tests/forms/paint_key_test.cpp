// SPDX-License-Identifier: GPL-3.0-or-later
// The window repaints only when the paint key moves, so a painted property that the
// key leaves out is a change the player never sees. Every such property is changed here
// in turn, on a control of each kind.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/form.h"
#include "platform/forms/paint_key.h"

namespace {

using forms::rgb;

struct EveryKind : forms::Form {
  forms::Label label;
  forms::Shape shape;
  forms::Line line;
  forms::TextBox box;
  forms::ListBox list;
  forms::DirListBox dir;
  forms::Image image;
  EveryKind() {
    clientWidth = 8070;
    clientHeight = 5820;
    picture = "board";
    label.caption = "PAROLA";
    list.items = {"CASA"};
    dir.Path = "/partite";
    image.picture = 101;
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&label, &shape, &line, &box, &list, &dir, &image})
      add(*c);
  }
};

using Change = std::pair<const char*, std::function<void(EveryKind&)>>;

const std::vector<Change>& paintedChanges() {
  static const std::vector<Change> changes = {
      {"form picture", [](EveryKind& f) { f.picture = "other"; }},
      {"form width", [](EveryKind& f) { f.clientWidth += 15; }},
      {"form height", [](EveryKind& f) { f.clientHeight += 15; }},
      {"rect left", [](EveryKind& f) { f.label.rect.left += 15; }},
      {"rect top", [](EveryKind& f) { f.shape.rect.top += 15; }},
      {"rect width", [](EveryKind& f) { f.image.rect.width += 15; }},
      {"rect height", [](EveryKind& f) { f.box.rect.height += 15; }},
      {"enabled", [](EveryKind& f) { f.label.enabled = false; }},
      {"visible", [](EveryKind& f) { f.line.visible = false; }},
      {"label caption", [](EveryKind& f) { f.label.caption = "PAROLE"; }},
      {"label face", [](EveryKind& f) { f.label.font.face = forms::Typeface::Serif; }},
      {"label size", [](EveryKind& f) { f.label.font.points = 12; }},
      {"label bold", [](EveryKind& f) { f.label.font.bold = !f.label.font.bold; }},
      {"label alignment", [](EveryKind& f) { f.label.alignment = forms::Alignment::Center; }},
      {"label fore colour", [](EveryKind& f) { f.label.foreColor = rgb(1, 2, 3); }},
      {"label back colour", [](EveryKind& f) { f.label.backColor = rgb(1, 2, 3); }},
      {"label opaque", [](EveryKind& f) { f.label.opaque = !f.label.opaque; }},
      {"label border", [](EveryKind& f) { f.label.border = !f.label.border; }},
      {"label shrink", [](EveryKind& f) { f.label.shrinkToFit = !f.label.shrinkToFit; }},
      {"shape kind", [](EveryKind& f) { f.shape.shape = forms::ShapeKind::Circle; }},
      {"shape filled", [](EveryKind& f) { f.shape.filled = !f.shape.filled; }},
      {"shape fill", [](EveryKind& f) { f.shape.fillColor = rgb(9, 9, 9); }},
      {"shape border colour", [](EveryKind& f) { f.shape.borderColor = rgb(9, 9, 9); }},
      {"shape border width", [](EveryKind& f) { f.shape.borderWidth = 3; }},
      {"shape draw mode", [](EveryKind& f) { f.shape.drawMode = forms::DrawMode::NotXorPen; }},
      {"line x1", [](EveryKind& f) { f.line.x1 += 15; }},
      {"line y1", [](EveryKind& f) { f.line.y1 += 15; }},
      {"line x2", [](EveryKind& f) { f.line.x2 += 15; }},
      {"line y2", [](EveryKind& f) { f.line.y2 += 15; }},
      {"line width", [](EveryKind& f) { f.line.borderWidth = 4; }},
      {"line colour", [](EveryKind& f) { f.line.borderColor = rgb(7, 7, 7); }},
      {"box text", [](EveryKind& f) { f.box.text = "ABC"; }},
      {"box font", [](EveryKind& f) { f.box.font.points = 14; }},
      {"box alignment", [](EveryKind& f) { f.box.alignment = forms::Alignment::Right; }},
      {"box fore colour", [](EveryKind& f) { f.box.foreColor = rgb(5, 5, 5); }},
      {"box back colour", [](EveryKind& f) { f.box.backColor = rgb(5, 5, 5); }},
      {"list item", [](EveryKind& f) { f.list.items[0] = "CASE"; }},
      {"list added", [](EveryKind& f) { f.list.items.push_back("ROSA"); }},
      {"dir path", [](EveryKind& f) { f.dir.Path = "/altrove"; }},
      {"image picture", [](EveryKind& f) { f.image.picture = 102; }},
  };
  return changes;
}

TEST(PaintKey, MovesWithEveryPaintedProperty) {
  for (const auto& [what, change] : paintedChanges()) {
    EveryKind form;
    const std::size_t before = forms::paintKey(form);
    change(form);
    EXPECT_NE(forms::paintKey(form), before) << what;
  }
}

TEST(PaintKey, StaysForWhatIsNotPainted) {
  EveryKind form;
  const std::size_t key = forms::paintKey(form);
  EXPECT_EQ(forms::paintKey(EveryKind()), key) << "the same form paints the same";
  form.label.name = "other";
  form.label.onClick = [](int) {};
  form.box.maxLength = 3;
  EXPECT_EQ(forms::paintKey(form), key);
  // Hidden, a control's properties do not show.
  form.label.visible = false;
  const std::size_t hidden = forms::paintKey(form);
  form.label.caption = "NASCOSTA";
  form.label.foreColor = rgb(1, 1, 1);
  EXPECT_EQ(forms::paintKey(form), hidden);
}

}  // namespace
