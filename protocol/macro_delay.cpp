#include "protocol/macro_delay.h"

#include <algorithm>

namespace {
constexpr int kMaxDelayMs = 31000;
constexpr int kUnitMs[4] = {10, 50, 100, 1000};
}  // namespace

uint8_t MacroDelayByte(bool released, int delayMs) {
  int unit = 0;
  int count = 0;
  const int d = std::min(delayMs, kMaxDelayMs);
  if (d < 0) {
    count = 0;
  } else if (d <= 10) {
    count = 1;
  } else if (d <= 310) {
    count = d / 10;
  } else if (d <= 1550) {
    unit = 1;
    count = d / 50;
  } else if (d <= 3100) {
    unit = 2;
    count = d / 100;
  } else {
    unit = 3;
    count = d / 1000;
  }
  uint8_t byte = static_cast<uint8_t>((released ? 0x80 : 0) | (unit << 5) | count);
  return byte == 0 ? 1 : byte;
}

int MacroDelayMs(uint8_t delayByte) {
  return kUnitMs[(delayByte >> 5) & 3] * (delayByte & 0x1F);
}
