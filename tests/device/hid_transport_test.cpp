// KeyboardHid's send and receive operations against the simulated keyboard: what goes on
// the wire, the retries and the exact pauses (virtual clock), replies and time-outs.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "emulator/sim_rig.h"
#include "protocol/command_codes.h"
#include "protocol/commands_framed.h"
#include "protocol/commands_report7.h"

namespace {

using Frame = std::array<uint8_t, 64>;

Frame StatusRequest() {
  Frame f{};
  std::memcpy(f.data(), FRAME_MAGIC, 4);
  f[FR_CMD_OFFSET] = FR_GET_STATUS;
  return f;
}

Frame SleepTimeFrame(uint8_t value) {
  Frame f{};
  std::memcpy(f.data(), FRAME_MAGIC, 4);
  f[FR_CMD_OFFSET] = FR_SET_SLEEP_TIME;
  f[FR_PAYLOAD_OFFSET] = value;
  return f;
}

class HidTransport : public ::testing::Test {
 protected:
  void SetUp() override { keyboard = rig.CableKeyboard(301); }
  SimRig rig;
  std::shared_ptr<SimulatedDevice> keyboard;
};

TEST_F(HidTransport, WriteFrameSendsReportIdZeroAndRetriesOnceAfterTenMs) {
  struct Case {
    int failures;
    bool expected;
    std::vector<int> pauses;
    size_t attempts;
  } cases[] = {{0, true, {}, 1}, {1, true, {10}, 2}, {2, false, {10}, 2}};
  for (const Case& c : cases) {
    rig.clock.ClearPauses();
    rig.bus->Journal().Clear();
    keyboard->FailNextWrites(c.failures);
    Frame frame = SleepTimeFrame(7);
    EXPECT_EQ(rig.hid.WriteFrame(frame.data()), c.expected) << c.failures;
    EXPECT_EQ(rig.clock.Pauses(), c.pauses) << c.failures;
    auto outputs = rig.Outputs();
    ASSERT_EQ(outputs.size(), c.attempts);
    EXPECT_EQ(outputs[0].bytes.size(), kHidOutputReportSize);
    EXPECT_EQ(outputs[0].bytes[0], 0);  // report ID
    EXPECT_EQ(0, std::memcmp(outputs[0].bytes.data() + 1, frame.data(), 64));
  }
  // The command that failed twice is lost; the others arrived.
  EXPECT_EQ(keyboard->Keyboard()->State().sleepTime, 7);
}

TEST_F(HidTransport, WriteFrameAndReadWaitsHundredMsThenReadsTheReply) {
  keyboard->Keyboard()->SetBattery(64);
  Frame frame = StatusRequest();
  ASSERT_TRUE(rig.hid.WriteFrameAndRead(frame.data()));
  EXPECT_EQ(rig.clock.Pauses(), std::vector<int>{100});
  EXPECT_EQ(0, std::memcmp(frame.data(), FRAME_MAGIC, 4));
  EXPECT_EQ(frame[FR_CMD_OFFSET], FR_STATUS_REPORT);
  EXPECT_EQ(frame[FR_STATUS_BATTERY_OFFSET], 64);
  EXPECT_EQ(frame[FR_STATUS_LINK_OFFSET], FR_LINK_CABLE);
  auto inputs = rig.bus->Journal().OfKind(SimReportKind::Input);
  ASSERT_EQ(inputs.size(), 1u);
  EXPECT_LE(inputs[0].bytes.size(), kHidFrameDataSize);
  EXPECT_EQ(inputs[0].timeUs - rig.Outputs()[0].timeUs, 100'000);  // read right after the pause
}

TEST_F(HidTransport, TimedOutReadLeavesTheReportForTheNextRead) {
  keyboard->SetReplyDelayMs(650);  // later than the 100 ms pause + 500 ms time-out
  Frame frame = StatusRequest();
  int64_t start = rig.clock.NowUs();
  EXPECT_FALSE(rig.hid.WriteFrameAndRead(frame.data()));
  EXPECT_EQ(rig.clock.NowUs() - start, 600'000);
  EXPECT_EQ(frame, StatusRequest());  // nothing was copied over the request

  Frame next{};
  EXPECT_FALSE(rig.hid.ReadInput(next.data()));  // 610 ms: not there yet
  rig.clock.AdvanceUs(45'000);                   // the reply arrives meanwhile
  ASSERT_TRUE(rig.hid.ReadInput(next.data()));
  EXPECT_EQ(next[FR_CMD_OFFSET], FR_STATUS_REPORT);
  EXPECT_FALSE(rig.hid.ReadInput(next.data()));  // and it was delivered once
  EXPECT_TRUE(rig.clock.Pauses() == std::vector<int>{100});
}

TEST_F(HidTransport, QuickReadReadsTenMsAndIgnoresTheRetryResult) {
  Frame frame = StatusRequest();
  EXPECT_TRUE(rig.hid.WriteFrameQuickRead(frame.data()));
  EXPECT_TRUE(rig.clock.Pauses().empty());
  EXPECT_EQ(frame[FR_STATUS_LINK_OFFSET], FR_LINK_CABLE);

  // Both writes fail, yet an unsolicited status report waiting on the interface is read.
  keyboard->FailNextWrites(2);
  keyboard->SendStatusReport();
  frame = StatusRequest();
  EXPECT_TRUE(rig.hid.WriteFrameQuickRead(frame.data()));
  EXPECT_EQ(rig.clock.Pauses(), std::vector<int>{10});

  // Reply slower than 10 ms: nothing.
  keyboard->SetReplyDelayMs(20);
  frame = StatusRequest();
  EXPECT_FALSE(rig.hid.WriteFrameQuickRead(frame.data()));
}

TEST_F(HidTransport, SlowRetryAndWriteReportRetryPauses) {
  struct Case {
    const char* op;
    int failures;
    bool expected;
    std::vector<int> pauses;
  } cases[] = {
      {"slow", 0, true, {}},   {"slow", 1, true, {32}},   {"slow", 2, false, {32}},
      {"report", 0, true, {}}, {"report", 1, true, {10}}, {"report", 2, false, {10}},
  };
  for (const Case& c : cases) {
    rig.clock.ClearPauses();
    rig.bus->Journal().Clear();
    keyboard->FailNextWrites(c.failures);
    bool ok;
    if (std::string(c.op) == "slow") {
      Frame frame = SleepTimeFrame(3);
      ok = rig.hid.WriteFrameSlowRetry(frame.data());
    } else {
      std::array<uint8_t, 65> report{};
      report[0] = 0x05;  // goes out as given, report ID included
      report[64] = 0xEE;
      ok = rig.hid.WriteReport(report.data());
      EXPECT_EQ(rig.Outputs()[0].bytes, std::vector<uint8_t>(report.begin(), report.end()));
    }
    EXPECT_EQ(ok, c.expected) << c.op << c.failures;
    EXPECT_EQ(rig.clock.Pauses(), c.pauses) << c.op << c.failures;
    EXPECT_EQ(rig.Outputs().size(), c.failures == 0 ? 1u : 2u);
  }
}

TEST_F(HidTransport, SendFeatureWaitsSixteenMsAndDoesNotRetry) {
  std::array<uint8_t, 65> report{};
  report[0] = R7_REPORT_ID;
  report[1] = R7_SET_LIGHT;
  EXPECT_TRUE(rig.hid.SendFeature(report.data()));
  EXPECT_EQ(rig.clock.Pauses(), std::vector<int>{16});
  auto sets = rig.bus->Journal().OfKind(SimReportKind::FeatureSet);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].bytes.size(), kHidFeatureReportSize);

  rig.clock.ClearPauses();
  keyboard->FailNextWrites(1);
  EXPECT_FALSE(rig.hid.SendFeature(report.data()));
  EXPECT_EQ(rig.clock.Pauses(), std::vector<int>{16});
  EXPECT_FALSE(rig.hid.LastError().empty());
  EXPECT_EQ(rig.bus->Journal().OfKind(SimReportKind::FeatureSet, true).size(), 2u);
}

TEST(HidFeatureExchange, ReadsTheSlotTableInFourSevenByteParts) {
  SimRig rig;
  auto keyboard = rig.CableKeyboard(201);
  // Key slot 2 taken by key 0x2A, macro slot 13 by key 0x10.
  ASSERT_TRUE(rig.hid.Send(*R7SetKey(2, 0x2A, 1, 5)));
  MacroContent macro{1, {{2, 0x04, 10}, {3, 0x04, 10}}};
  ASSERT_TRUE(rig.hid.SendSequence(R7MacroData(Report7MacroBlock(13, 0x10, &macro))));
  rig.clock.ClearPauses();
  rig.bus->Journal().Clear();

  std::array<uint8_t, 28> buf{0x07, R7_READ_SLOTS, R7_SUBCOMMAND_ARG};
  ASSERT_TRUE(rig.hid.FeatureExchange8(buf.data()));
  EXPECT_EQ(rig.clock.Pauses(), (std::vector<int>{16, 16, 16, 16}));
  EXPECT_EQ(buf[13], 0x10);
  EXPECT_EQ(buf[13 + 2], 0x2A);
  auto table = Report7SlotTable::Parse(buf.data(), buf.size());
  ASSERT_TRUE(table);
  EXPECT_EQ(table->KeySlotOwner(2), 0x2A);
  EXPECT_EQ(table->MacroSlotOwner(13), 0x10);

  auto sets = rig.bus->Journal().OfKind(SimReportKind::FeatureSet);
  auto gets = rig.bus->Journal().OfKind(SimReportKind::FeatureGet);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].bytes.size(), kHidFeatureReport8Size);
  ASSERT_EQ(gets.size(), 4u);
  for (const auto& get : gets) EXPECT_EQ(get.bytes.size(), kHidFeatureReport8Size);

