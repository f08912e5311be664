#include "protocol/colour_table.h"

bool ColourTable::Set(int lightIndex, uint32_t bgr) {
  if (lightIndex < 0 || lightIndex >= COLOUR_TABLE_ENTRIES) return false;
  const size_t at = static_cast<size_t>(lightIndex) * 3;
  bytes_[at] = static_cast<uint8_t>(bgr & 0xFF);              // R
  bytes_[at + 1] = static_cast<uint8_t>((bgr >> 8) & 0xFF);   // G
  bytes_[at + 2] = static_cast<uint8_t>((bgr >> 16) & 0xFF);  // B
  return true;
}

uint32_t ColourTable::Get(int lightIndex) const {
  if (lightIndex < 0 || lightIndex >= COLOUR_TABLE_ENTRIES) return 0;
  const size_t at = static_cast<size_t>(lightIndex) * 3;
  return bytes_[at] | (bytes_[at + 1] << 8) | (static_cast<uint32_t>(bytes_[at + 2]) << 16);
}
