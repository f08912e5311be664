#include "device/update_drives.h"

#include <libudev.h>

#include <cstdlib>

namespace {

uint16_t HexAttribute(udev_device* dev, const char* name) {
  const char* value = udev_device_get_sysattr_value(dev, name);
  return value ? static_cast<uint16_t>(std::strtoul(value, nullptr, 16)) : 0;
}

}  // namespace

std::vector<UpdateDrive> ListUpdateDrives() {
  std::vector<UpdateDrive> drives;
  udev* u = udev_new();
  if (!u) return drives;
  if (udev_enumerate* e = udev_enumerate_new(u)) {
    udev_enumerate_add_match_subsystem(e, "block");
    udev_enumerate_add_match_property(e, "DEVTYPE", "disk");
    udev_enumerate_scan_devices(e);
    udev_list_entry* entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
      udev_device* disk = udev_device_new_from_syspath(u, udev_list_entry_get_name(entry));
      if (!disk) continue;
      udev_device* usb = udev_device_get_parent_with_subsystem_devtype(disk, "usb", "usb_device");
      if (usb && HexAttribute(usb, "idVendor") == kUpdateModeVendor) {
        UpdateDrive drive;
        const char* node = udev_device_get_devnode(disk);
        drive.deviceNode = node ? node : "";
        drive.vendorId = HexAttribute(usb, "idVendor");
        drive.productId = HexAttribute(usb, "idProduct");
        drive.revision = HexAttribute(usb, "bcdDevice");
        drives.push_back(drive);
      }
      udev_device_unref(disk);
    }
    udev_enumerate_unref(e);
  }
  udev_unref(u);
  return drives;
}

int CountUpdateDrives(const std::vector<UpdateDrive>& drives, int productId) {
  int count = 0;
  for (const UpdateDrive& d : drives) {
    if (d.vendorId == kUpdateModeVendor && (productId == -1 || d.productId == productId)) ++count;
  }
  return count;
}

int FindUpdateDrives(int productId) { return CountUpdateDrives(ListUpdateDrives(), productId); }
