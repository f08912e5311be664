#include "platform/ini_text.h"

#include <gtest/gtest.h>

namespace {

constexpr char kText[] =
    "\xEF\xBB\xBF; comment\n"
    "[Other]\n"
    "1=other one\n"
    "[kb.dialog]\r\n"
    "  1 =  one  \r\n"
    "2=\"quoted value\"\n"
    "# 3=commented\n"
    "novalue\n"
    "4=a=b\n"
    "5=\n"
    "[KB.DIALOG]\n"
    "1=second block\n"
    "6=only later\n";

TEST(IniText, FindsValuesAsAnInitialisationFileReaderDoes) {
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> expected;
  } cases[] = {
      {"KB.DIALOG", "1", "one"},          // section case, blanks, CRLF
      {"KB.DIALOG", "2", "quoted value"},
      {"KB.DIALOG", "3", std::nullopt},   // comment line
      {"KB.DIALOG", "novalue", std::nullopt},
      {"KB.DIALOG", "4", "a=b"},
      {"KB.DIALOG", "5", ""},
      {"KB.DIALOG", "6", "only later"},   // a repeated section is searched too
      {"Other", "1", "other one"},
      {"Missing", "1", std::nullopt},
      {"KB.DIALOG", "7", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindIniValue(kText, c.section, c.key), c.expected) << c.section << " " << c.key;
  }
  EXPECT_EQ(FindIniValue("", "KB.DIALOG", "1"), std::nullopt);
}

TEST(IniText, SettingAValueKeepsEveryOtherLine) {
  const std::string text = "; keep me\n[Settings]\nLCID=2052\n\n[Else]\nx=1\n";
  EXPECT_EQ(WithIniValue(text, "Settings", "lcid", "1033"),
            "; keep me\n[Settings]\nLCID=1033\n\n[Else]\nx=1\n");
  EXPECT_EQ(WithIniValue(text, "Settings", "exit_mode", "2"),
            "; keep me\n[Settings]\nLCID=2052\nexit_mode=2\n\n[Else]\nx=1\n");
  EXPECT_EQ(WithIniValue(text, "New", "a", "b"), text + "[New]\na=b\n");
  EXPECT_EQ(WithIniValue("", "Settings", "LCID", "1033"), "[Settings]\nLCID=1033\n");
  EXPECT_EQ(WithIniValue("[Settings]\r\nLCID=1\r\n", "Settings", "LCID", "2"),
            "[Settings]\r\nLCID=2\r\n");
}

TEST(IniText, RefusesKeysAndValuesThatWouldAddLines) {
  const std::string text = "[Settings]\nLCID=2052\n";
  for (const char* key : {"", "a=b", "a\nb", "[x]", ";x"}) {
    EXPECT_EQ(WithIniValue(text, "Settings", key, "1"), text) << key;
  }
  EXPECT_EQ(WithIniValue(text, "Settings", "LCID", "1\n[Evil]\nx=1"), text);
}

}  // namespace
