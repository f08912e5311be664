// The byte side of Load and Save: byte-order marks, declared encodings, UTF-8
// detection, UTF-8/16/32 by hand and every other code page through iconv.
#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "xml/xml_internal.h"

namespace xmlimpl {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

inline bool IsScalar(uint32_t c) { return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF); }

const wchar_t* CodePageName(int cp) {
  switch (cp) {
    case kCpUtf8: return L"UTF-8";
    case kCpUtf16LE: return L"UTF-16LE";
    case kCpUtf16BE: return L"UTF-16BE";
    case kCpUtf32LE: return L"UTF-32LE";
    case kCpUtf32BE: return L"UTF-32BE";
    case kCpUtf32: return L"UTF-32";
    default: return nullptr;
  }
}

std::wstring NameOf(int cp) {
  if (const wchar_t* n = CodePageName(cp)) return n;
  if (cp == 0 || cp == kCpAnsi) return L"windows-1252";
  return L"cp" + std::to_wstring(cp);
}

// ---- UTF-8 decoding ------------------------------------------------------------
// Decodes [p, p+n) into out (resized to fit); zero bytes are dropped and counted.
void DecodeUtf8(const unsigned char* p, size_t n, std::wstring& out, size_t& nulls) {
  out.resize(n);
  wchar_t* w = out.data();
  wchar_t* const w0 = w;
  const unsigned char* end = p + n;
  while (p < end) {
    // Eight ASCII bytes at a time, none of them zero.
    while (end - p >= 8) {
      uint64_t v;
      std::memcpy(&v, p, 8);
      if ((v & 0x8080808080808080ull) ||
          ((v - 0x0101010101010101ull) & ~v & 0x8080808080808080ull))
        break;
      for (int i = 0; i < 8; ++i) w[i] = p[i];
      w += 8;
      p += 8;
    }
    if (p >= end) break;
    unsigned c = *p;
    if (c < 0x80) {
      if (c == 0) ++nulls;
      else *w++ = static_cast<wchar_t>(c);
      ++p;
      continue;
    }
    size_t need;
    uint32_t cp;
    if ((c & 0xE0) == 0xC0) need = 1, cp = c & 0x1F;
    else if ((c & 0xF0) == 0xE0) need = 2, cp = c & 0x0F;
    else if ((c & 0xF8) == 0xF0) need = 3, cp = c & 0x07;
    else {
      *w++ = kReplacement;
      ++p;
      continue;
    }
    if (static_cast<size_t>(end - p) <= need) {
      *w++ = kReplacement;
      ++p;
      continue;
    }
    bool ok = true;
    for (size_t i = 1; i <= need; ++i) {
      if ((p[i] & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (p[i] & 0x3F);
    }
    static const uint32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMin[need] || !IsScalar(cp)) {
      *w++ = kReplacement;
      ++p;
      continue;
    }
    *w++ = static_cast<wchar_t>(cp);
    p += need + 1;
  }
  out.resize(static_cast<size_t>(w - w0));
}

// ---- UTF-16 / UTF-32 by hand -------------------------------------------------------
void DecodeUtf16(const unsigned char* p, size_t n, bool bigEndian, std::wstring& out, size_t& nulls) {
  size_t units = n / 2;
  out.resize(units);
  wchar_t* w = out.data();
  wchar_t* const w0 = w;
  auto unit = [&](size_t i) -> uint32_t {
    return bigEndian ? (uint32_t(p[2 * i]) << 8) | p[2 * i + 1] : (uint32_t(p[2 * i + 1]) << 8) | p[2 * i];
  };
  for (size_t i = 0; i < units; ++i) {
    uint32_t u = unit(i);
    if (u == 0) {
      ++nulls;
      continue;
    }
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      uint32_t lo = unit(i + 1);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        *w++ = static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
        ++i;
        continue;
      }
    }
    *w++ = (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : static_cast<wchar_t>(u);
  }
  out.resize(static_cast<size_t>(w - w0));
}

