#include "protocol/assignment_to_send.h"

#include "protocol/command_codes.h"
#include "protocol/shortcuts.h"

std::optional<MacroContent> ContentToPlay(const AssignmentToSend& key, const MacroLookup& lookup,
                                          int shortcutDelayMs) {
  if (key.macroType == ASSIGN_SHORTCUT) return ShortcutMacro(key.macroValue, shortcutDelayMs);
  if (key.macroType == ASSIGN_MACRO && key.macroValue > 0 && lookup) return lookup(key.macroValue);
  return std::nullopt;
}
