#pragma once
// Conversions between Windows virtual-key codes (what recorded macro events store)
// and the HID keyboard usages the keyboard is told to emit. Layout key codes come
// from the layout files and are not computed here.

// A few virtual-key codes the program names directly.
constexpr int VK_SHIFT_KEY = 0x10;
constexpr int VK_CONTROL_KEY = 0x11;
constexpr int VK_MENU_KEY = 0x12;  // Alt
constexpr int VK_NUMPAD0_KEY = 0x60;
constexpr int VK_DECIMAL_KEY = 0x6E;
constexpr int VK_KEYPAD_ENTER = 108;  // the keypad Enter as recorded events store it
constexpr int VK_LSHIFT_KEY = 0xA0;
constexpr int VK_LCONTROL_KEY = 0xA2;
constexpr int VK_LMENU_KEY = 0xA4;

// The usage of the keyboard's Fn key (a usage of the keyboard's own, not standard HID).
constexpr int kFnKeyUsage = 175;

// HID usage for a virtual-key code; 0 when the code has no usage.
int VkToHidUsage(int vk);
