#include <gtest/gtest.h>

#include "emulator/emulate_request.h"

TEST(EmulateRequest, ParsesModelAndConnection) {
  struct Case {
    const char* text;
    bool valid;
    int deviceType;
    bool receiver;
  } cases[] = {
      {"301", true, 301, false},         {" 201 , receiver ", true, 201, true},
      {"101,cable", true, 101, false},   {"", false, 0, false},
      {"abc", false, 0, false},          {"301,bluetooth", false, 0, false},
      {"-5", false, 0, false},           {"0", false, 0, false},
      {"99999999999", false, 0, false},  {",receiver", false, 0, false},
  };
  for (const Case& c : cases) {
    auto request = ParseEmulateRequest(c.text);
    ASSERT_EQ(request.has_value(), c.valid) << c.text;
    if (!c.valid) continue;
    EXPECT_EQ(request->deviceType, c.deviceType) << c.text;
    EXPECT_EQ(request->receiver, c.receiver) << c.text;
  }
}

TEST(EmulateRequest, PlugsTheModelUnderTheGivenIdentity) {
  SimulatedBus bus;
  SimIdentity identity = SimulatedDevice::DefaultIdentity(201, SimConnection::Receiver);
  identity.pid = 0x7777;
  auto device = PlugRequested(bus, {201, true}, identity);
  EXPECT_EQ(device->Connection(), SimConnection::Receiver);
  EXPECT_EQ(device->Keyboard()->DeviceType(), 201);
  EXPECT_EQ(device->LinkState(), FR_LINK_RECEIVER);
  auto listed = bus.Enumerate();
  ASSERT_FALSE(listed.empty());
  EXPECT_EQ(listed[0].productId, 0x7777);
}
