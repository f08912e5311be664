#pragma once
// The text that identifies one HID interface to discovery, hot-plug and the
// `hid_interface` filters of config.xml: "VID_1A2B&PID_3C4D&MI_01#/DEV/HIDRAW3",
// upper case. Bluetooth LE (HID over GATT) interfaces carry the GATT HID service id so
// that the hot-plug handler can ignore them.
#include <cstdint>
#include <string>

inline constexpr wchar_t kHidOverGattServiceId[] = L"00001812-0000-1000-8000-00805F9B34FB";

struct InterfacePathParts {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  int interfaceNumber = -1;  // -1: the device reports none (then "&MI_" is left out)
  std::string deviceNode;    // e.g. "/dev/hidraw3"
  bool bluetoothLowEnergy = false;
};

std::wstring BuildInterfacePath(const InterfacePathParts& parts);
