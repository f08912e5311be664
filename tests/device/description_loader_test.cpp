// Reading config.xml and layout files into a KeyboardModel.
#include <gtest/gtest.h>

#include <algorithm>

#include "description_test_support.h"
#include "device/description_loader_values.h"

namespace {

const char kConfig[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<config>
  <device.info>
    <keyboard name="Alpha" device_type="301" device_info="alpha">
      <mode value="0" desc="cable" vid="0x3A5C" pid="0301" rev="0x0105" product_name="" hid_interface="VID_3A5C&amp;PID_0301&amp;MI_01"/>
      <mode value="2" desc="receiver" vid="3a5c" pid="0x0311" rev="1A" hid_interface="VID_3A5C&amp;PID_0311&amp;MI_01"/>
    </keyboard>
    <keyboard name="Lonely" device_type="101" device_info="lonely"/>
    <keyboard name="Beta" device_type="201" device_info="beta">
      <mode value="0" vid="0x3A5C" pid="0x0201" rev="0x0001" product_name="Beta USB"/>
    </keyboard>
    <keyboard name="Beta Twin" device_type="201" device_info="alpha"/>
  </device.info>
  <software name="Vantor" version="2.3.4">
    <website url="https://www.example.invalid/"/>
    <upgrade url="https://updates.example.invalid/"/>
    <copyright info="(c) test"/>
  </software>
</config>
)";

// A layout with the menu macro 0 / lighting 1, two modes, and keys that exercise
// row_col of three and four characters, fn-layer locks and a rectangle.
const char kAlphaLayout[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<device.info>
  <menu macro="0" light_mode="1"/>
  <function sleep_time="1"/>
  <firmware version="7" file="fw.bin" url="https://fw.invalid/" dongle_url="https://dongle.invalid/"/>
  <light rgb_keyboard="1" default_mode="2" default_brightness="4" default_speed="3" brightness_max="5" speed_max="6">
    <info name="800" mode="1" attribute="113"/>
    <info name="808" mode="2" attribute="513"/>
  </light>
  <Keyboard xpos="7" ypos="120" width="300" height="200" image="kb_alpha.png" row_count="6" col_count="21">
    <KeyItems>
      <key code="0x04" name="A" desc="Letter A" key_index="5" light_index="9" row_col="3_7" rect="10#20#30#40"/>
      <key code="AF" name="Fn" key_index="6" light_index="10" fnlayer_disable="1" row_col="3_12" rect="50#20#30#40"/>
      <key code="0x1E4" name="Wide" key_index="7" light_index="11" row_col="5,31" rect="90#20#30#40"/>
    </KeyItems>
  </Keyboard>
</device.info>
)";

class DescriptionLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write("config.xml", kConfig);
    folder.Write("layouts/alpha.xml", kAlphaLayout);
  }
  DescriptionLoader Loader() { return DescriptionLoader(model, folder.Path(), &observer); }

  TempProgramFolder folder;
  KeyboardModel model;
  RecordingObserver observer;
};

