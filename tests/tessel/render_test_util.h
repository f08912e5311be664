#pragma once
// Helpers of the rendering tests: off-screen surfaces, pixel reads, temp folders.
#include <cairo.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace render_test {

// Straight-alpha ARGB of a pixel of an ARGB32 surface.
inline uint32_t Pixel(cairo_surface_t* s, int x, int y) {
  cairo_surface_flush(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  const uint32_t p = *reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride + x * 4);
  const uint32_t a = p >> 24;
  if (a == 0 || a == 255) return p;
  auto un = [a](uint32_t v) { return (v * 255 + a / 2) / a; };
  return (a << 24) | (un((p >> 16) & 0xFF) << 16) | (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
}

inline uint32_t Alpha(cairo_surface_t* s, int x, int y) { return Pixel(s, x, y) >> 24; }

// A surface cleared to transparent, or filled with an opaque colour 0xRRGGBB.
inline cairo_surface_t* NewSurface(int w, int h, int64_t fill_rgb = -1) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (fill_rgb >= 0) {
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, ((fill_rgb >> 16) & 0xFF) / 255.0, ((fill_rgb >> 8) & 0xFF) / 255.0,
                         (fill_rgb & 0xFF) / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
  }
  return s;
}

// A fresh temporary folder, removed by the destructor.
struct TempDir {
  std::filesystem::path path;
  TempDir() {
    char tmpl[] = "/tmp/tessel_render_XXXXXX";
    path = mkdtemp(tmpl);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

}  // namespace render_test
