// Framed family: every command row against bytes written out from the command table.
#include <gtest/gtest.h>

#include "commands_golden.h"
#include "protocol/commands_framed.h"
#include "protocol/shortcuts.h"

namespace {

using Op = TransportOp;

struct Row {
  const char* name;
  OutgoingReport built;
  OutgoingReport expected;
};

LightParams Light(int mode, int brightness, int speed, int direction, int colorindex) {
  LightParams l;
  l.mode = mode;
  l.brightness = brightness;
  l.speed = speed;
  l.direction = direction;
  l.colorindex = colorindex;
  return l;
}

TEST(FramedCommands, EverySingleReportCommand) {
  const std::vector<Row> rows = {
      {"FR_SET_LIGHT", FrSetLight(Light(3, 5, 2, 1, 7)),
       Expect(Op::WriteFrame, GoldenFrame(0x07, {{5, {0x02, 0x04, 0x01, 0x01, 0x07}}}))},
      {"FR_SET_LIGHT zero values wrap to FF", FrSetLight(Light(0, 0, 0, 2, 0)),
       Expect(Op::WriteFrame, GoldenFrame(0x07, {{5, {0xFF, 0xFF, 0xFF, 0x02, 0x00}}}))},
      {"FR_FACTORY_RESET", FrFactoryReset(), Expect(Op::WriteFrame, GoldenFrame(0x08), 0, 100)},
      {"FR_BEGIN_COLOURS", FrBeginColours(), Expect(Op::WriteFrameAndRead, GoldenFrame(0x09))},
      {"FR_APPLY", FrApply(), Expect(Op::WriteFrameSlowRetry, GoldenFrame(0x0A))},
      {"FR_CUSTOM_LIGHT", FrCustomLight(), Expect(Op::WriteFrame, GoldenFrame(0x0B), 0, 10)},
      {"FR_SET_SLEEP_TIME", FrSetSleepTime(5), Expect(Op::WriteFrame, GoldenFrame(0x0C, {{5, {5}}}))},
      {"FR_SET_RESPONSE_TIME", FrSetResponseTime(3),
       Expect(Op::WriteFrame, GoldenFrame(0x0D, {{5, {3}}}))},
      {"FR_GET_STATUS poll", FrGetStatus(), Expect(Op::WriteFrameAndRead, GoldenFrame(0x0E))},
      {"FR_GET_STATUS battery read", FrGetStatus(Op::WriteFrameQuickRead),
       Expect(Op::WriteFrameQuickRead, GoldenFrame(0x0E))},
      {"FR_GET_STATUS discovery probe", FrGetStatus(Op::WriteFrame),
       Expect(Op::WriteFrame, GoldenFrame(0x0E))},
      {"FR_RESET_KEYS", FrResetKeys(), Expect(Op::WriteFrame, GoldenFrame(0x0F), 0, 100)},
      {"FR_SET_FN_SWITCH on", FrSetFnSwitch(true), Expect(Op::WriteFrame, GoldenFrame(0x10, {{5, {1}}}))},
      {"FR_SET_FN_SWITCH off", FrSetFnSwitch(false), Expect(Op::WriteFrame, GoldenFrame(0x10))},
  };
  for (const Row& row : rows) EXPECT_EQ(row.built, row.expected) << row.name;
}

TEST(FramedCommands, SetKeyValueRules) {
  struct Case {
    int layer, key, type, value;
    bool sent;
    uint8_t valueByte;
  };
  const Case cases[] = {
      {1, 0x2A, 2, 0x1E, true, 0x1E},  // key combination: layer + 1, key, value
      {0, 0x10, 1, 0, true, 0x00},     // value 0 restores the default
      {0, 0x10, 1, -3, true, 0x00},    // negative as 0
      {0, 0x10, 0, 0, true, 0x00},     // a cleared assignment
      {0, 0x10, 3, 0, true, 0x00},     // a macro without id resets the key
      {0, 0x10, 0, 4, false, 0},       // types 0, 3, 7 with a positive value: never
      {0, 0x10, 3, 5, false, 0},
      {0, 0x10, 7, 2, false, 0},
  };
  for (const Case& c : cases) {
    std::optional<OutgoingReport> r = FrSetKey(c.layer, c.key, c.type, c.value);
    ASSERT_EQ(r.has_value(), c.sent) << c.type << "/" << c.value;
    if (!c.sent) continue;
    EXPECT_EQ(*r, Expect(Op::WriteFrame,
                         GoldenFrame(0x04, {{5, {uint8_t(c.layer + 1), uint8_t(c.key), c.valueByte}}}),
                         0, 200));
  }
}

TEST(FramedCommands, MacroDataGoesInThreeChunksOf54) {
  std::vector<uint8_t> block(162);
  for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t(i + 1);
  const ReportSequence r = FrMacroData(block);
  ASSERT_EQ(r.size(), 3u);
  for (int chunk = 0; chunk < 3; ++chunk) {
    std::vector<uint8_t> payload(block.begin() + 54 * chunk, block.begin() + 54 * chunk + 54);
    const int after = chunk == 2 ? 190 : 20;  // 20 ms each, 170 ms more after the third
    EXPECT_EQ(r[chunk], Expect(Op::WriteFrame, GoldenFrame(uint8_t(chunk), {{5, payload}}), 0, after))
        << "chunk " << chunk;
  }
}

TEST(FramedCommands, KeyAssignmentOfAShortcutIsItsMacroBlock) {
  AssignmentToSend key{1, 0x33, -1, 7, 2};  // Ctrl+C on the Fn layer
  const ReportSequence r = FrKeyAssignment(key, nullptr);
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].bytes, GoldenFrame(0x00, {{5, {0x02, 0x33, 0x01, 0x04, 0xE0, 0x01, 0x06, 0x01,
                                                0x06, 0x81, 0xE0, 0x81}}}));
}

