#pragma once
// Display names of keys: short names of HID usages (the custom key dialog names a
// key by its layout code this way) and names of virtual-key codes for recorded
// macro events.
#include <string>

// Short name of a HID usage; empty when the usage has no name.
std::wstring HidUsageName(int usage);

struct VkName {
  int vk = 0;  // generic Shift/Ctrl/Alt become their left-hand codes
  std::wstring name;
};
// Display name of a virtual-key code as recorded events show it; empty name for a
// code the table does not know.
VkName VkKeyName(int vk);

// Names of the media and browser keys (166-183) that recorded events show; empty
// for other codes.
std::wstring MediaKeyName(int vk);