void DecodeUtf32(const unsigned char* p, size_t n, bool bigEndian, std::wstring& out, size_t& nulls) {
  size_t units = n / 4;
  out.resize(units);
  wchar_t* w = out.data();
  wchar_t* const w0 = w;
  for (size_t i = 0; i < units; ++i, p += 4) {
    uint32_t u = bigEndian ? (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]
                           : (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
    if (u == 0) {
      ++nulls;
      continue;
    }
    *w++ = IsScalar(u) ? static_cast<wchar_t>(u) : kReplacement;
  }
  out.resize(static_cast<size_t>(w - w0));
}

// ---- other code pages through iconv -------------------------------------------------
bool DecodeIconv(const std::string& charset, const unsigned char* p, size_t n, std::wstring& out,
                 size_t& nulls) {
  iconv_t cd = iconv_open("WCHAR_T", charset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  // 8-bit input: zero bytes are removed first.
  std::string clean;
  if (std::memchr(p, 0, n)) {
    clean.reserve(n);
    for (size_t i = 0; i < n; ++i) {
      if (p[i]) clean += static_cast<char>(p[i]);
      else ++nulls;
    }
    p = reinterpret_cast<const unsigned char*>(clean.data());
    n = clean.size();
  }
  out.resize(n + 16);
  char* in = const_cast<char*>(reinterpret_cast<const char*>(p));
  size_t inLeft = n;
  size_t used = 0;
  for (;;) {
    char* o = reinterpret_cast<char*>(out.data() + used);
    size_t oLeft = (out.size() - used) * sizeof(wchar_t);
    size_t before = oLeft;
    size_t r = inLeft ? iconv(cd, &in, &inLeft, &o, &oLeft) : iconv(cd, nullptr, nullptr, &o, &oLeft);
    used += (before - oLeft) / sizeof(wchar_t);
    if (r != static_cast<size_t>(-1)) {
      if (inLeft == 0) break;
      continue;
    }
    if (errno == E2BIG) {
      out.resize(out.size() + out.size() / 2 + 16);
    } else {  // EILSEQ or EINVAL: one undecodable byte becomes U+FFFD
      if (used >= out.size()) out.resize(out.size() + 16);
      out[used++] = kReplacement;
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (inLeft == 0) break;
    }
  }
  iconv_close(cd);
  out.resize(used);
  return true;
}

// ---- declaration detection -----------------------------------------------------------
inline wchar_t Lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? c + 32 : c; }

bool StartsWithNoCase(const std::wstring& s, size_t at, const wchar_t* word) {
  for (size_t i = 0; word[i]; ++i) {
    if (at + i >= s.size() || Lower(s[at + i]) != word[i]) return false;
  }
  return true;
}

// Reads the pseudo-attributes of a tag text [from, to) into (name, value) pairs;
// names lower-cased.
std::vector<std::pair<std::wstring, std::wstring>> TagAttributes(const std::wstring& s, size_t from,
                                                                 size_t to) {
  std::vector<std::pair<std::wstring, std::wstring>> attrs;
  size_t i = from;
  while (i < to) {
    while (i < to && (IsSpace(s[i]) || s[i] == L'/' || s[i] == L'?')) ++i;
    size_t ns = i;
    while (i < to && !IsSpace(s[i]) && s[i] != L'=' && s[i] != L'/' && s[i] != L'?') ++i;
    if (i == ns) {
      ++i;
      continue;
    }
    std::wstring name;
    for (size_t k = ns; k < i; ++k) name += Lower(s[k]);
    while (i < to && IsSpace(s[i])) ++i;
    std::wstring value;
    if (i < to && s[i] == L'=') {
      ++i;
      while (i < to && IsSpace(s[i])) ++i;
      if (i < to && (s[i] == L'"' || s[i] == L'\'')) {
        wchar_t q = s[i++];
        size_t vs = i;
        while (i < to && s[i] != q) ++i;
        value.assign(s, vs, i - vs);
        if (i < to) ++i;
      } else {
        size_t vs = i;
        while (i < to && !IsSpace(s[i])) ++i;
        value.assign(s, vs, i - vs);
      }
    }
    attrs.emplace_back(std::move(name), std::move(value));
  }
  return attrs;
}

// The charset of an HTML document: a "meta" element inside "html" and "head" whose
// "http-equiv" is "Content-Type", with "charset=" in its "content".
std::wstring HtmlCharset(const std::wstring& s) {
  size_t html = std::wstring::npos, head = std::wstring::npos;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != L'<') continue;
    if (html == std::wstring::npos) {
      if (StartsWithNoCase(s, i + 1, L"html")) html = i;
      continue;
    }
    if (head == std::wstring::npos) {
      if (StartsWithNoCase(s, i + 1, L"head")) head = i;
      continue;
    }
    if (StartsWithNoCase(s, i + 1, L"/head")) break;
    if (!StartsWithNoCase(s, i + 1, L"meta") || i + 5 >= s.size() || !EndsName(s[i + 5])) continue;
    size_t end = s.find(L'>', i);
    if (end == std::wstring::npos) break;
    auto attrs = TagAttributes(s, i + 5, end);
    bool contentType = false;
    std::wstring content, charset;
    for (auto& a : attrs) {
      if (a.first == L"http-equiv") {
        std::wstring v;
        for (wchar_t c : a.second) v += Lower(c);
        contentType = v == L"content-type";
      } else if (a.first == L"content") {
        content = a.second;
      } else if (a.first == L"charset") {
        charset = a.second;
      }
    }
    if (contentType) {
      std::wstring lower;
      for (wchar_t c : content) lower += Lower(c);
      size_t at = lower.find(L"charset=");
      if (at != std::wstring::npos) {
        at += 8;
        size_t e = at;
        while (e < content.size() && content[e] != L';' && !IsSpace(content[e]) && content[e] != L'"' &&
               content[e] != L'\'')
          ++e;
        return content.substr(at, e - at);
      }
    }
    if (!charset.empty()) return charset;
    i = end;
  }
  return std::wstring();
}

