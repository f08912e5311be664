#include "tessel/core/render.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "tessel/core/fonts.h"
#include "tessel/core/render_internal.h"
#include "tessel/core/text_utf.h"

void M_Trace(const char* /*format*/, ...) {}

// ===========================================================================
// Images and nine-grids

namespace {

// One piece of a nine-grid: source (sx, sy, sw, sh) of the image stretched over
// destination (dx, dy, dw, dh). 64-bit, so that the sums of a broken skin's borders and
// rectangles cannot wrap around; a source outside the image draws nothing.
inline void DrawPiece(cairo_t* cr, const MImage* image, int64_t dx, int64_t dy, int64_t dw,
                      int64_t dh, int64_t sx, int64_t sy, int64_t sw, int64_t sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  if (sx < 0 || sy < 0 || sx + sw > image->Width() || sy + sh > image->Height()) return;
  if (dw == sw && dh == sh) {
    // 1:1: a plain copy from the image (pixman's fast path).
    cairo_set_source_surface(cr, image->Surface(), static_cast<double>(dx - sx),
                             static_cast<double>(dy - sy));
  } else {
    const MImage::Piece* piece = image->GetPiece(static_cast<int>(sx), static_cast<int>(sy),
                                                 static_cast<int>(sw), static_cast<int>(sh));
    if (!piece) return;
    cairo_pattern_t* pattern = piece->pattern;
    // Uniform rows stretch exactly along x with the nearest filter, uniform columns
    // along y; the bilinear filter is needed only for real image content.
    const bool exact = (dw == sw || piece->rows_uniform) && (dh == sh || piece->cols_uniform);
    if (cairo_pattern_get_type(pattern) == CAIRO_PATTERN_TYPE_SURFACE)
      cairo_pattern_set_filter(pattern, exact ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_BILINEAR);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, static_cast<double>(sw) / dw, static_cast<double>(sh) / dh);
    cairo_matrix_translate(&m, static_cast<double>(-dx), static_cast<double>(-dy));
    cairo_pattern_set_matrix(pattern, &m);
    cairo_set_source(cr, pattern);
  }
  cairo_rectangle(cr, static_cast<double>(dx), static_cast<double>(dy), static_cast<double>(dw),
                  static_cast<double>(dh));
  cairo_fill(cr);
}

}  // namespace

void MRender::DrawImageFrame(cairo_t* cr, const MImage* image, MRect dst, int x, int y, int w,
                             int h, int c) {
  DrawImageFrameMID(cr, image, dst, x, y, w, h, c, c, c, c);
}

void MRender::DrawImageFrameMID(cairo_t* cr, const MImage* image, MRect dst, int x, int y, int w,
                                int h, int l, int t, int r, int b) {
  if (!cr || !image || dst.IsEmpty() || w <= 0 || h <= 0) return;
  const int64_t L = dst.left, T = dst.top, R = dst.right, B = dst.bottom;
  const int64_t W = dst.Width(), H = dst.Height();
  const int64_t mw = W - l - r, mh = H - t - b;  // destination middle
  const int64_t sw = int64_t{w} - l - r, sh = int64_t{h} - t - b;  // source middle
  const int64_t x0 = x, y0 = y;
  const int64_t xr = x0 + w - r, yb = y0 + h - b;  // source right and bottom borders
  DrawPiece(cr, image, L, T, l, t, x0, y0, l, t);                              // top-left
  DrawPiece(cr, image, L, T + t, l, mh, x0, y0 + t, l, sh);                    // left
  DrawPiece(cr, image, L, B - b, l, b, x0, yb, l, b);                          // bottom-left
  DrawPiece(cr, image, L + l, T, mw, t, x0 + l, y0, sw, t);                    // top
  DrawPiece(cr, image, R - r, T, r, t, xr, y0, r, t);                          // top-right
  DrawPiece(cr, image, R - r, T + t, r, mh, xr, y0 + t, r, sh);                // right
  DrawPiece(cr, image, R - r, B - b, r, b, xr, yb, r, b);                      // bottom-right
  DrawPiece(cr, image, L + l, B - b, mw, b, x0 + l, yb, sw, b);                // bottom
  DrawPiece(cr, image, L + l, T + t, mw, mh, x0 + l, y0 + t, sw, sh);          // centre
}

