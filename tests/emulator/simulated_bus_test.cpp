// The simulated bus and devices: plugging, enumeration, handles that die with their plug,
// the receiver's link to the keyboard, the journal and use from two threads.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "emulator/sim_rig.h"
#include "protocol/commands_framed.h"

namespace {

TEST(SimulatedBus, PlugAndUnplugAnnounceEveryInterfaceWithItsPathText) {
  SimRig rig;
  std::vector<std::pair<DeviceChange, std::wstring>> heard;
  std::mutex heardLock;
  int id = rig.bus->AddListener([&](DeviceChange event, const std::wstring& path) {
    std::lock_guard<std::mutex> guard(heardLock);
    heard.push_back({event, path});
  });
  auto keyboard = rig.bus->PlugNew(301, SimConnection::Cable);
  ASSERT_EQ(heard.size(), 3u);
  EXPECT_EQ(heard[1].first, DeviceChange::kArrival);
  EXPECT_EQ(heard[1].second, L"VID_3A5C&PID_012D&MI_01#/DEV/SIMHID1");

  std::vector<HidDeviceInfo> listed = rig.backend->Enumerate();
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[1].vendorId, kSimVendorId);
  EXPECT_EQ(listed[1].productId, 0x012D);
  EXPECT_EQ(listed[1].releaseNumber, 0x0100);
  EXPECT_EQ(listed[1].usagePage, 0xFF02);
  EXPECT_EQ(listed[1].usage, 0x02);
  EXPECT_EQ(listed[1].interfaceNumber, 1);
  EXPECT_EQ(listed[0].usagePage, 0x0001);

  auto handle = rig.backend->Open(listed[1].path);
  ASSERT_TRUE(handle);
  EXPECT_EQ(rig.backend->Open("/dev/simhid99"), nullptr);

  rig.bus->Unplug(keyboard);
  EXPECT_EQ(heard.size(), 6u);
  EXPECT_EQ(heard[4].first, DeviceChange::kRemoveComplete);
  EXPECT_EQ(heard[4].second, heard[1].second);
  EXPECT_TRUE(rig.backend->Enumerate().empty());
  uint8_t report[65] = {};
  EXPECT_EQ(handle->Write(report, sizeof report), -1);
  EXPECT_EQ(handle->Read(report, 64, 10), -1);
  EXPECT_FALSE(handle->LastError().empty());

  // Plugged in again: new paths; the old handle stays dead, a new one works.
  rig.bus->RemoveListener(id);
  rig.bus->Plug(keyboard);
  EXPECT_EQ(heard.size(), 6u);
  listed = rig.backend->Enumerate();
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[1].path, "/dev/simhid4");
  EXPECT_EQ(handle->Write(report, sizeof report), -1);
  auto fresh = rig.backend->Open(listed[1].path);
  ASSERT_TRUE(fresh);
  EXPECT_EQ(fresh->Write(report, sizeof report), 65);
}

TEST(SimulatedBus, CustomIdentityAndSpareInterface) {
  SimRig rig;
  SimIdentity identity;
  identity.vid = 0x3A5C;
  identity.pid = 0x4242;
  identity.release = 0x0213;
  identity.product = L"Test board";
  identity.interfaces = {{1, 0xFF02, 0x02}, {3, 0xFF02, 0x02}};
  auto device = std::make_shared<SimulatedDevice>(identity, SimConnection::Cable,
                                                  std::make_shared<SimulatedKeyboard>(301));
  rig.bus->Plug(device);
  auto listed = rig.backend->Enumerate();
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[1].interfaceNumber, 3);
  EXPECT_EQ(listed[1].product, L"Test board");
  EXPECT_EQ(listed[0].releaseNumber, 0x0213);
  EXPECT_EQ(device->PathOf(3), listed[1].path);
}

