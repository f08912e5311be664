// Escaping on write and unescaping (character references) on read.
#include "xml/xml_internal.h"

namespace xmlimpl {

namespace {

bool IsAsciiAlpha(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Whether p[0] == '&' begins a character reference: a letter, "#", "_", ":" or a
// character of code 128 or above, followed by name characters up to a semicolon.
bool BeginsReference(const wchar_t* p, const wchar_t* end) {
  const wchar_t* q = p + 1;
  if (q >= end) return false;
  wchar_t c = *q;
  if (!(IsAsciiAlpha(c) || c == L'#' || c == L'_' || c == L':' || c >= 128)) return false;
  for (++q; q < end; ++q) {
    c = *q;
    if (c == L';') return true;
    if (!(IsAsciiAlpha(c) || IsDigit(c) || c == L'_' || c == L':' || c == L'-' || c == L'.' ||
          c >= 128))
      return false;
  }
  return false;
}

}  // namespace

std::wstring EscapeText(const wchar_t* p, size_t n, bool attribute, bool keepRefs) {
  std::wstring out;
  out.reserve(n + n / 8);
  const wchar_t* end = p + n;
  for (; p < end; ++p) {
    wchar_t c = *p;
    switch (c) {
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'&':
        if (keepRefs && BeginsReference(p, end)) out += c;
        else out += L"&amp;";
        break;
      case L'\'':
        if (attribute) out += L"&apos;";
        else out += c;
        break;
      case L'"':
        if (attribute) out += L"&quot;";
        else out += c;
        break;
      default: out += c;
    }
  }
  return out;
}

std::wstring Unescape(const wchar_t* p, size_t n) {
  std::wstring out;
  const wchar_t* end = p + n;
  // Fast path: nothing to decode.
  const wchar_t* amp = p;
  while (amp < end && *amp != L'&') ++amp;
  if (amp == end) return std::wstring(p, n);
  out.reserve(n);
  out.append(p, amp);
  p = amp;
  while (p < end) {
    wchar_t c = *p;
    if (c != L'&') {
      out += c;
      ++p;
      continue;
    }
    const wchar_t* q = p + 1;
    if (q < end && *q == L'#') {
      ++q;
      bool hex = false;
      if (q < end && (*q == L'x' || *q == L'X')) {
        hex = true;
        ++q;
      }
      const wchar_t* digits = q;
      uint32_t value = 0;
      bool overflow = false;
      for (; q < end; ++q) {
        wchar_t d = *q;
        uint32_t v;
        if (IsDigit(d)) v = d - L'0';
        else if (hex && d >= L'a' && d <= L'f') v = d - L'a' + 10;
        else if (hex && d >= L'A' && d <= L'F') v = d - L'A' + 10;
        else break;
        value = value * (hex ? 16 : 10) + v;
        if (value > 0x10FFFF) overflow = true, value = 0x110000;
      }
      // Digits, then ";"; the value 0 (and anything that is no character) stays as text.
      if (q > digits && q < end && *q == L';' && !overflow && value != 0 &&
          !(value >= 0xD800 && value <= 0xDFFF)) {
        out += static_cast<wchar_t>(value);
        p = q + 1;
        continue;
      }
    } else {
      char name[10];
      size_t len = 0;
      for (; q < end && len < 10; ++q, ++len) {
        wchar_t d = *q;
        if (d == L';' || d >= 128 || !(IsAsciiAlpha(d) || IsDigit(d))) break;
        name[len] = static_cast<char>(d);
      }
      if (len > 0 && len <= 9 && q < end && *q == L';') {
        name[len] = 0;
        char32_t code = LookupEntity(name);
        if (code) {
          out += static_cast<wchar_t>(code);
          p = q + 1;
          continue;
        }
      }
    }
    out += L'&';  // not a reference: the ampersand is a literal character
    ++p;
  }
  return out;
}

std::wstring MakeCData(const std::wstring& data) {
  std::wstring out = L"<![CDATA[";
  size_t from = 0;
  for (;;) {
    size_t at = data.find(L"]]>", from);
    if (at == std::wstring::npos) break;
    out.append(data, from, at - from);
    out += L"]]]]><![CDATA[>";
    from = at + 3;
  }
  out.append(data, from, std::wstring::npos);
  out += L"]]>";
  return out;
}

}  // namespace xmlimpl
