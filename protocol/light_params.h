#pragma once
// The lighting row values a light command carries.
#include <cstdint>

struct LightParams {
  int mode = 1;
  int brightness = 0;
  int speed = 0;
  int direction = 0;
  int colorful = 0;
  int colorindex = 0;
  uint32_t colorValue = 0;  // 0x00BBGGRR
  bool perKey = false;      // the mode's capabilities contain the per-key bit
};
