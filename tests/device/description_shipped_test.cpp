// The keyboard descriptions that ship in data/: every model loads and is consistent.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "description_test_support.h"
#include "tessel/core/text_utf.h"

namespace {

const std::wstring kDataFolder = WideFromUtf8(VANTOR_SOURCE_DIR "/data");

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Ids of the KB.DIALOG section of a language file that have a non-empty text.
std::set<std::string> LanguageIds(const std::string& path) {
  std::istringstream in(ReadFile(path));
  std::set<std::string> ids;
  std::string line;
  bool inSection = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      inSection = line == "[KB.DIALOG]";
      continue;
    }
    const size_t eq = line.find('=');
    if (inSection && eq != std::string::npos && eq + 1 < line.size()) ids.insert(line.substr(0, eq));
  }
  return ids;
}

class ShippedDescriptions : public ::testing::Test {
 protected:
  void SetUp() override { DescriptionLoader(model, kDataFolder, &observer).LoadDeviceList(); }
  KeyboardModel model;
  RecordingObserver observer;
};

TEST_F(ShippedDescriptions, ConfigListsOneModelPerFamilyWithCableAndReceiver) {
  EXPECT_EQ(model.softwareName, L"Vantor");
  EXPECT_FALSE(model.softwareVersion.empty());
  EXPECT_FALSE(model.upgradeUrl.empty());
  std::set<int> types;
  for (const DeviceModeEntry& kb : model.keyboards) types.insert(kb.device_type);
  EXPECT_TRUE(types.count(101) && types.count(201) && types.count(301));

  for (const DeviceModeEntry& kb : model.keyboards) {
    std::set<int> modes;
    for (const DeviceModeEntry& m : model.deviceModes) {
      if (m.device_type != kb.device_type) continue;
      SCOPED_TRACE(Utf8FromWide(m.hidInterface));
      modes.insert(m.mode);
      char expected[40];
      std::snprintf(expected, sizeof expected, "VID_%04X&PID_%04X&MI_", m.vid, m.pid);
      EXPECT_EQ(Utf8FromWide(m.hidInterface).rfind(expected, 0), 0u);
      EXPECT_TRUE(m.productName.empty());  // discovery reads no product strings
    }
    EXPECT_EQ(modes, (std::set<int>{0, 2})) << kb.device_type;
  }
  std::set<std::pair<int, int>> ids;
  for (const DeviceModeEntry& m : model.deviceModes) ids.insert({m.vid, m.pid});
  EXPECT_EQ(ids.size(), model.deviceModes.size());
}

TEST_F(ShippedDescriptions, EveryLayoutIsConsistent) {
  const std::set<std::string> langs[] = {
      LanguageIds(VANTOR_SOURCE_DIR "/data/language/2052.lan"), LanguageIds(VANTOR_SOURCE_DIR "/data/language/1033.lan"),
      LanguageIds(VANTOR_SOURCE_DIR "/data/language/1049.lan"), LanguageIds(VANTOR_SOURCE_DIR "/data/language/1041.lan")};
  const std::map<int, size_t> expectedKeys = {{301, 104}, {201, 87}, {101, 68}};
  int allCaps = 0;
  DescriptionLoader loader(model, kDataFolder, &observer);
  for (const DeviceModeEntry& kb : model.keyboards) {
    SCOPED_TRACE(Utf8FromWide(kb.deviceInfo));
    ASSERT_TRUE(loader.LoadLayout(kb.device_type));
    if (expectedKeys.count(kb.device_type)) EXPECT_EQ(model.keys.size(), expectedKeys.at(kb.device_type));

    // Unique codes and indices within range of the device tables.
    std::set<int> keyIndices, lightIndices;
    for (const LayoutKey& k : model.keys) {
      SCOPED_TRACE(Utf8FromWide(k.desc));
      EXPECT_GT(k.code, 0);
      EXPECT_LT(k.code, 256);
      EXPECT_LT(k.keyIndex, 110);
      EXPECT_LT(k.lightIndex, 108);
      keyIndices.insert(k.keyIndex);
      lightIndices.insert(k.lightIndex);
      ASSERT_GE(k.row, 0);
      EXPECT_LT(k.row, model.rowCount);
      EXPECT_LT(k.col, model.colCount);
      EXPECT_EQ(model.keyMatrix[k.row][k.col], k.code);
      EXPECT_FALSE(k.name.empty());
      // Inside the picture, and not overlapping any other key.
      EXPECT_GE(k.rect.left, 0);
      EXPECT_GE(k.rect.top, 0);
      EXPECT_LE(k.rect.right, model.pictureWidth);
      EXPECT_LE(k.rect.bottom, model.pictureHeight);
      EXPECT_LT(k.rect.left, k.rect.right);
      EXPECT_LT(k.rect.top, k.rect.bottom);
      for (const LayoutKey& o : model.keys)
        if (&o != &k)
          EXPECT_FALSE(k.rect.left < o.rect.right && o.rect.left < k.rect.right && k.rect.top < o.rect.bottom &&
                       o.rect.top < k.rect.bottom)
              << "overlaps " << Utf8FromWide(o.desc);
    }
    EXPECT_EQ(model.keyIndexByCode.size(), model.keys.size());
    EXPECT_EQ(keyIndices.size(), model.keys.size());
    EXPECT_EQ(lightIndices.size(), model.keys.size());
    EXPECT_FALSE(model.pictureImage.empty());
    EXPECT_LE(model.pictureRect.right, 1280);

    // Lighting: limits, modes numbered from 1, names present in every language.
    EXPECT_GT(model.brightnessMax, 0);
    EXPECT_GT(model.speedMax, 0);
    ASSERT_FALSE(model.lightModes.empty());
    bool defaultListed = false;
    for (size_t i = 0; i < model.lightModes.size(); ++i) {
      const LightModeDescriptor& mode = model.lightModes[i];
      EXPECT_EQ(mode.mode, static_cast<int>(i) + 1);
      EXPECT_EQ(mode.attribute & ~kAllLightCaps, 0);
      allCaps |= mode.attribute;
      defaultListed |= mode.mode == model.defaultLightMode;
      for (const auto& ids : langs) EXPECT_TRUE(ids.count(Utf8FromWide(mode.name))) << Utf8FromWide(mode.name);
    }
    EXPECT_TRUE(defaultListed);
    EXPECT_EQ(model.maxMacroEvents, kb.device_type >= 300 && kb.device_type < 400 ? 60 : 80);
  }
  EXPECT_EQ(allCaps, kAllLightCaps);
}

}  // namespace
