// The fifteen built-in shortcuts.
#include <gtest/gtest.h>

#include "protocol/commands_framed.h"
#include "protocol/macro_block.h"
#include "protocol/shortcuts.h"

namespace {

struct Row {
  int id;
  std::vector<uint8_t> usages;  // in event order
  std::vector<bool> released;
};

const std::vector<bool> kChord = {false, false, true, true};
const std::vector<bool> kMenu = {false, false, false, true, true, true};

const std::vector<Row>& Table() {
  static const std::vector<Row> rows = {
      {1, {0xE0, 0x04, 0x04, 0xE0}, kChord},  {2, {0xE0, 0x06, 0x06, 0xE0}, kChord},
      {3, {0xE0, 0x1B, 0x1B, 0xE0}, kChord},  {4, {0xE0, 0x19, 0x19, 0xE0}, kChord},
      {5, {0xE0, 0x1D, 0x1D, 0xE0}, kChord},  {6, {0xE0, 0x16, 0x16, 0xE0}, kChord},
      {7, {0xE3, 0x08, 0x08, 0xE3}, kChord},  {8, {0xE3, 0x0F, 0x0F, 0xE3}, kChord},
      {9, {0xE3, 0x07, 0x07, 0xE3}, kChord},  {10, {0xE2, 0x2B, 0x2B, 0xE2}, kChord},
      {11, {0xE3, 0x10, 0x10, 0xE3}, kChord}, {12, {0xE0, 0x1A, 0x1A, 0xE0}, kChord},
      {13, {0xE2, 0x2C, 0x1B, 0x1B, 0x2C, 0xE2}, kMenu},
      {14, {0xE2, 0x2C, 0x11, 0x11, 0x2C, 0xE2}, kMenu},
      {15, {0xE2, 0x3D, 0x3D, 0xE2}, kChord},
  };
  return rows;
}

TEST(Shortcuts, EveryRowOfTheTable) {
  for (const Row& row : Table()) {
    std::vector<ShortcutStroke> expected;
    for (size_t i = 0; i < row.usages.size(); ++i) expected.push_back({row.usages[i], row.released[i]});
    EXPECT_EQ(ShortcutStrokes(row.id), expected) << "id " << row.id;
  }
  for (int other : {0, 16, -1, 255}) EXPECT_TRUE(ShortcutStrokes(other).empty()) << other;
}

TEST(Shortcuts, FramedBlockUsesTenMillisecondDelays) {
  for (const Row& row : Table()) {
    const MacroContent macro = ShortcutMacro(row.id, SHORTCUT_DELAY_BLOCK_MS);
    const std::vector<uint8_t> block = FramedMacroBlock(0, 0x20, &macro);
    std::vector<uint8_t> expected = {0x01, 0x20, 0x01, uint8_t(row.usages.size())};
    for (size_t i = 0; i < row.usages.size(); ++i) {
      expected.push_back(row.usages[i]);
      expected.push_back(row.released[i] ? 0x81 : 0x01);
    }
    expected.resize(162, 0);
    EXPECT_EQ(block, expected) << "id " << row.id;
  }
}

TEST(Shortcuts, OpcodeEventsUseOneHundredMilliseconds) {
  const MacroContent macro = ShortcutMacro(10, SHORTCUT_DELAY_OPCODE_MS);  // Alt+Tab
  EXPECT_EQ(OpcodeMacroBlock(&macro),
            (std::vector<uint8_t>{1, 4, 0xE2, 0x64, 0x80, 0x2B, 0x64, 0x80, 0x2B, 0x64, 0x00, 0xE2,
                                  0x64, 0x00}));
}

}  // namespace
