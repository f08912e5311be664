// Framed and report-7 macro blocks (the opcode block is tested with its chunked upload).
#include <gtest/gtest.h>

#include "commands_golden.h"
#include "protocol/commands_framed.h"
#include "protocol/macro_block.h"

namespace {

MacroContent Presses(int n, int playTimes = 1) {
  MacroContent m;
  m.playTimes = playTimes;
  for (int k = 0; k < n; ++k) m.events.push_back({2, uint8_t(k + 1), 10});
  return m;
}

TEST(FramedMacroBlock, Layout) {
  MacroContent m;
  m.playTimes = 5;
  m.events = {{2, 0xE0, 0}, {1, 0x55, 100}, {2, 0x04, 311}, {3, 0x04, 10}, {3, 0xE0, 1551}};
  EXPECT_EQ(FramedMacroBlock(1, 0x2B, &m),
            Golden(162, {{0, {0x02, 0x2B, 0x05, 0x04, 0xE0, 0x01, 0x04, 0x26, 0x04, 0x81, 0xE0, 0xCF}}}));
  // Macro record not found: play count 0, no events.
  EXPECT_EQ(FramedMacroBlock(0, 0x2B, nullptr), Golden(162, {{0, {0x01, 0x2B, 0x00, 0x00}}}));
}

TEST(FramedMacroBlock, EightyEventsAnnounceOnlyTheSeventyNineCarried) {
  const MacroContent m = Presses(80);
  const std::vector<uint8_t> block = FramedMacroBlock(0, 0x10, &m);
  ASSERT_EQ(block.size(), 162u);
  EXPECT_EQ(block[3], 79);
  EXPECT_EQ(block[4 + 2 * 78], 79);  // usage of the 79th event
  EXPECT_EQ(block[161], 0x01);
  const ReportSequence chunks = FrMacroData(block);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[2].bytes[5 + 53], 0x01);  // the last block byte in the third chunk
}

TEST(FramedMacroBlock, PlayCountIsKeptWithinAByte) {
  MacroContent m = Presses(1, 300);
  EXPECT_EQ(FramedMacroBlock(0, 1, &m)[2], 255);
  m.playTimes = -2;
  EXPECT_EQ(FramedMacroBlock(0, 1, &m)[2], 0);
}

TEST(Report7MacroBlock, LayoutWithoutEventCount) {
  MacroContent m;
  m.playTimes = 2;
  m.events = {{2, 0x04, 50}, {3, 0x04, -1}};
  EXPECT_EQ(Report7MacroBlock(4, 0x2B, &m),
            Golden(168, {{0, {0x01, 0x04, 0x2B, 0x02, 0x04, 0x05, 0x04, 0x80}}}));
  EXPECT_EQ(Report7MacroBlock(4, 0x2B, nullptr), Golden(168, {{0, {0x01, 0x04}}}));
}

TEST(Report7MacroBlock, AtMostEightyTwoEvents) {
  const MacroContent m = Presses(90);
  const std::vector<uint8_t> block = Report7MacroBlock(1, 1, &m);
  ASSERT_EQ(block.size(), 168u);
  EXPECT_EQ(block[166], 82);
  EXPECT_EQ(block[167], 0x01);
}

}  // namespace