TEST_F(DescriptionLoaderTest, DeviceListReadsEveryKeyboardAndIdentity) {
  Loader().LoadDeviceList();

  ASSERT_EQ(model.keyboards.size(), 4u);
  EXPECT_EQ(model.keyboards[1].productName, L"Lonely");
  EXPECT_EQ(model.keyboards[1].device_type, 101);
  EXPECT_EQ(model.keyboards[1].vid, 0);
  EXPECT_EQ(model.keyboards[1].reservedIndex, -1);

  ASSERT_EQ(model.deviceModes.size(), 3u);
  const DeviceModeEntry& cable = model.deviceModes[0];
  EXPECT_EQ(cable.device_type, 301);
  EXPECT_EQ(cable.deviceInfo, L"alpha");
  EXPECT_EQ(cable.mode, 0);
  EXPECT_EQ(cable.desc, L"cable");
  EXPECT_EQ(cable.vid, 0x3A5C);
  EXPECT_EQ(cable.pid, 0x0301);  // hexadecimal without "0x"
  EXPECT_EQ(cable.rev, 0x0105);
  EXPECT_EQ(cable.hidInterface, L"VID_3A5C&PID_0301&MI_01");
  EXPECT_EQ(cable.productName, L"");  // an empty product_name overwrites the model name
  EXPECT_EQ(cable.present, 0);
  EXPECT_EQ(cable.reservedIndex, -1);
  const DeviceModeEntry& receiver = model.deviceModes[1];
  EXPECT_EQ(receiver.mode, 2);
  EXPECT_EQ(receiver.vid, 0x3A5C);  // lower-case hexadecimal
  EXPECT_EQ(receiver.rev, 0x1A);
  EXPECT_EQ(receiver.desc, L"receiver");
  EXPECT_EQ(model.deviceModes[2].productName, L"Beta USB");
  EXPECT_EQ(model.deviceModes[2].device_type, 201);

  // A keyboard without identities is listed but gives the HID layer no filter.
  ASSERT_EQ(observer.devices.size(), 4u);
  EXPECT_EQ(observer.devices[1], std::make_pair(std::wstring(L"Lonely"), 101));
  ASSERT_EQ(observer.filters.size(), 3u);
  EXPECT_TRUE(std::none_of(observer.filters.begin(), observer.filters.end(),
                           [](const DeviceModeEntry& e) { return e.device_type == 101; }));

  // Software section; the missing store element is skipped.
  EXPECT_EQ(model.softwareName, L"Vantor");
  EXPECT_EQ(model.softwareVersion, L"2.3.4");
  EXPECT_EQ(model.websiteUrl, L"https://www.example.invalid/");
  EXPECT_EQ(model.storeUrl, L"");
  EXPECT_EQ(model.upgradeUrl, L"https://updates.example.invalid/");
  EXPECT_EQ(observer.version, L"2.3.4");
  EXPECT_EQ(observer.copyright, L"(c) test");

  // Then the 301 model is selected and notifications are registered last.
  EXPECT_EQ(model.device_type, 301);
  EXPECT_EQ(model.modelName, L"Alpha");
  EXPECT_EQ(observer.databases, std::vector<std::wstring>{L"Alpha"});
  const std::vector<std::wstring> order = {L"device", L"filter", L"filter", L"device", L"device", L"filter",
                                           L"device", L"version", L"copyright", L"database", L"notifications"};
  EXPECT_EQ(observer.calls, order);
}

TEST_F(DescriptionLoaderTest, LayoutFillsModelMapsMatrixAndPictures) {
  Loader().LoadDeviceList();

  EXPECT_EQ(model.pageFlags, 0x45);
  const std::vector<std::pair<int, bool>> tabs = {{1, true}, {2, false}, {3, true}, {7, true}};
  EXPECT_EQ(observer.tabs, tabs);
  EXPECT_TRUE(model.sleepTimeAvailable);
  EXPECT_EQ(model.firmwareVersion, L"7");
  EXPECT_EQ(model.firmwareFile, L"fw.bin");
  EXPECT_EQ(model.firmwareUrl, L"https://fw.invalid/");
  EXPECT_EQ(model.dongleUrl, L"https://dongle.invalid/");
  EXPECT_EQ(observer.firmwareButton, std::vector<bool>{true});

  EXPECT_TRUE(model.rgbKeyboard);
  EXPECT_EQ(model.defaultLightMode, 2);
  EXPECT_EQ(observer.sliderMaxima, std::make_pair(5, 6));
  ASSERT_EQ(model.lightModes.size(), 2u);
  EXPECT_EQ(model.lightModes[1].name, L"808");
  EXPECT_EQ(model.lightModes[1].mode, 2);
  EXPECT_EQ(model.lightModes[1].attribute, LIGHT_CAP_BRIGHTNESS | LIGHT_CAP_MUSIC);
  ASSERT_EQ(observer.lightRecords.size(), 2u);
  const LightModeRecord& rec = observer.lightRecords[1];
  EXPECT_EQ(rec.profile, 1);
  EXPECT_EQ(rec.name, L"808");
  EXPECT_EQ(rec.brightness, 4);
  EXPECT_EQ(rec.speed, 3);
  EXPECT_EQ(rec.direction, 0);
  EXPECT_EQ(rec.colorful, 1);
  EXPECT_EQ(rec.colorindex, 7);
  EXPECT_EQ(rec.color_value, 255);
  EXPECT_EQ(rec.config_func, 513);

  EXPECT_EQ(model.rowCount, 6);
  EXPECT_EQ(model.colCount, 21);
  EXPECT_EQ(model.pictureRect, (KeyRect{7, 120, 307, 320}));
  EXPECT_EQ(model.keyIndexByCode.at(0x04), 5);
  EXPECT_EQ(model.lightIndexByCode.at(0xAF), 10);
  EXPECT_EQ(model.fnLayerDisabled, (std::map<int, int>{{0xAF, 1}}));
  ASSERT_EQ(model.keys.size(), 3u);
  EXPECT_EQ(model.keys[0].rect, (KeyRect{10, 20, 40, 60}));
  EXPECT_EQ(model.keys[0].desc, L"Letter A");

  // Matrix: three- and four-character row_col; the low byte of a wide code.
  EXPECT_EQ(model.keyMatrix[3][7], 0x04);
  EXPECT_EQ(model.keyMatrix[3][12], 0xAF);
  EXPECT_EQ(model.keyMatrix[5][31], 0xE4);
  int placed = 0;
  for (const auto& row : model.keyMatrix)
    placed += static_cast<int>(std::count_if(row.begin(), row.end(), [](uint8_t c) { return c != kNoKey; }));
  EXPECT_EQ(placed, 3);

  // Every picture enabled by the page flags is cleared, configured and filled.
  EXPECT_EQ(observer.clearedPictures, (std::vector<int>{kPageKeys, kPageLighting, kPageSettings}));
  ASSERT_EQ(observer.pictures.size(), 3u);
  EXPECT_EQ(observer.pictures[1].page, kPageLighting);
  EXPECT_EQ(observer.pictures[1].rect, (KeyRect{7, 120, 307, 320}));
  EXPECT_EQ(observer.pictures[1].image, L"kb_alpha.png");
  EXPECT_EQ(observer.pictures[1].width, 300);
  EXPECT_EQ(observer.pictureKeys.size(), 9u);
}

