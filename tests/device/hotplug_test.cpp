#include <gtest/gtest.h>

#include "device/hotplug_monitor.h"
#include "device/interface_path.h"
#include "device/update_drives.h"

TEST(InterfacePath, BuildsTheUpperCaseTextThatFiltersMatch) {
  struct Case {
    InterfacePathParts parts;
    std::wstring expected;
  } cases[] = {
      {{0x3a5c, 0x0301, 1, "/dev/hidraw3", false}, L"VID_3A5C&PID_0301&MI_01#/DEV/HIDRAW3"},
      {{0x1A2B, 0x3C4D, 3, "/dev/hidraw10", false}, L"VID_1A2B&PID_3C4D&MI_03#/DEV/HIDRAW10"},
      {{0x0001, 0x0002, -1, "/dev/hidraw0", false}, L"VID_0001&PID_0002#/DEV/HIDRAW0"},
      {{0x3a5c, 0x0301, 0, "/dev/hidraw5", true},
       L"VID_3A5C&PID_0301&MI_00&{00001812-0000-1000-8000-00805F9B34FB}#/DEV/HIDRAW5"},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildInterfacePath(c.parts), c.expected);
  // A config.xml filter is a plain substring of the path text.
  EXPECT_NE(BuildInterfacePath(cases[0].parts).find(L"VID_3A5C&PID_0301&MI_01"), std::wstring::npos);
}

TEST(HotplugMonitor, StartsAndStopsCleanlyWithoutDevices) {
  HotplugMonitor monitor;
  int calls = 0;
  const bool started = monitor.Start([&](DeviceChange, const std::wstring&) { ++calls; });
  if (started) EXPECT_TRUE(monitor.Running());
  monitor.Stop();
  EXPECT_FALSE(monitor.Running());
  monitor.Stop();  // twice is harmless
  // Start again after a stop.
  if (started) {
    EXPECT_TRUE(monitor.Start([&](DeviceChange, const std::wstring&) { ++calls; }));
    monitor.Stop();
  }
  EXPECT_EQ(calls, 0);
}

TEST(UpdateDrives, CountsByVendorAndProduct) {
  const std::vector<UpdateDrive> drives = {
      {"/dev/sdb", kUpdateModeVendor, kKeyboardUpdateProduct, 0x100},
      {"/dev/sdc", kUpdateModeVendor, kKeyboardUpdateProduct, 0x100},
      {"/dev/sdd", kUpdateModeVendor, kReceiverUpdateProduct, 0x100},
      {"/dev/sde", 0x1234, kKeyboardUpdateProduct, 0x100},
  };
  EXPECT_EQ(CountUpdateDrives(drives, kKeyboardUpdateProduct), 2);
  EXPECT_EQ(CountUpdateDrives(drives, kReceiverUpdateProduct), 1);
  EXPECT_EQ(CountUpdateDrives(drives, -1), 3);
  EXPECT_EQ(CountUpdateDrives({}, -1), 0);
  // This machine has no update-mode drives; the real lookup must still run cleanly.
  EXPECT_EQ(FindUpdateDrives(kKeyboardUpdateProduct), 0);
}
