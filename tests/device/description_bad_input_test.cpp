// Description files that are broken by hand or carry nonsense: the loader answers
// with a clear state and never writes outside the model.
#include <gtest/gtest.h>

#include <string>

#include "description_test_support.h"

namespace {

const char kConfig[] = R"(<config><device.info>
  <keyboard name="M" device_type="301" device_info="m">
    <mode value="0" vid="0x3A5C" pid="0x0301" hid_interface="VID_3A5C&amp;PID_0301&amp;MI_01"/>
  </keyboard></device.info>
  <software version="1"><website url="u"/><copyright info="c"/></software></config>)";

const char kLayout[] = R"(<device.info>
  <menu macro="1" light_mode="1"/><function sleep_time="1"/>
  <firmware version="1" file="f" url="u" dongle_url="d"/>
  <light rgb_keyboard="1" default_mode="1"><info name="800" mode="1" attribute="3"/></light>
  <Keyboard xpos="0" ypos="0" width="100" height="50" image="k.png" row_count="1" col_count="2">
    <KeyItems>
      <key code="0x04" name="A" key_index="0" light_index="0" row_col="0_0" rect="0#0#50#50"/>
      <key code="0x05" name="B" key_index="1" light_index="1" row_col="0_1" rect="50#0#50#50"/>
    </KeyItems>
  </Keyboard>
</device.info>)";

class DescriptionBadInputTest : public ::testing::Test {
 protected:
  void SetUp() override { folder.Write("config.xml", kConfig); }
  TempProgramFolder folder;
  KeyboardModel model;
  RecordingObserver observer;
};

TEST_F(DescriptionBadInputTest, NonNumericNumbersReadAsZero) {
  folder.Write("layouts/m.xml", R"(<device.info>
      <menu macro="yes" light_mode="1"/>
      <light default_brightness="bright" brightness_max="0x10"><info name="800" mode="one" attribute="-"/></light>
      <Keyboard xpos="left" width="w" row_count="?">
        <KeyItems><key code="zz" key_index="x" light_index="" row_col="a_b" rect="p#q#r#s"/></KeyItems>
      </Keyboard></device.info>)");
  DescriptionLoader(model, folder.Path(), &observer).LoadDeviceList();
  EXPECT_EQ(model.pageFlags, 0x45);
  EXPECT_EQ(model.defaultBrightness, 0);
  EXPECT_EQ(model.brightnessMax, 0);  // decimal attribute: "0x10" reads as 0
  ASSERT_EQ(model.lightModes.size(), 1u);
  EXPECT_EQ(model.lightModes[0].mode, 0);
  EXPECT_EQ(model.lightModes[0].attribute, 0);
  EXPECT_EQ(model.pictureRect, KeyRect{});
  EXPECT_EQ(model.rowCount, 0);
  ASSERT_EQ(model.keys.size(), 1u);
  EXPECT_EQ(model.keys[0].code, 0);
  EXPECT_EQ(model.keyIndexByCode.at(0), 0);
  EXPECT_EQ(model.keys[0].row, -1);  // unplaceable row_col: not in the matrix
  EXPECT_EQ(model.keyMatrix, KeyboardModel::EmptyMatrix());
}

TEST_F(DescriptionBadInputTest, ManyKeysAndRowsBeyondTheMatrixStayInside) {
  std::string keys;
  for (int i = 0; i < 500; ++i) {
    const int row = i % 10, col = i % 50;  // rows 8-9 and columns 32-49 lie outside
    keys += "<key code=\"" + std::to_string(i) + "\" key_index=\"" + std::to_string(i) + "\" row_col=\"" +
            std::to_string(row) + "_" + std::to_string(col) + "\" rect=\"0#0#1#1\"/>";
  }
  folder.Write("layouts/m.xml", "<device.info><Keyboard><KeyItems>" + keys + "</KeyItems></Keyboard></device.info>");
  DescriptionLoader(model, folder.Path(), &observer).LoadDeviceList();

  ASSERT_EQ(model.keys.size(), 500u);
  // Later keys on the same cell win; cells outside the matrix are never written.
  auto expected = KeyboardModel::EmptyMatrix();
  int placed = 0;
  for (const LayoutKey& k : model.keys) {
    const bool inside = k.row >= 0;
    EXPECT_EQ(inside, k.row < kKeyMatrixRows && k.col >= 0 && k.col < kKeyMatrixCols) << k.code;
    if (inside) {
      ++placed;
      expected[k.row][k.col] = static_cast<uint8_t>(k.code & 0xFF);
    }
  }
  EXPECT_EQ(model.keyMatrix, expected);
  EXPECT_EQ(placed, 260);  // per 50 keys: rows 0-7 among columns 0-31 give 26 cells
  // The field laid out right after the matrix is untouched.
  EXPECT_EQ(model.maxMacroEvents, 60);
}

// Every prefix of a good file and copies with a structural character dropped in:
// each must load (or refuse to) without crashing, and a refused config leaves no models.
TEST_F(DescriptionBadInputTest, HandBrokenFilesNeverCrash) {
  const std::string layout = kLayout;
  const std::string config = kConfig;
  std::vector<std::string> layouts, configs;
  for (size_t cut = 0; cut < layout.size(); cut += 9) layouts.push_back(layout.substr(0, cut));
  for (size_t pos = 0; pos < layout.size(); pos += 19)
    for (char c : {'<', '>', '"', '/', '\0'}) layouts.push_back(layout.substr(0, pos) + c + layout.substr(pos + 1));
  for (size_t cut = 0; cut < config.size(); cut += 9) configs.push_back(config.substr(0, cut));
  for (size_t pos = 0; pos < config.size(); pos += 19)
    for (char c : {'<', '>', '"'}) configs.push_back(config.substr(0, pos) + c + config.substr(pos + 1));

  folder.Write("config.xml", kConfig);
  for (const std::string& text : layouts) {
    folder.Write("layouts/m.xml", text);
    KeyboardModel m;
    DescriptionLoader(m, folder.Path(), nullptr).LoadDeviceList();
    EXPECT_LE(m.keys.size(), 2u);
  }
  folder.Write("layouts/m.xml", kLayout);
  for (const std::string& text : configs) {
    folder.Write("config.xml", text);
    KeyboardModel m;
    RecordingObserver obs;
    DescriptionLoader(m, folder.Path(), &obs).LoadDeviceList();
    EXPECT_EQ(obs.filters.size(), m.deviceModes.size());
    EXPECT_LE(m.deviceModes.size(), 1u);
  }
}

}  // namespace
