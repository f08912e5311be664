#include "tools/skingen/canvas.h"

#include <pango/pangocairo.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace skingen {

namespace {

constexpr const char* kFontFamily = "Open Sans, Noto Sans CJK SC, Noto Sans";

// Grey-scale anti-aliasing, slight hinting and hinted metrics: crisp at 1x and the
// same on every machine with the same fonts, whatever the desktop settings say.
void FixFontOptions(PangoContext* context) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context, options);
  pango_cairo_context_set_resolution(context, 96.0);
  cairo_font_options_destroy(options);
}

PangoLayout* MakeLayout(cairo_t* cr, const std::string& utf8, double pixel_size, bool bold,
                        const char* language) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoContext* context = pango_layout_get_context(layout);
  FixFontOptions(context);
  pango_context_set_language(context, pango_language_from_string(language));
  pango_layout_context_changed(layout);
  PangoFontDescription* font = pango_font_description_from_string(kFontFamily);
  pango_font_description_set_absolute_size(font, pixel_size * PANGO_SCALE);
  pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_SEMIBOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_text(layout, utf8.c_str(), -1);
  return layout;
}

}  // namespace

void SetColour(cairo_t* cr, Rgb rgb, double alpha) {
  cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                        (rgb & 0xFF) / 255.0, alpha);
}

Rgb Mix(Rgb a, Rgb b, double t) {
  Rgb out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double ca = (a >> shift) & 0xFF;
    const double cb = (b >> shift) & 0xFF;
    out |= static_cast<Rgb>(std::lround(ca + (cb - ca) * t)) << shift;
  }
  return out;
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min(r, std::min(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void StrokeRoundedBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb rgb,
                      double alpha) {
  RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
  SetColour(cr, rgb, alpha);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
}

void FillRoundedBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb rgb,
                    double alpha) {
  RoundedRect(cr, x, y, w, h, r);
  SetColour(cr, rgb, alpha);
  cairo_fill(cr);
}

void VerticalGradientBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb top,
                         Rgb bottom, double alpha) {
  cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y, 0, y + h);
  auto stop = [&](double at, Rgb rgb) {
    cairo_pattern_add_color_stop_rgba(pattern, at, ((rgb >> 16) & 0xFF) / 255.0,
                                      ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha);
  };
  stop(0, top);
  stop(1, bottom);
  RoundedRect(cr, x, y, w, h, r);
  cairo_set_source(cr, pattern);
  cairo_fill(cr);
  cairo_pattern_destroy(pattern);
}

void DrawText(cairo_t* cr, const std::string& utf8, double x, double y, double w, double h,
              double pixel_size, Rgb rgb, Align align, bool bold, const char* language,
              double alpha) {
  PangoLayout* layout = MakeLayout(cr, utf8, pixel_size, bold, language);
  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  double left = x;
  if (align == Align::kCentre) left = x + (w - logical.width) / 2.0;
  if (align == Align::kRight) left = x + w - logical.width;
  const double top = y + (h - logical.height) / 2.0;
  cairo_save(cr);
  cairo_move_to(cr, std::round(left), std::round(top));
  SetColour(cr, rgb, alpha);
  pango_cairo_show_layout(cr, layout);
  cairo_restore(cr);
  g_object_unref(layout);
}

double TextWidth(cairo_t* cr, const std::string& utf8, double pixel_size, bool bold) {
  PangoLayout* layout = MakeLayout(cr, utf8, pixel_size, bold, "en");
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  return logical.width;
}

cairo_surface_t* NewSurface(int width, int height) {
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
}

bool MakeParentFolders(const std::string& path) {
  for (std::size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
    const std::string folder = path.substr(0, at);
    if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return true;
}

bool WritePng(cairo_surface_t* surface, const std::string& path) {
  if (!MakeParentFolders(path)) return false;
  cairo_surface_flush(surface);
  return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void ForEachCell(cairo_t* cr, const SkinImage& image,
                 const std::function<void(cairo_t*, int, double, double)>& paint) {
  for (int row = 0; row < image.rows; ++row) {
    for (int column = 0; column < image.columns; ++column) {
      cairo_save(cr);
      cairo_translate(cr, column * image.frame_width, row * image.frame_height);
      cairo_rectangle(cr, 0, 0, image.frame_width, image.frame_height);
      cairo_clip(cr);
      paint(cr, row * image.columns + column, image.frame_width, image.frame_height);
      cairo_restore(cr);
    }
  }
}

}  // namespace skingen