  // A failed send asks nothing and waits for nothing.
  rig.clock.ClearPauses();
  keyboard->FailNextWrites(1);
  EXPECT_FALSE(rig.hid.FeatureExchange8(buf.data()));
  EXPECT_TRUE(rig.clock.Pauses().empty());
  // Gets that fail leave the buffer as it was.
  keyboard->SetFeatureGetsFail(true);
  std::array<uint8_t, 28> untouched{0x07, R7_READ_SLOTS, R7_SUBCOMMAND_ARG};
  auto before = untouched;
  EXPECT_FALSE(rig.hid.FeatureExchange8(untouched.data()));
  EXPECT_EQ(untouched, before);
}

TEST(HidFeatureExchange, AShortAnswerLeavesNoRequestBytesInTheSlotTable) {
  SimRig rig;
  auto keyboard = rig.CableKeyboard(201);  // every slot free
  keyboard->SetReplyFault(SimReplyFault::Short, 1);  // each answer is the report ID alone
  std::array<uint8_t, 28> buf{0x07, R7_READ_SLOTS, R7_SUBCOMMAND_ARG};
  ASSERT_TRUE(rig.hid.FeatureExchange8(buf.data()));
  EXPECT_EQ(buf, (std::array<uint8_t, 28>{}));
  auto table = Report7SlotTable::Parse(buf.data(), buf.size());
  ASSERT_TRUE(table);
  EXPECT_TRUE(table->HeldKeyCodes().empty());
}

