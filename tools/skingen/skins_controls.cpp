// Common controls: push, check and radio buttons, combo box, edit, spin arrows,
// slider, scroll bars, list item marks, dialog background and tip balloons.
#include <cmath>

#include "tools/skingen/glyphs.h"
#include "tools/skingen/painters.h"
#include "tools/skingen/theme.h"

namespace skingen {

namespace {

using namespace theme;

// A raised button plate in one of the four push-button states. The corner radius
// stays well inside the nine-grid corner (10 pixels) the buttons use.
void ButtonPlate(cairo_t* cr, int state, double w, double h, double radius) {
  const StateLook look = ButtonLook(state);
  VerticalGradientBox(cr, 0, 0, w, h, radius, look.fill_top, look.fill_bottom);
  StrokeRoundedBox(cr, 0, 0, w, h, radius, look.line);
  if (state == 0 || state == 1) {  // top highlight
    SetColour(cr, kWhite, 0.06);
    cairo_rectangle(cr, radius, 1, w - 2 * radius, 1);
    cairo_fill(cr);
  }
}

void PaintApply(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [](cairo_t* c, int state, double w, double h) { ButtonPlate(c, state, w, h, 5); });
}

// Check and radio marks: pictures 0-3 unchecked, 4-7 checked, each normal, hover,
// pressed, disabled.
struct MarkLook {
  Rgb fill;
  Rgb line;
  Rgb tick;
};

MarkLook CheckMarkLook(int picture) {
  const bool checked = picture >= 4;
  switch (picture & 3) {
    case 1: return checked ? MarkLook{0x3DBBFF, 0x7FD3FF, kWhite} : MarkLook{0x0B2440, kAccent, kWhite};
    case 2: return checked ? MarkLook{kAccentDeep, kAccent, kWhite} : MarkLook{0x0B3358, kAccent, kWhite};
    case 3: return checked ? MarkLook{0x2A3440, 0x2A3440, 0x5A6470} : MarkLook{kDisabledFill, kDisabledLine, 0};
    default: return checked ? MarkLook{kAccent, kAccent, kWhite} : MarkLook{kEditBack, 0x3A4C66, kWhite};
  }
}

void PaintCheckbox(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [](cairo_t* c, int picture, double w, double h) {
    const MarkLook look = CheckMarkLook(picture);
    FillRoundedBox(c, 2, 2, w - 4, h - 4, 3, look.fill);
    StrokeRoundedBox(c, 2, 2, w - 4, h - 4, 3, look.line);
    if (picture >= 4) {
      cairo_move_to(c, 5.5, 10.5);
      cairo_line_to(c, 8.5, 13.5);
      cairo_line_to(c, 14.5, 6.5);
      SetColour(c, look.tick);
      cairo_set_line_width(c, 2);
      cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
      cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
      cairo_stroke(c);
    }
  });
}

void PaintRadio(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [](cairo_t* c, int picture, double w, double h) {
    MarkLook look = CheckMarkLook(picture);
    const double cx = w / 2, cy = h / 2;
    cairo_arc(c, cx, cy, 7.5, 0, 2 * M_PI);
    SetColour(c, picture >= 4 ? kEditBack : look.fill);
    cairo_fill_preserve(c);
    SetColour(c, look.line);
    cairo_set_line_width(c, picture >= 4 ? 2 : 1);
    cairo_stroke(c);
    if (picture >= 4) {
      cairo_arc(c, cx, cy, 3.5, 0, 2 * M_PI);
      SetColour(c, look.fill);
      cairo_fill(c);
    }
  });
}

// Combo box, drawn with margins (8, 8, 36, 8): the arrow lives in the right 36 pixels.
void PaintCombo(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [](cairo_t* c, int state, double w, double h) {
    const bool disabled = state == 3;
    FillRoundedBox(c, 0, 0, w, h, 4, disabled ? kDisabledFill : kEditBack);
    const Rgb line = disabled ? kDisabledLine : state == 0 ? 0x33445C : kAccent;
    StrokeRoundedBox(c, 0, 0, w, h, 4, line);
    SetColour(c, line, 0.6);
    cairo_rectangle(c, w - 34, 6, 1, h - 12);
    cairo_fill(c);
    const Rgb arrow = disabled ? kDisabledGlyph : state == 0 ? kText : state == 1 ? kWhite : kAccent;
    DrawGlyph(c, state == 2 ? Glyph::kChevronUp : Glyph::kChevronDown, w - 28, (h - 18) / 2, 18, arrow);
  });
}

