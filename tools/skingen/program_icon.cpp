#include "tools/skingen/program_icon.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "tools/skingen/canvas.h"
#include "tools/skingen/painters.h"
#include "tools/skingen/theme.h"

namespace skingen {

cairo_surface_t* DrawProgramIcon(int size) {
  cairo_surface_t* surface = NewSurface(size, size);
  cairo_t* cr = cairo_create(surface);
  const double radius = size * 0.22;
  VerticalGradientBox(cr, 0, 0, size, size, radius, 0x18304A, 0x0A111B);
  if (size >= 24) StrokeRoundedBox(cr, 0, 0, size, size, radius, theme::kAccent, 0.7);
  PaintBrandMark(cr, size * 0.12, size * 0.14, size * 0.76);
  cairo_destroy(cr);
  return surface;
}

std::string EncodePng(cairo_surface_t* surface) {
  std::string bytes;
  auto append = [](void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  };
  if (cairo_surface_write_to_png_stream(surface, append, &bytes) != CAIRO_STATUS_SUCCESS) return {};
  return bytes;
}

namespace {

void PutU16(std::string& out, std::uint16_t v) {
  out += char(v & 0xFF);
  out += char(v >> 8);
}

void PutU32(std::string& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

}  // namespace

std::string EncodeIcoBitmap(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int mask_stride = ((w + 31) / 32) * 4;
  std::string out;
  PutU32(out, 40);                    // header size
  PutU32(out, static_cast<std::uint32_t>(w));
  PutU32(out, static_cast<std::uint32_t>(2 * h));  // colour rows and mask rows
  PutU16(out, 1);                     // planes
  PutU16(out, 32);                    // bits per pixel
  PutU32(out, 0);                     // no compression
  PutU32(out, static_cast<std::uint32_t>(w * h * 4 + mask_stride * h));
  for (int i = 0; i < 4; ++i) PutU32(out, 0);  // resolution, palette
  std::string mask(static_cast<std::size_t>(mask_stride) * h, '\0');
  for (int row = 0; row < h; ++row) {
    const int y = h - 1 - row;  // bottom-up
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = pixels[x];
      const std::uint32_t a = p >> 24;
      // Cairo keeps premultiplied colour; ICO wants it straight.
      auto straight = [a](std::uint32_t c) { return a ? static_cast<char>((c * 255 + a / 2) / a) : char(0); };
      out += straight(p & 0xFF);
      out += straight((p >> 8) & 0xFF);
      out += straight((p >> 16) & 0xFF);
      out += static_cast<char>(a);
      if (a == 0) mask[row * mask_stride + x / 8] |= static_cast<char>(0x80 >> (x % 8));
    }
  }
  return out + mask;
}

bool WriteIco(const std::string& path, std::span<const int> sizes) {
  std::vector<std::string> images;
  for (int size : sizes) {
    if (size < 1 || size > 256) return false;
    cairo_surface_t* surface = DrawProgramIcon(size);
    images.push_back(EncodeIcoBitmap(surface));
    cairo_surface_destroy(surface);
    if (images.back().empty()) return false;
  }
  std::string out;
  PutU16(out, 0);  // reserved
  PutU16(out, 1);  // type: icon
  PutU16(out, static_cast<std::uint16_t>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int size = sizes[i];
    out += char(size == 256 ? 0 : size);  // width
    out += char(size == 256 ? 0 : size);  // height
    out += char(0);                       // palette size
    out += char(0);                       // reserved
    PutU16(out, 1);                       // colour planes
    PutU16(out, 32);                      // bits per pixel
    PutU32(out, static_cast<std::uint32_t>(images[i].size()));
    PutU32(out, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const std::string& png : images) out += png;
  if (!MakeParentFolders(path)) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace skingen