void MRender::DrawImage(cairo_t* cr, const MImage* image, MRect dst, int x, int y, int w, int h) {
  if (!cr || !image) return;
  DrawPiece(cr, image, dst.left, dst.top, dst.Width(), dst.Height(), x, y, w, h);
}

void MRender::DrawImage(cairo_t* cr, const MImage* image, MRect dst) {
  if (!image) return;
  DrawImage(cr, image, dst, 0, 0, image->Width(), image->Height());
}

// ===========================================================================
// Alpha transitions

int MRender::TransitionAlpha(int i, int n, int a, int b) {
  if (n <= 0) return 0;
  const double hi = 255.0 - std::min(a, b) * 255.0 / 100.0;
  const double lo = (100.0 - std::max(a, b)) * 255.0 / 100.0;
  const double step = (static_cast<int>(hi) - static_cast<int>(lo)) / static_cast<double>(n);
  const int v = a < b ? static_cast<int>(static_cast<int>(hi) - i * step)
                      : static_cast<int>(i * step + static_cast<int>(lo));
  return ((v % 256) + 256) % 256;
}

namespace {

// Blends src's rectangle onto dst's rectangle through an A8 mask laid over the
// destination rectangle (mask pixel (0,0) at its top-left), stretching the source
// when the sizes differ.
void BlendThroughMask(cairo_t* dst, cairo_surface_t* src, MRect d, MRect s, cairo_surface_t* mask) {
  cairo_save(dst);
  cairo_rectangle(dst, d.left, d.top, d.Width(), d.Height());
  cairo_clip(dst);
  cairo_pattern_t* source = cairo_pattern_create_for_surface(src);
  cairo_matrix_t m;
  const double sx = s.Width() > 0 ? static_cast<double>(s.Width()) / d.Width() : 1.0;
  const double sy = s.Height() > 0 ? static_cast<double>(s.Height()) / d.Height() : 1.0;
  cairo_matrix_init_translate(&m, s.left, s.top);
  cairo_matrix_scale(&m, sx, sy);
  cairo_matrix_translate(&m, -d.left, -d.top);
  cairo_pattern_set_matrix(source, &m);
  if (sx != 1.0 || sy != 1.0) cairo_pattern_set_extend(source, CAIRO_EXTEND_PAD);
  cairo_set_source(dst, source);
  cairo_pattern_t* mp = cairo_pattern_create_for_surface(mask);
  cairo_pattern_set_extend(mp, CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(mp, CAIRO_FILTER_NEAREST);
  cairo_matrix_init_translate(&m, -d.left, -d.top);
  cairo_pattern_set_matrix(mp, &m);
  cairo_mask(dst, mp);
  cairo_pattern_destroy(mp);
  cairo_pattern_destroy(source);
  cairo_restore(dst);
}

void Transition(cairo_t* dst, cairo_surface_t* src, MRect d, MRect s, int a, int b, bool vertical) {
  if (!dst || !src || d.IsEmpty()) return;
  const int n = vertical ? d.Height() : d.Width();
  cairo_surface_t* mask =
      cairo_image_surface_create(CAIRO_FORMAT_A8, vertical ? 1 : n, vertical ? n : 1);
  if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {  // longer than cairo allows
    cairo_surface_destroy(mask);
    return;
  }
  cairo_surface_flush(mask);
  unsigned char* data = cairo_image_surface_get_data(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  for (int i = 0; i < n; ++i) {
    const auto alpha = static_cast<unsigned char>(MRender::TransitionAlpha(i, n, a, b));
    if (vertical)
      data[static_cast<size_t>(i) * stride] = alpha;
    else
      data[i] = alpha;
  }
  cairo_surface_mark_dirty(mask);
  BlendThroughMask(dst, src, d, s, mask);
  cairo_surface_destroy(mask);
}

}  // namespace

void MRender::DrawVerticalTransition(cairo_t* dst, cairo_surface_t* src, MRect dst_rect,
                                     MRect src_rect, int a, int b) {
  Transition(dst, src, dst_rect, src_rect, a, b, true);
}

void MRender::DrawHorizontalTransition(cairo_t* dst, cairo_surface_t* src, MRect dst_rect,
                                       MRect src_rect, int a, int b) {
  Transition(dst, src, dst_rect, src_rect, a, b, false);
}

void MRender::DrawRightBottomTransition(cairo_t* dst, cairo_surface_t* src, MRect rect, int n) {
  if (!dst || !src || n <= 0 || rect.IsEmpty()) return;
  const MRect corner(rect.right - n, rect.bottom - n, rect.right, rect.bottom);
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, n, n);
  if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {  // larger than cairo allows
    cairo_surface_destroy(mask);
    return;
  }
  cairo_surface_flush(mask);
  unsigned char* data = cairo_image_surface_get_data(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  const double unit = 255.0 / n;
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i) {
      const double dist = std::min(static_cast<double>(n), std::sqrt(double(i) * i + double(j) * j));
      const int alpha = static_cast<int>(255.0 - unit * dist);
      data[static_cast<size_t>(j) * stride + i] = static_cast<unsigned char>(std::clamp(alpha, 0, 255));
    }
  }
  cairo_surface_mark_dirty(mask);
  BlendThroughMask(dst, src, corner, corner, mask);
  cairo_surface_destroy(mask);
}

