#include "protocol/macro_block.h"

#include <algorithm>

#include "protocol/command_codes.h"
#include "protocol/macro_delay.h"

namespace {

uint8_t Byte(int value) { return static_cast<uint8_t>(value & 0xFF); }

// A count that travels in one byte: kept within 0-255 rather than wrapped.
uint8_t CountByte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

// Writes (usage, delay byte) pairs from `at` on, at most `maxEvents`; returns how many.
int WriteTwoByteEvents(std::vector<uint8_t>& block, size_t at, const MacroContent& macro,
                       int maxEvents) {
  int written = 0;
  for (const MacroEvent& event : macro.events) {
    if (!IsSentMacroEvent(event)) continue;
    if (written == maxEvents) break;
    block[at++] = event.usage;
    block[at++] = MacroDelayByte(event.type == MACRO_EVENT_RELEASE, event.delayMs);
    ++written;
  }
  return written;
}

}  // namespace

bool IsSentMacroEvent(const MacroEvent& event) {
  return event.type == MACRO_EVENT_PRESS || event.type == MACRO_EVENT_RELEASE;
}

std::vector<uint8_t> FramedMacroBlock(int fnLayer, int keyCode, const MacroContent* macro) {
  std::vector<uint8_t> block(FR_MACRO_BLOCK_SIZE, 0);
  block[0] = Byte(fnLayer + 1);
  block[1] = Byte(keyCode);
  if (macro) {
    block[2] = CountByte(macro->playTimes);
    // The count names only the events that fit the block.
    block[3] = CountByte(WriteTwoByteEvents(block, 4, *macro, FR_MACRO_MAX_EVENTS));
  }
  return block;
}

std::vector<uint8_t> Report7MacroBlock(int slot, int keyCode, const MacroContent* macro) {
  std::vector<uint8_t> block(R7_MACRO_BLOCK_SIZE, 0);
  block[0] = 1;
  block[1] = Byte(slot);
  if (macro) {
    block[2] = Byte(keyCode);
    block[3] = CountByte(macro->playTimes);
    WriteTwoByteEvents(block, 4, *macro, R7_MACRO_MAX_EVENTS);
  }
  return block;
}

void AppendOpcodeEvent(std::vector<uint8_t>& out, uint8_t usage, bool released, int delayMs) {
  // The delay has 15 bits; bit 7 of the high byte says "pressed".
  const int d = std::clamp(delayMs, 0, 0x7FFF);
  out.push_back(usage);
  out.push_back(static_cast<uint8_t>(d & 0xFF));
  const uint8_t high = static_cast<uint8_t>(d >> 8);
  out.push_back(released ? static_cast<uint8_t>(high & 0x7F) : static_cast<uint8_t>(high | 0x80));
}

std::vector<uint8_t> OpcodeMacroBlock(const MacroContent* macro) {
  std::vector<uint8_t> block;
  block.push_back(macro ? static_cast<uint8_t>(std::clamp(macro->playTimes, 1, 255)) : 1);
  block.push_back(0);
  if (!macro) return block;
  int written = 0;
  for (const MacroEvent& event : macro->events) {
    if (!IsSentMacroEvent(event)) continue;
    if (written == OP_MACRO_MAX_EVENTS) break;
    AppendOpcodeEvent(block, event.usage, event.type == MACRO_EVENT_RELEASE, event.delayMs);
    ++written;
  }
  block[1] = static_cast<uint8_t>(written);
  return block;
}