TEST_F(DescriptionLoaderTest, DuplicateDeviceTypeSelectsTheFirstKeyboard) {
  folder.Write("layouts/beta.xml", "<device.info><menu macro=\"1\" light_mode=\"1\"/></device.info>");
  DescriptionLoader loader = Loader();
  loader.LoadDeviceList();
  EXPECT_TRUE(loader.LoadLayout(201));
  EXPECT_EQ(model.modelName, L"Beta");
  EXPECT_EQ(model.layoutName, L"beta");
  EXPECT_EQ(model.pageFlags, 0x47);
}

TEST_F(DescriptionLoaderTest, MacroEventLimitFollowsTheCommandFamily) {
  folder.Write("layouts/beta.xml", "<device.info/>");
  DescriptionLoader loader = Loader();
  loader.LoadDeviceList();
  EXPECT_EQ(model.maxMacroEvents, 60);
  loader.LoadLayout(201);
  EXPECT_EQ(model.maxMacroEvents, 80);  // not left at 60 by the earlier model
  loader.LoadLayout(399);
  EXPECT_EQ(model.maxMacroEvents, 60);
}

TEST_F(DescriptionLoaderTest, MissingConfigLeavesNoModels) {
  TempProgramFolder empty;
  DescriptionLoader loader(model, empty.Path(), &observer);
  model.keyboards.resize(2);  // stale lists are cleared
  model.deviceModes.resize(2);
  loader.LoadDeviceList();
  EXPECT_TRUE(model.keyboards.empty());
  EXPECT_TRUE(model.deviceModes.empty());
  EXPECT_TRUE(observer.devices.empty());
  EXPECT_TRUE(observer.filters.empty());
  EXPECT_EQ(model.device_type, 301);
  EXPECT_EQ(model.modelName, L"");
  EXPECT_EQ(observer.calls.back(), L"notifications");
}

TEST_F(DescriptionLoaderTest, BrokenLayoutKeepsThePreviousLayout) {
  DescriptionLoader loader = Loader();
  loader.LoadDeviceList();
  ASSERT_EQ(model.keys.size(), 3u);

  // "Beta" (201) has a malformed layout; "Lonely" (101) has none at all.
  folder.Write("layouts/beta.xml", "<device.info><menu macro=\"1\"><light></device.info>");
  for (int type : {201, 101}) {
    SCOPED_TRACE(type);
    EXPECT_FALSE(loader.LoadLayout(type));
    EXPECT_EQ(model.device_type, type);
    EXPECT_EQ(model.firmwareUrl, L"");  // cleared before reading
    EXPECT_EQ(model.dongleUrl, L"");
    EXPECT_EQ(model.firmwareVersion, L"7");
    EXPECT_EQ(model.pageFlags, 0x45);
    EXPECT_EQ(model.keys.size(), 3u);
    EXPECT_EQ(model.lightModes.size(), 2u);
    EXPECT_EQ(model.keyMatrix[3][7], 0x04);
  }
  EXPECT_EQ(observer.databases, (std::vector<std::wstring>{L"Alpha", L"Beta", L"Lonely"}));
}

