#include "device/udev_hid_path.h"

#include <libudev.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "device/interface_path.h"

namespace {

constexpr unsigned kBusBluetooth = 0x0005;

}  // namespace

std::optional<std::wstring> InterfacePathOfHidraw(udev_device* hidraw) {
  if (!hidraw) return std::nullopt;
  const char* node = udev_device_get_devnode(hidraw);
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
  if (!node || !hid) return std::nullopt;
  // HID_ID is "BBBB:VVVVVVVV:PPPPPPPP" in hexadecimal.
  const char* hidId = udev_device_get_property_value(hid, "HID_ID");
  unsigned bus = 0, vendor = 0, product = 0;
  if (!hidId || std::sscanf(hidId, "%x:%x:%x", &bus, &vendor, &product) != 3) return std::nullopt;

  InterfacePathParts parts;
  parts.vendorId = static_cast<uint16_t>(vendor);
  parts.productId = static_cast<uint16_t>(product);
  parts.deviceNode = node;
  if (udev_device* usbInterface =
          udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_interface")) {
    if (const char* number = udev_device_get_sysattr_value(usbInterface, "bInterfaceNumber")) {
      parts.interfaceNumber = static_cast<int>(std::strtol(number, nullptr, 16));
    }
  }
  // BlueZ brings HID-over-GATT keyboards in through uhid.
  const char* syspath = udev_device_get_syspath(hid);
  parts.bluetoothLowEnergy = bus == kBusBluetooth && syspath && std::strstr(syspath, "/uhid/");
  return BuildInterfacePath(parts);
}
