#include "protocol/shortcuts.h"

#include "protocol/command_codes.h"

namespace {

constexpr uint8_t kCtrl = 0xE0;
constexpr uint8_t kAlt = 0xE2;
constexpr uint8_t kWin = 0xE3;
constexpr uint8_t kSpace = 0x2C;

// Modifier down, key down, key up, modifier up.
std::vector<ShortcutStroke> Chord(uint8_t modifier, uint8_t key) {
  return {{modifier, false}, {key, false}, {key, true}, {modifier, true}};
}

// Alt+Space opens the window menu, then a letter picks its entry.
std::vector<ShortcutStroke> WindowMenu(uint8_t letter) {
  return {{kAlt, false}, {kSpace, false}, {letter, false},
          {letter, true}, {kSpace, true},  {kAlt, true}};
}

}  // namespace

std::vector<ShortcutStroke> ShortcutStrokes(int id) {
  switch (id) {
    case 1: return Chord(kCtrl, 0x04);   // Ctrl+A
    case 2: return Chord(kCtrl, 0x06);   // Ctrl+C
    case 3: return Chord(kCtrl, 0x1B);   // Ctrl+X
    case 4: return Chord(kCtrl, 0x19);   // Ctrl+V
    case 5: return Chord(kCtrl, 0x1D);   // Ctrl+Z
    case 6: return Chord(kCtrl, 0x16);   // Ctrl+S
    case 7: return Chord(kWin, 0x08);    // Win+E
    case 8: return Chord(kWin, 0x0F);    // Win+L
    case 9: return Chord(kWin, 0x07);    // Win+D
    case 10: return Chord(kAlt, 0x2B);   // Alt+Tab
    case 11: return Chord(kWin, 0x10);   // Win+M
    case 12: return Chord(kCtrl, 0x1A);  // Ctrl+W
    case 13: return WindowMenu(0x1B);    // Alt+Space, X (maximise)
    case 14: return WindowMenu(0x11);    // Alt+Space, N (minimise)
    case 15: return Chord(kAlt, 0x3D);   // Alt+F4
    default: return {};
  }
}

MacroContent ShortcutMacro(int id, int delayMs) {
  MacroContent macro;
  macro.playTimes = 1;
  for (const ShortcutStroke& stroke : ShortcutStrokes(id)) {
    macro.events.push_back(
        {stroke.released ? MACRO_EVENT_RELEASE : MACRO_EVENT_PRESS, stroke.usage, delayMs});
  }
  return macro;
}
