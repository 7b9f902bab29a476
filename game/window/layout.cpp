// SPDX-License-Identifier: GPL-3.0-or-later
// The window as it is designed: every control with its content, place, size (twips),
// font, colours and visibility, bottom-most first. Start-up then sets what changes.
#include "game/resources/resource_ids.h"
#include "game/window/form1.h"
#include "game/window/text.h"

using forms::Alignment;
using forms::DrawMode;
using forms::Font;
using forms::Rect;
using forms::rgb;
using forms::ShapeKind;
using forms::Typeface;

namespace {

Font serif(double points) { return {Typeface::Serif, points, true}; }
Font sans(double points) { return {Typeface::SansSerif, points, true}; }

struct LabelLook {
  Font font = sans(8.25);
  Alignment alignment = Alignment::Left;
  forms::Colour fore = forms::kWindowText;
  bool visible = true;
};

void label(forms::Label& c, const char* name, const char* caption, Rect r, LabelLook look,
           int index = -1) {
  c.name = name;
  c.index = index;
  c.caption = cp1252(caption);
  c.rect = r;
  c.font = look.font;
  c.alignment = look.alignment;
  c.foreColor = look.fore;
  c.visible = look.visible;
}

// A hidden label that only stores a value.
void store(forms::Label& c, const char* name, const char* caption, Rect r) {
  label(c, name, caption, r, {.visible = false});
}

struct ShapeLook {
  ShapeKind shape = ShapeKind::Rectangle;
  bool filled = false;
  forms::Colour fill = 0;
  DrawMode mode = DrawMode::CopyPen;
  int borderWidth = 1;
  bool visible = true;
};

void shape(forms::Shape& c, const char* name, Rect r, ShapeLook look) {
  c.name = name;
  c.rect = r;
  c.shape = look.shape;
  c.filled = look.filled;
  c.fillColor = look.fill;
  c.drawMode = look.mode;
  c.borderWidth = look.borderWidth;
  c.visible = look.visible;
}

ShapeLook tint(forms::Colour fill, DrawMode mode, bool visible = true,
               ShapeKind kind = ShapeKind::Rectangle) {
  return {.shape = kind, .filled = true, .fill = fill, .mode = mode, .visible = visible};
}

ShapeLook outline(int width = 1, ShapeKind kind = ShapeKind::Rectangle) {
  return {.shape = kind, .borderWidth = width};
}

void line(forms::Line& c, const char* name, int index, int x1, int y1, int x2, int y2, int width) {
  c.name = name;
  c.index = index;
  c.x1 = x1, c.y1 = y1, c.x2 = x2, c.y2 = y2;
  c.borderWidth = width;
  c.rect = {std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1)};
}

}  // namespace

