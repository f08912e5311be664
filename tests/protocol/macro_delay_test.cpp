// The one-byte event delay of the framed and report-7 macro blocks.
#include <gtest/gtest.h>

#include "protocol/macro_delay.h"

namespace {

TEST(MacroDelayByte, EdgesOfEveryUnit) {
  struct Case {
    int ms;
    uint8_t press;
  };
  const Case cases[] = {
      {0, 0x01},     {10, 0x01},   {11, 0x01},   {20, 0x02},   {310, 0x1F},  {311, 0x26},
      {1550, 0x3F},  {1551, 0x4F}, {3100, 0x5F}, {3101, 0x63}, {31000, 0x7F}, {40000, 0x7F},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MacroDelayByte(false, c.ms), c.press) << c.ms << " ms pressed";
    EXPECT_EQ(MacroDelayByte(true, c.ms), c.press | 0x80) << c.ms << " ms released";
  }
}

TEST(MacroDelayByte, NegativeDelayHasCountZero) {
  EXPECT_EQ(MacroDelayByte(false, -5), 0x01);  // a byte of 0 becomes 1
  EXPECT_EQ(MacroDelayByte(true, -5), 0x80);
}

TEST(MacroDelayByte, DecodesToTheRoundedDownDelay) {
  EXPECT_EQ(MacroDelayMs(0x26), 300);
  EXPECT_EQ(MacroDelayMs(0x4F), 1500);
  EXPECT_EQ(MacroDelayMs(0xFF), 31000);
  EXPECT_EQ(MacroDelayMs(0x81), 10);
  EXPECT_TRUE(MacroDelayIsRelease(0x81));
  EXPECT_FALSE(MacroDelayIsRelease(0x7F));
}

}  // namespace
