// The per-key colour table and the six colour frames that carry it.
#include <gtest/gtest.h>

#include "commands_golden.h"
#include "protocol/colour_table.h"
#include "protocol/commands_framed.h"

namespace {

TEST(ColourTable, ThreeBytesRedGreenBluePerLightIndex) {
  ColourTable t;
  EXPECT_TRUE(t.Set(0, 0x00030201));
  EXPECT_TRUE(t.Set(107, 0x00CCBBAA));
  EXPECT_TRUE(t.Set(199, 0x00FFEEDD));
  EXPECT_EQ(t.Bytes().size(), 600u);
  EXPECT_EQ(t.Bytes()[0], 0x01);  // R
  EXPECT_EQ(t.Bytes()[1], 0x02);  // G
  EXPECT_EQ(t.Bytes()[2], 0x03);  // B
  EXPECT_EQ(t.Bytes()[321], 0xAA);
  EXPECT_EQ(t.Bytes()[323], 0xCC);
  EXPECT_EQ(t.Bytes()[597], 0xDD);
  EXPECT_EQ(t.Get(107), 0x00CCBBAAu);

  // Outside the 200 entries nothing is written and nothing else changes.
  const auto before = t.Bytes();
  EXPECT_FALSE(t.Set(200, 0x00FFFFFF));
  EXPECT_FALSE(t.Set(-1, 0x00FFFFFF));
  EXPECT_EQ(t.Bytes(), before);
  EXPECT_EQ(t.Get(200), 0u);
}

TEST(ColourTable, LiveFrameIsSixReportsOf54TableBytes) {
  ColourTable t;
  for (int i = 0; i < 200; ++i) t.Set(i, 0x00010000u * (i % 7) + 0x100u * (i % 5) + uint32_t(i));
  const ReportSequence r = FrLiveColours(t);
  ASSERT_EQ(r.size(), 6u);
  for (int k = 0; k < 6; ++k) {
    std::vector<uint8_t> payload(t.Bytes().begin() + 54 * k, t.Bytes().begin() + 54 * k + 54);
    // Report bytes: ID 0, then data AA 55 CC 33, F0 + k, 54 table bytes at data offset 5.
    const auto bytes = Golden(65, {{1, {0xAA, 0x55, 0xCC, 0x33, uint8_t(0xF0 + k)}}, {6, payload}});
    EXPECT_EQ(r[k], Expect(TransportOp::WriteReport, bytes, 0, 0, true)) << "chunk " << k;
  }
}

TEST(ColourTable, StoredFrameWaits3msBeforeEachAndUsesF6ToFB) {
  ColourTable t;
  t.Set(18, 0x00123456);  // first entry of chunk 1 (18 x 3 = 54)
  const ReportSequence r = FrStoredColours(t);
  ASSERT_EQ(r.size(), 6u);
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(r[k].bytes[5], 0xF6 + k);
    EXPECT_EQ(r[k].pauseBeforeMs, 3);
    EXPECT_TRUE(r[k].stopOnFailure);
  }
  EXPECT_EQ(Hex({r[1].bytes[6], r[1].bytes[7], r[1].bytes[8]}), "56 34 12 ");
}

TEST(ColourTable, OnlyLightIndicesBelow108ReachTheKeyboard) {
  ColourTable t;
  t.Set(108, 0x00FFFFFF);
  for (const OutgoingReport& r : FrLiveColours(t))
    for (size_t i = 6; i < 65; ++i) EXPECT_EQ(r.bytes[i], 0) << i;
}

TEST(ColourTable, BeginColoursGoesFirstWhenAsked) {
  ColourTable t;
  const ReportSequence withBegin = FrColourFrame(t, false, true);
  ASSERT_EQ(withBegin.size(), 7u);
  EXPECT_EQ(withBegin[0], Expect(TransportOp::WriteFrameAndRead, GoldenFrame(0x09)));
  EXPECT_EQ(withBegin[1].bytes[5], 0xF0);
  EXPECT_EQ(FrColourFrame(t, true, false).size(), 6u);
}

}  // namespace
