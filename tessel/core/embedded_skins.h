#pragma once
// The toolkit's own picture resources, drawn with Cairo on first request instead of being stored as PNG bytes:
//   101  22 x 20   horizontal scroll bar skin: four pictures stacked (rows of 5 px)
//   102  28 x 239  vertical scroll bar skin: four pictures side by side (7 px wide)
// Picture 0 is the track, 1 the thumb under the pointer, 2 the thumb at rest,
// 3 the thumb while dragged (the horizontal scroll bar uses rows 1-3).
#include <cairo.h>

#include "tessel/core/export.h"

constexpr int kScrollHorizontalSkinId = 101;
constexpr int kScrollVerticalSkinId = 102;

// A new ARGB32 surface for the resource id (the caller owns it), or null for an
// id the toolkit does not have.
TESSEL_API cairo_surface_t* TesselCreateEmbeddedSkin(int id);