// Edit field (nine-grid, frame 4): 0 normal, 1 hover, 2 editing, 3 disabled.
void PaintEdit(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [](cairo_t* c, int state, double w, double h) {
    const bool disabled = state == 3;
    FillRoundedBox(c, 0, 0, w, h, 3, disabled ? kDisabledFill : kEditBack);
    const Rgb line = disabled ? kDisabledLine : state == 0 ? 0x33445C : state == 1 ? 0x5DA9D8 : kAccent;
    StrokeRoundedBox(c, 0, 0, w, h, 3, line);
  });
}

void PaintSpin(cairo_t* cr, const SkinImage& image, Glyph glyph) {
  ForEachCell(cr, image, [glyph](cairo_t* c, int state, double w, double h) {
    if (state == 1 || state == 2) FillRoundedBox(c, 0, 0, w, h, 2, state == 1 ? kRaisedHover : kAccentDeep);
    DrawGlyph(c, glyph, (w - 14) / 2, (h - 14) / 2, 14, GlyphColour(state));
  });
}
void PaintSpinUp(cairo_t* cr, const SkinImage& image) { PaintSpin(cr, image, Glyph::kChevronUp); }
void PaintSpinDown(cairo_t* cr, const SkinImage& image) { PaintSpin(cr, image, Glyph::kChevronDown); }

// Slider track: row 0 the filled part, row 1 the empty part.
void PaintSliderTrack(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [](cairo_t* c, int row, double w, double h) {
    if (row == 0) {
      // Flat: the slider shows only the first columns of this row, however wide.
      FillRoundedBox(c, 0, 0, w, h, h / 2, kAccent);
    } else {
      FillRoundedBox(c, 0, 0, w, h, h / 2, 0x1F2A3A);
    }
  });
}

// Slider thumb: a knob centred on the track's row (y 15 to 21 of the slider).
void PaintThumb(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [](cairo_t* c, int state, double w, double) {
    const double cx = w / 2, cy = 18;
    if (state == 1 || state == 2) {
      cairo_arc(c, cx, cy, 9.5, 0, 2 * M_PI);
      SetColour(c, kAccent, 0.3);
      cairo_fill(c);
    }
    cairo_arc(c, cx, cy, 7, 0, 2 * M_PI);
    const Rgb face = state == 3 ? 0x3A4350 : state == 2 ? kAccent : 0xEAF2FA;
    SetColour(c, face);
    cairo_fill_preserve(c);
    SetColour(c, state == 3 ? kDisabledLine : state == 2 ? kWhite : kAccent);
    cairo_set_line_width(c, 2);
    cairo_stroke(c);
  });
}

// Vertical bar: picture 0 the track, 1 thumb under the pointer, 2 thumb at rest,
// 3 thumb dragged; each drawn with 6-pixel caps.
Rgb ScrollThumb(int picture) {
  return picture == 1 ? 0x4F7FAE : picture == 3 ? kAccent : 0x34445A;
}

void PaintScrollV(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [](cairo_t* c, int picture, double w, double h) {
    if (picture == 0)
      FillRoundedBox(c, 1, 0, w - 2, h, 3, 0x121A26);
    else
      FillRoundedBox(c, 1, 0, w - 2, h, 3, ScrollThumb(picture));
  });
}

// Horizontal bar: rows 0 track, 1 thumb normal, 2 hover, 3 dragged; the control
// reads a picture as the first third of a row, so every third carries it.
void PaintScrollH(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [&image](cairo_t* c, int cell, double w, double h) {
    const int row = cell / image.columns;
    const Rgb colour = row == 0 ? 0x121A26 : row == 1 ? 0x34445A : row == 2 ? 0x4F7FAE : kAccent;
    FillRoundedBox(c, 0, 1, w, h - 2, 3, colour);
  });
}

// List item mark: 0 plain, 1 selected.
void PaintCircle(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [](cairo_t* c, int picture, double w, double h) {
    cairo_arc(c, w / 2, h / 2, 5.5, 0, 2 * M_PI);
    SetColour(c, picture ? kAccent : kTextDim);
    cairo_set_line_width(c, 1.5);
    cairo_stroke(c);
    if (picture) {
      cairo_arc(c, w / 2, h / 2, 3, 0, 2 * M_PI);
      SetColour(c, kAccent);
      cairo_fill(c);
    }
  });
}

// Message box background, stretched as a nine-grid with corner 30.
void PaintPrompt(cairo_t* cr, const SkinImage& image) {
  const double w = image.Width(), h = image.Height();
  VerticalGradientBox(cr, 0, 0, w, h, 6, 0x142031, 0x0C121B);
  StrokeRoundedBox(cr, 0, 0, w, h, 6, kAccent, 0.55);
  FillRoundedBox(cr, 30, 1, w - 60, 2, 1, kAccent);
}