enum class UnitOrder { kNone, kUtf16LE, kUtf16BE, kUtf32LE, kUtf32BE };

// The layout of "<" in the first four bytes of a file without a mark.
UnitOrder GuessUnits(const unsigned char* p, size_t n) {
  if (n < 4) return UnitOrder::kNone;
  if (p[0] == '<' && p[1] == 0 && p[2] == 0 && p[3] == 0) return UnitOrder::kUtf32LE;
  if (p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] == '<') return UnitOrder::kUtf32BE;
  if (p[0] == '<' && p[1] == 0 && p[2] != 0 && p[3] == 0) return UnitOrder::kUtf16LE;
  if (p[0] == 0 && p[1] == '<' && p[2] == 0 && p[3] != 0) return UnitOrder::kUtf16BE;
  return UnitOrder::kNone;
}

}  // namespace

// ---- public helpers ----------------------------------------------------------------------
void AppendUtf8(std::string& out, char32_t c) {
  if (!IsScalar(c)) c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Utf8FromWide(const std::wstring& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = static_cast<uint32_t>(text[i]);
    // A surrogate pair that came in as two units is combined.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      uint32_t lo = static_cast<uint32_t>(text[i + 1]);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
        ++i;
      }
    }
    if (c < 0x80) out += static_cast<char>(c);
    else AppendUtf8(out, c);
  }
  return out;
}

bool IsValidUtf8(const unsigned char* p, size_t n) {
  const unsigned char* end = p + n;
  while (p < end) {
    unsigned c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    size_t need;
    if ((c & 0xE0) == 0xC0) need = 1;
    else if ((c & 0xF0) == 0xE0) need = 2;
    else if ((c & 0xF8) == 0xF0) need = 3;
    else return false;
    if (static_cast<size_t>(end - p) <= need) return false;
    for (size_t i = 1; i <= need; ++i)
      if ((p[i] & 0xC0) != 0x80) return false;
    p += need + 1;
  }
  return true;
}

std::wstring DeclaredEncoding(const std::wstring& text) {
  size_t i = 0;
  if (i < text.size() && text[i] == 0xFEFF) ++i;
  while (i < text.size() && IsSpace(text[i])) ++i;
  if (text.compare(i, 5, L"<?xml") != 0 || i + 5 >= text.size() || !(IsSpace(text[i + 5]) || text[i + 5] == L'?'))
    return std::wstring();
  size_t end = text.find(L"?>", i);
  if (end == std::wstring::npos) return std::wstring();
  for (auto& a : TagAttributes(text, i + 5, end)) {
    if (a.first == L"encoding") return a.second;
  }
  return std::wstring();
}