TEST_F(HidTransport, BadRepliesAreDeliveredAsTheyCameAndNeverOverrun) {
  struct Case {
    SimReplyFault fault;
    bool arrives;
    bool statusParses;
  } cases[] = {
      {SimReplyFault::None, true, true},
      {SimReplyFault::Garbled, true, false},
      {SimReplyFault::Short, true, false},
      {SimReplyFault::Silent, false, false},
  };
  for (const Case& c : cases) {
    keyboard->SetReplyFault(c.fault, 4);
    Frame frame = StatusRequest();
    frame.back() = 0x77;  // must not survive a short reply
    EXPECT_EQ(rig.hid.WriteFrameAndRead(frame.data()), c.arrives) << int(c.fault);
    if (c.arrives) {
      EXPECT_EQ(ParseFrStatusReport(frame.data(), frame.size()).has_value(), c.statusParses)
          << int(c.fault);
    } else {
      EXPECT_EQ(frame[FR_STATUS_LINK_OFFSET], 0);  // the request is left as it was
    }
    if (c.fault == SimReplyFault::Short) {
      EXPECT_EQ(0, std::memcmp(frame.data(), FRAME_MAGIC, 4));
      EXPECT_EQ(frame[FR_CMD_OFFSET], 0);  // the rest of the frame reads as zero
      EXPECT_EQ(frame.back(), 0);
    }
  }
}