// ===========================================================================
// Fills and shapes

void MRender::DrawGradient(cairo_t* cr, MRect rect, ARGB c1, ARGB c2, bool vertical, int /*steps*/) {
  if (!cr || rect.IsEmpty()) return;
  const int alpha = (ArgbAlpha(c1) + ArgbAlpha(c2)) / 2;
  if (alpha == 0) return;
  cairo_pattern_t* g =
      vertical ? cairo_pattern_create_linear(0, rect.top, 0, rect.bottom)
               : cairo_pattern_create_linear(rect.left, 0, rect.right, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, ArgbRed(c1) / 255.0, ArgbGreen(c1) / 255.0, ArgbBlue(c1) / 255.0);
  cairo_pattern_add_color_stop_rgb(g, 1, ArgbRed(c2) / 255.0, ArgbGreen(c2) / 255.0, ArgbBlue(c2) / 255.0);
  cairo_save(cr);
  cairo_set_source(cr, g);
  cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
  if (alpha >= 255) {
    cairo_fill(cr);
  } else {
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, alpha / 255.0);
  }
  cairo_restore(cr);
  cairo_pattern_destroy(g);
}

namespace {

void EllipseArc(cairo_t* cr, double cx, double cy, double rx, double ry, double a0, double a1) {
  if (rx <= 0 || ry <= 0) {
    cairo_line_to(cr, cx + rx * std::cos(a0), cy + ry * std::sin(a0));
    return;
  }
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_arc(cr, 0, 0, 1, a0, a1);
  cairo_restore(cr);
}

}  // namespace

void MRender::DrawRoundRectange(cairo_t* cr, double x, double y, double width, double height,
                                double ratio, ARGB pen) {
  DrawRoundRectange(cr, x, y, width, height, ratio, pen, 1.0, false, 0);
}