bool DecodeBytes(const unsigned char* data, size_t size, std::wstring& out, DecodeState& state,
                 ResultLog& log) {
  state = DecodeState();
  out.clear();
  int cp = -1;
  size_t skip = 0;
  bool explicitOrder = false;
  UnitOrder order = UnitOrder::kNone;
  // Byte-order marks, in this order (UTF-32 marks first, so that FF FE 00 00 is
  // not taken for UTF-16LE).
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
    cp = kCpUtf8, skip = 3, state.writeBom = true;
  } else if (size >= 4 && data[0] == 0xFF && data[1] == 0xFE && data[2] == 0 && data[3] == 0) {
    cp = kCpUtf32LE, skip = 4, state.writeBom = true;
  } else if (size >= 4 && data[0] == 0 && data[1] == 0 && data[2] == 0xFE && data[3] == 0xFF) {
    cp = kCpUtf32BE, skip = 4, state.writeBom = true, state.byteSwap = true;
  } else if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
    cp = kCpUtf16LE, skip = 2, state.writeBom = true;
  } else if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
    cp = kCpUtf16BE, skip = 2, state.writeBom = true, state.byteSwap = true;
  }
  if (cp != -1) {
    if (!log.Full()) log.Add(L"bom").Attr(L"encoding", NameOf(cp));
    explicitOrder = true;
  } else {
    // The first 1,024 bytes, zero bytes left out, decide the declared encoding.
    size_t sampleLen = size < 1024 ? size : 1024;
    std::wstring sample;
    sample.reserve(sampleLen);
    bool sampleHasZero = false;
    for (size_t i = 0; i < sampleLen; ++i) {
      if (data[i]) sample += static_cast<wchar_t>(data[i]);
      else sampleHasZero = true;
    }
    std::wstring declared = DeclaredEncoding(sample);
    if (declared.empty()) declared = HtmlCharset(sample);
    order = GuessUnits(data, size);
    if (!declared.empty()) {
      cp = CodePageFromName(declared);
      if (cp == -1 && !log.Full()) log.Add(L"ANSI").Attr(L"encoding", declared);
      // A 16- or 32-bit encoding declared in bytes without a single zero byte
      // cannot be right: the bytes decide instead.
      bool wide = cp == kCpUtf16LE || cp == kCpUtf16BE || cp == kCpUtf32LE || cp == kCpUtf32BE || cp == kCpUtf32;
      if (wide && !sampleHasZero) cp = -1;
    }
    if (order != UnitOrder::kNone) {
      // 16- or 32-bit units without a mark: the layout of the first "<" decides.
      switch (order) {
        case UnitOrder::kUtf16LE: cp = kCpUtf16LE; break;
        case UnitOrder::kUtf16BE: cp = kCpUtf16BE; break;
        case UnitOrder::kUtf32LE: cp = kCpUtf32LE; break;
        case UnitOrder::kUtf32BE: cp = kCpUtf32BE; break;
        default: break;
      }
    } else if (cp == -1 && size > 0 && data[0] == '<') {
      cp = kCpUtf8;
    }
    if (cp == -1) {
      bool valid = IsValidUtf8(data, size);
      cp = valid ? kCpUtf8 : kCpAnsi;
      if (!log.Full()) log.Add(L"utf8_detection").Attr(L"encoding", NameOf(cp));
    }
    if (cp == 0) cp = kCpAnsi;
  }
  const unsigned char* p = data + skip;
  size_t n = size - skip;
  size_t nulls = 0;
  // "UTF-16" and "UTF-32" without a mark: little-endian unless the layout says otherwise.
  if (cp == kCpUtf32) cp = state.byteSwap ? kCpUtf32BE : kCpUtf32LE;
  if (cp == kCpUtf16BE || cp == kCpUtf32BE) state.byteSwap = true;
  (void)explicitOrder;
  switch (cp) {
    case kCpUtf16LE:
    case kCpUtf16BE:
      if (n % 2 && !log.Full()) log.Add(L"truncation_error").Attr(L"length", static_cast<long long>(n));
      DecodeUtf16(p, n, cp == kCpUtf16BE, out, nulls);
      if (cp == kCpUtf16BE && !log.Full()) log.Add(L"endian_swap");
      break;
    case kCpUtf32LE:
    case kCpUtf32BE:
      if (n % 4 && !log.Full()) log.Add(L"truncation_error").Attr(L"length", static_cast<long long>(n));
      DecodeUtf32(p, n, cp == kCpUtf32BE, out, nulls);
      if (cp == kCpUtf32BE && !log.Full()) log.Add(L"endian_swap");
      break;
    case kCpUtf8:
      DecodeUtf8(p, n, out, nulls);
      if (!log.Full()) log.Add(L"converted_to").Attr(L"encoding", L"UTF-8").Attr(L"length", static_cast<long long>(out.size()));
      break;
    default: {
      std::string charset = IconvCharset(cp);
      if (charset.empty() || !DecodeIconv(charset, p, n, out, nulls)) {
        // No converter for that code page: the system ANSI code page instead.
        if (!log.Full()) log.Add(L"ANSI").Attr(L"encoding", NameOf(cp));
        cp = kCpAnsi;
        nulls = 0;
        DecodeIconv(IconvCharset(kCpAnsi), p, n, out, nulls);
      }
      if (!log.Full()) log.Add(L"converted_to").Attr(L"encoding", NameOf(cp)).Attr(L"length", static_cast<long long>(out.size()));
      break;
    }
  }
  if (nulls && !log.Full()) log.Add(L"nulls_removed").Attr(L"count", static_cast<long long>(nulls));
  return true;
}

