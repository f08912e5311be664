#pragma once
// The per-key colour table of the framed family: 200 entries of R, G, B by light index.
#include <array>
#include <cstdint>

#include "protocol/command_codes.h"

class ColourTable {
 public:
  ColourTable() { bytes_.fill(0); }

  // Writes the colour (0x00BBGGRR) at the light index; false (nothing written) when the
  // index lies outside 0-199.
  bool Set(int lightIndex, uint32_t bgr);
  // The colour at the index as 0x00BBGGRR; 0 outside the table.
  uint32_t Get(int lightIndex) const;
  void Clear() { bytes_.fill(0); }

  const std::array<uint8_t, COLOUR_TABLE_SIZE>& Bytes() const { return bytes_; }

 private:
  std::array<uint8_t, COLOUR_TABLE_SIZE> bytes_;
};
