#pragma once
// Every skin image the program and the toolkit load from skins/theme1/, with the
// number of state pictures its control asks for and how those pictures are laid
// out. The generator draws exactly these files; the skin test checks them. File
// names use '/' for sub-folders: the program's "icon\\tab_home.png" and
// "icon//icon_pc.png" both name icon/tab_home.png and icon/icon_pc.png.
//
// The image is columns x rows cells of frame_width x frame_height pixels:
//   - state pictures side by side (buttons, check boxes, thumb ...): columns = count;
//   - the slider track: one column, two rows (filled track above, empty below);
//   - the horizontal scroll bar: four stacked rows (track, thumb normal, hover,
//     dragged); its control reads a picture as a third of the width, so each row
//     repeats its picture three times;
//   - the vertical scroll bar: four pictures side by side, loaded with count 1.

#include <array>
#include <cstddef>
#include <string_view>

namespace skingen {

struct SkinImage {
  const char* name;  // path below the theme folder
  int count;         // picture count the control passes when it loads the image
  int columns;       // cells across
  int rows;          // cells down
  int frame_width;   // one cell
  int frame_height;

  constexpr int Width() const { return columns * frame_width; }
  constexpr int Height() const { return rows * frame_height; }
};

// Sizes follow the rectangles the controls are given (caption 1278 x 49, system
// buttons 30 x 30, tab items 80 x 80, battery control 79 x 28 ...).
inline constexpr SkinImage kSkinImages[] = {
    // Main window frame
    {"main_bkg.png", 1, 1, 1, 1280, 720},
    {"pic_caption.png", 1, 1, 1, 1278, 49},
    {"logo/logo.png", 1, 1, 1, 132, 32},
    {"main_sysbtn_close.png", 4, 4, 1, 30, 30},
    {"main_sysbtn_min.png", 4, 4, 1, 30, 30},
    {"main_sysbtn_website.png", 4, 4, 1, 30, 30},
    {"icon/icon_battery_bkg.png", 1, 1, 1, 44, 24},
    {"icon/icon_batteryvalue.png", 1, 1, 1, 38, 24},
    {"icon/icon_charge.png", 1, 1, 1, 12, 20},
    {"icon/mode_usb.png", 1, 1, 1, 40, 22},
    {"icon/mode_24g.png", 1, 1, 1, 40, 22},
    {"img_device_state.png", 2, 2, 1, 60, 38},
    // Tab strip (normal, hover, pressed/selected) and page icons
    {"icon/tab_home.png", 3, 3, 1, 80, 80},
    {"icon/tab_customkey.png", 3, 3, 1, 80, 80},
    {"icon/tab_macro.png", 3, 3, 1, 80, 80},
    {"icon/tab_light.png", 3, 3, 1, 80, 80},
    {"icon/tab_config.png", 3, 3, 1, 80, 80},
    {"icon/icon_keyboard.png", 1, 1, 1, 32, 32},
    {"icon/icon_macro.png", 1, 1, 1, 32, 32},
    {"icon/icon_lightmode.png", 1, 1, 1, 32, 32},
    {"icon/icon_config.png", 1, 1, 1, 32, 32},
    // Common controls
    {"btn_apply.png", 4, 4, 1, 60, 32},
    {"btn_checkbox.png", 8, 8, 1, 20, 20},
    {"btn_radiobox.png", 8, 8, 1, 20, 20},
    {"img_combobox.png", 4, 4, 1, 80, 32},
    {"img_edit.png", 4, 4, 1, 40, 28},
    {"img_spin_up.png", 4, 4, 1, 16, 12},
    {"img_spin_down.png", 4, 4, 1, 16, 12},
    {"img_slider_back.png", 1, 1, 2, 360, 6},
    {"img_thumb.png", 4, 4, 1, 20, 36},
    {"img_scroll_v.png", 1, 4, 1, 8, 120},
    {"img_scroll_h.png", 1, 3, 4, 40, 8},
    {"icon/icon_circle.png", 2, 2, 1, 20, 20},
    // Dialogs, tips and balloons
    {"bk_prompt.png", 1, 1, 1, 380, 200},
    {"img_tip_bk.png", 1, 1, 1, 40, 40},
    {"img_tip_arrow_left.png", 1, 1, 1, 8, 14},
    {"img_tip_arrow_right.png", 1, 1, 1, 8, 14},
    {"img_tip_arrow_top.png", 1, 1, 1, 14, 8},
    // Key page
    {"imgbtn_add.png", 4, 4, 1, 30, 30},
    {"imgbtn_del.png", 4, 4, 1, 30, 30},
    {"imgbtn_edit.png", 4, 4, 1, 30, 30},
    {"imgbtn_import.png", 4, 4, 1, 30, 30},
    {"imgbtn_export.png", 4, 4, 1, 30, 30},
    {"img_btn_layer_p.png", 4, 4, 1, 60, 30},
    {"img_btn_layer_n.png", 4, 4, 1, 60, 30},
    {"img_customkey.png", 4, 4, 1, 44, 28},
    // Key function icons, drawn at 20 x 20 in the picker
    {"icon/icon_pc.png", 1, 1, 1, 20, 20},
    {"icon/icon_cal.png", 1, 1, 1, 20, 20},
    {"icon/icon_email.png", 1, 1, 1, 20, 20},
    {"icon/icon_multimedia.png", 1, 1, 1, 20, 20},
    {"icon/icon_playpause.png", 1, 1, 1, 20, 20},
    {"icon/icon_stop.png", 1, 1, 1, 20, 20},
    {"icon/icon_pre.png", 1, 1, 1, 20, 20},
    {"icon/icon_next.png", 1, 1, 1, 20, 20},
    {"icon/icon_vol_down.png", 1, 1, 1, 20, 20},
    {"icon/icon_vol_up.png", 1, 1, 1, 20, 20},
    {"icon/icon_vol_mute.png", 1, 1, 1, 20, 20},
    {"icon/icon_home.png", 1, 1, 1, 20, 20},
    {"icon/icon_web_refresh.png", 1, 1, 1, 20, 20},
    {"icon/icon_web_stop.png", 1, 1, 1, 20, 20},
    {"icon/icon_web_backward.png", 1, 1, 1, 20, 20},
    {"icon/icon_web_foreward.png", 1, 1, 1, 20, 20},
    {"icon/icon_favorites.png", 1, 1, 1, 20, 20},
    {"icon/icon_web_search.png", 1, 1, 1, 20, 20},
    // Macro page
    {"btn_record_del.png", 4, 4, 1, 20, 20},
    {"btn_record_up.png", 4, 4, 1, 20, 20},
    {"btn_record_down.png", 4, 4, 1, 20, 20},
    // Lighting page
    {"btn_direction_left.png", 8, 8, 1, 30, 30},
    {"btn_direction_right.png", 8, 8, 1, 30, 30},
    {"btn_direction_top.png", 8, 8, 1, 30, 30},
    {"btn_direction_bottom.png", 8, 8, 1, 30, 30},
    {"btn_colorful.png", 4, 4, 1, 24, 24},
    {"btn_colorful1.png", 4, 4, 1, 24, 24},
    {"btn_colorful2.png", 4, 4, 1, 24, 24},
    {"btn_colorful3.png", 4, 4, 1, 24, 24},
    {"btn_colorful4.png", 4, 4, 1, 24, 24},
    {"btn_colorful5.png", 4, 4, 1, 24, 24},
    {"btn_colorful6.png", 4, 4, 1, 24, 24},
    {"btn_colorful7.png", 4, 4, 1, 24, 24},
    {"btn_colorful8.png", 4, 4, 1, 24, 24},
    {"img_circlepalette.png", 1, 1, 1, 140, 140},
};

// The busy animation of the wait dialog (stretched over 100 x 100).
inline constexpr const char* kLoadingGif = "loading.gif";
inline constexpr int kLoadingGifSize = 100;
inline constexpr int kLoadingGifFrames = 12;

// Files beside the executable rather than in the theme folder.
inline constexpr const char* kProgramIcon = "Vantor.ico";    // tray and window icon
inline constexpr const char* kDesktopIcon = "Vantor.png";    // desktop entries
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};  // entries of Vantor.ico

// The theme folder below the program folder.
inline constexpr const char* kThemeFolder = "skins/theme1";

inline const SkinImage* FindSkinImage(std::string_view name) {
  for (const auto& image : kSkinImages)
    if (name == image.name) return &image;
  return nullptr;
}

}  // namespace skingen
