#pragma once
// One key assignment as the key uploads need it, and how they find a macro's content.
#include <functional>
#include <optional>

#include "protocol/macro_block.h"

struct AssignmentToSend {
  int fnLayer = 0;     // 0 base layer, 1 Fn layer
  int keyCode = 0;     // layout key code
  int keyIndex = -1;   // position in the opcode key table (layout key_index), -1 none
  int macroType = 0;   // 0 default, 1, 2, 3 macro, 7 shortcut, ...
  int macroValue = 0;  // macro id for type 3, shortcut id for type 7, else the value
};

// The content of macro `macroId` (events already as HID usages), or nothing when the macro
// record does not exist.
using MacroLookup = std::function<std::optional<MacroContent>(int macroId)>;

// What a macro (type 3) or shortcut (type 7) key plays: the looked-up macro, or the shortcut
// with every event `shortcutDelayMs` long. Nothing for other types, a macro id of 0 or less,
// or a macro that is not found.
std::optional<MacroContent> ContentToPlay(const AssignmentToSend& key, const MacroLookup& lookup,
                                          int shortcutDelayMs);
