#include "tools/skingen/glyphs.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {

void Line(cairo_t* cr, double x1, double y1, double x2, double y2) {
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
}

void Polyline(cairo_t* cr, std::initializer_list<double> xy) {
  auto it = xy.begin();
  cairo_move_to(cr, it[0], it[1]);
  for (it += 2; it != xy.end(); it += 2) cairo_line_to(cr, it[0], it[1]);
}

void Circle(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
}

void Triangle(cairo_t* cr, double x1, double y1, double x2, double y2, double x3, double y3) {
  Polyline(cr, {x1, y1, x2, y2, x3, y3});
  cairo_close_path(cr);
}

void Speaker(cairo_t* cr) {
  Polyline(cr, {3, 9, 7, 9, 12, 5, 12, 19, 7, 15, 3, 15});
  cairo_close_path(cr);
}

// Each glyph strokes its outline (and fills where noted) on the 24-unit grid.
void Paint(cairo_t* cr, Glyph glyph) {
  switch (glyph) {
    case Glyph::kClose: Line(cr, 6, 6, 18, 18); Line(cr, 18, 6, 6, 18); break;
    case Glyph::kMinimise: Line(cr, 6, 16, 18, 16); break;
    case Glyph::kGlobe:
      Circle(cr, 12, 12, 8.5);
      cairo_save(cr); cairo_translate(cr, 12, 12); cairo_scale(cr, 0.45, 1);
      Circle(cr, 0, 0, 8.5); cairo_restore(cr);
      Line(cr, 3.5, 12, 20.5, 12);
      break;
    case Glyph::kPlus: Line(cr, 12, 5, 12, 19); Line(cr, 5, 12, 19, 12); break;
    case Glyph::kTrash:
      Line(cr, 4, 7, 20, 7); Polyline(cr, {9, 7, 9, 4, 15, 4, 15, 7});
      Polyline(cr, {6, 7, 7, 20, 17, 20, 18, 7}); Line(cr, 10, 11, 10, 16); Line(cr, 14, 11, 14, 16);
      break;
    case Glyph::kPencil:
      Polyline(cr, {4, 20, 5, 15, 16, 4, 20, 8, 9, 19});
      cairo_close_path(cr); Line(cr, 13.5, 6.5, 17.5, 10.5);
      break;
    case Glyph::kImport:
      Line(cr, 12, 3, 12, 14); Polyline(cr, {7.5, 9.5, 12, 14, 16.5, 9.5});
      Polyline(cr, {4, 14, 4, 20, 20, 20, 20, 14});
      break;
    case Glyph::kExport:
      Line(cr, 12, 14, 12, 3); Polyline(cr, {7.5, 7.5, 12, 3, 16.5, 7.5});
      Polyline(cr, {4, 14, 4, 20, 20, 20, 20, 14});
      break;
    case Glyph::kArrowUp: Line(cr, 12, 19, 12, 5); Polyline(cr, {6, 11, 12, 5, 18, 11}); break;
    case Glyph::kArrowDown: Line(cr, 12, 5, 12, 19); Polyline(cr, {6, 13, 12, 19, 18, 13}); break;
    case Glyph::kArrowLeft: Line(cr, 19, 12, 5, 12); Polyline(cr, {11, 6, 5, 12, 11, 18}); break;
    case Glyph::kArrowRight: Line(cr, 5, 12, 19, 12); Polyline(cr, {13, 6, 19, 12, 13, 18}); break;
    case Glyph::kChevronDown: Polyline(cr, {6, 9, 12, 15, 18, 9}); break;
    case Glyph::kChevronUp: Polyline(cr, {6, 15, 12, 9, 18, 15}); break;
    case Glyph::kHome:
      Polyline(cr, {3, 12, 12, 4, 21, 12}); Polyline(cr, {6, 10, 6, 20, 18, 20, 18, 10});
      Polyline(cr, {10, 20, 10, 14, 14, 14, 14, 20});
      break;
    case Glyph::kKeyboard:
      RoundedRect(cr, 2, 6, 20, 12, 2);
      for (int i = 0; i < 4; ++i) { Line(cr, 5.5 + 4 * i, 9.5, 6.5 + 4 * i, 9.5); }
      for (int i = 0; i < 3; ++i) { Line(cr, 7.5 + 4 * i, 12.5, 8.5 + 4 * i, 12.5); }
      Line(cr, 8, 15.2, 16, 15.2);
      break;
    case Glyph::kMacro:
      RoundedRect(cr, 3, 4, 18, 16, 2);
      Polyline(cr, {7, 16, 7, 8, 12, 13, 17, 8, 17, 16});
      break;
    case Glyph::kLight:
      Circle(cr, 12, 12, 4);
      for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        Line(cr, 12 + 7 * std::cos(a), 12 + 7 * std::sin(a), 12 + 9.5 * std::cos(a),
             12 + 9.5 * std::sin(a));
      }
      break;
    case Glyph::kGear: {
      Circle(cr, 12, 12, 3);
      cairo_new_sub_path(cr);
      for (int i = 0; i < 16; ++i) {
        const double a0 = i * M_PI / 8, a1 = (i + 1) * M_PI / 8;
        const double r = (i % 2 == 0) ? 9 : 6.8;
        if (i == 0) cairo_move_to(cr, 12 + r * std::cos(a0), 12 + r * std::sin(a0));
        cairo_line_to(cr, 12 + r * std::cos(a0), 12 + r * std::sin(a0));
        cairo_line_to(cr, 12 + r * std::cos(a1), 12 + r * std::sin(a1));
      }
      cairo_close_path(cr);
      break;
    }
    case Glyph::kMonitor:
      RoundedRect(cr, 3, 4, 18, 12, 1.5); Line(cr, 12, 16, 12, 20); Line(cr, 8, 20, 16, 20);
      break;
    case Glyph::kCalculator:
      RoundedRect(cr, 5, 3, 14, 18, 2); Line(cr, 8, 7, 16, 7);
      for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) Line(cr, 8.5 + 3.5 * c, 11 + 3.3 * r, 8.6 + 3.5 * c, 11 + 3.3 * r);
      break;
    case Glyph::kMail:
      RoundedRect(cr, 3, 6, 18, 12, 1.5); Polyline(cr, {3.5, 7, 12, 13, 20.5, 7});
      break;
    case Glyph::kMusic:
      Polyline(cr, {9, 17, 9, 5, 19, 3, 19, 15}); Circle(cr, 6.5, 17.5, 2.5); Circle(cr, 16.5, 15.5, 2.5);
      break;
    case Glyph::kPlayPause:
      Triangle(cr, 4, 6, 4, 18, 12, 12); Line(cr, 15.5, 6, 15.5, 18); Line(cr, 19.5, 6, 19.5, 18);
      break;
    case Glyph::kStop: RoundedRect(cr, 6, 6, 12, 12, 1.5); break;
    case Glyph::kPrevious:
      Line(cr, 6, 6, 6, 18); Triangle(cr, 18, 6, 18, 18, 9, 12);
      break;
    case Glyph::kNext:
      Line(cr, 18, 6, 18, 18); Triangle(cr, 6, 6, 6, 18, 15, 12);
      break;
    case Glyph::kVolumeDown: Speaker(cr); Line(cr, 15, 12, 20, 12); break;
    case Glyph::kVolumeUp: Speaker(cr); Line(cr, 15, 12, 21, 12); Line(cr, 18, 9, 18, 15); break;
    case Glyph::kMute: Speaker(cr); Line(cr, 15, 9, 21, 15); Line(cr, 21, 9, 15, 15); break;
    case Glyph::kRefresh:
      cairo_new_sub_path(cr); cairo_arc(cr, 12, 12, 7, -M_PI / 3, 1.5 * M_PI);
      Polyline(cr, {15.5, 2.5, 15.8, 6.5, 19.8, 6.2});
      break;
    case Glyph::kCrossCircle:
      Circle(cr, 12, 12, 8.5); Line(cr, 8.5, 8.5, 15.5, 15.5); Line(cr, 15.5, 8.5, 8.5, 15.5);
      break;
    case Glyph::kBack: Circle(cr, 12, 12, 8.5); Line(cr, 16, 12, 8, 12); Polyline(cr, {11, 9, 8, 12, 11, 15}); break;
    case Glyph::kForward: Circle(cr, 12, 12, 8.5); Line(cr, 8, 12, 16, 12); Polyline(cr, {13, 9, 16, 12, 13, 15}); break;
    case Glyph::kStar:
      cairo_new_sub_path(cr);
      for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double r = (i % 2 == 0) ? 9 : 3.8;
        cairo_line_to(cr, 12 + r * std::cos(a), 12.8 + r * std::sin(a));
      }
      cairo_close_path(cr);
      break;
    case Glyph::kSearch: Circle(cr, 10, 10, 6); Line(cr, 14.5, 14.5, 20, 20); break;
    case Glyph::kUsb:
      Line(cr, 12, 3, 12, 19); Triangle(cr, 10, 5.5, 14, 5.5, 12, 2.5);
      Polyline(cr, {12, 15, 7, 11, 7, 8}); Polyline(cr, {12, 13, 17, 10, 17, 8});
      Circle(cr, 12, 19.5, 1.8);
      break;
    case Glyph::kWireless:
      Circle(cr, 12, 18, 1.2);
      for (int i = 1; i <= 3; ++i) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, 12, 18, 4.2 * i, -M_PI * 0.75, -M_PI * 0.25);
      }
      break;
    case Glyph::kLightning:
      Polyline(cr, {14, 2, 5, 13, 11, 13, 9, 22, 19, 10, 13, 10, 14, 2});
      cairo_close_path(cr);
      break;
  }
}

bool Filled(Glyph glyph) {
  switch (glyph) {
    case Glyph::kLightning: case Glyph::kStar: case Glyph::kPlayPause: case Glyph::kPrevious:
    case Glyph::kNext: case Glyph::kStop: case Glyph::kVolumeDown: case Glyph::kVolumeUp:
    case Glyph::kMute:
      return true;  // open strokes in these add no area when filled
    default:
      return false;
  }
}

}  // namespace

void DrawGlyph(cairo_t* cr, Glyph glyph, double x, double y, double size, Rgb rgb, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, size / 24.0, size / 24.0);
  cairo_new_path(cr);
  Paint(cr, glyph);
  SetColour(cr, rgb, alpha);
  // About 1.6 device pixels whatever the size, so small icons stay crisp.
  const double pixels = size <= 24 ? 1.6 : 2.0;
  cairo_set_line_width(cr, pixels * 24.0 / size);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  if (Filled(glyph)) cairo_fill_preserve(cr);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace skingen
