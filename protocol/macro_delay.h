#pragma once
// The one-byte delay of a macro event in the framed and report-7 macro blocks.
#include <cstdint>

// bit 7: 1 = key release; bits 6-5: unit (10, 50, 100, 1000 ms); bits 4-0: count 1-31.
// The delay is limited to 31000 ms first; a negative delay gives count 0; a byte of 0
// becomes 1 (a press with no delay).
uint8_t MacroDelayByte(bool released, int delayMs);

// The delay in milliseconds a delay byte stands for (unit x count), for decoding.
int MacroDelayMs(uint8_t delayByte);
inline bool MacroDelayIsRelease(uint8_t delayByte) { return (delayByte & 0x80) != 0; }
