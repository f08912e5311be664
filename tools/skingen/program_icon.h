#pragma once
// The program's icon: drawn per size (so small sizes stay sharp), written as a
// PNG for desktop entries and as an ICO file. The ICO entries are 32-bit DIBs
// with an AND mask rather than PNG data: gdk-pixbuf, which the toolkit loads
// icons with, refuses PNG-compressed ICO entries.
#include <cairo.h>

#include <span>
#include <string>

namespace skingen {

cairo_surface_t* DrawProgramIcon(int size);

// The surface's PNG bytes; empty on failure.
std::string EncodePng(cairo_surface_t* surface);

// The ICO image data of one size (header, colour rows, mask).
std::string EncodeIcoBitmap(cairo_surface_t* surface);

// ICO header, one 16-byte directory entry per size (size 256 stored as 0), then
// each size as BITMAPINFOHEADER, bottom-up BGRA rows and the 1-bit AND mask.
// False on failure.
bool WriteIco(const std::string& path, std::span<const int> sizes);

}  // namespace skingen
