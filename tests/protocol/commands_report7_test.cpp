// Report-7 family, wired (feature report 7) and wireless (BB AA 99 88 frames).
#include <gtest/gtest.h>

#include "commands_golden.h"
#include "protocol/commands_report7.h"

namespace {

using Op = TransportOp;

LightParams Light(int mode, int colorindex, int direction, int speed, int brightness,
                  uint32_t colour = 0, bool perKey = false) {
  LightParams l;
  l.mode = mode;
  l.colorindex = colorindex;
  l.direction = direction;
  l.speed = speed;
  l.brightness = brightness;
  l.colorValue = colour;
  l.perKey = perKey;
  return l;
}

std::vector<uint8_t> W7Frame(std::vector<ByteRun> runs) {
  runs.insert(runs.begin(), ByteRun{0, {0xBB, 0xAA, 0x99, 0x88}});
  return Golden(64, runs);
}

TEST(Report7Commands, EverySingleReportCommand) {
  struct Row {
    const char* name;
    OutgoingReport built;
    OutgoingReport expected;
  };
  const std::vector<Row> rows = {
      {"R7_FACTORY_RESET", R7FactoryReset(),
       Expect(Op::SendFeature, Golden(65, {{0, {0x07, 0xF0, 0xAA}}}), 0, 100)},
      {"R7_SET_LIGHT", R7SetLight(Light(2, 5, 1, 3, 4)),
       Expect(Op::SendFeature, Golden(65, {{0, {0x07, 0xF7, 0x01, 0x05, 0x01, 0x02, 0x03}}}))},
      {"R7_SET_LIGHT speed and brightness 0 stay 0", R7SetLight(Light(2, 5, 1, 0, 0, 0, true)),
       Expect(Op::SendFeature, Golden(65, {{0, {0x07, 0xF7, 0x01, 0x05, 0x01, 0x00, 0x00, 0x00}}}))},
      {"R7_SET_LIGHT colour mode", R7SetLight(Light(4, 6, 1, 3, 4, 0x00CCBBAA)),
       Expect(Op::SendFeature, Golden(65, {{0, {0x07, 0xF7, 0x03, 0x06, 0xAA, 0xBB, 0x03, 0xCC}}}))},
      {"R7_READ_SLOTS", R7ReadSlots(),
       Expect(Op::FeatureExchange8, Golden(8, {{0, {0x07, 0xFB, 0x01}}}))},
      {"R7_RESET_KEYS", R7ResetKeys(),
       Expect(Op::FeatureExchange8, Golden(8, {{0, {0xAA, 0x55, 0xCC, 0x0F}}}))},
      {"W7_SET_LIGHT", W7SetLight(Light(2, 5, 1, 3, 4)),
       Expect(Op::WriteFrameSlowRetry, W7Frame({{4, {0xAA, 0x01, 0x05, 0x01, 0x02, 0x03}}}))},
      {"W7_SET_LIGHT colour mode", W7SetLight(Light(4, 6, 1, 3, 4, 0x00CCBBAA, true)),
       Expect(Op::WriteFrameSlowRetry,
              W7Frame({{4, {0xAA, 0x03, 0x06, 0xAA, 0xBB, 0x03, 0xCC}}}))},
      {"light over the cable", Report7Light(Light(2, 5, 1, 3, 4), 0), R7SetLight(Light(2, 5, 1, 3, 4))},
      {"light over the receiver", Report7Light(Light(2, 5, 1, 3, 4), 2), W7SetLight(Light(2, 5, 1, 3, 4))},
  };
  for (const Row& row : rows) EXPECT_EQ(row.built, row.expected) << row.name;
}

TEST(Report7Commands, WirelessFactoryResetIsTwoFrames1600msApart) {
  const ReportSequence r = W7FactoryReset();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0], Expect(Op::WriteFrameSlowRetry,
                         W7Frame({{4, {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}}}), 0, 1600));
  EXPECT_EQ(r[1], Expect(Op::WriteFrameSlowRetry, W7Frame({})));
}

