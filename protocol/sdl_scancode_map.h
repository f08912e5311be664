#pragma once
// Keys arrive from the window system as SDL scancodes, which are USB HID keyboard
// usages for the ordinary keys (4-231) plus SDL's own numbers for media keys.
// Recorded macro events keep Windows virtual-key codes, so that stored macros and
// exchange files stay the same on every platform; this table gives them.

// SDL scancode numbers used here (their values are part of SDL's stable ABI).
constexpr int kScancodeKeypadEnter = 88;
constexpr int kScancodeKeypad1 = 89;
constexpr int kScancodeKeypad0 = 98;
constexpr int kScancodeKeypadPeriod = 99;
constexpr int kScancodeLeftShift = 225;
constexpr int kScancodeAudioNext = 258;
constexpr int kScancodeAcBookmarks = 274;

// Virtual-key code of a scancode; 0 when none fits. Keypad keys always give the
// keypad codes (VK_NUMPAD0-9, VK_DECIMAL, keypad Enter 108), whatever the Num Lock
// state; left and right modifiers give their sided codes.
int ScancodeToVk(int scancode);
