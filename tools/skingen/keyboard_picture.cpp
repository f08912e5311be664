#include "tools/skingen/keyboard_picture.h"

#include <glib.h>

#include <algorithm>

#include "tools/skingen/canvas.h"
#include "tools/skingen/keyboard_style.h"

namespace skingen {

using namespace keyboard_style;

namespace {

void DrawKey(cairo_t* cr, const LayoutKey& key) {
  FillRoundedBox(cr, key.x, key.y, key.w, key.h, 4, kKeySkirt);
  const double face_w = key.w - kFaceLeft - kFaceRight;
  const double face_h = key.h - kFaceTop - kFaceBottom;
  if (face_w <= 0 || face_h <= 0) return;
  FillRoundedBox(cr, key.x + kFaceLeft, key.y + kFaceTop, face_w, face_h, 3, kKeyFace);
  if (key.name.empty()) return;
  // Label at the face's top-left, shrunk until it fits the face.
  // One code point ("Q", "7", "/") reads better a little larger.
  const bool symbol = g_utf8_strlen(key.name.c_str(), -1) == 1;
  double size = symbol ? kSymbolLabelSize : kLabelSize;
  const double room = face_w - 8;
  while (size > 6 && TextWidth(cr, key.name, size, true) > room) size -= 1;
  cairo_save(cr);
  cairo_rectangle(cr, key.x + kFaceLeft, key.y + kFaceTop, face_w, face_h);
  cairo_clip(cr);
  DrawText(cr, key.name, key.x + kFaceLeft + 4, key.y + kFaceTop + 2, room, 16, size, kLabel,
           Align::kLeft, true);
  cairo_restore(cr);
}

}  // namespace

cairo_surface_t* DrawKeyboardPicture(const LayoutPicture& layout) {
  cairo_surface_t* surface = NewSurface(layout.width, layout.height);
  cairo_t* cr = cairo_create(surface);
  FillRoundedBox(cr, 0, 0, layout.width, layout.height, 10, kPlate);
  StrokeRoundedBox(cr, 0, 0, layout.width, layout.height, 10, kCaseLine);
  for (const LayoutKey& key : layout.keys) DrawKey(cr, key);
  cairo_destroy(cr);
  return surface;
}

}  // namespace skingen
