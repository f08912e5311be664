// Discovery against the simulated keyboard and receiver: which interfaces are opened, kept,
// held as the spare and probed, and what the list then says about the connection.
#include <gtest/gtest.h>

#include "device/interface_path.h"
#include "monitor_rig.h"
#include "protocol/commands_framed.h"

namespace {

LightParams Light(int brightness) {
  LightParams light;
  light.mode = 2;
  light.brightness = brightness;
  return light;
}

std::wstring PathTextOf(const SimulatedDevice& device, int interfaceNumber) {
  InterfacePathParts parts;
  parts.vendorId = device.Identity().vid;
  parts.productId = device.Identity().pid;
  parts.interfaceNumber = interfaceNumber;
  parts.deviceNode = device.PathOf(interfaceNumber);
  return BuildInterfacePath(parts);
}

TEST(Discovery, ShippedIdentitiesOfTheSimulatedKeyboardMatchConfigXml) {
  std::vector<DeviceModeEntry> modes = ShippedModes();
  ASSERT_EQ(modes.size(), 6u);
  SimulatedBus bus;
  for (const DeviceModeEntry& mode : modes) {
    SCOPED_TRACE(Utf8FromWide(mode.hidInterface));
    SimConnection connection = mode.mode == kModeCable ? SimConnection::Cable : SimConnection::Receiver;
    auto device = PlugShipped(bus, mode.device_type, connection);
    EXPECT_EQ(device->Identity().vid, mode.vid);
    EXPECT_EQ(device->Identity().pid, mode.pid);
    EXPECT_EQ(device->Identity().release, mode.rev);
    // Only the vendor collection's path text carries the model's hid_interface.
    EXPECT_NE(PathTextOf(*device, 1).find(mode.hidInterface), std::wstring::npos);
    EXPECT_EQ(PathTextOf(*device, 0).find(mode.hidInterface), std::wstring::npos);
  }
}

TEST(Discovery, CableAndReceiverBothPresentTheCableIsCurrent) {
  MonitorRig rig;
  auto receiver = rig.Plug(301, SimConnection::Receiver);
  auto cable = rig.Plug(301, SimConnection::Cable);
  auto other = rig.Plug(201, SimConnection::Cable);

  EXPECT_EQ(rig.hid.Rescan(), 3);
  rig.hid.SetInitialised(true);
  std::vector<HidInterfaceEntry> listed = rig.hid.Interfaces(301);
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].path, MonitorRig::VendorPath(*receiver));
  EXPECT_EQ(listed[0].mode, kModeReceiver);
  EXPECT_EQ(listed[0].version, 0x0105);
  EXPECT_EQ(listed[1].mode, kModeCable);
  EXPECT_TRUE(listed[0].connected && listed[1].connected);
  EXPECT_TRUE(listed[0].product.empty());
  // Each probe: the status request, 10 ms, a read of at most 10 ms.
  EXPECT_EQ(rig.clock.Pauses(), (std::vector<int>{10, 10, 10}));
  EXPECT_EQ(rig.OutputsTo(MonitorRig::VendorPath(*cable)).size(), 1u);

  rig.hid.SetDeviceTypeFilter(301);
  EXPECT_EQ(rig.hid.CurrentInterface(), listed[1].index);
  EXPECT_EQ(rig.hid.ConnectionMode(), kModeCable);
  uint16_t version = 0;
  ASSERT_TRUE(rig.hid.ReceiverVersion(version));
  EXPECT_EQ(version, 0x0105);

  // The boot keyboard and consumer collections were opened, rejected and closed; the vendor
  // collections stay open until the next run.
  for (const auto& device : {receiver, cable, other}) {
    for (int number : {0, 2}) {
      EXPECT_EQ(rig.backend->Opened(device->PathOf(number)), 1);
      EXPECT_EQ(rig.backend->StillOpen(device->PathOf(number)), 0);
    }
    EXPECT_EQ(rig.backend->StillOpen(device->PathOf(1)), 1);
  }
  // Each run starts from nothing: the old handles are closed, the new list is the same.
  EXPECT_EQ(rig.hid.Rescan(), 3);
  EXPECT_EQ(rig.backend->StillOpen(cable->PathOf(1)), 1);
  EXPECT_EQ(rig.backend->Opened(cable->PathOf(1)), 2);
}

