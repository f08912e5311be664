// Lighting page: direction radio buttons, colour preset swatches and the colour wheel.
#include <cmath>

#include "tools/skingen/glyphs.h"
#include "tools/skingen/painters.h"
#include "tools/skingen/theme.h"

namespace skingen {

namespace {

using namespace theme;

// Eight pictures: 0-3 unchecked normal/hover/pressed/disabled, 4-7 the same checked.
void PaintDirection(cairo_t* cr, const SkinImage& image, Glyph glyph) {
  ForEachCell(cr, image, [glyph](cairo_t* c, int picture, double w, double h) {
    const int state = picture & 3;
    const bool checked = picture >= 4;
    Rgb ink;
    if (checked && state != 3) {
      const Rgb top = state == 1 ? 0x3DBBFF : state == 2 ? kAccentDeep : kAccent;
      VerticalGradientBox(c, 0, 0, w, h, 5, top, Mix(top, kAccentDeep, 0.5));
      StrokeRoundedBox(c, 0, 0, w, h, 5, state == 1 ? 0x9FDEFF : kAccent);
      ink = kWhite;
    } else {
      const StateLook look = ButtonLook(state);
      VerticalGradientBox(c, 0, 0, w, h, 5, look.fill_top, look.fill_bottom);
      StrokeRoundedBox(c, 0, 0, w, h, 5, checked ? 0x2A4A66 : look.line);
      ink = checked ? 0x5A7A96 : look.glyph;
    }
    DrawGlyph(c, glyph, (w - 18) / 2, (h - 18) / 2, 18, ink);
  });
}
void PaintLeft(cairo_t* cr, const SkinImage& i) { PaintDirection(cr, i, Glyph::kArrowLeft); }
void PaintRight(cairo_t* cr, const SkinImage& i) { PaintDirection(cr, i, Glyph::kArrowRight); }
void PaintTop(cairo_t* cr, const SkinImage& i) { PaintDirection(cr, i, Glyph::kArrowUp); }
void PaintBottom(cairo_t* cr, const SkinImage& i) { PaintDirection(cr, i, Glyph::kArrowDown); }

// HSV (h in [0, 360), s and v in [0, 1]) to 0xRRGGBB.
Rgb Hsv(double h, double s, double v) {
  const double c = v * s;
  const double x = c * (1 - std::fabs(std::fmod(h / 60.0, 2.0) - 1));
  const double m = v - c;
  double r = 0, g = 0, b = 0;
  if (h < 60) { r = c; g = x; }
  else if (h < 120) { r = x; g = c; }
  else if (h < 180) { g = c; b = x; }
  else if (h < 240) { g = x; b = c; }
  else if (h < 300) { r = x; b = c; }
  else { r = c; b = x; }
  auto byte = [m](double v) { return static_cast<Rgb>(std::lround((v + m) * 255)); };
  return byte(r) << 16 | byte(g) << 8 | byte(b);
}

// A swatch of colour stops left to right; disabled swatches are dimmed.
void PaintSwatch(cairo_t* cr, const SkinImage& image, std::initializer_list<Rgb> stops) {
  ForEachCell(cr, image, [&stops](cairo_t* c, int state, double w, double h) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, 0, w, h);
    int i = 0;
    for (Rgb rgb : stops) {
      const Rgb shown = state == 3 ? Mix(rgb, 0x20252C, 0.7) : rgb;
      cairo_pattern_add_color_stop_rgb(pattern, double(i++) / (stops.size() - 1),
                                       ((shown >> 16) & 0xFF) / 255.0, ((shown >> 8) & 0xFF) / 255.0,
                                       (shown & 0xFF) / 255.0);
    }
    RoundedRect(c, 0, 0, w, h, 3);
    cairo_set_source(c, pattern);
    cairo_fill(c);
    cairo_pattern_destroy(pattern);
    // The button frames hover and pressed swatches itself; the swatch also
    // brightens under the pointer and darkens when pressed.
    if (state == 1) FillRoundedBox(c, 0, 0, w, h, 3, 0xFFFFFF, 0.18);
    if (state == 2) {
      FillRoundedBox(c, 0, 0, w, h, 3, 0x000000, 0.25);
      StrokeRoundedBox(c, 1, 1, w - 2, h - 2, 2, 0x000000, 0.35);
    }
  });
}

void PaintColourful(cairo_t* cr, const SkinImage& image) {
  PaintSwatch(cr, image, {0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF});
}

// Gradient presets 1-8: two colours each.
constexpr Rgb kGradientPairs[8][2] = {
    {0xFF0000, 0xFFD000}, {0xFFD000, 0x00E060}, {0x00E060, 0x00E0FF}, {0x00E0FF, 0x1050FF},
    {0x1050FF, 0xC000FF}, {0xC000FF, 0xFF0060}, {0xFF7A00, 0xFF4FD8}, {0xFFFFFF, 0x10A8FD},
};

template <int N>
void PaintGradient(cairo_t* cr, const SkinImage& image) {
  PaintSwatch(cr, image, {kGradientPairs[N][0], kGradientPairs[N][1]});
}

// Hue around the circle, saturation from the white centre to the rim; the edge
// is anti-aliased over one pixel. Pixels are written directly, premultiplied.
void PaintWheel(cairo_t* cr, const SkinImage& image) {
  const int w = image.Width(), h = image.Height();
  cairo_surface_t* wheel = NewSurface(w, h);
  unsigned char* data = cairo_image_surface_get_data(wheel);
  const int stride = cairo_image_surface_get_stride(wheel);
  const double cx = w / 2.0, cy = h / 2.0, radius = w / 2.0 - 1;
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      const double d = std::sqrt(dx * dx + dy * dy);
      const double coverage = std::clamp(radius + 0.5 - d, 0.0, 1.0);
      if (coverage <= 0) continue;
      double hue = std::atan2(-dy, dx) * 180 / M_PI;
      if (hue < 0) hue += 360;
      const Rgb rgb = Hsv(std::fmod(hue, 360.0), std::min(d / radius, 1.0), 1.0);
      const auto a = static_cast<std::uint32_t>(std::lround(coverage * 255));
      auto pre = [a](std::uint32_t c) { return (c * a + 127) / 255; };
      row[x] = a << 24 | pre((rgb >> 16) & 0xFF) << 16 | pre((rgb >> 8) & 0xFF) << 8 | pre(rgb & 0xFF);
    }
  }
  cairo_surface_mark_dirty(wheel);
  cairo_set_source_surface(cr, wheel, 0, 0);
  cairo_paint(cr);
  cairo_surface_destroy(wheel);
}

}  // namespace

void AddLightingPainters(PainterTable& table) {
  table["btn_direction_left.png"] = PaintLeft;
  table["btn_direction_right.png"] = PaintRight;
  table["btn_direction_top.png"] = PaintTop;
  table["btn_direction_bottom.png"] = PaintBottom;
  table["btn_colorful.png"] = PaintColourful;
  table["btn_colorful1.png"] = PaintGradient<0>;
  table["btn_colorful2.png"] = PaintGradient<1>;
  table["btn_colorful3.png"] = PaintGradient<2>;
  table["btn_colorful4.png"] = PaintGradient<3>;
  table["btn_colorful5.png"] = PaintGradient<4>;
  table["btn_colorful6.png"] = PaintGradient<5>;
  table["btn_colorful7.png"] = PaintGradient<6>;
  table["btn_colorful8.png"] = PaintGradient<7>;
  table["img_circlepalette.png"] = PaintWheel;
}

}  // namespace skingen
