// The device monitor against the simulated keyboard: device-change notifications, the
// refresh (rescan and connection update), the status poll and update-mode drives.
#include <gtest/gtest.h>

#include "app/task_codes.h"
#include "emulator/bus_hotplug.h"
#include "monitor_rig.h"

namespace {

using Tasks = std::vector<int>;

const std::wstring kCablePath = L"VID_3A5C&PID_0301&MI_01#/DEV/HIDRAW3";
const std::wstring kReceiverPath = L"VID_3A5C&PID_0311&MI_01#/DEV/HIDRAW4";

int StatusRequests(const SimulatedDevice& device) {
  return device.Keyboard()->State().statusRequests;
}

TEST(DeviceMonitor, NotificationsQueueARefreshOnlyForConfiguredIdentities) {
  MonitorRig rig;
  struct Case {
    const char* name;
    DeviceChange event;
    std::wstring path;
    Tasks queued;
  };
  const Case cases[] = {
      {"arrival", DeviceChange::kArrival, kCablePath, {TASK_DEVICE_ARRIVED}},
      {"lower case", DeviceChange::kArrival, L"vid_3a5c&pid_0311&mi_01#/dev/hidraw9",
       {TASK_DEVICE_ARRIVED}},
      {"other interface", DeviceChange::kArrival, L"VID_3A5C&PID_0301&MI_00#/DEV/HIDRAW2", {}},
      {"other product", DeviceChange::kArrival, L"VID_3A5C&PID_0999&MI_01#/DEV/HIDRAW5", {}},
      {"BLE", DeviceChange::kArrival,
       L"VID_3A5C&PID_0301&MI_01#{00001812-0000-1000-8000-00805f9b34fb}#/DEV/HIDRAW6", {}},
      {"removal of a device never present", DeviceChange::kRemoveComplete, kCablePath, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rig.monitor.OnDeviceChange(c.event, c.path);
    EXPECT_EQ(rig.TakeQueued(), c.queued);
  }
}

TEST(DeviceMonitor, AnIdentityWithoutInterfaceTextMatchesNoPath) {
  MonitorRig rig(false);
  DeviceModeEntry entry;
  entry.vid = 0x3A5C;
  entry.pid = 0x0301;
  entry.device_type = 301;
  rig.monitor.AddIdentity(entry);
  rig.monitor.OnDeviceChange(DeviceChange::kArrival, kCablePath);
  EXPECT_TRUE(rig.TakeQueued().empty());
}

TEST(DeviceMonitor, PlugAndUnplugOnTheBusDriveTheConnectionDisplay) {
  MonitorRig rig;
  BusHotplugSource hotplug(rig.bus);
  ASSERT_TRUE(hotplug.Start([&](DeviceChange event, const std::wstring& path) {
    rig.monitor.OnDeviceChange(event, path);
  }));

  auto cable = rig.Plug(301, SimConnection::Cable);
  EXPECT_EQ(rig.TakeQueued(), Tasks{TASK_DEVICE_ARRIVED});  // one of its three interfaces
  rig.monitor.RefreshDevice();
  ConnectionState state = rig.monitor.State();
  EXPECT_TRUE(state.interfaceFound && state.keyboardPresent);
  EXPECT_EQ(state.connectionMode, kModeCable);
  EXPECT_EQ(rig.view.icon, kCableIcon);
  EXPECT_EQ(rig.view.title, kTextTitleConnected);
  EXPECT_EQ(rig.view.status, kTextStatusConnected);
  EXPECT_EQ(rig.view.picture, kKeyboardPicture);
  EXPECT_EQ(rig.view.tab, kTabKeys);
  EXPECT_TRUE(rig.view.tabBar && rig.view.pages);
  EXPECT_EQ(rig.view.layout, 301);
  EXPECT_EQ(rig.view.presentTypes, std::vector<int>{301});
  EXPECT_EQ(rig.TakeQueued(), (Tasks{TASK_CHECK_FIRMWARE, TASK_CHECK_DONGLE, TASK_LOAD_PAGES}));
  EXPECT_EQ(rig.hid.DeviceTypeFilter(), 301);

  rig.bus->Unplug(cable);
  EXPECT_EQ(rig.TakeQueued(), Tasks{TASK_DEVICE_REMOVED});
  EXPECT_EQ(rig.monitor.Identities()[0].present, 0);
  rig.monitor.RefreshDevice();
  state = rig.monitor.State();
  EXPECT_FALSE(state.interfaceFound || state.keyboardPresent);
  EXPECT_EQ(state.connectionMode, -1);
  EXPECT_EQ(rig.view.title, kTextTitleNotConnected);
  EXPECT_EQ(rig.view.tab, kTabHome);
  EXPECT_TRUE(rig.view.icon.empty());
  EXPECT_EQ(rig.view.status, 0);
  EXPECT_FALSE(rig.view.tabBar || rig.view.pages);
  EXPECT_TRUE(rig.view.presentTypes.empty());
  EXPECT_TRUE(rig.TakeQueued().empty());

  // Unplugged a second time: already marked absent, nothing is queued.
  rig.monitor.OnDeviceChange(DeviceChange::kRemoveComplete, kCablePath);
  EXPECT_TRUE(rig.TakeQueued().empty());
  hotplug.Stop();
  rig.Plug(301, SimConnection::Cable);
  EXPECT_TRUE(rig.TakeQueued().empty());
}

TEST(DeviceMonitor, CableIsPreferredWhenTheReceiverIsAlsoPlugged) {
  MonitorRig rig;
  rig.Plug(301, SimConnection::Receiver);
  rig.Plug(301, SimConnection::Cable);
  rig.monitor.RefreshDevice();
  EXPECT_EQ(rig.monitor.State().connectionMode, kModeCable);
  EXPECT_EQ(rig.view.icon, kCableIcon);
}

TEST(DeviceMonitor, KeyboardSwitchedOnBehindTheReceiverIsNoticedByItsStatusReport) {
  MonitorRig rig;
  auto receiver = rig.Plug(301, SimConnection::Receiver);
  receiver->SetKeyboardLinked(false);
  rig.monitor.RefreshDevice();
  ConnectionState state = rig.monitor.State();
  EXPECT_TRUE(state.interfaceFound);
  EXPECT_FALSE(state.keyboardPresent);
  EXPECT_EQ(state.connectionMode, -1);
  EXPECT_EQ(rig.view.icon, kReceiverIcon);
  EXPECT_EQ(rig.view.title, kTextTitleNotConnected);
  EXPECT_EQ(rig.view.tab, kTabHome);
  EXPECT_FALSE(rig.view.tabBar || rig.view.pages);
  EXPECT_TRUE(rig.TakeQueued().empty());

  rig.monitor.StatusPoll();  // nothing pending, the poll period starts
  EXPECT_FALSE(rig.monitor.State().keyboardPresent);

  receiver->SetKeyboardLinked(true);  // the receiver reports the link by itself
  rig.monitor.StatusPoll();
  state = rig.monitor.State();
  EXPECT_TRUE(state.keyboardPresent);
  EXPECT_EQ(state.connectionMode, kModeReceiver);
  EXPECT_EQ(rig.view.icon, kReceiverIcon);
  EXPECT_EQ(rig.view.title, kTextTitleConnected);
  EXPECT_TRUE(rig.view.tabBar && rig.view.pages);
  EXPECT_EQ(rig.TakeQueued(), Tasks{TASK_LOAD_PAGES});
}

TEST(DeviceMonitor, FamiliesWithoutStatusReportsNoticeTheKeyboardAtTheNextPoll) {
  MonitorRig rig;
  rig.monitor.SetDeviceType(201);
  auto receiver = rig.Plug(201, SimConnection::Receiver);
  receiver->SetKeyboardLinked(false);
  rig.monitor.RefreshDevice();
  rig.monitor.StatusPoll();
  receiver->SetKeyboardLinked(true);
  rig.clock.AdvanceUs(4999'000);
  rig.monitor.StatusPoll();
  EXPECT_FALSE(rig.monitor.State().keyboardPresent);  // not read: only the framed family
  rig.clock.AdvanceUs(1000);
  rig.monitor.StatusPoll();  // no keyboard to ask: the failed request rescans
  EXPECT_TRUE(rig.monitor.State().keyboardPresent);
  EXPECT_EQ(rig.monitor.State().connectionMode, kModeReceiver);
}

TEST(DeviceMonitor, StatusIsRequestedEveryFiveSecondsAndItsBatteryShown) {
  MonitorRig rig;
  auto cable = rig.Plug(301, SimConnection::Cable);
  rig.monitor.RefreshDevice();
  const int probes = StatusRequests(*cable);
  cable->Keyboard()->SetBattery(64);

  rig.monitor.StatusPoll();
  rig.clock.AdvanceUs(4900'000);
  rig.monitor.StatusPoll();
  EXPECT_EQ(StatusRequests(*cable), probes);
  rig.clock.AdvanceUs(100'000);
  rig.monitor.StatusPoll();
  EXPECT_EQ(StatusRequests(*cable), probes + 1);
  EXPECT_EQ(rig.view.battery, 64);
  EXPECT_EQ(rig.monitor.BatteryLevel(), 64);
  EXPECT_EQ(rig.view.Count("layout"), 1);  // unchanged link: no refresh
}

TEST(DeviceMonitor, BatteryAbove100IsIgnored) {
  struct Case {
    int battery;
    int shown;
  };
  for (const Case& c : {Case{100, 100}, Case{0, 0}, Case{101, -1}, Case{255, -1}}) {
    SCOPED_TRACE(c.battery);
    MonitorRig rig;
    auto cable = rig.Plug(301, SimConnection::Cable);
    rig.monitor.RefreshDevice();
    cable->Keyboard()->SetBattery(c.battery);
    cable->SendStatusReport();
    rig.monitor.StatusPoll();
    EXPECT_EQ(rig.view.battery, c.shown);
    EXPECT_TRUE(rig.monitor.State().keyboardPresent);
  }
}

TEST(DeviceMonitor, LinkStateZeroMarksTheLinkDownRescansAndKeepsTheBattery) {
  MonitorRig rig;
  auto receiver = rig.Plug(301, SimConnection::Receiver);
  receiver->Keyboard()->SetBattery(80);
  rig.monitor.RefreshDevice();
  receiver->SendStatusReport();
  rig.monitor.StatusPoll();
  ASSERT_EQ(rig.view.battery, 80);
  ASSERT_TRUE(rig.monitor.State().keyboardPresent);
  const int rescans = rig.backend->Opened(MonitorRig::VendorPath(*receiver));
  rig.TakeQueued();

  receiver->Keyboard()->SetBattery(20);
  receiver->SetKeyboardLinked(false);  // link state 0 in an unsolicited report
  rig.monitor.StatusPoll();
  ConnectionState state = rig.monitor.State();
  EXPECT_FALSE(state.keyboardPresent);
  EXPECT_EQ(state.connectionMode, -1);
  EXPECT_EQ(rig.backend->Opened(MonitorRig::VendorPath(*receiver)), rescans + 1);
  EXPECT_EQ(rig.view.battery, 80);
  EXPECT_EQ(rig.monitor.BatteryLevel(), 80);
  EXPECT_FALSE(rig.view.pages);
  EXPECT_TRUE(rig.TakeQueued().empty());
}

TEST(DeviceMonitor, FailedStatusRequestRescans) {
  MonitorRig rig;
  auto cable = rig.Plug(301, SimConnection::Cable);
  rig.monitor.RefreshDevice();
  rig.monitor.StatusPoll();
  cable->SetWritesFail(true);
  rig.clock.AdvanceUs(5000'000);
  rig.monitor.StatusPoll();
  EXPECT_EQ(rig.backend->Opened(MonitorRig::VendorPath(*cable)), 2);
  ConnectionState state = rig.monitor.State();
  EXPECT_TRUE(state.interfaceFound);
  EXPECT_FALSE(state.keyboardPresent);  // its probe failed too
}

TEST(DeviceMonitor, UpdateModeDrivesQueueTheirUpdaterOncePerRescan) {
  MonitorRig rig;
  rig.drives = {{"/dev/sdb", kUpdateModeVendor, kKeyboardUpdateProduct, 1},
                {"/dev/sdc", kUpdateModeVendor, kKeyboardUpdateProduct, 1},
                {"/dev/sdd", 0x1234, kReceiverUpdateProduct, 1}};
  rig.monitor.RescanTask();
  EXPECT_EQ(rig.TakeQueued(), Tasks{TASK_UPDATE_FIRMWARE});
  rig.drives.push_back({"/dev/sde", kUpdateModeVendor, kReceiverUpdateProduct, 1});
  rig.monitor.RescanTask();
  EXPECT_EQ(rig.TakeQueued(), (Tasks{TASK_UPDATE_FIRMWARE, TASK_UPDATE_DONGLE}));
  rig.drives.clear();
  rig.monitor.RescanTask();
  EXPECT_TRUE(rig.TakeQueued().empty());
}

}  // namespace
