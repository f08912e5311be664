// The main window's frame: background, caption, logo, system buttons, battery
// and connection pictures, the device list rows and the tab strip.
#include <cmath>

#include "tools/skingen/glyphs.h"
#include "tools/skingen/painters.h"
#include "tools/skingen/theme.h"

namespace skingen {

namespace {

using namespace theme;

void PaintBackground(cairo_t* cr, const SkinImage& image) {
  const double w = image.Width(), h = image.Height();
  SetColour(cr, kBackground);
  cairo_paint(cr);
  // A faint accent glow behind the keyboard area and a darker floor.
  cairo_pattern_t* glow = cairo_pattern_create_radial(w * 0.55, h * 0.45, 0, w * 0.55, h * 0.45, w * 0.55);
  cairo_pattern_add_color_stop_rgba(glow, 0, 0x10 / 255.0, 0xA8 / 255.0, 0xFD / 255.0, 0.07);
  cairo_pattern_add_color_stop_rgba(glow, 1, 0x10 / 255.0, 0xA8 / 255.0, 0xFD / 255.0, 0.0);
  cairo_set_source(cr, glow);
  cairo_paint(cr);
  cairo_pattern_destroy(glow);
  cairo_pattern_t* floor = cairo_pattern_create_linear(0, h * 0.6, 0, h);
  cairo_pattern_add_color_stop_rgba(floor, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(floor, 1, 0, 0, 0, 0.25);
  cairo_set_source(cr, floor);
  cairo_paint(cr);
  cairo_pattern_destroy(floor);
}

void PaintCaption(cairo_t* cr, const SkinImage& image) {
  const double w = image.Width(), h = image.Height();
  VerticalGradientBox(cr, 0, 0, w, h, 0, 0x131B27, 0x0D131C);
  SetColour(cr, kLine, 0.8);
  cairo_rectangle(cr, 0, h - 1, w, 1);
  cairo_fill(cr);
  // Accent line under the centred title, fading out to both sides.
  cairo_pattern_t* line = cairo_pattern_create_linear(w / 2 - 260, 0, w / 2 + 260, 0);
  cairo_pattern_add_color_stop_rgba(line, 0, 0x10 / 255.0, 0xA8 / 255.0, 0xFD / 255.0, 0);
  cairo_pattern_add_color_stop_rgba(line, 0.5, 0x10 / 255.0, 0xA8 / 255.0, 0xFD / 255.0, 1);
  cairo_pattern_add_color_stop_rgba(line, 1, 0x10 / 255.0, 0xA8 / 255.0, 0xFD / 255.0, 0);
  cairo_set_source(cr, line);
  cairo_rectangle(cr, w / 2 - 260, h - 2, 520, 2);
  cairo_fill(cr);
  cairo_pattern_destroy(line);
}

// The brand mark: a two-stroke "V" in the accent colour.
void PaintMark(cairo_t* cr, double x, double y, double size) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, size / 24.0, size / 24.0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 3.2);
  SetColour(cr, kAccent);
  cairo_move_to(cr, 4, 5);
  cairo_line_to(cr, 12, 19);
  cairo_line_to(cr, 20, 5);
  cairo_stroke(cr);
  SetColour(cr, kWhite, 0.9);
  cairo_set_line_width(cr, 1.6);
  cairo_move_to(cr, 9, 5);
  cairo_line_to(cr, 12, 10.5);
  cairo_line_to(cr, 15, 5);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void PaintLogo(cairo_t* cr, const SkinImage& image) {
  PaintMark(cr, 2, 4, 24);
  DrawText(cr, "VANTOR", 32, 0, image.Width() - 32, image.Height(), 20, kWhite, Align::kLeft, true);
}

// Flat system button: glyph only at rest, a plate under the pointer and pressed.
void PaintSystemButton(cairo_t* cr, const SkinImage& image, Glyph glyph, Rgb hover_plate) {
  ForEachCell(cr, image, [&](cairo_t* c, int state, double w, double h) {
    if (state == 1) FillRoundedBox(c, 0, 0, w, h, 4, hover_plate);
    if (state == 2) FillRoundedBox(c, 0, 0, w, h, 4, Mix(hover_plate, 0x000000, 0.3));
    const Rgb ink = state == 3 ? kDisabledGlyph : state == 0 ? kText : kWhite;
    DrawGlyph(c, glyph, (w - 16) / 2, (h - 16) / 2, 16, ink);
  });
}

void PaintClose(cairo_t* cr, const SkinImage& image) { PaintSystemButton(cr, image, Glyph::kClose, kDanger); }
void PaintMinimise(cairo_t* cr, const SkinImage& image) { PaintSystemButton(cr, image, Glyph::kMinimise, kRaisedHover); }
void PaintWebsite(cairo_t* cr, const SkinImage& image) { PaintSystemButton(cr, image, Glyph::kGlobe, kRaisedHover); }

// Battery: a 2-pixel outline whose inside runs from x 2 to 39 (the level
// segments land at x 3 ... 38) and a nub on the right.
void PaintBatteryFrame(cairo_t* cr, const SkinImage&) {
  RoundedRect(cr, 1, 1, 39, 22, 3);
  SetColour(cr, kText);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  FillRoundedBox(cr, 41, 8, 3, 8, 1, kText);
}

// The level strip: segments are copied from its columns, so it is one solid band
// from x 3 to the right end, inside the frame's rows.
void PaintBatteryLevel(cairo_t* cr, const SkinImage& image) {
  SetColour(cr, 0x3DDC84);
  cairo_rectangle(cr, 3, 4, image.Width() - 3, 16);
  cairo_fill(cr);
}

void PaintCharge(cairo_t* cr, const SkinImage&) {
  cairo_move_to(cr, 8, 0);
  cairo_line_to(cr, 1, 11);
  cairo_line_to(cr, 5.5, 11);
  cairo_line_to(cr, 4, 20);
  cairo_line_to(cr, 11, 8.5);
  cairo_line_to(cr, 6.5, 8.5);
  cairo_close_path(cr);
  SetColour(cr, 0xFFD23F);
  cairo_fill(cr);
}

void PaintModeIcon(cairo_t* cr, const SkinImage& image, Glyph glyph, const char* label) {
  DrawGlyph(cr, glyph, 0, 2, 18, kAccent);
  DrawText(cr, label, 18, 0, image.Width() - 18, image.Height(), 10, kText, Align::kCentre, true);
}
void PaintModeUsb(cairo_t* cr, const SkinImage& image) { PaintModeIcon(cr, image, Glyph::kUsb, "USB"); }
void PaintMode24g(cairo_t* cr, const SkinImage& image) { PaintModeIcon(cr, image, Glyph::kWireless, "2.4G"); }

// Device row, stretched as a nine-grid with corner 12: picture 0 offline, 1 connected.
void PaintDeviceState(cairo_t* cr, const SkinImage& image) {
  ForEachCell(cr, image, [](cairo_t* c, int state, double w, double h) {
    if (state == 0) {
      FillRoundedBox(c, 0, 0, w, h, 6, kPanel);
      StrokeRoundedBox(c, 0, 0, w, h, 6, kDisabledLine);
      return;
    }
    VerticalGradientBox(c, 0, 0, w, h, 6, 0x173250, 0x10243A);
    StrokeRoundedBox(c, 0, 0, w, h, 6, kAccent, 0.85);
    FillRoundedBox(c, 3, 9, 3, h - 18, 1.5, kAccent);
  });
}

// Tab items: 0 normal, 1 pointer over it, 2 pressed (also the selected tab). The
// icon sits in the upper part; the tab's title is drawn below it by the control.
void PaintTab(cairo_t* cr, const SkinImage& image, Glyph glyph) {
  ForEachCell(cr, image, [glyph](cairo_t* c, int state, double w, double h) {
    Rgb ink = kTextDim;
    if (state == 1) {
      FillRoundedBox(c, 6, 4, w - 12, h - 8, 6, kRaisedHover, 0.55);
      ink = kWhite;
    } else if (state == 2) {
      FillRoundedBox(c, 6, 4, w - 12, h - 8, 6, kAccent, 0.16);
      FillRoundedBox(c, 0, 16, 3, h - 32, 1.5, kAccent);
      ink = kAccent;
    }
    DrawGlyph(c, glyph, (w - 30) / 2, 14, 30, ink);
  });
}
void PaintTabHome(cairo_t* cr, const SkinImage& image) { PaintTab(cr, image, Glyph::kHome); }
void PaintTabKeys(cairo_t* cr, const SkinImage& image) { PaintTab(cr, image, Glyph::kKeyboard); }
void PaintTabMacro(cairo_t* cr, const SkinImage& image) { PaintTab(cr, image, Glyph::kMacro); }
void PaintTabLight(cairo_t* cr, const SkinImage& image) { PaintTab(cr, image, Glyph::kLight); }
void PaintTabConfig(cairo_t* cr, const SkinImage& image) { PaintTab(cr, image, Glyph::kGear); }

// Page title icons beside the page title.
void PaintPageIcon(cairo_t* cr, const SkinImage& image, Glyph glyph) {
  DrawGlyph(cr, glyph, 2, 2, image.Width() - 4, kAccent);
}
void PaintPageKeyboard(cairo_t* cr, const SkinImage& image) { PaintPageIcon(cr, image, Glyph::kKeyboard); }
void PaintPageMacro(cairo_t* cr, const SkinImage& image) { PaintPageIcon(cr, image, Glyph::kMacro); }
void PaintPageLight(cairo_t* cr, const SkinImage& image) { PaintPageIcon(cr, image, Glyph::kLight); }
void PaintPageConfig(cairo_t* cr, const SkinImage& image) { PaintPageIcon(cr, image, Glyph::kGear); }

}  // namespace

void AddFramePainters(PainterTable& table) {
  table["main_bkg.png"] = PaintBackground;
  table["pic_caption.png"] = PaintCaption;
  table["logo/logo.png"] = PaintLogo;
  table["main_sysbtn_close.png"] = PaintClose;
  table["main_sysbtn_min.png"] = PaintMinimise;
  table["main_sysbtn_website.png"] = PaintWebsite;
  table["icon/icon_battery_bkg.png"] = PaintBatteryFrame;
  table["icon/icon_batteryvalue.png"] = PaintBatteryLevel;
  table["icon/icon_charge.png"] = PaintCharge;
  table["icon/mode_usb.png"] = PaintModeUsb;
  table["icon/mode_24g.png"] = PaintMode24g;
  table["img_device_state.png"] = PaintDeviceState;
  table["icon/tab_home.png"] = PaintTabHome;
  table["icon/tab_customkey.png"] = PaintTabKeys;
  table["icon/tab_macro.png"] = PaintTabMacro;
  table["icon/tab_light.png"] = PaintTabLight;
  table["icon/tab_config.png"] = PaintTabConfig;
  table["icon/icon_keyboard.png"] = PaintPageKeyboard;
  table["icon/icon_macro.png"] = PaintPageMacro;
  table["icon/icon_lightmode.png"] = PaintPageLight;
  table["icon/icon_config.png"] = PaintPageConfig;
}

// Shared with the program icon.
void PaintBrandMark(cairo_t* cr, double x, double y, double size) { PaintMark(cr, x, y, size); }

}  // namespace skingen
