#pragma once
// The fifteen built-in shortcuts (assignment type 7), sent as macro blocks.
#include <cstdint>
#include <vector>

#include "protocol/macro_block.h"

struct ShortcutStroke {
  uint8_t usage = 0;
  bool released = false;
  bool operator==(const ShortcutStroke&) const = default;
};

inline constexpr int SHORTCUT_FIRST_ID = 1;
inline constexpr int SHORTCUT_LAST_ID = 15;
inline constexpr int SHORTCUT_DELAY_BLOCK_MS = 10;    // framed and report-7 blocks
inline constexpr int SHORTCUT_DELAY_OPCODE_MS = 100;  // opcode blocks

// The strokes of shortcut `id` (1-15); any other id has none.
std::vector<ShortcutStroke> ShortcutStrokes(int id);

// The shortcut as a macro: play count 1, every event with `delayMs`.
MacroContent ShortcutMacro(int id, int delayMs);
