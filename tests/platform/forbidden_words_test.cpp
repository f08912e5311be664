#include "platform/forbidden_words.h"

#include <gtest/gtest.h>

#include "platform/lower_case.h"
#include "tessel/core/text_utf.h"

namespace {

TEST(ForbiddenWords, ListHasFifteenLowerCaseEntries) {
  ASSERT_EQ(ForbiddenWords().size(), 15u);
  for (const std::wstring& word : ForbiddenWords()) {
    EXPECT_FALSE(word.empty());
    EXPECT_EQ(LowerCaseText(word), word) << Utf8FromWide(word);
  }
}

TEST(ForbiddenWords, AnyCaseAndInsideLongerWordsIsAHit) {
  const struct {
    const wchar_t* name;
    bool hit;
  } cases[] = {
      {L"Profile 1", false},   {L"配置方案1", false},     {L"Профиль", false},
      {L"SHIT", true},         {L"myShitProfile", true},  {L"BiTcH", true},
      {L"ХУЙ", true},          {L"БЛЯТЬ!", true},         {L"方案傻逼1", true},
      {L"くそったれ", true},   {L"ＦＵＣＫ", false},      {L"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ContainsForbiddenWord(c.name), c.hit) << Utf8FromWide(c.name);
  }
  EXPECT_FALSE(ContainsForbiddenWord(L"shit", {}));
  EXPECT_TRUE(ContainsForbiddenWord(L"Ärger", {L"ärg"}));
}

TEST(LowerCase, CoversLatinGreekCyrillicAndFullWidth) {
  EXPECT_EQ(LowerCaseText(L"ABC ÀÉÖØÞ × ĀĹŇŹŸ ΑΩ ЁЖЯ ＡＺ 字"), L"abc àéöøþ × āĺňźÿ αω ёжя ａｚ 字");
}

}  // namespace