TEST(HidSendTarget, NothingIsSentWithoutAnInitialisedCurrentInterface) {
  SimRig rig;
  auto keyboard = rig.bus->PlugNew(301, SimConnection::Cable);
  Frame frame = SleepTimeFrame(1);
  std::array<uint8_t, 65> report{};
  std::array<uint8_t, 28> buf{};
  auto everySendFails = [&](const char* when) {
    EXPECT_FALSE(rig.hid.WriteFrame(frame.data())) << when;
    EXPECT_FALSE(rig.hid.WriteFrameAndRead(frame.data())) << when;
    EXPECT_FALSE(rig.hid.WriteFrameQuickRead(frame.data())) << when;
    EXPECT_FALSE(rig.hid.WriteFrameSlowRetry(frame.data())) << when;
    EXPECT_FALSE(rig.hid.WriteReport(report.data())) << when;
    EXPECT_FALSE(rig.hid.SendFeature(report.data())) << when;
    EXPECT_FALSE(rig.hid.FeatureExchange8(buf.data())) << when;
    EXPECT_FALSE(rig.hid.Send(FrSetSleepTime(3))) << when;
    EXPECT_FALSE(rig.hid.ReadInput(frame.data())) << when;
    EXPECT_TRUE(rig.clock.Pauses().empty()) << when;
    EXPECT_EQ(rig.bus->Journal().Size(), 0u) << when;
  };
  everySendFails("empty list");

  // Listed but not connected (a receiver whose keyboard is off answers link state 0).
  rig.List(keyboard, 301, kModeCable, /*connected=*/false);
  everySendFails("not connected");

  rig.hid.SetConnected(0, true);
  EXPECT_TRUE(rig.hid.WriteFrame(frame.data()));
  rig.bus->Journal().Clear();

  rig.hid.CloseAll();
  EXPECT_FALSE(rig.hid.Initialised());
  EXPECT_EQ(rig.hid.InterfaceCount(), 0u);
  everySendFails("after CloseAll");
  rig.hid.CloseAll();  // a second close changes nothing

  // The next discovery opens the interfaces again.
  rig.List(keyboard, 301, kModeCable);
  EXPECT_TRUE(rig.hid.WriteFrame(frame.data()));
}

TEST(HidSendTarget, DeviceTypeFilterAndModeChooseTheCurrentInterface) {
  SimRig rig;
  auto first = rig.bus->PlugNew(301, SimConnection::Receiver);
  auto second = rig.bus->PlugNew(301, SimConnection::Receiver);
  auto other = rig.bus->PlugNew(201, SimConnection::Cable);
  rig.List(other, 201, kModeCable);
  rig.List(first, 301, kModeReceiver);
  rig.List(second, 301, kModeReceiver);

  rig.hid.SetDeviceTypeFilter(301);
  EXPECT_EQ(rig.hid.CurrentInterface(), 1);
  EXPECT_EQ(rig.hid.ConnectionMode(), kModeReceiver);
  Frame frame = SleepTimeFrame(9);
  ASSERT_TRUE(rig.hid.WriteFrame(frame.data()));
  EXPECT_EQ(first->Keyboard()->State().sleepTime, 9);  // two receivers: the first listed
  EXPECT_EQ(second->Keyboard()->State().sleepTime, -1);

  // A cable interface of the model wins over the receivers.
  auto cable = rig.bus->PlugNew(301, SimConnection::Cable);
  rig.List(cable, 301, kModeCable);
  EXPECT_EQ(rig.hid.CurrentInterface(), 3);
  EXPECT_EQ(rig.hid.ConnectionMode(), kModeCable);

  rig.hid.SetDeviceTypeFilter(0);  // any model: the first connected cable entry
  EXPECT_EQ(rig.hid.CurrentInterface(), 0);
  uint16_t version = 0;
  EXPECT_TRUE(rig.hid.ReceiverVersion(version));
  EXPECT_EQ(version, 0x0100);
  EXPECT_EQ(rig.hid.FindConnected(first->Identity().vid, first->Identity().pid, L"", kModeReceiver), 1);
  EXPECT_EQ(rig.hid.FindConnected(0x1234, 0x5678, L"", kModeCable), -1);
  EXPECT_EQ(rig.hid.Interfaces(301).size(), 3u);
}

TEST(HidReadInput, WithoutCurrentInterfaceAStatusReportMarksItsEntry) {
  SimRig rig;
  auto receiver = rig.bus->PlugNew(301, SimConnection::Receiver);
  receiver->SetKeyboardLinked(false);
  rig.List(receiver, 301, kModeReceiver, /*connected=*/false);
  rig.hid.SetDeviceTypeFilter(301);
  ASSERT_EQ(rig.hid.CurrentInterface(), -1);

  Frame frame{};
  EXPECT_FALSE(rig.hid.ReadInput(frame.data()));
  receiver->SetKeyboardLinked(true);  // switched on: an unsolicited status report
  ASSERT_TRUE(rig.hid.ReadInput(frame.data()));
  EXPECT_EQ(frame[FR_STATUS_LINK_OFFSET], FR_LINK_RECEIVER);
  EXPECT_EQ(rig.hid.CurrentInterface(), 0);
  EXPECT_EQ(rig.hid.ConnectionMode(), kModeReceiver);

  // Switched off again while current: the report is read from the current interface.
  receiver->SetKeyboardLinked(false);
  ASSERT_TRUE(rig.hid.ReadInput(frame.data()));
  EXPECT_EQ(frame[FR_STATUS_LINK_OFFSET], FR_LINK_NONE);
}

