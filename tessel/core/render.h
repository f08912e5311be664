#pragma once
// MRender: the drawing routines every control uses, on Cairo and
// Pango. All operations are static.
//
// Mapping of the Windows types:
//  - a DC / GDI+ Graphics        -> cairo_t* (drawing happens on the caller's cairo_t,
//                                   with its current transformation and clip)
//  - a bitmap / DIB section      -> cairo_surface_t* (CAIRO_FORMAT_ARGB32, premultiplied,
//                                   top-down rows; the caller owns what Create* answers)
//  - a GDI+ Image                -> MImage (image.h)
//  - a font (face, size, style)  -> MFont
// Colours: ARGB (0xAARRGGBB) for fills, pens and text; COLORREF (0x00BBGGRR) for
// FillSolidRect (colour.h converts).
#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>

#include "tessel/core/colour.h"
#include "tessel/core/export.h"
#include "tessel/core/geometry.h"
#include "tessel/core/image.h"

// Font style bits (GDI+ FontStyle).
enum MFontStyle : int {
  MFONT_REGULAR = 0,
  MFONT_BOLD = 1,
  MFONT_ITALIC = 2,
  MFONT_UNDERLINE = 4,
};

// A font: face name, size in pixels, style bits.
struct MFont {
  std::wstring face = L"SourceHanSansCN-Regular";
  int size = 14;
  int style = MFONT_REGULAR;
};

// Text format flags, with the values of Windows' DT_* (DrawText). The horizontal
// alignment values 0/1/2 and vertical 0/4/8 of MControlFont are the same numbers.
enum MTextFormat : uint32_t {
  MDT_TOP = 0x0,
  MDT_LEFT = 0x0,
  MDT_CENTER = 0x1,
  MDT_RIGHT = 0x2,
  MDT_VCENTER = 0x4,
  MDT_BOTTOM = 0x8,
  MDT_WORDBREAK = 0x10,
  MDT_SINGLELINE = 0x20,
  MDT_NOCLIP = 0x100,
  MDT_NOPREFIX = 0x800,
  MDT_END_ELLIPSIS = 0x8000,
};

class TESSEL_API MRender {
 public:
  MRender() = delete;

  // ---- images ------------------------------------------------------------
  // Decodes a file (path unchanged); null when missing, truncated or not an image.
  static std::unique_ptr<MImage> LoadImageFromFile(const std::wstring& path);
  static std::unique_ptr<MImage> LoadImageFromFile(const std::string& utf8_path);
  // Decodes bytes in memory; null on failure.
  static std::unique_ptr<MImage> LoadImageFromMemory(const uint8_t* data, size_t size);
  // A resource image: module null = the toolkit's own (101, 102 scroll bar skins),
  // else the program's registered resources (RegisterProgramResource).
  static std::unique_ptr<MImage> LoadImageFromIDResource(int id, const std::wstring& type,
                                                         const void* module);
  // The icon of a file: the picture itself for .ico/.png files.
  static std::unique_ptr<MImage> LoadIconFromFile(const std::wstring& path);

  // Nine-grid: the source rectangle (x, y, w, h) of the image's active frame
  // stretched over dst with corner c on every side: the four corners keep their size, the edges stretch along
  // one axis and the centre along both. Nothing for a null image.
  static void DrawImageFrame(cairo_t* cr, const MImage* image, MRect dst, int x, int y, int w,
                             int h, int corner);
  // The same with four border widths.
  static void DrawImageFrameMID(cairo_t* cr, const MImage* image, MRect dst, int x, int y,
                                int w, int h, int left, int top, int right, int bottom);
  // Draws the source rectangle of an image stretched over dst (GDI+ DrawImage).
  static void DrawImage(cairo_t* cr, const MImage* image, MRect dst, int x, int y, int w,
                        int h);
  static void DrawImage(cairo_t* cr, const MImage* image, MRect dst);

  // ---- alpha transitions ----------------------------------------------------
  // Blends the source rectangle of src onto dst row by row (vertical) or column by
  // column (horizontal) with the constant alpha of a linear ramp; a and b are
  // transparencies in percent at the first and last row/column.
  static void DrawVerticalTransition(cairo_t* dst, cairo_surface_t* src, MRect dst_rect,
                                     MRect src_rect, int a, int b);
  static void DrawHorizontalTransition(cairo_t* dst, cairo_surface_t* src, MRect dst_rect,
                                       MRect src_rect, int a, int b);
  // The per-row (or column) alphas of the ramp, for n rows: alpha[i].
  static int TransitionAlpha(int i, int n, int a, int b);
  // Fades the n x n bottom-right corner of rect: pixel (i, j) of the corner (from
  // its top-left) of src is blended onto dst with alpha
  // 255 - 255 / n * min(n, sqrt(i^2 + j^2)). Only the corner is drawn.
  static void DrawRightBottomTransition(cairo_t* dst, cairo_surface_t* src, MRect rect, int n);