// Tip and balloon background (nine-grid, corner 6). The key tip writes white and
// light grey on it and the balloon near-black, so it is a mid-tone accent blue.
void PaintTipBack(cairo_t* cr, const SkinImage& image) {
  const double w = image.Width(), h = image.Height();
  VerticalGradientBox(cr, 0, 0, w, h, 5, 0x2493D6, kTipBack);
  StrokeRoundedBox(cr, 0, 0, w, h, 5, 0x6CC8FF);
}

void PaintTriangle(cairo_t* cr, double x1, double y1, double x2, double y2, double x3, double y3) {
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_line_to(cr, x3, y3);
  cairo_close_path(cr);
  SetColour(cr, kTipBack);
  cairo_fill(cr);
}
void PaintArrowLeft(cairo_t* cr, const SkinImage& i) { PaintTriangle(cr, i.Width(), 0, i.Width(), i.Height(), 0, i.Height() / 2.0); }
void PaintArrowRight(cairo_t* cr, const SkinImage& i) { PaintTriangle(cr, 0, 0, 0, i.Height(), i.Width(), i.Height() / 2.0); }
void PaintArrowTop(cairo_t* cr, const SkinImage& i) { PaintTriangle(cr, 0, i.Height(), i.Width(), i.Height(), i.Width() / 2.0, 0); }

// Layer buttons: "_p" for the selected layer (accent), "_n" for the other.
void PaintLayerSelected(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [](cairo_t* c, int state, double w, double h) {
    if (state == 3) {
      ButtonPlate(c, 3, w, h, 5);
      return;
    }
    const Rgb top = state == 1 ? 0x3DBBFF : state == 2 ? kAccentDeep : kAccent;
    const Rgb bottom = state == 2 ? 0x0A5A88 : Mix(top, kAccentDeep, 0.5);
    VerticalGradientBox(c, 0, 0, w, h, 5, top, bottom);
    StrokeRoundedBox(c, 0, 0, w, h, 5, state == 1 ? 0x9FDEFF : kAccent);
  });
}

void PaintLayerNormal(cairo_t* cr, const SkinImage& image) { PaintApply(cr, image); }

// Cells of the key function picker: 0 normal, 1 hover, 2 checked or current.
void PaintCustomKey(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [](cairo_t* c, int state, double w, double h) {
    switch (state) {
      case 1:
        FillRoundedBox(c, 0, 0, w, h, 3, 0x233349);
        StrokeRoundedBox(c, 0, 0, w, h, 3, kAccent);
        break;
      case 2:
        FillRoundedBox(c, 0, 0, w, h, 3, 0x0C5E8E);
        StrokeRoundedBox(c, 0, 0, w, h, 3, kAccent);
        break;
      case 3:
        FillRoundedBox(c, 0, 0, w, h, 3, kDisabledFill);
        StrokeRoundedBox(c, 0, 0, w, h, 3, kDisabledLine);
        break;
      default:
        FillRoundedBox(c, 0, 0, w, h, 3, 0x182130);
        StrokeRoundedBox(c, 0, 0, w, h, 3, 0x2A3647);
    }
  });
}

}  // namespace

void AddControlPainters(PainterTable& table) {
  table["btn_apply.png"] = PaintApply;
  table["btn_checkbox.png"] = PaintCheckbox;
  table["btn_radiobox.png"] = PaintRadio;
  table["img_combobox.png"] = PaintCombo;
  table["img_edit.png"] = PaintEdit;
  table["img_spin_up.png"] = PaintSpinUp;
  table["img_spin_down.png"] = PaintSpinDown;
  table["img_slider_back.png"] = PaintSliderTrack;
  table["img_thumb.png"] = PaintThumb;
  table["img_scroll_v.png"] = PaintScrollV;
  table["img_scroll_h.png"] = PaintScrollH;
  table["icon/icon_circle.png"] = PaintCircle;
  table["bk_prompt.png"] = PaintPrompt;
  table["img_tip_bk.png"] = PaintTipBack;
  table["img_tip_arrow_left.png"] = PaintArrowLeft;
  table["img_tip_arrow_right.png"] = PaintArrowRight;
  table["img_tip_arrow_top.png"] = PaintArrowTop;
  table["img_btn_layer_p.png"] = PaintLayerSelected;
  table["img_btn_layer_n.png"] = PaintLayerNormal;
  table["img_customkey.png"] = PaintCustomKey;
}

}  // namespace skingen