void Form1::layOut() {
  caption = cp1252("LEMMARO - un gioco di parole della squadra Lemmaro");
  clientWidth = 8070;
  clientHeight = 5820;
  picture = "board";

  const auto C = Alignment::Center;
  const auto R = Alignment::Right;
  const auto hidden = false;

  // Decorative panels: the tinted ones colour the artwork beneath them.
  shape(Shape1, "Shape1", {120, 120, 5175, 3375}, outline(1, ShapeKind::RoundedRectangle));
  shape(Shape2, "Shape2", {120, 4080, 5175, 1575}, outline(1, ShapeKind::RoundedRectangle));
  shape(Shape3, "Shape3", {5400, 120, 2535, 3375}, outline(1, ShapeKind::RoundedRectangle));
  shape(Shape4, "Shape4", {5640, 600, 2055, 255}, tint(rgb(192, 0, 0), DrawMode::MergePen));
  shape(Shape5, "Shape5", {5640, 240, 2055, 375}, tint(rgb(255, 128, 128), DrawMode::MergePen));
  shape(Shape6, "Shape6", {5640, 240, 2055, 855}, outline(2));
  shape(Shape7, "Shape7", {5640, 5100, 1815, 375}, tint(rgb(192, 0, 0), DrawMode::MergePen));
  shape(Shape8, "Shape8", {5880, 4320, 1815, 615}, tint(rgb(255, 0, 0), DrawMode::MergePen));
  shape(Shape9, "Shape9", {5880, 4320, 1815, 1215}, outline(2));
  shape(Shape10, "Shape10", {5520, 1080, 2535, 375}, tint(rgb(128, 0, 0), DrawMode::MergePen));
  shape(Shape11, "Shape11", {5520, 1800, 2295, 615}, tint(rgb(0, 0, 255), DrawMode::MergePen));
  shape(Shape12, "Shape12", {5520, 1560, 2295, 855}, outline(2));
  shape(Shape13, "Shape13", {5520, 1560, 2295, 255}, tint(rgb(255, 0, 0), DrawMode::MergePen));
  shape(Shape14, "Shape14", {5520, 1560, 2295, 255}, outline(2));
  shape(Shape15, "Shape15", {5880, 2520, 1455, 255}, tint(rgb(0, 0, 0), DrawMode::NotXorPen));
  line(Line1[0], "Line1", 0, 5760, 1080, 7680, 1080, 4);
  line(Line1[1], "Line1", 1, 6000, 5520, 7680, 5520, 4);
  line(Line2[0], "Line2", 0, 7700, 360, 7700, 1080, 4);
  line(Line2[1], "Line2", 1, 7700, 4440, 7700, 5520, 4);
  line(Line3, "Line3", -1, 5400, 3120, 7920, 3120, 2);

  // The information panel.
  label(Label5, "Label5", "LIVELLO", {5760, 240, 1815, 375}, {serif(18), C});
  label(Livello, "Livello", "01", {6120, 600, 975, 615}, {serif(24), C});
  label(Punteggio, "Punteggio", "PUNTI", {5520, 1200, 1215, 375}, {sans(12)});
  label(Punti, "Punti", "000000", {6720, 1200, 1095, 375}, {serif(13.5), R});
  label(rectxt, "rectxt", "RECORD", {5520, 1530, 2295, 255}, {sans(12), C}, 0);
  label(record, "record", "1", {5640, 2040, 2175, 255}, {sans(8.25)});
  label(se, "se", "Giocatore", {6000, 2520, 1215, 255}, {sans(9.75), C});
  nome.name = "nome";
  nome.text = "CPU";
  nome.rect = {5880, 2760, 1455, 285};
  nome.font = sans(9.75);
  nome.alignment = C;
  nome.backColor = rgb(255, 224, 192);
  nome.maxLength = 3;
  label(ste, "ste", "SETTE:", {5640, 3120, 1215, 375}, {sans(13.5), {}, rgb(255, 128, 128)});
  shape(setteok, "setteok", {6800, 3160, 375, 255},
        tint(rgb(192, 0, 0), DrawMode::CopyPen, true, ShapeKind::Circle));
  label(Label6, "Label6", "TEMPO", {5880, 4440, 1815, 615}, {serif(24), C});
  label(TempoT, "TempoT", "00:00", {5880, 4920, 1815, 495}, {serif(18), C});

  // The message line.
  label(TESTO, "TESTO", "", {240, 360, 4935, 2895}, {sans(8.25)});

  // The two rows of tiles: the word row above, the letters below.
  for (int i = 0; i < 7; ++i) {
    label(scelta[i], "scelta", "", {240 + 720 * i, 4200, 615, 615}, {sans(24), C}, i);
    scelta[i].opaque = true;
    scelta[i].border = true;
    scelta[i].backColor = forms::kWindowBackground;
  }
  for (int i = 0; i < 7; ++i) {
    label(lettera[i], "lettera", "", {240 + 720 * i, 4920, 615, 615}, {sans(24), C}, i);
    lettera[i].opaque = true;
    lettera[i].border = true;
    lettera[i].backColor = forms::kInfoBackground;
  }

  // The confirm button: a red backing, a pressed look, a frame and the caption.
  shape(ButOK, "ButOK", {2040, 3600, 1455, 375}, tint(rgb(255, 0, 0), DrawMode::MergePen));
  shape(Cliccato, "Cliccato", {2040, 3600, 1455, 375},
        tint(rgb(255, 128, 128), DrawMode::MergePen, hidden));
  shape(linea, "linea", {2040, 3600, 1455, 375}, outline());
  label(OKAY, "OKAY", "Conferma", {2040, 3630, 1455, 375}, {serif(13.5), C, rgb(0, 0, 64)});

  // Sound switch.
  Image1.name = "Image1";
  Image1.rect = {240, 3480, 480, 480};
  Image1.picture = RES_ICON_AUDIO_ON;
  label(audiotxt, "audiotxt", "", {720, 3645, 1215, 255}, {serif(9.75)});

  // Hidden storage.
  store(Frase, "Frase", "FRASE", {6840, 3840, 1335, 375});
  store(label3, "label3", "TOT FRASI 7", {6480, 4080, 1215, 495});
  store(Label4, "Label4", "TOT FRASI", {5880, 3720, 1215, 255});
  List1.name = "List1";
  List1.rect = {3960, 3600, 1215, 255};
  List1.visible = false;
  List2.name = "List2";
  List2.rect = {5400, 3960, 1095, 255};
  List2.visible = false;
  Dir1.name = "Dir1";
  Dir1.rect = {7200, 3600, 855, 315};
  Dir1.visible = false;
  Timer1.name = "Timer1";
  Timer1.enabled = false;
  Timer1.interval = 1000;
  Timer1.visible = false;

  // Overlays, hidden at rest: each backing lies under its text.
  shape(permsk, "permsk", {240, 2760, 4935, 615},
        tint(rgb(0, 0, 0), DrawMode::MergePenNot, hidden, ShapeKind::RoundedRectangle));
  label(pertxt, "pertxt", "MOLTIPLICHI X 2", {240, 2840, 4935, 495},
        {serif(24), C, rgb(255, 255, 192), hidden});
  label(per, "per", "x2", {7200, 3030, 495, 495}, {sans(24), {}, rgb(0, 0, 192), hidden});
  shape(LivUpMsk, "LivUpMsk", {720, 1320, 3975, 855},
        tint(rgb(128, 128, 255), DrawMode::MaskNotPen, hidden));
  shape(Livlin, "Livlin", {720, 1320, 3975, 855}, outline(3));
  Livlin.visible = false;
  label(newlivel, "newlivel", "LIVELLO N°01", {720, 1560, 3975, 495},
        {serif(24), C, rgb(255, 255, 255), hidden});
  // Its longest text, the bonus with fifteen digits, would wrap out of the box.
  newlivel.shrinkToFit = true;
  label(Liv, "Liv", "PERFETTO!!!", {720, 1440, 3855, 375},
        {serif(18), C, rgb(255, 255, 128), hidden});
  label(liv2, "liv2", "NUOVO LIVELLO RAGGIUNTO!", {840, 1800, 3735, 255},
        {serif(9.75), C, rgb(255, 255, 255), hidden});
  shape(recmsk, "recmsk", {1200, 360, 3255, 495},
        tint(rgb(192, 0, 0), DrawMode::NotXorPen, hidden, ShapeKind::RoundedRectangle));
  label(newrec1, "newrec1", "NUOVO RECORD", {1440, 435, 2775, 375},
        {sans(13.5), C, rgb(255, 255, 128), hidden});
  shape(overmsk, "overmsk", {1440, 1320, 2775, 495},
        tint(rgb(0, 0, 192), DrawMode::NotXorPen, hidden));
  label(overtxt, "overtxt", "GAME OVER", {1560, 1365, 2295, 375},
        {sans(18), C, rgb(255, 255, 0), hidden});
  shape(giocamsk, "giocamsk", {2160, 1920, 1215, 375},
        tint(rgb(255, 0, 0), DrawMode::NotXorPen, hidden, ShapeKind::RoundedRectangle));
  label(gioca, "gioca", "GIOCA", {2160, 1920, 1215, 375},
        {sans(13.5), C, rgb(255, 128, 128), hidden});

  for (forms::Control* c : std::initializer_list<forms::Control*>{
           &Shape1,  &Shape2,    &Shape3,   &Shape4,   &Shape5,   &Shape6,  &Shape7,
           &Shape8,  &Shape9,    &Shape10,  &Shape11,  &Shape12,  &Shape13, &Shape14,
           &Shape15, &Line1[0],  &Line1[1], &Line2[0], &Line2[1], &Line3,   &Label5,
           &Livello, &Punteggio, &Punti,    &rectxt,   &record,   &se,      &nome,
           &ste,     &setteok,   &Label6,   &TempoT,   &TESTO})
    add(*c);
  for (auto& c : scelta) add(c);
  for (auto& c : lettera) add(c);
  for (forms::Control* c : std::initializer_list<forms::Control*>{
           &ButOK,    &Cliccato, &linea, &OKAY,   &Image1,  &audiotxt, &Frase,   &label3,   &Label4,
           &List1,    &List2,    &Dir1,  &Timer1, &permsk,  &pertxt,   &per,     &LivUpMsk, &Livlin,
           &newlivel, &Liv,      &liv2,  &recmsk, &newrec1, &overmsk,  &overtxt, &giocamsk, &gioca})
    add(*c);
}
