#pragma once
// The keyboard picture of a layout, drawn from its key rectangles at the size the
// layout declares.
#include <cairo.h>

#include "tools/skingen/layout_reader.h"

namespace skingen {

// A new surface of the layout's declared size; the caller destroys it.
cairo_surface_t* DrawKeyboardPicture(const LayoutPicture& layout);

}  // namespace skingen
