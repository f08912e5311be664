#include <gtest/gtest.h>

#include "tessel/core/manager.h"
#include "tessel/core/text_utf.h"

TEST(Manager, DefaultsAndTheme) {
  EXPECT_EQ(Manager::GetDeviceName(), L"Vantor");
  Manager::SetDeviceName(L"Клавиатура");
  EXPECT_EQ(Manager::GetDeviceName(), L"Клавиатура");
  Manager::SetDeviceName(L"Vantor");
  EXPECT_EQ(Manager::GetTheme(), L"theme1/");
  EXPECT_EQ(Manager::GetSelectColor(), 0xFF10A8FDu);
  EXPECT_EQ(Manager::GetFontWidth(), 14);
  EXPECT_TRUE(Manager::PreTranslateKeyState(true, true));
  EXPECT_FALSE(Manager::PreTranslateKeyState(true, false));
}

TEST(TextUtf, RoundTripAndMalformedInput) {
  const std::wstring text = L"Vantor Клавиатура 键盘 キーボード \U0001F3B9";
  EXPECT_EQ(WideFromUtf8(Utf8FromWide(text)), text);
  struct Case { std::string bytes; std::wstring expected; } cases[] = {
      {"\xC3", L"\xFFFD"},                 // truncated two-byte sequence
      {"\xC0\xAF", L"\xFFFD"},             // overlong slash
      {"a\xFF" "b", L"a\xFFFD" L"b"},      // byte that never starts a sequence
      {"\xED\xA0\x80", L"\xFFFD"},         // encoded surrogate
      {"\xE4\xB8" "x", L"\xFFFD" L"x"},    // sequence cut by an ASCII byte
  };
  for (const auto& c : cases) EXPECT_EQ(WideFromUtf8(c.bytes), c.expected) << c.bytes;
}
