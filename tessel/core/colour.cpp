#include "tessel/core/colour.h"

#include <cairo.h>

void SetSourceArgb(cairo_t* cr, ARGB colour) {
  if (!cr) return;
  cairo_set_source_rgba(cr, ArgbRed(colour) / 255.0, ArgbGreen(colour) / 255.0,
                        ArgbBlue(colour) / 255.0, ArgbAlpha(colour) / 255.0);
}

void SetSourceColorRef(cairo_t* cr, COLORREF colour, uint8_t alpha) {
  SetSourceArgb(cr, ArgbFromColorRef(colour, alpha));
}