TEST(Report7Commands, SetKeySlotsAndClearing) {
  EXPECT_EQ(R7SetKey(3, 0x2A, 2, 0x1E),
            Expect(Op::SendFeature, Golden(65, {{0, {0x07, 0xFA, 0x01, 0x03, 0x2A, 0x01, 0x1E, 0x01}}})));
  // Value 0 clears slot 3: key code and value 0.
  EXPECT_EQ(R7SetKey(3, 0x2A, 1, 0),
            Expect(Op::SendFeature, Golden(65, {{0, {0x07, 0xFA, 0x01, 0x03, 0x00, 0x01, 0x00, 0x01}}})));
  EXPECT_TRUE(R7SetKey(10, 0x2A, 2, 1));
  EXPECT_FALSE(R7SetKey(0, 0x2A, 2, 1));   // no key slot 0
  EXPECT_FALSE(R7SetKey(11, 0x2A, 2, 1));  // only ten key slots
  EXPECT_FALSE(R7SetKey(1, 0x2A, 3, 5));   // macros go as R7_MACRO_DATA
  EXPECT_FALSE(R7SetKey(1, 0x2A, 7, 5));
}

TEST(Report7Commands, MacroDataIs28FeatureReportsOf6Bytes) {
  std::vector<uint8_t> block(168);
  for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t(i + 1);
  const ReportSequence r = R7MacroData(block);
  ASSERT_EQ(r.size(), 28u);
  for (int i = 0; i < 28; ++i) {
    std::vector<uint8_t> six(block.begin() + 6 * i, block.begin() + 6 * i + 6);
    const uint8_t sub = i == 0 ? 0xF1 : 0x00;
    EXPECT_EQ(r[i], Expect(Op::SendFeature, Golden(65, {{0, {0x07, sub}}, {2, six}}))) << i;
  }
}

TEST(Report7Commands, SlotTableDecoding) {
  std::vector<uint8_t> bytes(28, 0);
  bytes[0] = 0x99;                                     // carries nothing
  bytes[1] = 0x20;                                     // macro slot 1
  bytes[5] = 0x21;                                     // macro slot 5
  bytes[13] = 0x22;                                    // macro slot 13
  bytes[14] = 0x30;                                    // key slot 1
  bytes[23] = 0x31;                                    // key slot 10
  for (int i = 24; i < 28; ++i) bytes[i] = 0x77;       // carries nothing
  std::optional<Report7SlotTable> t = Report7SlotTable::Parse(bytes.data(), bytes.size());
  ASSERT_TRUE(t);
  EXPECT_EQ(t->MacroSlotOwner(1), 0x20);
  EXPECT_EQ(t->MacroSlotOwner(13), 0x22);
  EXPECT_EQ(t->MacroSlotOwner(2), 0);
  EXPECT_EQ(t->KeySlotOwner(1), 0x30);
  EXPECT_EQ(t->KeySlotOwner(10), 0x31);
  for (int outside : {0, 14, -1}) EXPECT_EQ(t->MacroSlotOwner(outside), 0) << outside;
  for (int outside : {0, 11}) EXPECT_EQ(t->KeySlotOwner(outside), 0) << outside;
  EXPECT_EQ(t->HeldKeyCodes(), (std::vector<int>{0x20, 0x21, 0x22, 0x30, 0x31}));
  EXPECT_EQ(t->MacroSlotFor(0x21), 5);  // the slot that holds the key
  EXPECT_EQ(t->MacroSlotFor(0x50), 2);  // else the first free one
  EXPECT_EQ(t->KeySlotFor(0x31), 10);
  EXPECT_EQ(t->KeySlotFor(0x50), 2);

  std::vector<uint8_t> full(28, 0);
  for (int i = 1; i <= 23; ++i) full[i] = uint8_t(0x40 + i);
  t = Report7SlotTable::Parse(full.data(), full.size());
  ASSERT_TRUE(t);
  EXPECT_EQ(t->MacroSlotFor(0x01), 0);
  EXPECT_EQ(t->KeySlotFor(0x01), 0);

  EXPECT_FALSE(Report7SlotTable::Parse(bytes.data(), 27));
  EXPECT_FALSE(Report7SlotTable::Parse(nullptr, 28));
}