TEST(SimulatedReceiver, LinkStateFollowsTheKeyboardBehindIt) {
  SimRig rig;
  auto receiver = rig.bus->PlugNew(301, SimConnection::Receiver);
  rig.List(receiver, 301, kModeReceiver);
  receiver->Keyboard()->SetBattery(101);  // no level available
  receiver->SetKeyboardLinked(false);

  std::vector<uint8_t> reply;
  auto pollStatus = [&]() {
    EXPECT_TRUE(rig.hid.Send(FrGetStatus(TransportOp::WriteFrameAndRead), &reply));
    return ParseFrStatusReport(reply.data(), reply.size());
  };
  // The unsolicited report of the switch-off is waiting; the poll reads that one first.
  auto status = pollStatus();
  ASSERT_TRUE(status);
  EXPECT_EQ(status->linkState, FR_LINK_NONE);
  EXPECT_FALSE(status->BatteryKnown());

  uint8_t frame[64] = {};
  ASSERT_TRUE(rig.hid.ReadInput(frame));  // the poll's own answer, read late
  EXPECT_EQ(frame[FR_STATUS_LINK_OFFSET], FR_LINK_NONE);
  EXPECT_FALSE(rig.hid.ReadInput(frame));

  // Commands do not reach a keyboard that is off.
  ASSERT_TRUE(rig.hid.Send(FrSetSleepTime(5)));
  EXPECT_EQ(receiver->Keyboard()->State().sleepTime, -1);

  receiver->SetKeyboardLinked(true);
  ASSERT_TRUE(rig.hid.ReadInput(frame));
  EXPECT_EQ(frame[FR_STATUS_LINK_OFFSET], FR_LINK_RECEIVER);
  ASSERT_TRUE(rig.hid.Send(FrSetSleepTime(5)));
  EXPECT_EQ(receiver->Keyboard()->State().sleepTime, 5);

  receiver->OverrideLinkState(2);  // a value the program does not know
  status = pollStatus();
  ASSERT_TRUE(status);
  EXPECT_EQ(status->linkState, 2);
}

TEST(SimJournal, RecordsEveryReportWithItsTime) {
  SimRig rig;
  rig.CableKeyboard(301);
  int64_t start = rig.clock.NowUs();
  ASSERT_TRUE(rig.hid.Send(*FrSetKey(0, 0x04, 1, 3)));  // 200 ms after
  ASSERT_TRUE(rig.hid.Send(FrSetSleepTime(1)));
  std::vector<SimJournalEntry> entries = rig.bus->Journal().Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].timeUs, start);
  EXPECT_EQ(entries[1].timeUs, start + 200'000);
  EXPECT_EQ(entries[1].interfaceNumber, 1);
  EXPECT_EQ(entries[1].bytes[1 + FR_CMD_OFFSET], FR_SET_SLEEP_TIME);
}

TEST(SimulatedKeyboardThreads, WorkerSendsWhileTheTestReads) {
  // Real clock: the worker thread talks to the keyboard while this thread reads its state,
  // its journal and changes its battery.
  auto bus = std::make_shared<SimulatedBus>();
  auto backend = std::make_shared<EmulatorBackend>(bus);
  KeyboardHid hid(backend);
  auto keyboard = bus->PlugNew(301, SimConnection::Cable);
  keyboard->SetReplyDelayMs(0);
  HidInterfaceEntry entry;
  entry.path = keyboard->PathOf(1);
  entry.handle = backend->Open(entry.path);
  entry.deviceType = 301;
  entry.connected = true;
  hid.AppendInterface(std::move(entry));
  hid.SetInitialised(true);

  constexpr int kRequests = 200;
  std::atomic<int> answered{0};
  std::thread worker([&] {
    for (int i = 0; i < kRequests; ++i) {
      std::vector<uint8_t> reply;
      if (hid.Send(FrGetStatus(TransportOp::WriteFrameQuickRead), &reply)) ++answered;
      hid.Send(FrSetSleepTime(i % 7));
    }
  });
  size_t seen = 0;
  for (int i = 0; i < 1000 && answered.load() < kRequests; ++i) {
    keyboard->Keyboard()->SetBattery(i % 100);
    seen = std::max(seen, bus->Journal().Size());
    (void)keyboard->Keyboard()->State();
    std::this_thread::yield();
  }
  worker.join();
  EXPECT_EQ(keyboard->Keyboard()->State().statusRequests, kRequests);
  EXPECT_EQ(answered.load(), kRequests);
  EXPECT_EQ(bus->Journal().OfKind(SimReportKind::Output).size(), 2u * kRequests);
}

}  // namespace
