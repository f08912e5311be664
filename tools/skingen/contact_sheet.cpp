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
  const int max_width = w >= 1280 ? 1280 : kMaxTileWidth;  // the window preview at 1:1
  Tile tile{&picture, std::min(1.0, double(max_width) / w), false, 0, 0};
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

const NamedSurface* Find(const SkinSet& skins, const std::string& name) {
  for (const NamedSurface& picture : skins.Pictures())
    if (picture.name == name) return &picture;
  return nullptr;
}

// Picture `index` of a skin whose pictures lie side by side, at (x, y).
void Place(cairo_t* cr, const SkinSet& skins, const std::string& name, double x, double y, int index = 0,
           int count = 1) {
  const NamedSurface* picture = Find(skins, name);
  if (!picture) return;
  const int w = cairo_image_surface_get_width(picture->surface) / count;
  const int h = cairo_image_surface_get_height(picture->surface);
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_set_source_surface(cr, picture->surface, x - index * w, y);
  cairo_paint(cr);
  cairo_restore(cr);
}

// A rough main window (1280 x 720) built from the skins, to judge them together.
cairo_surface_t* WindowPreview(const SkinSet& skins) {
  cairo_surface_t* surface = NewSurface(1280, 720);
  cairo_t* cr = cairo_create(surface);
  Place(cr, skins, "main_bkg.png", 0, 0);
  Place(cr, skins, "pic_caption.png", 1, 1);
  Place(cr, skins, "logo/logo.png", 16, 10);
  DrawText(cr, "Vantor K1 Compact", 490, 10, 300, 30, 15, theme::kText);
  Place(cr, skins, "main_sysbtn_close.png", 1230, 20, 0, 4);
  Place(cr, skins, "main_sysbtn_min.png", 1180, 20, 1, 4);
  Place(cr, skins, "main_sysbtn_website.png", 1130, 20, 0, 4);
  Place(cr, skins, "icon/icon_battery_bkg.png", 1050, 20);
  // Three of four level segments, copied column-wise as the battery control does.
  if (const NamedSurface* level = Find(skins, "icon/icon_batteryvalue.png")) {
    const int s = (cairo_image_surface_get_width(level->surface) - 6) / 4, p = s + 1;
    for (int i = 0; i < 3; ++i) {
      cairo_save(cr);
      cairo_rectangle(cr, 1050 + 3 + p * i, 20, s, cairo_image_surface_get_height(level->surface));
      cairo_clip(cr);
      cairo_set_source_surface(cr, level->surface, 1050, 20);
      cairo_paint(cr);
      cairo_restore(cr);
    }
  }
  Place(cr, skins, "icon/mode_24g.png", 990, 23);
  FillRoundedBox(cr, 1, 100, 75, 619, 0, theme::kArea, 0.5);
  const char* tabs[] = {"icon/tab_customkey.png", "icon/tab_macro.png", "icon/tab_light.png"};
  const char* titles[] = {"按键设置", "Макросы", "ライト"};
  for (int i = 0; i < 3; ++i) {
    Place(cr, skins, tabs[i], 0, 110 + 80 * i, i == 0 ? 2 : i == 1 ? 1 : 0, 3);
    DrawText(cr, titles[i], 0, 110 + 80 * i + 52, 80, 20, 12, i == 0 ? theme::kAccent : 0xADADAD,
             Align::kCentre, false, i == 0 ? "zh-cn" : i == 1 ? "ru" : "ja");
  }
  Place(cr, skins, "icon/tab_config.png", 0, 720 - 106, 0, 3);
  Place(cr, skins, "kb_vantor_k1_68.png", 196, 120);
  const char* layer[] = {"img_btn_layer_p.png", "img_btn_layer_n.png"};
  for (int i = 0; i < 4; ++i) {
    const double x = 340 + 130 * i;
    cairo_save(cr);
    cairo_translate(cr, x, 450);
    // Nine-grid is the toolkit's job; a plain stretch is close enough to judge.
    cairo_scale(cr, 2.0, 1.0);
    Place(cr, skins, layer[i == 0 ? 0 : 1], 0, 0, i, 4);
    cairo_restore(cr);
    const char* states[] = {"Layer 1", "Hover", "Pressed", "Disabled"};
    DrawText(cr, states[i], x, 450, 120, 30, 13, i == 3 ? 0x808080 : theme::kWhite);
  }
  for (int i = 0; i < 8; ++i) Place(cr, skins, "btn_checkbox.png", 340 + 30 * i, 500, i, 8);
  for (int i = 0; i < 8; ++i) Place(cr, skins, "btn_radiobox.png", 600 + 30 * i, 500, i, 8);
  Place(cr, skins, "img_circlepalette.png", 1000, 450);
  // A slider 400 wide at (340, 540) at value 50%: empty track, filled part, thumb.
  if (const NamedSurface* track = Find(skins, "img_slider_back.png")) {
    const int row = cairo_image_surface_get_height(track->surface) / 2;
    cairo_save(cr);
    cairo_rectangle(cr, 352, 555, 380, row);
    cairo_clip(cr);
    cairo_set_source_surface(cr, track->surface, 352, 555 - row);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 350, 555, 190 + 10, row);
    cairo_clip(cr);
    cairo_set_source_surface(cr, track->surface, 350, 555);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  Place(cr, skins, "img_thumb.png", 340 + 190, 540, 1, 4);
  Place(cr, skins, "img_tip_bk.png", 700, 600);
  DrawText(cr, "Fn + F1", 700, 600, 40, 40, 11, 0x141414);
  cairo_destroy(cr);
  return surface;
}

}  // namespace

bool WriteContactSheet(const SkinSet& skins, const std::string& path) {
  // Flow the tiles into rows.
  std::vector<std::vector<Tile>> rows(1);
  int row_width = kPad;
  NamedSurface preview{"window preview (rough, for judging the skins together)", WindowPreview(skins), false};
  std::vector<const NamedSurface*> all{&preview};
  for (const NamedSurface& picture : skins.Pictures()) all.push_back(&picture);
  for (const NamedSurface* picture_ptr : all) {
    const NamedSurface& picture = *picture_ptr;
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
  cairo_surface_destroy(preview.surface);
  const bool ok = WritePng(sheet, path);
  cairo_surface_destroy(sheet);
  return ok;
}

}  // namespace skingen
