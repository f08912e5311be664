#include "device/description_loader_values.h"

#include <climits>
#include <cstdint>

namespace {

int Saturate(int64_t v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

bool DigitAt(const std::wstring& text, size_t i, int* out) {
  if (i >= text.size() || text[i] < L'0' || text[i] > L'9') return false;
  *out = text[i] - L'0';
  return true;
}

}  // namespace

int ParseDecimalValue(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  int64_t v = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    v = v * 10 + (text[i] - L'0');
    if (v > int64_t{INT_MAX} + 1) break;  // saturates below
  }
  return Saturate(negative ? -v : v);
}

int ParseHexValue(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) i += 2;
  int64_t v = 0;
  for (int d; i < text.size() && (d = HexDigit(text[i])) >= 0; ++i) {
    v = v * 16 + d;
    if (v > INT_MAX) return INT_MAX;
  }
  return static_cast<int>(v);
}

bool ParseRowCol(const std::wstring& text, int* row, int* col) {
  *row = -1;
  *col = -1;
  const size_t n = text.size();
  int r = 0, c1 = 0, c2 = 0;
  if (n == 3) {
    if (!DigitAt(text, 0, &r) || !DigitAt(text, 2, &c2)) return false;
    *row = r;
    *col = c2;
    return true;
  }
  if (n == 4) {
    if (!DigitAt(text, 0, &r) || !DigitAt(text, 2, &c1) || !DigitAt(text, 3, &c2)) return false;
    *row = r;
    *col = c1 * 10 + c2;
    return true;
  }
  return false;
}

KeyRect ParseKeyRect(const std::wstring& text) {
  int v[4] = {0, 0, 0, 0};
  size_t start = 0;
  for (int k = 0; k < 4 && start <= text.size(); ++k) {
    size_t end = text.find(L'#', start);
    if (end == std::wstring::npos) end = text.size();
    v[k] = ParseDecimalValue(text.substr(start, end - start));
    start = end + 1;
  }
  KeyRect r;
  r.left = v[0];
  r.top = v[1];
  r.right = Saturate(int64_t{v[0]} + v[2]);
  r.bottom = Saturate(int64_t{v[1]} + v[3]);
  return r;
}
