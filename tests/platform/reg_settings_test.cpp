#include "platform/reg_settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "platform/ui_language.h"
#include "tessel/core/manager.h"
#include "tessel/core/text_utf.h"
#include "temp_env.h"

namespace {

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.Set("XDG_CONFIG_HOME", config_.path());
    env_.Unset("LC_ALL");
    env_.Unset("LC_MESSAGES");
    env_.Unset("LANG");
  }
  std::string SettingsFile() const { return config_ / "Vantor/settings.ini"; }

  TempFolder config_;
  ScopedEnv env_;
};

TEST_F(Settings, MissingFileIsCreatedAndReadsZero) {
  EXPECT_EQ(Utf8FromWide(GetSettingsFilePath()), SettingsFile());
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
  EXPECT_EQ(ReadRegSetting(L"exit_mode"), 0);
  EXPECT_TRUE(std::filesystem::is_regular_file(SettingsFile()));
  EXPECT_EQ(ReadLanguageSetting(), 0);
}

TEST_F(Settings, ValuesReadWithLeadingDigitsRules) {
  const struct {
    const wchar_t* text;
    int expected;
  } cases[] = {
      {L"abc", 0},          {L"", 0},       {L"2", 2},
      {L"12abc", 12},       {L"  -7", -7},  {L"+5", 5},
      {L"99999999999", INT_MAX}, {L"-99999999999", INT_MIN},
      {L"1049", 1049},
  };
  for (const auto& c : cases) {
    WriteRegSetting(L"exit_mode", c.text);
    EXPECT_EQ(ReadRegSetting(L"exit_mode"), c.expected) << Utf8FromWide(c.text);
  }
  EXPECT_EQ(ReadRegSetting(L"missing"), 0);
}

TEST_F(Settings, WritesKeepOtherValuesAndLandInTheIniFile) {
  WriteLanguageSetting(1033);
  WriteRegSetting(L"exit_mode", L"2");
  WriteLanguageSetting(2052);
  EXPECT_EQ(ReadLanguageSetting(), 2052);
  EXPECT_EQ(ReadRegSetting(L"exit_mode"), 2);
  EXPECT_EQ(ReadTextFile(SettingsFile()), "[Settings]\nLCID=2052\nexit_mode=2\n");
}

TEST_F(Settings, FileIsNamedByTheDisplayName) {
  Manager::SetDeviceName(L"Другое имя");
  WriteRegSetting(L"exit_mode", L"1");
  Manager::SetDeviceName(L"Vantor");
  EXPECT_EQ(ReadTextFile(config_ / "Другое имя/settings.ini"), "[Settings]\nexit_mode=1\n");
  EXPECT_EQ(ReadRegSetting(L"exit_mode"), 0);
}

// A folder that cannot be made (a file stands in the way) is a failure other than a
// missing value: 0 in general, 2052 for the language.
TEST_F(Settings, UnusableFolderReadsZeroButLanguage2052) {
  WriteTextFile(config_ / "Vantor", "a file, not a folder");
  EXPECT_EQ(ReadRegSetting(L"LCID"), 0);
  EXPECT_EQ(ReadLanguageSetting(), 2052);
  WriteLanguageSetting(1033);  // nothing to write into; must not crash or replace the file
  EXPECT_EQ(ReadTextFile(config_ / "Vantor"), "a file, not a folder");
}

TEST_F(Settings, UnreadableSettingsFileIsNotReplaced) {
  std::filesystem::create_directories(SettingsFile());  // a folder where the file belongs
  WriteRegSetting(L"exit_mode", L"1");
  EXPECT_TRUE(std::filesystem::is_directory(SettingsFile()));
  EXPECT_EQ(ReadLanguageSetting(), 2052);
}

TEST(UiLanguage, LocaleNamesMapToLanguageIds) {
  const struct {
    const char* locale;
    int expected;
  } cases[] = {
      {"zh_CN.UTF-8", 2052}, {"zh_CN", 2052},   {"zh_SG.utf8", 2052}, {"zh", 2052},
      {"zh_TW.UTF-8", 1033}, {"zh_HK", 1033},   {"en_US.UTF-8", 1033}, {"en_GB", 1033},
      {"ru_RU.UTF-8", 1049}, {"ru", 1049},      {"ja_JP.UTF-8", 1041}, {"de_DE@euro", 1033},
      {"C", 1033},           {"POSIX", 1033},   {"", 1033},
  };
  for (const auto& c : cases) EXPECT_EQ(LanguageFromLocaleName(c.locale), c.expected) << c.locale;
}

TEST_F(Settings, UiLanguageFollowsLocaleVariablePrecedence) {
  EXPECT_EQ(UserDefaultUILanguage(), 1033);
  env_.Set("LANG", "ja_JP.UTF-8");
  EXPECT_EQ(UserDefaultUILanguage(), 1041);
  env_.Set("LC_MESSAGES", "ru_RU.UTF-8");
  EXPECT_EQ(UserDefaultUILanguage(), 1049);
  env_.Set("LC_ALL", "zh_CN.UTF-8");
  EXPECT_EQ(UserDefaultUILanguage(), 2052);
}

// First start: the interface language is used and 2052 or 1033 is stored; later starts
// read the stored value. A stored "abc" counts as no value.
TEST_F(Settings, StartupLanguageIsStoredOnFirstStart) {
  const struct {
    const char* lang;
    int first_run;
    const char* stored;
  } cases[] = {
      {"zh_CN.UTF-8", 2052, "2052"},
      {"en_US.UTF-8", 1033, "1033"},
      {"ru_RU.UTF-8", 1049, "1033"},
      {"ja_JP.UTF-8", 1041, "1033"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(config_ / "Vantor");
    env_.Set("LANG", c.lang);
    EXPECT_EQ(StartupLanguage(), c.first_run) << c.lang;
    EXPECT_EQ(ReadTextFile(SettingsFile()), std::string("[Settings]\nLCID=") + c.stored + "\n");
    EXPECT_EQ(StartupLanguage(), std::stoi(c.stored)) << c.lang;
  }
  WriteRegSetting(L"LCID", L"abc");
  env_.Set("LANG", "zh_CN.UTF-8");
  EXPECT_EQ(StartupLanguage(), 2052);
  EXPECT_EQ(ReadTextFile(SettingsFile()), "[Settings]\nLCID=2052\n");
}

}  // namespace
