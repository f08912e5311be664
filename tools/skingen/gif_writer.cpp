#include "tools/skingen/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/skingen/canvas.h"
#include "tools/skingen/theme.h"

namespace skingen {

namespace {

constexpr Rgb kSpinnerBack = 0x111824;
constexpr int kDelayHundredths = 5;  // the wait dialog advances every 50 ms

// Palette entry i is the blend of the panel colour and the accent at i / 255.
int BlendIndex(std::uint32_t pixel) {
  const double blue = pixel & 0xFF;
  const double from = kSpinnerBack & 0xFF, to = theme::kAccent & 0xFF;
  return std::clamp(static_cast<int>(std::lround((blue - from) / (to - from) * 255)), 0, 255);
}

}  // namespace

cairo_surface_t* DrawLoadingFrame(int size, int frames, int index) {
  cairo_surface_t* surface = NewSurface(size, size);
  cairo_t* cr = cairo_create(surface);
  SetColour(cr, kSpinnerBack);
  cairo_paint(cr);
  const double centre = size / 2.0, ring = size * 0.3, dot = size * 0.05;
  for (int i = 0; i < frames; ++i) {
    const double angle = -M_PI / 2 + 2 * M_PI * i / frames;
    const int behind = (index - i + frames) % frames;  // 0 = the head
    const double alpha = std::max(0.15, 1.0 - behind / double(frames) * 1.2);
    const double radius = dot * (behind == 0 ? 1.25 : 1.0);
    cairo_arc(cr, centre + ring * std::cos(angle), centre + ring * std::sin(angle), radius, 0, 2 * M_PI);
    SetColour(cr, theme::kAccent, alpha);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}

bool WriteLoadingGif(const std::string& path, int size, int frames) {
  if (!MakeParentFolders(path)) return false;
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  if (!gif) return false;
  EGifSetGifVersion(gif, true);
  std::vector<GifColorType> colours(256);
  for (int i = 0; i < 256; ++i) {
    const Rgb rgb = Mix(kSpinnerBack, theme::kAccent, i / 255.0);
    colours[i] = {GifByteType(rgb >> 16), GifByteType(rgb >> 8), GifByteType(rgb)};
  }
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  bool ok = map && EGifPutScreenDesc(gif, size, size, 8, 0, map) == GIF_OK;
  // Netscape extension: loop forever.
  static const unsigned char kLoop[] = {1, 0, 0};
  ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
       EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
       EGifPutExtensionBlock(gif, 3, kLoop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
  std::vector<GifPixelType> line(size);
  for (int frame = 0; ok && frame < frames; ++frame) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = kDelayHundredths;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
         EGifPutImageDesc(gif, 0, 0, size, size, false, nullptr) == GIF_OK;
    cairo_surface_t* surface = DrawLoadingFrame(size, frames, frame);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; ok && y < size; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
      for (int x = 0; x < size; ++x) line[x] = GifPixelType(BlendIndex(row[x]));
      ok = EGifPutLine(gif, line.data(), size) == GIF_OK;
    }
    cairo_surface_destroy(surface);
  }
  if (map) GifFreeMapObject(map);
  const bool closed = EGifCloseFile(gif, &error) == GIF_OK;
  return ok && closed;
}

}  // namespace skingen
