#include "platform/lower_case.h"

wchar_t LowerCaseChar(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return c + 32;
  if (c < 0xC0) return c;
  // Latin-1: À..Þ except the multiplication sign.
  if (c <= 0xDE) return c == 0xD7 ? c : c + 32;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A pairs upper/lower case as even/odd, except the ranges
    // U+0139..U+0148 and U+0179..U+017E, which pair as odd/even; U+0130 (dotted I),
    // U+0138 (kra), U+0149 and U+017F have no simple pair here.
    if (c == 0x130) return L'i';
    if (c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (c == 0x178) return 0xFF;  // Ÿ
    const bool odd_upper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    return odd_upper ? ((c & 1) ? c + 1 : c) : ((c & 1) ? c : c + 1);
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;  // Greek
  if (c >= 0x400 && c <= 0x40F) return c + 80;                 // Ѐ..Џ
  if (c >= 0x410 && c <= 0x42F) return c + 32;                 // А..Я
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;               // full-width Ａ..Ｚ
  return c;
}

std::wstring LowerCaseText(std::wstring text) {
  for (wchar_t& c : text) c = LowerCaseChar(c);
  return text;
}