bool EncodeText(const std::wstring& text, std::string& out, const DecodeState& state, ResultLog& log) {
  out.clear();
  std::wstring declared = DeclaredEncoding(text);
  int cp = declared.empty() ? kCpUtf8 : CodePageFromName(declared);
  if (cp == -1) {
    if (!log.Full()) log.Add(L"ANSI").Attr(L"encoding", declared);
    cp = kCpUtf8;
  }
  if (cp == 0) cp = kCpAnsi;
  if (cp == kCpUtf32) cp = state.byteSwap ? kCpUtf32BE : kCpUtf32LE;
  if (cp == kCpUtf16LE && state.byteSwap) cp = kCpUtf16BE;
  if (!log.Full()) log.Add(L"converted_from").Attr(L"encoding", declared.empty() ? std::wstring(L"UTF-8") : declared);
  size_t loss = 0;
  // Skip a mark character the text may carry; the write-BOM flag decides.
  size_t from = (!text.empty() && text[0] == 0xFEFF) ? 1 : 0;
  switch (cp) {
    case kCpUtf8: {
      if (state.writeBom) out = "\xEF\xBB\xBF";
      out += Utf8FromWide(from ? text.substr(from) : text);
      break;
    }
    case kCpUtf16LE:
    case kCpUtf16BE: {
      bool be = cp == kCpUtf16BE;
      out.reserve(text.size() * 2 + 2);
      auto put = [&](uint32_t u) {
        char a = static_cast<char>(u & 0xFF), b = static_cast<char>(u >> 8);
        if (be) out += b, out += a;
        else out += a, out += b;
      };
      if (state.writeBom) put(0xFEFF);
      for (size_t i = from; i < text.size(); ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]);
        if (c > 0x10FFFF) c = kReplacement, ++loss;
        if (c >= 0x10000) {
          c -= 0x10000;
          put(0xD800 + (c >> 10));
          put(0xDC00 + (c & 0x3FF));
        } else {
          put(c);
        }
      }
      break;
    }
    case kCpUtf32LE:
    case kCpUtf32BE: {
      bool be = cp == kCpUtf32BE;
      out.reserve(text.size() * 4 + 4);
      auto put = [&](uint32_t u) {
        char b[4] = {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
                     static_cast<char>(u >> 24)};
        if (be) out += b[3], out += b[2], out += b[1], out += b[0];
        else out.append(b, 4);
      };
      if (state.writeBom) put(0xFEFF);
      for (size_t i = from; i < text.size(); ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]);
        if (!IsScalar(c)) c = kReplacement, ++loss;
        put(c);
      }
      break;
    }
    default: {
      std::string charset = IconvCharset(cp);
      iconv_t cd = charset.empty() ? reinterpret_cast<iconv_t>(-1) : iconv_open(charset.c_str(), "WCHAR_T");
      if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (!log.Full()) log.Add(L"ANSI").Attr(L"encoding", NameOf(cp));
        cd = iconv_open(IconvCharset(kCpAnsi).c_str(), "WCHAR_T");
        if (cd == reinterpret_cast<iconv_t>(-1)) return false;
      }
      size_t inLeft = (text.size() - from) * sizeof(wchar_t);
      char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data() + from));
      out.resize(text.size() * 2 + 16);
      size_t used = 0;
      while (inLeft > 0) {
        if (out.size() - used < 16) out.resize(out.size() * 2 + 16);
        char* o = out.data() + used;
        size_t oLeft = out.size() - used, before = oLeft;
        size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        used += before - oLeft;
        if (r != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) {
          out.resize(out.size() * 2 + 16);
          continue;
        }
        // A character with no representation in the code page: "?" instead.
        ++loss;
        in += sizeof(wchar_t);
        inLeft -= sizeof(wchar_t);
        wchar_t q = L'?';
        char* qin = reinterpret_cast<char*>(&q);
        size_t qLeft = sizeof(wchar_t);
        char* o2 = out.data() + used;
        size_t left2 = out.size() - used, b2 = left2;
        iconv(cd, &qin, &qLeft, &o2, &left2);
        used += b2 - left2;
      }
      // Back to the initial shift state (ISO-2022 and the like).
      for (;;) {
        if (out.size() - used < 16) out.resize(out.size() * 2 + 16);
        char* o = out.data() + used;
        size_t oLeft = out.size() - used, before = oLeft;
        size_t r = iconv(cd, nullptr, nullptr, &o, &oLeft);
        used += before - oLeft;
        if (r == static_cast<size_t>(-1) && errno == E2BIG) {
          out.resize(out.size() * 2 + 16);
          continue;
        }
        break;
      }
      iconv_close(cd);
      out.resize(used);
      break;
    }
  }
  if (loss && !log.Full()) log.Add(L"conversion_loss").Attr(L"count", static_cast<long long>(loss));
  return true;
}

}  // namespace xmlimpl