  // ---- fills and shapes -----------------------------------------------------
  // Gradient from colour1 to colour2 (ARGB), top to bottom when vertical, else
  // left to right; blended with the mean alpha of the two colours; nothing at 0.
  static void DrawGradient(cairo_t* cr, MRect rect, ARGB colour1, ARGB colour2, bool vertical,
                           int steps);
  static void DrawRoundRectange(cairo_t* cr, double x, double y, double width, double height,
                                double ratio, ARGB pen);
  static void DrawRoundRectange(cairo_t* cr, double x, double y, double width, double height,
                                double ratio, ARGB pen, double pen_width, bool fill, ARGB fill_colour);
  // A 1-pixel (or pen_width) outline inside rect.
  static void DrawRectangle(cairo_t* cr, MRect rect, ARGB pen, double pen_width = 1.0);
  // Fills rect with an ARGB colour when its alpha is not 0.
  static void DrawColor(cairo_t* cr, MRect rect, ARGB colour);
  // A colour whose low 24 bits are 0 gets 1 (pure black is never "unset").
  static constexpr uint32_t CheckAlphaColor(uint32_t colour) {
    return (colour & 0xFFFFFFu) == 0 ? (colour | 1u) : colour;
  }
  // Opaque fill with a COLORREF.
  static void FillSolidRect(cairo_t* cr, MRect rect, COLORREF colour);
  static void FillSolidRect(cairo_t* cr, int x, int y, int width, int height, COLORREF colour);

  // ---- text ------------------------------------------------------------------
  // Draws text in rect with the format flags (MDT_*), transparently, in colour.
  // Single line unless MDT_WORDBREAK; clipped to rect unless MDT_NOCLIP.
  static void DrawTextW(cairo_t* cr, const std::wstring& text, MRect rect, ARGB colour,
                        const MFont& font, uint32_t format);
  // GDI+ style: horizontal alignment 0/1/2, vertical 0/4/8; wraps when wrap is set.
  static void DrawString(cairo_t* cr, const std::wstring& text, MRect rect, const MFont& font,
                         ARGB colour, int halign, int valign, bool wrap = false);
  // Width: the text's ink bounds rounded up; height: the line height, plus 4 when
  // it has a fraction, else plus 1.
  static MSize GetTextBounds(const std::wstring& text, const MFont& font);
  // Wrapped at max_width: the widest line and every line's height.
  static MSize GetTextBounds(const std::wstring& text, const MFont& font, int max_width);
  static MSize GetTextBounds(const std::wstring& text, const std::wstring& face, int size,
                             int style);
  // Glyphs that no installed font has (missing-glyph boxes) in the text.
  static int GetUnknownGlyphsCount(const std::wstring& text, const MFont& font);
  // The family of the font Pango picked for the first glyph run of the text
  // (diagnostics: shows which CJK font the text language chose).
  static std::string GetTextRunFamily(const std::wstring& text, const MFont& font);
  // Drops every cached text layout (fonts or language changed).
  static void ClearTextCache();

  // ---- placement -------------------------------------------------------------
  // x: (width - cw) / 2 for horizontal 1, width - cw for 2, else 0; y likewise
  // for vertical 4 and 8.
  static MPoint GetOriginPoint(int width, int height, int content_width, int content_height,
                               int horizontal, int vertical);
  // The same in rect, plus rect's left and top, and 2 more pixels to y.
  static MPoint GetOriginPoint(MRect rect, int content_width, int content_height, int horizontal,
                               int vertical);

  // ---- bitmaps ---------------------------------------------------------------
  // A cleared ARGB32 surface; *pixels (when given) receives its first row.
  static cairo_surface_t* CreateARGB32Bitmap(int width, int height, uint32_t** pixels = nullptr);
  static cairo_surface_t* CreateCompatibleBitmap(int width, int height);
  // A cairo_t on the surface (the caller destroys it).
  static cairo_t* CreateCompatibleDC(cairo_surface_t* surface);
  // Copies (replaces) src's rectangle at (sx, sy) into dst at rect.
  static void BitBlt(cairo_t* dst, MRect rect, cairo_surface_t* src, int sx, int sy);
  // Blends src over dst (source alpha), with a constant alpha 0-255.
  static void BitBlt(cairo_t* dst, MRect rect, cairo_surface_t* src, int sx, int sy,
                     int constant_alpha);
  // Writes the surface as a 32-bit BMP file (bottom-up rows), replacing the file.
  static bool SaveBitmapToFile(cairo_surface_t* surface, const std::wstring& path);
  static bool SaveBitmapToFile(cairo_surface_t* surface, const std::string& utf8_path);
};

// The toolkit's trace hook: does nothing.
TESSEL_API void M_Trace(const char* format, ...);