TEST(HidSequence, PausesOfBuiltCommandsAreSleptAroundTheirReports) {
  SimRig rig;
  auto keyboard = rig.CableKeyboard(301);
  ASSERT_TRUE(rig.hid.Send(*FrSetKey(0, 0x2C, 1, 4)));
  EXPECT_EQ(rig.clock.Pauses(), std::vector<int>{200});

  rig.clock.ClearPauses();
  ColourTable table;
  table.Set(0, 0x0000FF);
  ASSERT_TRUE(rig.hid.SendSequence(FrStoredColours(table)));
  EXPECT_EQ(rig.clock.Pauses(), (std::vector<int>{3, 3, 3, 3, 3, 3}));
  EXPECT_EQ(keyboard->Keyboard()->State().storedFrames, 1);

  // A reading command hands its reply back.
  std::vector<uint8_t> reply;
  ASSERT_TRUE(rig.hid.Send(FrGetStatus(TransportOp::WriteFrameAndRead), &reply));
  ASSERT_EQ(reply.size(), 64u);
  auto status = ParseFrStatusReport(reply.data(), reply.size());
  ASSERT_TRUE(status);
  EXPECT_EQ(status->linkState, FR_LINK_CABLE);
}

TEST(HidSequence, LiveColoursStopAtTheFirstFailedChunk) {
  SimRig rig;
  auto keyboard = rig.CableKeyboard(301);
  keyboard->VanishAfterWrites(2);  // the cable is pulled after two chunks
  ColourTable table;
  EXPECT_FALSE(rig.hid.SendSequence(FrLiveColours(table)));
  auto outputs = rig.Outputs();
  // Two accepted chunks, then the third fails twice (one retry) and the rest is dropped.
  ASSERT_EQ(outputs.size(), 4u);
  EXPECT_TRUE(outputs[1].accepted);
  EXPECT_FALSE(outputs[2].accepted);
  EXPECT_FALSE(outputs[3].accepted);
  EXPECT_EQ(outputs[2].bytes[1 + FR_CMD_OFFSET], FR_LIVE_COLOURS + 2);
  EXPECT_EQ(rig.clock.Pauses(), std::vector<int>{10});
  EXPECT_EQ(keyboard->Keyboard()->State().liveFrames, 0);
  EXPECT_EQ(keyboard->Keyboard()->State().liveChunks, 2);
}

TEST(HidSequence, DeviceRemovedDuringMacroUploadDropsTheMacro) {
  SimRig rig;
  auto keyboard = rig.CableKeyboard(301);
  MacroContent macro{2, {}};
  for (int i = 0; i < 30; ++i) macro.events.push_back({i % 2 ? 3 : 2, uint8_t(0x04 + i / 2), 10});
  keyboard->VanishAfterWrites(1);
  EXPECT_FALSE(rig.hid.SendSequence(FrMacroData(FramedMacroBlock(0, 0x2C, &macro))));
  EXPECT_TRUE(keyboard->Keyboard()->State().macros.empty());  // half a block is never stored
  EXPECT_FALSE(keyboard->Plugged());
  // Later sends fail quietly until discovery runs again.
  Frame frame = SleepTimeFrame(2);
  EXPECT_FALSE(rig.hid.WriteFrame(frame.data()));
  EXPECT_FALSE(rig.hid.ReadInput(frame.data()));
  rig.hid.CloseAll();

  // Plugged in again and rediscovered: the upload goes through.
  rig.bus->Plug(keyboard);
  rig.List(keyboard, 301, kModeCable);
  EXPECT_TRUE(rig.hid.SendSequence(FrMacroData(FramedMacroBlock(0, 0x2C, &macro))));
  auto state = keyboard->Keyboard()->State();
  ASSERT_EQ(state.macros.count({0, 0x2C}), 1u);
  EXPECT_EQ((state.macros[{0, 0x2C}].events.size()), 30u);
}

}  // namespace
