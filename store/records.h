#pragma once
// The in-memory records of the store's tables. Fields in declaration order;
// each has the name of its table column. Integers are 32-bit signed, texts wide.
// A freshly constructed record has every integer 0 and every text empty.
#include <cstdint>
#include <string>

struct ProfileData {  // t_profile_data
  int32_t profile = 0;
  std::wstring name;
  std::wstring app;
  int32_t type = 0;
  int32_t status = 0;
};

struct KeyMacroData {  // t_key_macro_data
  int32_t key_id = 0;
  int32_t profile = 0;
  int32_t fn_layer = 0;
  int32_t key_code = 0;
  int32_t layout_value = 0;
  std::wstring layout_desc;
  int32_t macro_type = 0;
  int32_t macro_value = 0;
  int32_t macro_value2 = 0;
  int32_t macro_value3 = 0;
  std::wstring macro_desc;
};

// Its operations take and return the three values separately; the record exists for
// callers that want to keep them together.
struct KeyOtherData {  // t_key_otherdata
  int32_t macro_value = 0;
  std::wstring macro_desc;
  std::wstring param;
  int32_t type = 0;
};

struct MacroData {  // t_macro_data
  int32_t macro_id = 0;
  std::wstring name;
  int32_t link_count = 0;
  int32_t play_times = 0;
  int32_t delay_type = 0;
  int32_t delay_time = 0;
};

struct MacroRecordData {  // t_macrorecord
  int32_t record_id = 0;
  int32_t macro_id = 0;
  int32_t type = 0;
  int32_t record_index = 0;
  int32_t value = 0;
  int32_t delay_time = 0;
  std::wstring desc;
};

struct LightData {  // t_light_data
  int32_t light_id = 0;
  int32_t profile = 0;
  std::wstring name;
  int32_t mode = 0;
  int32_t brightness = 0;
  int32_t speed = 0;
  int32_t direction = 0;
  int32_t colorful = 0;
  int32_t colorindex = 0;
  int32_t color_value = 0;
  int32_t config_func = 0;
  int32_t reserved = 0;
  int32_t status = 0;
};

struct KeyLightData {  // t_key_light_data
  int32_t keylight_id = 0;
  int32_t profile = 0;
  int32_t light_id = 0;
  int32_t key_code = 0;
  int32_t key_rgb = 0;
};

struct MusicLayerData {  // t_musiclayer_data (sel is never read into the record)
  int32_t layer_id = 0;
  int32_t profile = 0;
  std::wstring name;
  int32_t deviceindex = 0;
  int32_t foremode = 0;
  int32_t fore_amplitude = 0;
  int32_t backmode = 0;
  int32_t backb_right = 0;
};
