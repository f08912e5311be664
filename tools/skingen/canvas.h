#pragma once
// Drawing helpers shared by every skin painter: colours, rounded shapes, text with
// fixed font options (so the output does not depend on the desktop's font
// settings), PNG output and per-state cells.
#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>

#include "tools/skingen/skin_manifest.h"

namespace skingen {

// 0xRRGGBB.
using Rgb = std::uint32_t;

void SetColour(cairo_t* cr, Rgb rgb, double alpha = 1.0);
Rgb Mix(Rgb a, Rgb b, double t);  // t = 0 gives a, 1 gives b

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// A rectangle whose 1-pixel outline lands on whole pixels.
void StrokeRoundedBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb rgb,
                      double alpha = 1.0);
void FillRoundedBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb rgb,
                    double alpha = 1.0);
void VerticalGradientBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb top,
                         Rgb bottom, double alpha = 1.0);

enum class Align { kLeft, kCentre, kRight };
// Text in the theme face ("Open Sans" with the CJK face as fallback) centred
// vertically in the box. `language` is a Pango language tag ("en", "zh-cn"...).
void DrawText(cairo_t* cr, const std::string& utf8, double x, double y, double w, double h,
              double pixel_size, Rgb rgb, Align align = Align::kCentre, bool bold = false,
              const char* language = "en", double alpha = 1.0);
// Width in pixels of the text as DrawText would set it.
double TextWidth(cairo_t* cr, const std::string& utf8, double pixel_size, bool bold = false);

// A new transparent ARGB32 surface; the caller destroys it.
cairo_surface_t* NewSurface(int width, int height);
// Writes the surface as PNG, creating parent folders. False on failure.
bool WritePng(cairo_surface_t* surface, const std::string& path);
// Creates every missing folder of the path's parent.
bool MakeParentFolders(const std::string& path);

// Calls paint(cr, index, width, height) once per cell of the image, with the
// origin moved to the cell and drawing clipped to it; index counts row by row.
void ForEachCell(cairo_t* cr, const SkinImage& image,
                 const std::function<void(cairo_t*, int, double, double)>& paint);

}  // namespace skingen
