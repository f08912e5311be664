// Family selection by device_type and the commands every family has in its own form.
#include <gtest/gtest.h>

#include "commands_golden.h"
#include "protocol/command_family.h"
#include "protocol/commands_framed.h"
#include "protocol/commands_opcode.h"
#include "protocol/commands_report7.h"

namespace {

TEST(CommandFamily, ChosenByDeviceTypeRanges) {
  struct Case {
    int deviceType;
    CommandFamily family;
  };
  const Case cases[] = {
      {0, CommandFamily::Opcode},    {101, CommandFamily::Opcode},  {200, CommandFamily::Opcode},
      {201, CommandFamily::Report7}, {299, CommandFamily::Report7}, {300, CommandFamily::Framed},
      {301, CommandFamily::Framed},  {399, CommandFamily::Framed},  {400, CommandFamily::None},
      {450, CommandFamily::None},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CommandFamilyFor(c.deviceType), c.family) << c.deviceType;
}

TEST(CommandFamily, FromFourHundredNothingIsSent) {
  LightParams light;
  ColourTable colours;
  const std::vector<AssignmentToSend> keys = {{0, 0x10, 1, 2, 4}, {0, 0x11, 2, 7, 1}};
  for (int deviceType : {400, 450, 1000}) {
    for (int mode : {0, 2}) {
      EXPECT_TRUE(LightCommand(deviceType, mode, light, false, colours, true).empty());
      EXPECT_TRUE(FactoryResetCommand(deviceType, mode, keys, nullptr).empty());
    }
    EXPECT_TRUE(FullKeyUpload(deviceType, keys, 0, nullptr).empty());
    EXPECT_TRUE(StatusRequest(deviceType).empty());
  }
}

TEST(CommandFamily, EachFamilySendsItsOwnForm) {
  LightParams light;
  light.mode = 2;
  ColourTable colours;
  EXPECT_EQ(LightCommand(101, 0, light, false, colours, false), ReportSequence{OpSelectLightMode(2)});
  EXPECT_EQ(LightCommand(101, 0, light, true, colours, false), ReportSequence{OpSetLightParams(light)});
  EXPECT_EQ(LightCommand(201, 0, light, false, colours, false), ReportSequence{R7SetLight(light)});
  EXPECT_EQ(LightCommand(201, 2, light, false, colours, false), ReportSequence{W7SetLight(light)});
  EXPECT_EQ(LightCommand(301, 0, light, false, colours, false), ReportSequence{FrSetLight(light)});

  EXPECT_EQ(FactoryResetCommand(301, 0, {}, nullptr), ReportSequence{FrFactoryReset()});
  EXPECT_EQ(FactoryResetCommand(201, 0, {}, nullptr), ReportSequence{R7FactoryReset()});
  EXPECT_EQ(FactoryResetCommand(201, 2, {}, nullptr), W7FactoryReset());
  EXPECT_EQ(FactoryResetCommand(101, 0, {}, nullptr), OpFactoryResetSequence({}, nullptr));

  // The status poll speaks the framed request whatever the family.
  for (int deviceType : {101, 201, 301})
    EXPECT_EQ(StatusRequest(deviceType),
              ReportSequence{Expect(TransportOp::WriteFrameAndRead, GoldenFrame(0x0E))});
}

TEST(CommandFamily, FullUploadTakesBothLayersOnlyForTheFramedFamily) {
  const std::vector<AssignmentToSend> keys = {{0, 0x10, 1, 2, 4}, {1, 0x11, 2, 2, 5}};
  EXPECT_EQ(FullKeyUpload(301, keys, 0, nullptr).size(), 3u);  // reset + two keys
  EXPECT_EQ(FullKeyUpload(201, keys, 1, nullptr), R7FullKeyUpload({keys[1]}, nullptr));
  EXPECT_EQ(FullKeyUpload(101, keys, 0, nullptr), OpKeyUpload({keys[0]}, nullptr));
}

}  // namespace