void MRender::DrawRoundRectange(cairo_t* cr, double x, double y, double width, double height,
                                double ratio, ARGB pen, double pen_width, bool fill,
                                ARGB fill_colour) {
  if (!cr || width <= 0 || height <= 0 || ratio == 0) return;
  double rx = width / ratio / 2, ry = height / ratio / 2;
  if (std::fabs(rx - ry) > 10) rx = ry = std::min(rx, ry);
  rx = std::clamp(rx, 0.0, width / 2);
  ry = std::clamp(ry, 0.0, height / 2);
  cairo_save(cr);
  cairo_new_path(cr);
  // Top edge, then arcs at 270, 0, 90 and 180 degrees.
  cairo_move_to(cr, x + rx, y);
  cairo_line_to(cr, x + width - rx, y);
  EllipseArc(cr, x + width - rx, y + ry, rx, ry, -M_PI / 2, 0);
  cairo_line_to(cr, x + width, y + height - ry);
  EllipseArc(cr, x + width - rx, y + height - ry, rx, ry, 0, M_PI / 2);
  cairo_line_to(cr, x + rx, y + height);
  EllipseArc(cr, x + rx, y + height - ry, rx, ry, M_PI / 2, M_PI);
  cairo_line_to(cr, x, y + ry);
  EllipseArc(cr, x + rx, y + ry, rx, ry, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
  if (fill) {
    SetSourceArgb(cr, fill_colour);
    cairo_fill_preserve(cr);
  }
  if (ArgbAlpha(pen) != 0 && pen_width > 0) {
    SetSourceArgb(cr, pen);
    cairo_set_line_width(cr, pen_width);
    cairo_stroke(cr);
  }
  cairo_new_path(cr);
  cairo_restore(cr);
}

void MRender::DrawRectangle(cairo_t* cr, MRect rect, ARGB pen, double pen_width) {
  if (!cr || rect.IsEmpty() || pen_width <= 0) return;
  cairo_save(cr);
  SetSourceArgb(cr, pen);
  cairo_set_line_width(cr, pen_width);
  cairo_rectangle(cr, rect.left + pen_width / 2, rect.top + pen_width / 2, rect.Width() - pen_width,
                  rect.Height() - pen_width);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void MRender::DrawColor(cairo_t* cr, MRect rect, ARGB colour) {
  if (!cr || rect.IsEmpty() || colour < 0x1000000u) return;
  SetSourceArgb(cr, colour);
  cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
  cairo_fill(cr);
}

void MRender::FillSolidRect(cairo_t* cr, MRect rect, COLORREF colour) {
  if (!cr || rect.IsEmpty()) return;
  SetSourceColorRef(cr, colour);
  cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
  cairo_fill(cr);
}

void MRender::FillSolidRect(cairo_t* cr, int x, int y, int width, int height, COLORREF colour) {
  FillSolidRect(cr, MRect::FromXYWH(x, y, width, height), colour);
}

// ===========================================================================
// Text

namespace {

constexpr uint32_t kLayoutFlags = MDT_CENTER | MDT_RIGHT | MDT_WORDBREAK | MDT_SINGLELINE |
                                  MDT_END_ELLIPSIS;
constexpr size_t kMaxLayouts = 4096;

struct LayoutEntry {
  std::wstring text;
  std::wstring face;
  int size = 0;
  int style = 0;
  int width = -1;
  uint32_t flags = 0;
  PangoLayout* layout = nullptr;
  PangoRectangle ink{};
  PangoRectangle logical{};
};

struct FontKey {
  std::wstring face;
  int size;
  int style;
  bool operator==(const FontKey& o) const { return size == o.size && style == o.style && face == o.face; }
};

struct FontKeyHash {
  size_t operator()(const FontKey& k) const {
    return std::hash<std::wstring>()(k.face) ^ (static_cast<size_t>(k.size) * 0x9E3779B97F4A7C15ull) ^
           (static_cast<size_t>(k.style) << 7);
  }
};

class TextEngine {
 public:
  std::mutex lock;

  static TextEngine& Get() {
    static TextEngine* engine = new TextEngine();  // lives for the process
    return *engine;
  }

  // Under lock.
  LayoutEntry* Layout(const std::wstring& text, const MFont& font, int width, uint32_t flags) {
    ApplyLanguage();
    flags &= kLayoutFlags;
    const size_t key = Hash(text, font, width, flags);
    LayoutEntry& e = layouts_[key];
    if (e.layout && e.width == width && e.flags == flags && e.size == font.size &&
        e.style == font.style && e.text == text && e.face == font.face)
      return &e;
    if (layouts_.size() > kMaxLayouts) {
      ClearLayouts();
      return Layout(text, font, width, flags);
    }
    if (e.layout) g_object_unref(e.layout);
    e.text = text;
    e.face = font.face;
    e.size = font.size;
    e.style = font.style;
    e.width = width;
    e.flags = flags;
    e.layout = pango_layout_new(context_);
    const std::string utf8 = Utf8FromWide(text);
    pango_layout_set_text(e.layout, utf8.data(), static_cast<int>(utf8.size()));
    pango_layout_set_font_description(e.layout, Description(font));
    if (font.style & MFONT_UNDERLINE) {
      PangoAttrList* attrs = pango_attr_list_new();
      pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
      pango_layout_set_attributes(e.layout, attrs);
      pango_attr_list_unref(attrs);
    }
    if (flags & MDT_SINGLELINE) pango_layout_set_single_paragraph_mode(e.layout, TRUE);
    if (width >= 0) {
      pango_layout_set_width(e.layout, width * PANGO_SCALE);
      if ((flags & MDT_WORDBREAK) && !(flags & MDT_SINGLELINE))
        pango_layout_set_wrap(e.layout, PANGO_WRAP_WORD_CHAR);
      if (flags & MDT_END_ELLIPSIS) pango_layout_set_ellipsize(e.layout, PANGO_ELLIPSIZE_END);
      pango_layout_set_alignment(e.layout, (flags & MDT_CENTER)  ? PANGO_ALIGN_CENTER
                                           : (flags & MDT_RIGHT) ? PANGO_ALIGN_RIGHT
                                                                 : PANGO_ALIGN_LEFT);
    }
    pango_layout_get_extents(e.layout, &e.ink, &e.logical);
    return &e;
  }

  void ClearLayouts() {
    for (auto& [k, e] : layouts_)
      if (e.layout) g_object_unref(e.layout);
    layouts_.clear();
  }

  // Under lock: fonts or language changed.
  void FontsChanged() {
    ClearLayouts();
    for (auto& [k, d] : descriptions_) pango_font_description_free(d);
    descriptions_.clear();
    // A new font map reads fontconfig's current configuration, application fonts
    // included (this needs no libpangoft2 call).
    g_object_unref(context_);
    g_object_unref(fontmap_);
    CreateContext();
  }

 private:
  TextEngine() { CreateContext(); }

  void CreateContext() {
    language_ = -1;
    fontmap_ = pango_cairo_font_map_new();
    context_ = pango_font_map_create_context(fontmap_);
    cairo_font_options_t* opts = cairo_font_options_create();
    cairo_font_options_set_antialias(opts, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(context_, opts);
    cairo_font_options_destroy(opts);
    pango_cairo_context_set_resolution(context_, 96.0);
  }

  void ApplyLanguage() {
    const int lcid = GetTesselTextLanguage();
    if (lcid == language_) return;
    language_ = lcid;
    pango_context_set_language(context_,
                               pango_language_from_string(TesselPangoLanguageForLcid(lcid)));
    ClearLayouts();
  }

  static size_t Hash(const std::wstring& text, const MFont& font, int width, uint32_t flags) {
    size_t h = std::hash<std::wstring_view>()(text);
    auto mix = [&h](size_t v) { h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
    mix(std::hash<std::wstring_view>()(font.face));
    mix(static_cast<size_t>(font.size));
    mix(static_cast<size_t>(font.style));
    mix(static_cast<size_t>(static_cast<uint32_t>(width)));
    mix(flags);
    return h;
  }

  const PangoFontDescription* Description(const MFont& font) {
    FontKey key{font.face, font.size, font.style};
    auto it = descriptions_.find(key);
    if (it != descriptions_.end()) return it->second;
    int weight = 400;
    const std::string families = tessel_fonts::FamilyListForFace(font.face, &weight);
    PangoFontDescription* d = pango_font_description_new();
    pango_font_description_set_family(d, families.c_str());
    pango_font_description_set_absolute_size(d, std::max(font.size, 1) * PANGO_SCALE);
    if (font.style & MFONT_BOLD) weight = std::max(weight, 700);
    pango_font_description_set_weight(d, static_cast<PangoWeight>(weight));
    if (font.style & MFONT_ITALIC) pango_font_description_set_style(d, PANGO_STYLE_ITALIC);
    descriptions_.emplace(std::move(key), d);
    return d;
  }

  PangoFontMap* fontmap_ = nullptr;
  PangoContext* context_ = nullptr;
  int language_ = -1;
  std::unordered_map<size_t, LayoutEntry> layouts_;
  std::unordered_map<FontKey, PangoFontDescription*, FontKeyHash> descriptions_;
};

MSize BoundsOf(const LayoutEntry* e) {
  const int width = static_cast<int>(std::ceil(e->ink.width / static_cast<double>(PANGO_SCALE)));
  const double h = e->logical.height / static_cast<double>(PANGO_SCALE);
  const int ih = static_cast<int>(h);
  return MSize(std::max(width, 0), h != ih ? ih + 4 : ih + 1);
}

}  // namespace

void TesselRenderFontsChanged() {
  TextEngine& engine = TextEngine::Get();
  std::lock_guard guard(engine.lock);
  engine.FontsChanged();
}

void MRender::ClearTextCache() {
  TextEngine& engine = TextEngine::Get();
  std::lock_guard guard(engine.lock);
  engine.ClearLayouts();
}

void MRender::DrawTextW(cairo_t* cr, const std::wstring& text, MRect rect, ARGB colour,
                        const MFont& font, uint32_t format) {
  if (!cr || text.empty() || ArgbAlpha(colour) == 0) return;
  const int W = rect.Width(), H = rect.Height();
  const bool wrap = (format & MDT_WORDBREAK) && !(format & MDT_SINGLELINE);
  const int width = (wrap || (format & MDT_END_ELLIPSIS)) ? std::max(W, 1) : -1;
  TextEngine& engine = TextEngine::Get();
  std::lock_guard guard(engine.lock);
  LayoutEntry* e = engine.Layout(text, font, width, format);
  const double tw = e->logical.width / static_cast<double>(PANGO_SCALE);
  const double th = e->logical.height / static_cast<double>(PANGO_SCALE);
  double x = rect.left, y = rect.top;
  if (width < 0) {
    if (format & MDT_CENTER)
      x += (W - tw) / 2;
    else if (format & MDT_RIGHT)
      x += W - tw;
  }
  if (format & MDT_VCENTER)
    y += (H - th) / 2;
  else if (format & MDT_BOTTOM)
    y += H - th;
  x = std::floor(x + 0.5);
  y = std::floor(y + 0.5);
  const bool clip = !(format & MDT_NOCLIP) &&
                    (x < rect.left || y < rect.top || x + tw > rect.right || y + th > rect.bottom);
  if (clip) {
    cairo_save(cr);
    cairo_rectangle(cr, rect.left, rect.top, W, H);
    cairo_clip(cr);
  }
  SetSourceArgb(cr, colour);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, e->layout);
  cairo_new_path(cr);
  if (clip) cairo_restore(cr);
}

void MRender::DrawString(cairo_t* cr, const std::wstring& text, MRect rect, const MFont& font,
                         ARGB colour, int halign, int valign, bool wrap) {
  uint32_t format = static_cast<uint32_t>(halign & 3) | static_cast<uint32_t>(valign & 0xC);
  format |= wrap ? MDT_WORDBREAK : MDT_SINGLELINE;
  DrawTextW(cr, text, rect, colour, font, format);
}

MSize MRender::GetTextBounds(const std::wstring& text, const MFont& font) {
  TextEngine& engine = TextEngine::Get();
  std::lock_guard guard(engine.lock);
  return BoundsOf(engine.Layout(text, font, -1, 0));
}

MSize MRender::GetTextBounds(const std::wstring& text, const MFont& font, int max_width) {
  TextEngine& engine = TextEngine::Get();
  std::lock_guard guard(engine.lock);
  return BoundsOf(engine.Layout(text, font, std::max(max_width, 1), MDT_WORDBREAK));
}

MSize MRender::GetTextBounds(const std::wstring& text, const std::wstring& face, int size, int style) {
  MFont font;
  font.face = face;
  font.size = size;
  font.style = style;
  return GetTextBounds(text, font);
}

int MRender::GetUnknownGlyphsCount(const std::wstring& text, const MFont& font) {
  TextEngine& engine = TextEngine::Get();
  std::lock_guard guard(engine.lock);
  return pango_layout_get_unknown_glyphs_count(engine.Layout(text, font, -1, 0)->layout);
}

std::string MRender::GetTextRunFamily(const std::wstring& text, const MFont& font) {
  TextEngine& engine = TextEngine::Get();
  std::lock_guard guard(engine.lock);
  PangoLayoutLine* line = pango_layout_get_line_readonly(engine.Layout(text, font, -1, 0)->layout, 0);
  if (!line || !line->runs) return {};
  const auto* run = static_cast<const PangoGlyphItem*>(line->runs->data);
  if (!run || !run->item || !run->item->analysis.font) return {};
  PangoFontDescription* d = pango_font_describe(run->item->analysis.font);
  std::string family = pango_font_description_get_family(d) ? pango_font_description_get_family(d) : "";
  pango_font_description_free(d);
  return family;
}

// ===========================================================================
// Placement

MPoint MRender::GetOriginPoint(int width, int height, int cw, int ch, int horizontal, int vertical) {
  MPoint p;
  if (horizontal == 1)
    p.x = (width - cw) / 2;
  else if (horizontal == 2)
    p.x = width - cw;
  if (vertical == 4)
    p.y = (height - ch) / 2;
  else if (vertical == 8)
    p.y = height - ch;
  return p;
}

MPoint MRender::GetOriginPoint(MRect rect, int cw, int ch, int horizontal, int vertical) {
  MPoint p = GetOriginPoint(rect.Width(), rect.Height(), cw, ch, horizontal, vertical);
  return MPoint(p.x + rect.left, p.y + rect.top + 2);
}

// ===========================================================================
// Bitmaps

cairo_surface_t* MRender::CreateARGB32Bitmap(int width, int height, uint32_t** pixels) {
  if (pixels) *pixels = nullptr;
  if (width <= 0 || height <= 0) return nullptr;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  if (pixels) *pixels = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
  return s;
}

cairo_surface_t* MRender::CreateCompatibleBitmap(int width, int height) {
  return CreateARGB32Bitmap(width, height, nullptr);
}

cairo_t* MRender::CreateCompatibleDC(cairo_surface_t* surface) {
  if (!surface) return nullptr;
  return cairo_create(surface);
}

void MRender::BitBlt(cairo_t* dst, MRect rect, cairo_surface_t* src, int sx, int sy) {
  if (!dst || !src || rect.IsEmpty()) return;
  cairo_save(dst);
  cairo_set_operator(dst, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(dst, src, rect.left - sx, rect.top - sy);
  cairo_rectangle(dst, rect.left, rect.top, rect.Width(), rect.Height());
  cairo_fill(dst);
  cairo_restore(dst);
}

void MRender::BitBlt(cairo_t* dst, MRect rect, cairo_surface_t* src, int sx, int sy,
                     int constant_alpha) {
  if (!dst || !src || rect.IsEmpty() || constant_alpha <= 0) return;
  cairo_save(dst);
  cairo_set_source_surface(dst, src, rect.left - sx, rect.top - sy);
  cairo_rectangle(dst, rect.left, rect.top, rect.Width(), rect.Height());
  if (constant_alpha >= 255) {
    cairo_fill(dst);
  } else {
    cairo_clip(dst);
    cairo_paint_with_alpha(dst, constant_alpha / 255.0);
  }
  cairo_restore(dst);
}

namespace {

void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(v & 0xFF);
  b.push_back(v >> 8);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}

}  // namespace

bool MRender::SaveBitmapToFile(cairo_surface_t* surface, const std::string& utf8_path) {
  if (!surface || utf8_path.empty() || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
    return false;
  cairo_surface_flush(surface);
  const cairo_format_t format = cairo_image_surface_get_format(surface);
  if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return false;
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  if (!data || w <= 0 || h <= 0) return false;
  const uint32_t row = static_cast<uint32_t>(w) * 4;  // already a multiple of 4
  const uint32_t image_size = row * static_cast<uint32_t>(h);
  std::vector<uint8_t> header;
  header.reserve(54);
  // BITMAPFILEHEADER
  header.push_back('B');
  header.push_back('M');
  Put32(header, 54 + image_size);
  Put16(header, 0);
  Put16(header, 0);
  Put32(header, 54);
  // BITMAPINFOHEADER: bottom-up (positive height), 32 bits, BI_RGB.
  Put32(header, 40);
  Put32(header, static_cast<uint32_t>(w));
  Put32(header, static_cast<uint32_t>(h));
  Put16(header, 1);
  Put16(header, 32);
  Put32(header, 0);
  Put32(header, image_size);
  Put32(header, 2835);
  Put32(header, 2835);
  Put32(header, 0);
  Put32(header, 0);
  std::ofstream out(utf8_path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
  // Rows bottom-up; each pixel as it lies in memory: B, G, R, A.
  for (int y = h - 1; y >= 0; --y)
    out.write(reinterpret_cast<const char*>(data + static_cast<size_t>(y) * stride), row);
  return static_cast<bool>(out);
}

bool MRender::SaveBitmapToFile(cairo_surface_t* surface, const std::wstring& path) {
  return SaveBitmapToFile(surface, Utf8FromWide(path));
}
