#include "platform/language_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "platform/ini_text.h"
#include "tessel/core/text_utf.h"
#include "temp_env.h"

namespace {

class LanguageText : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.Set("VANTOR_PROGRAM_DIR", program_.path());
    saved_language_ = CurrentLanguage;
    WriteTextFile(program_ / "language/2052.lan",
                  "[KB.DIALOG]\n51=按键设置\n60=支持的设备\n300=" + std::string(300, 'a') + "\n" +
                      "301=" + Repeat("字", 300) + "\n");
    WriteTextFile(program_ / "language/1049.lan", "[Other]\n51=не здесь\n[KB.DIALOG]\n51=Клавиши\n");
  }
  void TearDown() override { CurrentLanguage = saved_language_; }
  static std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  }

  TempFolder program_;
  ScopedEnv env_;
  int saved_language_ = 0;
};

TEST_F(LanguageText, ReadsTheCurrentLanguageFileOnEveryCall) {
  CurrentLanguage = 2052;
  EXPECT_EQ(LanguageFilePath(2052), WideFromUtf8(program_ / "language/2052.lan"));
  EXPECT_EQ(LoadText(kDialogTexts, 51), L"按键设置");
  CurrentLanguage = 1049;
  EXPECT_EQ(LoadText(kDialogTexts, 51), L"Клавиши");
  // An edit of the file shows at once: nothing is cached.
  WriteTextFile(program_ / "language/1049.lan", "[KB.DIALOG]\n51=Изменено\n");
  EXPECT_EQ(LoadText(kDialogTexts, 51), L"Изменено");
}

TEST_F(LanguageText, MissingFileSectionOrIdGiveEmptyText) {
  CurrentLanguage = 2052;
  EXPECT_EQ(LoadText(kDialogTexts, 999), L"");
  EXPECT_EQ(LoadText(L"NO.SECTION", 51), L"");
  CurrentLanguage = 1041;  // no such file here
  EXPECT_EQ(LoadText(kDialogTexts, 51), L"");
}

TEST_F(LanguageText, LongTextsAreCutTo259Characters) {
  CurrentLanguage = 2052;
  EXPECT_EQ(LoadText(kDialogTexts, 300), std::wstring(259, L'a'));
  EXPECT_EQ(LoadText(kDialogTexts, 301), std::wstring(259, L'字'));  // characters, not bytes
}

// The shipped files hold the same ids in every language, none empty.
TEST(ShippedLanguageFiles, EveryLanguageHasEveryText) {
  const std::string folder = std::string(VANTOR_SOURCE_DIR) + "/data/language/";
  std::set<std::string> first_ids;
  for (const char* language : {"2052", "1033", "1049", "1041"}) {
    const auto text = ReadTextFile(folder + language + ".lan");
    ASSERT_TRUE(text) << language;
    std::set<std::string> ids;
    std::istringstream lines(*text);
    for (std::string line; std::getline(lines, line);) {
      const size_t eq = line.find('=');
      if (line.empty() || line[0] == '[' || line[0] == ';' || eq == std::string::npos) continue;
      const std::string id = line.substr(0, eq);
      ids.insert(id);
      const auto value = FindIniValue(*text, "KB.DIALOG", id);
      EXPECT_TRUE(value && !value->empty()) << language << " id " << id;
    }
    for (int id : {2, 5, 10, 11, 20, 22, 23, 25, 50, 51, 52, 53, 56, 60, 170, 171, 172}) {
      EXPECT_TRUE(ids.count(std::to_string(id))) << language << " lacks " << id;
    }
    if (first_ids.empty()) first_ids = ids;
    EXPECT_EQ(ids, first_ids) << language;
  }
}

}  // namespace
