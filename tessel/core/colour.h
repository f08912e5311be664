#pragma once
// The two colour conventions of the system, each converted here and nowhere else:
//  - COLORREF 0x00BBGGRR (red in the lowest byte): database rows, device tables,
//    colour-button values, back and frame colours of a window, FillSolidRect.
//  - ARGB 0xAARRGGBB: toolkit text and fill colours (GDI+ style).
// Cairo image surfaces (CAIRO_FORMAT_ARGB32) hold native-endian 32-bit words
// 0xAARRGGBB with premultiplied colour; PixelFrom* give such words.
#include <cstdint>

#include "tessel/core/export.h"

typedef struct _cairo cairo_t;

using COLORREF = uint32_t;
using ARGB = uint32_t;

// Windows' RGB macro: a COLORREF from its components.
constexpr COLORREF MakeColorRef(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr uint8_t ColorRefRed(COLORREF c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t ColorRefGreen(COLORREF c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t ColorRefBlue(COLORREF c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

constexpr ARGB MakeArgb(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  return (static_cast<ARGB>(a) << 24) | (static_cast<ARGB>(r) << 16) | (static_cast<ARGB>(g) << 8) |
         static_cast<ARGB>(b);
}
constexpr uint8_t ArgbAlpha(ARGB c) { return static_cast<uint8_t>(c >> 24); }
constexpr uint8_t ArgbRed(ARGB c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }
constexpr uint8_t ArgbGreen(ARGB c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t ArgbBlue(ARGB c) { return static_cast<uint8_t>(c & 0xFF); }

// COLORREF (its high byte ignored) -> ARGB with the given alpha.
constexpr ARGB ArgbFromColorRef(COLORREF c, uint8_t alpha = 0xFF) {
  return MakeArgb(alpha, ColorRefRed(c), ColorRefGreen(c), ColorRefBlue(c));
}
// ARGB -> COLORREF (alpha dropped).
constexpr COLORREF ColorRefFromArgb(ARGB c) {
  return MakeColorRef(ArgbRed(c), ArgbGreen(c), ArgbBlue(c));
}

// A Cairo ARGB32 pixel word (premultiplied) for a straight-alpha ARGB colour.
constexpr uint32_t PixelFromArgb(ARGB c) {
  const uint32_t a = ArgbAlpha(c);
  auto pm = [a](uint32_t v) { return (v * a + 127) / 255; };
  return (a << 24) | (pm(ArgbRed(c)) << 16) | (pm(ArgbGreen(c)) << 8) | pm(ArgbBlue(c));
}
// A straight-alpha ARGB colour for a Cairo ARGB32 pixel word (premultiplied).
constexpr ARGB ArgbFromPixel(uint32_t p) {
  const uint32_t a = p >> 24;
  if (a == 0) return 0;
  auto un = [a](uint32_t v) { return a == 255 ? v : (v * 255 + a / 2) / a; };
  return (a << 24) | (un((p >> 16) & 0xFF) << 16) | (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
}

// Sets the cairo source to an ARGB colour / to an opaque COLORREF.
TESSEL_API void SetSourceArgb(cairo_t* cr, ARGB colour);
TESSEL_API void SetSourceColorRef(cairo_t* cr, COLORREF colour, uint8_t alpha = 0xFF);
