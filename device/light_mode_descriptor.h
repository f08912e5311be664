#pragma once
// One lighting mode a keyboard model offers, read from its layout file, and the
// capability bits that say which settings the mode takes.
#include <string>

// Capability bits of a lighting mode (the `attribute` of a layout's light/info and
// `config_func` of a lighting row).
enum LightCaps : int {
  LIGHT_CAP_BRIGHTNESS = 0x001,
  LIGHT_CAP_SPEED = 0x002,
  LIGHT_CAP_DIR_LR = 0x004,
  LIGHT_CAP_DIR_UD = 0x008,
  LIGHT_CAP_PALETTE = 0x010,
  LIGHT_CAP_CUSTOM_COLOUR = 0x020,
  LIGHT_CAP_COLOURS = 0x040,
  LIGHT_CAP_GRADIENTS = 0x080,
  LIGHT_CAP_PER_KEY = 0x100,
  LIGHT_CAP_MUSIC = 0x200,
  LIGHT_CAP_SCREEN = 0x400,
};
constexpr int kAllLightCaps = 0x7FF;

struct LightModeDescriptor {
  std::wstring name;  // decimal text id of the mode's display name
  int mode = 0;       // mode number, from 1
  int attribute = 0;  // LightCaps bits
};

// The lighting settings that go with a mode when the layout is read: a fresh row
// for the current profile with the layout's defaults.
struct LightModeRecord {
  int profile = 1;
  std::wstring name;
  int mode = 0;
  int brightness = 0;
  int speed = 0;
  int direction = 0;
  int colorful = 1;
  int colorindex = 7;
  int color_value = 0x0000FF;  // 0x00BBGGRR: red
  int config_func = 0;
};
