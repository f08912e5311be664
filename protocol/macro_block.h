#pragma once
// MacroBlock: the bytes that describe what one key plays, in the layout of each family.
//   Framed:  [0] layer + 1, [1] key code, [2] play count, [3] event count n, then n events
//            of (HID usage, MacroDelayByte); 162 bytes, at most 79 events.
//   Report7: [0] 1, [1] slot, [2] key code, [3] play count, then events of
//            (HID usage, MacroDelayByte); 168 bytes, at most 82 events, no event count.
//   Opcode:  [0] play count (1-255), [1] event count n, then n events of
//            (HID usage, delay low byte, delay high byte | 0x80 when pressed); 2 + 3n bytes.
#include <cstdint>
#include <vector>

// One recorded event, its key already turned into a HID usage by the caller. Only types
// MACRO_EVENT_PRESS (2) and MACRO_EVENT_RELEASE (3) are sent; other types are skipped.
struct MacroEvent {
  int type = 2;
  uint8_t usage = 0;
  int delayMs = 0;  // pause after this event
  bool operator==(const MacroEvent&) const = default;
};

// What a key plays: the macro's play_times and its events in record_index order.
struct MacroContent {
  int playTimes = 1;
  std::vector<MacroEvent> events;
};

// `macro` null = the macro record was not found.
// Framed: play count 0 then. More than 79 events: the first 79 go out and the count says 79.
std::vector<uint8_t> FramedMacroBlock(int fnLayer, int keyCode, const MacroContent* macro);

// Report-7: null gives [0] 1, [1] slot and zeros, which frees the slot (also used for an
// assignment that is neither a macro nor a shortcut). More than 82 events: the first 82.
std::vector<uint8_t> Report7MacroBlock(int slot, int keyCode, const MacroContent* macro);

// Opcode: null gives play count 1 and no events. More than 255 events: the first 255.
std::vector<uint8_t> OpcodeMacroBlock(const MacroContent* macro);

// The 3 bytes of one opcode event; the delay is limited to 0-32767 ms (15 bits).
void AppendOpcodeEvent(std::vector<uint8_t>& out, uint8_t usage, bool released, int delayMs);

// Events of the block that are sent (types 2 and 3 only).
bool IsSentMacroEvent(const MacroEvent& event);