TEST_F(DescriptionLoaderTest, MissingElementsAreSkippedAndKeepTheirValues) {
  DescriptionLoader loader = Loader();
  loader.LoadDeviceList();
  // No menu, function or firmware; the light element comes after a skipped one.
  folder.Write("layouts/alpha.xml", R"(<device.info>
      <light default_brightness="2"><info name="801" mode="1" attribute="3"/></light>
      <Keyboard width="10" height="10"><KeyItems><key code="0x05" row_col="0_0" rect="1#1#2#2"/></KeyItems></Keyboard>
    </device.info>)");
  observer = RecordingObserver();
  ASSERT_TRUE(loader.LoadLayout(301));
  EXPECT_EQ(model.pageFlags, 0x45);
  EXPECT_TRUE(observer.tabs.empty());
  EXPECT_TRUE(model.sleepTimeAvailable);
  EXPECT_EQ(model.firmwareVersion, L"7");
  EXPECT_TRUE(observer.firmwareButton.empty());
  ASSERT_EQ(model.lightModes.size(), 1u);
  EXPECT_EQ(model.lightRecords[0].brightness, 2);
  EXPECT_FALSE(model.rgbKeyboard);
  ASSERT_EQ(model.keys.size(), 1u);
  EXPECT_EQ(model.keyMatrix[3][7], kNoKey);  // the old layout's keys are gone
  EXPECT_EQ(model.keyMatrix[0][0], 0x05);
  EXPECT_TRUE(model.fnLayerDisabled.empty());
}

TEST_F(DescriptionLoaderTest, LayoutNameCannotLeaveTheLayoutsFolder) {
  folder.Write("config.xml", R"(<config><device.info>
      <keyboard name="Evil" device_type="301" device_info="../outside"/></device.info></config>)");
  folder.Write("outside.xml", kAlphaLayout);
  DescriptionLoader loader = Loader();
  loader.LoadDeviceList();
  EXPECT_EQ(model.modelName, L"Evil");
  EXPECT_TRUE(model.keys.empty());
  EXPECT_FALSE(loader.LoadLayout(301));
}

TEST(DescriptionValues, NumbersRowColAndRectangles) {
  struct Num {
    const wchar_t* text;
    int dec, hex;
  };
  const Num nums[] = {{L"12", 12, 0x12},   {L"0x1F", 0, 0x1F},  {L"0X1f", 0, 0x1F}, {L"abc", 0, 0xABC},
                      {L"zz", 0, 0},       {L"", 0, 0},         {L" 42x", 42, 0x42}, {L"-7", -7, 0},
                      {L"99999999999", 2147483647, 2147483647}, {L"0x", 0, 0}};
  for (const Num& n : nums) {
    SCOPED_TRACE(testing::Message() << "text " << std::string(n.text, n.text + wcslen(n.text)));
    EXPECT_EQ(ParseDecimalValue(n.text), n.dec);
    EXPECT_EQ(ParseHexValue(n.text), n.hex);
  }

  struct RowCol {
    const wchar_t* text;
    bool ok;
    int row, col;
  };
  const RowCol rcs[] = {{L"3_7", true, 3, 7}, {L"3_12", true, 3, 12}, {L"0,0", true, 0, 0},
                        {L"9-99", true, 9, 99}, {L"37", false, -1, -1}, {L"3_123", false, -1, -1},
                        {L"x_1", false, -1, -1}, {L"1_x", false, -1, -1}, {L"", false, -1, -1}};
  for (const RowCol& rc : rcs) {
    int row = 5, col = 5;
    EXPECT_EQ(ParseRowCol(rc.text, &row, &col), rc.ok);
    EXPECT_EQ(row, rc.row);
    EXPECT_EQ(col, rc.col);
  }

  EXPECT_EQ(ParseKeyRect(L"10#20#30#40"), (KeyRect{10, 20, 40, 60}));
  EXPECT_EQ(ParseKeyRect(L"10#20"), (KeyRect{10, 20, 10, 20}));
  EXPECT_EQ(ParseKeyRect(L"a#b#c#d"), (KeyRect{0, 0, 0, 0}));
  EXPECT_EQ(ParseKeyRect(L"2147483647#0#10#0").right, 2147483647);
}

}  // namespace