TEST(FramedCommands, MacroNotFoundHasPlayCountZero) {
  AssignmentToSend key{0, 0x20, -1, 3, 99};
  const MacroLookup none = [](int) { return std::optional<MacroContent>(); };
  const ReportSequence r = FrKeyAssignment(key, none);
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].bytes, GoldenFrame(0x00, {{5, {0x01, 0x20, 0x00, 0x00}}}));
}

TEST(FramedCommands, FullUploadResetsThenLayerZeroThenLayerOne) {
  const std::vector<AssignmentToSend> keys = {
      {1, 0x05, -1, 2, 0x1E},  // Fn layer: goes last
      {0, 0x06, -1, 3, 11},    // macro
      {0, 0x07, -1, 0, 0},     // default: skipped
      {0, 0x08, -1, 7, 1},     // shortcut
      {0, 0x09, -1, 1, 0},     // reset to default
  };
  const MacroLookup lookup = [](int id) {
    MacroContent m;
    m.playTimes = 2;
    m.events = {{2, 0x04, 0}, {3, 0x04, 20}};
    return id == 11 ? std::optional<MacroContent>(m) : std::nullopt;
  };
  const ReportSequence r = FrFullKeyUpload(keys, lookup);
  ASSERT_EQ(r.size(), 1u + 3 + 3 + 1 + 1);
  EXPECT_EQ(r[0], Expect(Op::WriteFrame, GoldenFrame(0x0F), 0, 100));
  EXPECT_EQ(r[1], Expect(Op::WriteFrame,
                         GoldenFrame(0x00, {{5, {0x01, 0x06, 0x02, 0x02, 0x04, 0x01, 0x04, 0x82}}}),
                         16, 20));
  EXPECT_EQ(r[4].bytes[6], 0x08);
  EXPECT_EQ(r[4].pauseBeforeMs, 16);
  EXPECT_EQ(r[7], Expect(Op::WriteFrame, GoldenFrame(0x04, {{5, {0x01, 0x09, 0x00}}}), 16, 200));
  EXPECT_EQ(r[8], Expect(Op::WriteFrame, GoldenFrame(0x04, {{5, {0x02, 0x05, 0x1E}}}), 16, 200));
}

TEST(FramedCommands, LightSequenceOfThePerKeyMode) {
  ColourTable stored;
  stored.Set(0, 0x00332211);
  const ReportSequence plain = FrLightSequence(Light(5, 1, 1, 0, 0), stored, true);
  ASSERT_EQ(plain.size(), 1u);  // only FR_SET_LIGHT

  const ReportSequence custom = FrLightSequence(Light(24, 1, 1, 0, 0), stored, true);
  ASSERT_EQ(custom.size(), 1u + 1 + 1 + 6);
  EXPECT_EQ(custom[0].bytes[5], 0x17);
  EXPECT_EQ(custom[1], Expect(Op::WriteFrame, GoldenFrame(0x0B), 0, 10));
  EXPECT_EQ(custom[2], Expect(Op::WriteFrameAndRead, GoldenFrame(0x09)));
  EXPECT_EQ(custom[3].bytes[5], 0xF6);
  EXPECT_EQ(custom[3].bytes[6], 0x11);

  const ReportSequence noBegin = FrLightSequence(Light(24, 1, 1, 0, 0), stored, false);
  ASSERT_EQ(noBegin.size(), 1u + 1 + 6);
  EXPECT_EQ(noBegin[2].bytes[5], 0xF6);
}

TEST(FramedCommands, StatusReportDecoding) {
  auto report = [](std::vector<uint8_t> bytes) { return bytes; };
  const auto cable = report({0xAA, 0x55, 0xCC, 0x33, 0x0E, 80, 3});
  std::optional<FramedStatus> s = ParseFrStatusReport(cable.data(), cable.size());
  ASSERT_TRUE(s);
  EXPECT_EQ(s->battery, 80);
  EXPECT_EQ(s->linkState, 3);
  EXPECT_TRUE(s->BatteryKnown());

  const auto noLevel = report({0xAA, 0x55, 0xCC, 0x33, 0x0E, 101, 1});
  s = ParseFrStatusReport(noLevel.data(), noLevel.size());
  ASSERT_TRUE(s);
  EXPECT_FALSE(s->BatteryKnown());
  EXPECT_EQ(s->linkState, 1);

  const std::vector<std::vector<uint8_t>> refused = {
      {0xAA, 0x55, 0xCC, 0x33, 0x0E, 80},        // too short for the link state
      {0xAA, 0x55, 0xCC, 0x34, 0x0E, 80, 3},     // wrong magic
      {0xAA, 0x55, 0xCC, 0x33, 0x0F, 80, 3},     // another command
      {},
  };
  for (const auto& bytes : refused) EXPECT_FALSE(ParseFrStatusReport(bytes.data(), bytes.size()));
  EXPECT_FALSE(ParseFrStatusReport(nullptr, 64));
  EXPECT_TRUE(HasFrameMagic(cable.data(), 4));
  EXPECT_FALSE(HasFrameMagic(cable.data(), 3));
}

TEST(FramedCommands, WireBytesPrependReportIdZeroToFrames) {
  const OutgoingReport r = FrApply();
  const std::vector<uint8_t> wire = r.WireBytes();
  ASSERT_EQ(wire.size(), 65u);
  EXPECT_EQ(wire[0], 0);
  EXPECT_EQ(wire[5], 0x0A);
}

}  // namespace
