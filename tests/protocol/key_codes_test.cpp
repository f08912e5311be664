// Virtual-key codes, HID usages, key names and the recorded-key decoder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "protocol/key_codes.h"
#include "protocol/key_names.h"
#include "protocol/recorded_key.h"
#include "protocol/sdl_scancode_map.h"
#include <set>

namespace {

TEST(KeyCodes, VkToHidUsageTable) {
  struct Row {
    int vkFirst, vkLast, usageFirst;
  };
  // Runs of the table: each VK from first to last maps to consecutive usages.
  const Row runs[] = {
      {65, 90, 4},   {49, 57, 30},  {48, 48, 39},   {13, 13, 40},   {27, 27, 41},   {8, 8, 42},
      {9, 9, 43},    {32, 32, 44},  {189, 189, 45}, {187, 187, 46}, {219, 219, 47}, {221, 221, 48},
      {220, 220, 49}, {666, 666, 50}, {186, 186, 51}, {222, 222, 52}, {192, 192, 53}, {188, 188, 54},
      {190, 190, 55}, {191, 191, 56}, {20, 20, 57},  {112, 123, 58}, {124, 135, 104}, {44, 44, 70},
      {145, 145, 71}, {19, 19, 72},  {45, 45, 73},  {36, 36, 74},   {33, 33, 75},   {46, 46, 76},
      {35, 35, 77},  {34, 34, 78},  {39, 39, 79},   {37, 37, 80},   {40, 40, 81},   {38, 38, 82},
      {144, 144, 83}, {111, 111, 84}, {106, 106, 85}, {109, 109, 86}, {107, 107, 87}, {108, 108, 88},
      {97, 105, 89}, {96, 96, 98},  {110, 110, 99}, {226, 226, 100}, {93, 93, 101},  {162, 162, 224},
      {160, 160, 225}, {164, 164, 226}, {91, 91, 227}, {163, 163, 228}, {161, 161, 229}, {165, 165, 230},
      {92, 92, 231}, {254, 254, 175}, {136, 139, 136}, {173, 173, 235}, {174, 174, 233}, {175, 175, 234},
      {176, 176, 239}, {177, 177, 237}, {178, 178, 236}, {179, 179, 238}, {166, 166, 243}, {167, 167, 244},
      {168, 168, 246}, {169, 169, 245}, {170, 170, 247}, {171, 171, 248}, {172, 172, 241}, {180, 180, 240},
      {181, 181, 232}, {182, 182, 249}, {183, 183, 242},
  };
  std::set<int> mapped;
  for (const Row& r : runs)
    for (int vk = r.vkFirst; vk <= r.vkLast; ++vk) {
      EXPECT_EQ(VkToHidUsage(vk), r.usageFirst + vk - r.vkFirst) << "vk " << vk;
      mapped.insert(vk);
    }
  for (int vk = -1; vk < 1024; ++vk)
    if (!mapped.count(vk)) {
      EXPECT_EQ(VkToHidUsage(vk), 0) << "vk " << vk;
    }
  EXPECT_EQ(VkToHidUsage(0x10), 0);  // generic Shift has no usage
}

TEST(KeyNames, HidUsageNames) {
  EXPECT_EQ(HidUsageName(4), L"A");
  EXPECT_EQ(HidUsageName(29), L"Z");
  EXPECT_EQ(HidUsageName(30), L"1");
  EXPECT_EQ(HidUsageName(39), L"0");
  EXPECT_EQ(HidUsageName(89), L"1");
  EXPECT_EQ(HidUsageName(98), L"0");
  EXPECT_EQ(HidUsageName(58), L"F1");
  EXPECT_EQ(HidUsageName(69), L"F12");
  EXPECT_EQ(HidUsageName(72), L"PASE");
  EXPECT_EQ(HidUsageName(42), L"backspace");
  EXPECT_EQ(HidUsageName(49), L"\\");
  EXPECT_EQ(HidUsageName(88), L"Enter");
  EXPECT_EQ(HidUsageName(175), L"FN");
  EXPECT_EQ(HidUsageName(230), L"RALT");
  for (int usage : {0, 3, 50, 100, 102, 150, 174, 176, 223, 231, 255, 1000, -5})
    EXPECT_EQ(HidUsageName(usage), L"") << usage;
}

TEST(KeyNames, VkNamesWithOverrides) {
  struct Row {
    int vk, outVk;
    const wchar_t* name;
  };
  const Row rows[] = {{16, 160, L"Shift"},   {17, 162, L"Ctrl"},        {18, 164, L"Alt"},
                      {19, 19, L"Pause"},    {44, 44, L"Print Screen"}, {91, 91, L"Windows"},
                      {92, 92, L"RWindows"}, {93, 93, L"Application"},  {144, 144, L"Num Lock"},
                      {161, 161, L"RShift"}, {163, 163, L"RCtrl"},      {165, 165, L"RAlt"},
                      {33, 33, L"Page Up"},  {103, 103, L"Num 7"},      {65, 65, L"A"},
                      {112, 112, L"F1"},     {135, 135, L"F24"},        {0, 0, L""},
                      {173, 173, L""}};
  for (const Row& r : rows) {
    VkName n = VkKeyName(r.vk);
    EXPECT_EQ(n.vk, r.outVk) << r.vk;
    EXPECT_EQ(n.name, r.name) << r.vk;
  }
  EXPECT_EQ(MediaKeyName(179), L"Play/Pause");
  EXPECT_EQ(MediaKeyName(65), L"");
}

TEST(RecordedKeys, KeypadModifiersAndRepeat) {
  // Keypad keys are the keypad codes whatever Num Lock says; nothing maps to Home.
  EXPECT_EQ(ScancodeToVk(95), 103);  // keypad 7 -> VK_NUMPAD7
  EXPECT_EQ(ScancodeToVk(kScancodeKeypad0), 96);
  EXPECT_EQ(ScancodeToVk(kScancodeKeypadPeriod), 110);
  EXPECT_EQ(ScancodeToVk(kScancodeKeypadEnter), 108);
  EXPECT_EQ(ScancodeToVk(75), 33);  // the navigation Page Up stays Page Up
  EXPECT_EQ(ScancodeToVk(kScancodeAudioNext), 176);
  EXPECT_EQ(ScancodeToVk(0), 0);
  EXPECT_EQ(ScancodeToVk(500), 0);

  RecordedKeyDecoder decoder;
  auto press = decoder.Decode(kScancodeLeftShift, false);
  ASSERT_TRUE(press);
  EXPECT_EQ(press->kind, kRecordedKey);
  EXPECT_EQ(press->vk, 160);
  EXPECT_EQ(press->name, L"Shift");
  EXPECT_FALSE(press->released);

  auto repeat = decoder.Decode(kScancodeLeftShift, false);
  ASSERT_TRUE(repeat);
  EXPECT_EQ(repeat->kind, kRecordedRepeat);

  auto release = decoder.Decode(kScancodeLeftShift, true);
  ASSERT_TRUE(release);
  EXPECT_EQ(release->kind, kRecordedKey);
  EXPECT_TRUE(release->released);
  EXPECT_FALSE(decoder.IsHeld(160));
  EXPECT_EQ(decoder.Decode(kScancodeLeftShift, false)->kind, kRecordedKey);  // a fresh press again

  auto keypad = decoder.Decode(95, false);
  ASSERT_TRUE(keypad);
  EXPECT_EQ(keypad->vk, 103);
  EXPECT_EQ(keypad->name, L"Num 7");
  EXPECT_EQ(decoder.Decode(kScancodeAcBookmarks, false)->name, L"Web-Favorites");
  EXPECT_FALSE(decoder.Decode(0, false));
  EXPECT_FALSE(decoder.Decode(102, false));  // Power: no virtual-key code

  decoder.Reset();
  EXPECT_FALSE(decoder.IsHeld(103));
}

// Every key of every shipped layout has a name, and an ordinary key typed on the
// keyboard comes back as its own code: scancode -> VK -> HID usage.
TEST(KeyCodes, ShippedLayoutsRoundTrip) {
  const std::regex codeAttr("<key code=\"0x([0-9A-Fa-f]+)\"");
  int layouts = 0;
  for (const auto& entry : std::filesystem::directory_iterator(VANTOR_SOURCE_DIR "/data/layouts")) {
    if (entry.path().extension() != ".xml") continue;
    ++layouts;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    int keys = 0;
    for (std::sregex_iterator it(s.begin(), s.end(), codeAttr), end; it != end; ++it) {
      const int code = std::stoi((*it)[1].str(), nullptr, 16);
      SCOPED_TRACE(entry.path().filename().string() + " code " + std::to_string(code));
      ++keys;
      EXPECT_FALSE(HidUsageName(code).empty());
      if (code == kFnKeyUsage) continue;  // handled inside the keyboard, never reported
      const int vk = ScancodeToVk(code);
      ASSERT_NE(vk, 0);
      EXPECT_EQ(VkToHidUsage(vk), code);
      EXPECT_FALSE(VkKeyName(vk).name.empty());
    }
    EXPECT_GT(keys, 60);
  }
  EXPECT_GE(layouts, 3);
}

}  // namespace
