// Opcode family: light, key table, factory reset and the chunked macro upload.
#include <gtest/gtest.h>

#include "commands_golden.h"
#include "protocol/commands_opcode.h"
#include "protocol/macro_block.h"

namespace {

using Op = TransportOp;

LightParams Params(int colorful, int direction, int speed, uint32_t colour, int brightness) {
  LightParams l;
  l.mode = 9;
  l.colorful = colorful;
  l.direction = direction;
  l.speed = speed;
  l.colorValue = colour;
  l.brightness = brightness;
  return l;
}

TEST(OpcodeCommands, LightAndResetReports) {
  struct Row {
    const char* name;
    OutgoingReport built;
    OutgoingReport expected;
  };
  const std::vector<Row> rows = {
      {"OP_SELECT_LIGHT_MODE", OpSelectLightMode(5),
       Expect(Op::WriteReport, Golden(65, {{1, {0x88}}, {3, {0x05}}}))},
      {"OP_SET_LIGHT_PARAMS", OpSetLightParams(Params(1, 2, 3, 0x00CCBBAA, 4)),
       Expect(Op::WriteReport, Golden(65, {{1, {0x89}}, {3, {0xA3, 0xAA, 0xBB, 0xCC, 0x04}}}))},
      {"OP_SET_LIGHT_PARAMS masks direction and speed", OpSetLightParams(Params(0, 5, 0x13, 0, 100)),
       Expect(Op::WriteReport, Golden(65, {{1, {0x89}}, {3, {0x13, 0, 0, 0, 100}}}))},
      {"OP_FACTORY_RESET", OpFactoryReset(),
       Expect(Op::WriteReport, Golden(65, {{1, {0xFF, 0xFE, 0xAA, 0xFF}}}))},
      {"first send selects the mode", OpcodeLight(Params(1, 2, 3, 0, 4), false),
       Expect(Op::WriteReport, Golden(65, {{1, {0x88}}, {3, {0x09}}}))},
      {"later sends carry the parameters", OpcodeLight(Params(1, 2, 3, 0, 4), true),
       OpSetLightParams(Params(1, 2, 3, 0, 4))},
  };
  for (const Row& row : rows) EXPECT_EQ(row.built, row.expected) << row.name;
}

TEST(OpcodeCommands, KeyTableEntriesAndFourReports) {
  OpcodeKeyTable t;
  EXPECT_TRUE(t.SetAssignment(5, 2, 0x1E, -1));  // key combination: (value, 0x20)
  EXPECT_TRUE(t.SetAssignment(6, 1, 0x55, -1));  // (0, 0x20)
  EXPECT_TRUE(t.SetAssignment(30, 3, 9, 2));     // macro: (slot, 0x40)
  EXPECT_TRUE(t.SetAssignment(119, 7, 1, 3));    // shortcut: (slot, 0x40)
  EXPECT_TRUE(t.SetEntry(179, 0x12, 0x34));      // last entry
  EXPECT_FALSE(t.SetAssignment(8, 4, 1, 0));     // other types leave the entry 0
  EXPECT_FALSE(t.SetAssignment(180, 2, 1, 0));   // beyond the table
  EXPECT_FALSE(t.SetAssignment(-1, 2, 1, 0));
  EXPECT_FALSE(t.SetAssignment(9, 3, 1, -1));    // macro without a slot

  std::vector<uint8_t> table(360, 0);
  table[10] = 0x1E, table[11] = 0x20;
  table[13] = 0x20;
  table[60] = 0x02, table[61] = 0x40;
  table[238] = 0x03, table[239] = 0x40;
  table[358] = 0x12, table[359] = 0x34;
  ASSERT_EQ(std::vector<uint8_t>(t.Bytes().begin(), t.Bytes().end()), table);

  const ReportSequence r = OpKeyTable(t);
  ASSERT_EQ(r.size(), 4u);
  const uint8_t lengths[4] = {60, 60, 60, 40};
  for (int i = 0; i < 4; ++i) {
    std::vector<uint8_t> part(table.begin() + 60 * i, table.begin() + 60 * i + 60);
    EXPECT_EQ(r[i], Expect(Op::WriteReport,
                           Golden(65, {{1, {0x8D, lengths[i], uint8_t(60 * i), 0x00}}, {5, part}}), 10))
        << i;
  }
}

// A macro of n events: usage 4 + k, alternately pressed and released, delay 300·k ms.
MacroContent Events(int n) {
  MacroContent m;
  m.playTimes = 2;
  for (int k = 0; k < n; ++k) m.events.push_back({k % 2 ? 3 : 2, uint8_t(4 + k % 50), 300 * k});
  return m;
}

std::vector<uint8_t> ExpectedBlock(int n) {
  std::vector<uint8_t> b = {2, uint8_t(n)};
  for (int k = 0; k < n; ++k) {
    const int d = 300 * k;
    b.push_back(uint8_t(4 + k % 50));
    b.push_back(uint8_t(d & 0xFF));
    b.push_back(k % 2 ? uint8_t((d >> 8) & 0x7F) : uint8_t((d >> 8) | 0x80));
  }
  return b;
}

TEST(OpcodeCommands, MacroChunksCarryAndAnnounceEveryByte) {
  struct Case {
    int events;
    std::vector<int> lengths;
  };
  const Case cases[] = {
      {18, {57}},              // one chunk of length 3(n + 1)
      {19, {59, 0}},           // total 60: 59, then total - 60
      {20, {59, 3}},           // total 63: 59 and 3
      {38, {59, 57}},          // total 117
      {39, {59, 59, 1}},       // 119 block bytes: the third chunk announces the last byte
      {60, {59, 59, 59, 5}},   // 182 block bytes
  };
  for (const Case& c : cases) {
    const MacroContent macro = Events(c.events);
    const std::vector<uint8_t> block = OpcodeMacroBlock(&macro);
    ASSERT_EQ(block, ExpectedBlock(c.events)) << c.events;
    const ReportSequence r = OpMacroData(7, block);
    ASSERT_EQ(r.size(), c.lengths.size()) << c.events << " events";
    std::vector<uint8_t> announced;
    for (size_t i = 0; i < r.size(); ++i) {
      std::vector<uint8_t> carried;
      for (size_t j = 0; j < 59; ++j) carried.push_back(59 * i + j < block.size() ? block[59 * i + j] : 0);
      const int offset = int(59 * i);
      const OutgoingReport expected =
          Expect(Op::WriteReport,
                 Golden(65, {{1, {0x8E, uint8_t(c.lengths[i]), uint8_t(offset & 0xFF), uint8_t(offset >> 8), 7}},
                             {6, carried}}),
                 i == 0 ? 110 : 100, 0, true);
      EXPECT_EQ(r[i], expected) << c.events << " events, chunk " << i;
      announced.insert(announced.end(), carried.begin(), carried.begin() + c.lengths[i]);
    }
    if (r.size() > 1) {
      EXPECT_EQ(announced, block) << c.events << " events";
    }
  }
}

TEST(OpcodeCommands, MacroBlockLayoutAndLimits) {
  EXPECT_EQ(OpcodeMacroBlock(nullptr), (std::vector<uint8_t>{1, 0}));  // not found: play 1

  MacroContent m;
  m.playTimes = 0;
  m.events = {{2, 0x04, 0}, {1, 0x99, 5}, {3, 0x04, 40000}, {2, 0x05, -7}};
  EXPECT_EQ(OpcodeMacroBlock(&m),
            (std::vector<uint8_t>{1, 3, 0x04, 0x00, 0x80, 0x04, 0xFF, 0x7F, 0x05, 0x00, 0x80}));
  m.playTimes = 300;
  EXPECT_EQ(OpcodeMacroBlock(&m)[0], 255);

  // The event count is one byte: 300 events go out as 255.
  const MacroContent many = Events(300);
  const std::vector<uint8_t> block = OpcodeMacroBlock(&many);
  EXPECT_EQ(block[1], 255);
  EXPECT_EQ(block.size(), 2u + 3 * 255);
  const ReportSequence r = OpMacroData(0, block);
  EXPECT_EQ(r.size(), 13u);
  EXPECT_EQ(r.back().bytes[3] + 256 * r.back().bytes[4], 59 * 12);
  EXPECT_EQ(r.back().bytes[2], block.size() - 59 * 12);
}

TEST(OpcodeCommands, ShortcutIsOneReport) {
  const OutgoingReport r = OpMacroShortcut(2, 13);  // Alt+Space, X
  const auto expected = Golden(
      65, {{1, {0x8E, 18, 0x00, 0x00, 0x02, 0x01, 0x06}},
           {8, {0xE2, 0x64, 0x80, 0x2C, 0x64, 0x80, 0x1B, 0x64, 0x80, 0x1B, 0x64, 0x00, 0x2C, 0x64,
                0x00, 0xE2, 0x64, 0x00}}});
  EXPECT_EQ(r, Expect(Op::WriteReport, expected, 10));
  EXPECT_EQ(OpMacroShortcut(1, 99).bytes, Golden(65, {{1, {0x8E, 0, 0, 0, 0x01, 0x01, 0x00}}}));
}

TEST(OpcodeCommands, LayerUploadSendsMacrosThenShortcutsThenTheKeyTable) {
  const std::vector<AssignmentToSend> keys = {
      {0, 0x10, 0, 7, 1},     // shortcut: slot 2
      {0, 0x11, 1, 3, 5},     // macro: slot 0
      {0, 0x12, 2, 2, 0x1E},  // key combination
      {0, 0x13, 3, 3, 6},     // macro: slot 1
      {0, 0x14, 4, 1, 0},     // key function
      {0, 0x15, -1, 2, 9},    // no table position: left out
  };
  const MacroLookup lookup = [](int id) {
    MacroContent m;
    m.events = {{2, uint8_t(id), 1}};
    return std::optional<MacroContent>(m);
  };
  const ReportSequence r = OpKeyUpload(keys, lookup);
  ASSERT_EQ(r.size(), 3u + 4);
  EXPECT_EQ(r[0].bytes[5], 0);  // slot
  EXPECT_EQ(r[0].bytes[8], 5);  // macro 5's event
  EXPECT_EQ(r[1].bytes[5], 1);
  EXPECT_EQ(r[1].bytes[8], 6);
  EXPECT_EQ(r[2], OpMacroShortcut(2, 1));
  const auto table = Golden(60, {{0, {0x02, 0x40, 0x00, 0x40, 0x1E, 0x20, 0x01, 0x40, 0x00, 0x20}}});
  EXPECT_EQ(r[3], Expect(Op::WriteReport, Golden(65, {{1, {0x8D, 60, 0, 0}}, {5, table}}), 30));
  EXPECT_EQ(r[4].pauseBeforeMs, 10);

  const ReportSequence reset = OpFactoryResetSequence(keys, lookup);
  ASSERT_EQ(reset.size(), r.size() + 1);
  OutgoingReport last = OpFactoryReset();
  last.pauseBeforeMs = 100;
  EXPECT_EQ(reset.back(), last);
}

TEST(OpcodeCommands, SlotsEndAt255) {
  // 258 shortcut keys: slots 0-255 are given, the last two keys get none and no table entry.
  std::vector<AssignmentToSend> keys;
  for (int i = 0; i < 258; ++i) keys.push_back({0, 0x100 + i, i < 180 ? i : -1, 7, 1});
  keys[100].keyIndex = -1;
  keys[257].keyIndex = 100;
  const ReportSequence r = OpKeyUpload(keys, nullptr);
  ASSERT_EQ(r.size(), 256u + 4);
  EXPECT_EQ(r[255].bytes[5], 255);

  std::vector<uint8_t> expected(240, 0);  // table bytes 0-239 travel in the four reports
  for (int i = 0; i < 120; ++i) {
    if (i == 100) continue;
    expected[2 * i] = uint8_t(i);
    expected[2 * i + 1] = 0x40;
  }
  std::vector<uint8_t> sent;
  for (int i = 0; i < 4; ++i)
    sent.insert(sent.end(), r[256 + i].bytes.begin() + 5, r[256 + i].bytes.end());
  EXPECT_EQ(sent, expected);
}

}  // namespace