TEST(Report7Commands, FullUploadNumbersMacroAndKeySlotsSeparately) {
  const std::vector<AssignmentToSend> keys = {
      {0, 0x11, -1, 2, 0x1E},  // key slot 1
      {0, 0x12, -1, 3, 4},     // macro slot 1
      {0, 0x13, -1, 0, 0},     // default: skipped
      {0, 0x14, -1, 7, 15},    // macro slot 2: Alt+F4
      {0, 0x15, -1, 1, 0},     // key slot 2, cleared
  };
  const MacroLookup lookup = [](int id) {
    MacroContent m;
    m.playTimes = 3;
    m.events = {{2, 0x05, 311}, {3, 0x05, 0}};
    return std::optional<MacroContent>(m);
  };
  const ReportSequence r = R7FullKeyUpload(keys, lookup);
  ASSERT_EQ(r.size(), 1u + 1 + 28 + 28 + 1);
  EXPECT_EQ(r[0], R7ResetKeys());
  OutgoingReport keySlot1 = *R7SetKey(1, 0x11, 2, 0x1E);
  keySlot1.pauseBeforeMs = 16;
  EXPECT_EQ(r[1], keySlot1);
  // Macro slot 1: 1, slot, key code, play count, then (usage, delay byte) pairs.
  EXPECT_EQ(r[2], Expect(Op::SendFeature, Golden(65, {{0, {0x07, 0xF1, 0x01, 0x01, 0x12, 0x03, 0x05, 0x26}}}), 16));
  EXPECT_EQ(r[3].bytes, Golden(65, {{0, {0x07, 0x00, 0x05, 0x81}}}));
  EXPECT_EQ(r[30], Expect(Op::SendFeature, Golden(65, {{0, {0x07, 0xF1, 0x01, 0x02, 0x14, 0x01, 0xE2, 0x01}}}), 16));
  EXPECT_EQ(r[31].bytes, Golden(65, {{0, {0x07, 0x00, 0x3D, 0x01, 0x3D, 0x81, 0xE2, 0x81}}}));
  EXPECT_EQ(r[58].bytes, Golden(65, {{0, {0x07, 0xFA, 0x01, 0x02, 0x00, 0x01, 0x00, 0x01}}}));
}

TEST(Report7Commands, FullUploadLeavesOutKeysBeyondTheSlots) {
  std::vector<AssignmentToSend> keys;
  for (int i = 0; i < 14; ++i) keys.push_back({0, 0x20 + i, -1, 7, 1});
  for (int i = 0; i < 11; ++i) keys.push_back({0, 0x40 + i, -1, 2, 4});
  const ReportSequence r = R7FullKeyUpload(keys, nullptr);
  ASSERT_EQ(r.size(), 1u + 13 * 28 + 10);
  EXPECT_EQ(r[1 + 12 * 28].bytes[3], 13);  // the last macro slot
  EXPECT_EQ(r.back().bytes[3], 10);        // the last key slot
  EXPECT_EQ(r.back().bytes[4], 0x49);
}

TEST(Report7Commands, KeyAssignmentIntoAGivenSlot) {
  EXPECT_EQ(R7KeyAssignment({0, 0x11, -1, 3, 4}, 14, nullptr).size(), 0u);  // no macro slot 14
  // A macro that cannot be found frees its slot: key code and play count 0.
  const ReportSequence freed = R7KeyAssignment({0, 0x11, -1, 3, 4}, 6, nullptr);
  ASSERT_EQ(freed.size(), 28u);
  EXPECT_EQ(freed[0].bytes, Golden(65, {{0, {0x07, 0xF1, 0x01, 0x06}}}));
  EXPECT_EQ(R7KeyAssignment({0, 0x11, -1, 2, 4}, 9, nullptr), ReportSequence{*R7SetKey(9, 0x11, 2, 4)});
}

}  // namespace
