#include "tools/skingen/contact_sheet.h"

#include <algorithm>

#include "tools/skingen/canvas.h"
#include "tools/skingen/theme.h"

namespace skingen {

namespace {

constexpr int kSheetWidth = 1800;
constexpr int kMaxTileWidth = 880;
constexpr int kPad = 14;
constexpr int kLabelHeight = 18;
constexpr int kZoom = 3;
constexpr int kZoomBelow = 64;  // pictures at most this tall get an enlarged copy

struct Tile {
  const NamedSurface* picture;
  double scale;  // of the 1:1 picture
  bool zoomed;
  int width, height;  // the tile's picture area
};

Tile MakeTile(const NamedSurface& picture) {
  const int w = cairo_image_surface_get_width(picture.surface);
  const int h = cairo_image_surface_get_height(picture.surface);
  Tile tile{&picture, std::min(1.0, double(kMaxTileWidth) / w), false, 0, 0};
  tile.zoomed = h <= kZoomBelow && w * (1 + kZoom) + kPad <= kMaxTileWidth;
  tile.width = static_cast<int>(w * tile.scale) + (tile.zoomed ? kPad + w * kZoom : 0);
  tile.height = static_cast<int>(h * tile.scale);
  if (tile.zoomed) tile.height = h * kZoom;
  return tile;
}

void DrawTile(cairo_t* cr, const Tile& tile, double x, double y) {
  cairo_surface_t* surface = tile.picture->surface;
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, tile.scale, tile.scale);
  cairo_set_source_surface(cr, surface, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
  if (tile.zoomed) {
    cairo_save(cr);
    cairo_translate(cr, x + w + kPad, y);
    cairo_scale(cr, kZoom, kZoom);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  std::string label = tile.picture->name + "  " + std::to_string(w) + "x" + std::to_string(h);
  DrawText(cr, label, x, y + tile.height + 2, kMaxTileWidth, kLabelHeight - 2, 11, theme::kTextDim,
           Align::kLeft);
}

}  // namespace

bool WriteContactSheet(const SkinSet& skins, const std::string& path) {
  // Flow the tiles into rows.
  std::vector<std::vector<Tile>> rows(1);
  int row_width = kPad;
  for (const NamedSurface& picture : skins.Pictures()) {
    Tile tile = MakeTile(picture);
    const int tile_width = std::max(tile.width, 150);
    if (row_width + tile_width + kPad > kSheetWidth && !rows.back().empty()) {
      rows.emplace_back();
      row_width = kPad;
    }
    rows.back().push_back(tile);
    row_width += tile_width + kPad;
  }
  int height = kPad;
  for (const auto& row : rows) {
    int tallest = 0;
    for (const Tile& tile : row) tallest = std::max(tallest, tile.height);
    height += tallest + kLabelHeight + kPad;
  }
  cairo_surface_t* sheet = NewSurface(kSheetWidth, height);
  cairo_t* cr = cairo_create(sheet);
  SetColour(cr, theme::kBackground);
  cairo_paint(cr);
  int y = kPad;
  for (const auto& row : rows) {
    int x = kPad, tallest = 0;
    for (const Tile& tile : row) {
      DrawTile(cr, tile, x, y);
      x += std::max(tile.width, 150) + kPad;
      tallest = std::max(tallest, tile.height);
    }
    y += tallest + kLabelHeight + kPad;
  }
  cairo_destroy(cr);
  const bool ok = WritePng(sheet, path);
  cairo_surface_destroy(sheet);
  return ok;
}

}  // namespace skingen
