#include "tessel/core/embedded_skins.h"

#include <cmath>

#include "tessel/core/colour.h"

namespace {

// Colours of the dark theme: track, thumb under the pointer, thumb at rest, dragged.
constexpr ARGB kPictureColours[4] = {0x40FFFFFF, 0xFF10A8FD, 0xFF5C6470, 0xFF0C86CA};

void RoundedBar(cairo_t* cr, double x, double y, double w, double h, ARGB colour) {
  const double r = std::min(w, h) / 2.0;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
  SetSourceArgb(cr, colour);
  cairo_fill(cr);
}

}  // namespace

cairo_surface_t* TesselCreateEmbeddedSkin(int id) {
  int w = 0, h = 0;
  if (id == kScrollHorizontalSkinId) {
    w = 22;
    h = 20;
  } else if (id == kScrollVerticalSkinId) {
    w = 28;
    h = 239;
  } else {
    return nullptr;
  }
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  for (int i = 0; i < 4; ++i) {
    if (id == kScrollVerticalSkinId) {
      // 7 px columns; the bar is 5 px wide, centred.
      RoundedBar(cr, i * 7 + 1, 0, 5, h, kPictureColours[i]);
    } else {
      // 5 px rows; the bar is 4 px high.
      RoundedBar(cr, 0, i * 5 + 0.5, w, 4, kPictureColours[i]);
    }
  }
  cairo_destroy(cr);
  cairo_surface_flush(s);
  return s;
}
