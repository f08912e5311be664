#pragma once
// Line icons drawn with Cairo paths on a 24-unit grid and scaled to the box.
#include "tools/skingen/canvas.h"

namespace skingen {

enum class Glyph {
  kClose, kMinimise, kGlobe, kPlus, kTrash, kPencil, kImport, kExport,
  kArrowUp, kArrowDown, kArrowLeft, kArrowRight, kChevronDown, kChevronUp,
  kHome, kKeyboard, kMacro, kLight, kGear, kMonitor, kCalculator, kMail, kMusic,
  kPlayPause, kStop, kPrevious, kNext, kVolumeDown, kVolumeUp, kMute,
  kRefresh, kCrossCircle, kBack, kForward, kStar, kSearch, kUsb, kWireless, kLightning,
};

// Draws the glyph into the square (x, y, size, size).
void DrawGlyph(cairo_t* cr, Glyph glyph, double x, double y, double size, Rgb rgb,
               double alpha = 1.0);

}  // namespace skingen
