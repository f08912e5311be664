// Image buttons of the key and macro pages and the key function icons.
#include "tools/skingen/glyphs.h"
#include "tools/skingen/painters.h"
#include "tools/skingen/theme.h"

namespace skingen {

namespace {

using namespace theme;

// Flat image button: glyph at rest, a plate under the pointer and when pressed.
void PaintImageButton(cairo_t* cr, const SkinImage& image, Glyph glyph, double glyph_size) {
  ForEachCell(cr, image, [&](cairo_t* c, int state, double w, double h) {
    if (state == 1) FillRoundedBox(c, 0, 0, w, h, 4, kRaisedHover);
    if (state == 2) FillRoundedBox(c, 0, 0, w, h, 4, 0x0B4A73);
    DrawGlyph(c, glyph, (w - glyph_size) / 2, (h - glyph_size) / 2, glyph_size, GlyphColour(state));
  });
}

template <Glyph G>
void ProfileButton(cairo_t* cr, const SkinImage& image) { PaintImageButton(cr, image, G, 18); }
template <Glyph G>
void RecordButton(cairo_t* cr, const SkinImage& image) { PaintImageButton(cr, image, G, 14); }

// Key function icons are drawn at 20 x 20 over the picker's cells.
template <Glyph G>
void FunctionIcon(cairo_t* cr, const SkinImage& image) {
  DrawGlyph(cr, G, 1, 1, image.Width() - 2, 0xDCE4EE);
}

}  // namespace

void AddIconPainters(PainterTable& table) {
  table["imgbtn_add.png"] = ProfileButton<Glyph::kPlus>;
  table["imgbtn_del.png"] = ProfileButton<Glyph::kTrash>;
  table["imgbtn_edit.png"] = ProfileButton<Glyph::kPencil>;
  table["imgbtn_import.png"] = ProfileButton<Glyph::kImport>;
  table["imgbtn_export.png"] = ProfileButton<Glyph::kExport>;
  table["btn_record_del.png"] = RecordButton<Glyph::kTrash>;
  table["btn_record_up.png"] = RecordButton<Glyph::kArrowUp>;
  table["btn_record_down.png"] = RecordButton<Glyph::kArrowDown>;
  table["icon/icon_pc.png"] = FunctionIcon<Glyph::kMonitor>;
  table["icon/icon_cal.png"] = FunctionIcon<Glyph::kCalculator>;
  table["icon/icon_email.png"] = FunctionIcon<Glyph::kMail>;
  table["icon/icon_multimedia.png"] = FunctionIcon<Glyph::kMusic>;
  table["icon/icon_playpause.png"] = FunctionIcon<Glyph::kPlayPause>;
  table["icon/icon_stop.png"] = FunctionIcon<Glyph::kStop>;
  table["icon/icon_pre.png"] = FunctionIcon<Glyph::kPrevious>;
  table["icon/icon_next.png"] = FunctionIcon<Glyph::kNext>;
  table["icon/icon_vol_down.png"] = FunctionIcon<Glyph::kVolumeDown>;
  table["icon/icon_vol_up.png"] = FunctionIcon<Glyph::kVolumeUp>;
  table["icon/icon_vol_mute.png"] = FunctionIcon<Glyph::kMute>;
  table["icon/icon_home.png"] = FunctionIcon<Glyph::kHome>;
  table["icon/icon_web_refresh.png"] = FunctionIcon<Glyph::kRefresh>;
  table["icon/icon_web_stop.png"] = FunctionIcon<Glyph::kCrossCircle>;
  table["icon/icon_web_backward.png"] = FunctionIcon<Glyph::kBack>;
  table["icon/icon_web_foreward.png"] = FunctionIcon<Glyph::kForward>;
  table["icon/icon_favorites.png"] = FunctionIcon<Glyph::kStar>;
  table["icon/icon_web_search.png"] = FunctionIcon<Glyph::kSearch>;
}

}  // namespace skingen
