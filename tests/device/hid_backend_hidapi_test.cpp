// The hidapi back end on a machine that may have no HID devices at all.
#include <gtest/gtest.h>

#include "device/hid_backend_hidapi.h"
#include "device/keyboard_hid.h"

TEST(HidapiBackend, EnumeratesAndRefusesPathsThatDoNotOpen) {
  HidapiBackend backend;
  std::vector<HidDeviceInfo> found = backend.Enumerate();  // empty on a machine without devices
  for (const HidDeviceInfo& info : found) EXPECT_FALSE(info.path.empty());
  EXPECT_EQ(backend.Open(""), nullptr);
  EXPECT_EQ(backend.Open("/dev/no-such-hidraw"), nullptr);

  HidapiBackend second;  // a second user of hidapi in the same process
  EXPECT_EQ(second.Enumerate().size(), found.size());
}

TEST(HidapiBackend, ProcessWideLinkStartsEmpty) {
  KeyboardHid& hid = KeyboardHid::Instance();
  EXPECT_EQ(&hid, &KeyboardHid::Instance());
  EXPECT_FALSE(hid.Initialised());
  EXPECT_EQ(hid.CurrentInterface(), -1);
  EXPECT_EQ(hid.ConnectionMode(), -1);
  uint8_t frame[64] = {};
  EXPECT_FALSE(hid.WriteFrame(frame));
}