TEST(Discovery, ReceiverWithTheKeyboardOffIsListedButNothingIsSent) {
  MonitorRig rig;
  auto receiver = rig.Plug(301, SimConnection::Receiver);
  receiver->SetKeyboardLinked(false);

  ASSERT_EQ(rig.hid.Rescan(), 1);
  rig.hid.SetInitialised(true);
  rig.hid.SetDeviceTypeFilter(301);
  std::vector<HidInterfaceEntry> listed = rig.hid.Interfaces();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_FALSE(listed[0].connected);
  EXPECT_EQ(rig.hid.ConnectionMode(), -1);
  EXPECT_EQ(rig.hid.CurrentInterface(), -1);
  uint16_t version = 0;
  EXPECT_TRUE(rig.hid.KeyboardVersion(version));  // counts for the version all the same

  const size_t afterProbe = rig.bus->Journal().OfKind(SimReportKind::Output).size();
  EXPECT_FALSE(rig.hid.Send(FrSetLight(Light(3))));
  EXPECT_EQ(rig.bus->Journal().OfKind(SimReportKind::Output).size(), afterProbe);
  EXPECT_EQ(receiver->Keyboard()->State().lighting.commands, 0);
}

TEST(Discovery, InterfaceThreeIsHeldOpenButNeverUsed) {
  MonitorRig rig;
  SimIdentity identity = ShippedIdentity(301, SimConnection::Cable);
  identity.interfaces.push_back({3, 0xFF02, 0x02});
  auto device = std::make_shared<SimulatedDevice>(identity, SimConnection::Cable,
                                                  std::make_shared<SimulatedKeyboard>(301));
  rig.bus->Plug(device);

  ASSERT_EQ(rig.hid.Rescan(), 1);
  rig.hid.SetInitialised(true);
  rig.hid.SetDeviceTypeFilter(301);
  EXPECT_TRUE(rig.hid.HasSpareInterface());
  EXPECT_EQ(rig.backend->StillOpen(device->PathOf(3)), 1);
  ASSERT_EQ(rig.hid.Interfaces().size(), 1u);
  EXPECT_EQ(rig.hid.Interfaces()[0].interfaceNumber, 1);

  EXPECT_TRUE(rig.hid.Send(FrSetLight(Light(4))));
  EXPECT_TRUE(rig.OutputsTo(device->PathOf(3)).empty());  // not even probed
  EXPECT_EQ(rig.OutputsTo(device->PathOf(1)).size(), 2u);  // the probe and the light

  // The next run closes it and holds the new one.
  rig.hid.Rescan();
  EXPECT_EQ(rig.backend->StillOpen(device->PathOf(3)), 1);
  EXPECT_EQ(rig.backend->Opened(device->PathOf(3)), 2);
}

TEST(Discovery, OnlyRegisteredIdentitiesAreOpened) {
  MonitorRig rig(false);
  rig.hid.AddInterfaceFilter(0x3A5C, 0x0301, 0, L"Other product", 301, kModeCable,
                             L"VID_3A5C&PID_0301&MI_01");
  rig.hid.AddInterfaceFilter(0x3A5C, 0x0311, 0, L"", 301, kModeReceiver,
                             L"VID_3A5C&PID_0311&MI_01");
  auto cable = rig.Plug(301, SimConnection::Cable);      // product "" differs from the filter's
  auto foreign = rig.Plug(101, SimConnection::Cable);    // no filter at all
  auto receiver = rig.Plug(301, SimConnection::Receiver);

  EXPECT_EQ(rig.hid.Rescan(), 1);
  EXPECT_EQ(rig.hid.Interfaces()[0].path, MonitorRig::VendorPath(*receiver));
  for (const auto& device : {cable, foreign}) {
    for (int number : {0, 1, 2}) EXPECT_EQ(rig.backend->Opened(device->PathOf(number)), 0);
  }
}

// A reply that is not a status report with a link leaves the interface listed, unlinked.
TEST(Discovery, FailedProbesLeaveTheEntryListedButNotConnected) {
  struct Case {
    const char* name;
    SimReplyFault fault;
    bool writesFail;
  };
  for (const Case& c : {Case{"short", SimReplyFault::Short, false},
                        Case{"garbled", SimReplyFault::Garbled, false},
                        Case{"silent", SimReplyFault::Silent, false},
                        Case{"write fails", SimReplyFault::None, true}}) {
    SCOPED_TRACE(c.name);
    MonitorRig rig;
    auto cable = rig.Plug(301, SimConnection::Cable);
    cable->SetReplyFault(c.fault, 4);
    cable->SetWritesFail(c.writesFail);
    ASSERT_EQ(rig.hid.Rescan(), 1);
    EXPECT_FALSE(rig.hid.Interfaces()[0].connected);
    rig.hid.SetInitialised(true);
    EXPECT_EQ(rig.hid.CurrentInterface(), -1);
  }
}

}  // namespace
