#pragma once
// Internals of XmlDocument shared by its source files: the element index, the
// result log, the escape rules and the byte <-> text conversions.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace xmlimpl {

// ---- result log (xml_result_log.cpp) ---------------------------------------
// A sequence of empty elements, one per event; stops growing past 999 characters.
class ResultLog {
 public:
  class Entry {
   public:
    Entry(ResultLog& log, const wchar_t* event);
    ~Entry();
    Entry& Attr(const wchar_t* name, const std::wstring& value);
    Entry& Attr(const wchar_t* name, const char* value);
    Entry& Attr(const wchar_t* name, long long value);
   private:
    ResultLog& log_;
    std::wstring text_;
  };
  Entry Add(const wchar_t* event) { return Entry(*this, event); }
  void Clear() { text_.clear(); }
  bool Full() const { return text_.size() > 999; }
  const std::wstring& Text() const { return text_; }
 private:
  friend class Entry;
  std::wstring text_;
};

// ---- element index ------------------------------------------------------------
enum : uint16_t {
  kElemEmpty = 1,    // written in the empty form "<a/>"
  kElemUnended = 2,  // closed without its own end tag
};

struct ElemRecord {
  uint32_t start = 0;        // offset of "<" of the start tag
  uint32_t length = 0;       // whole element text, start tag to end of end tag
  uint32_t startTagLen = 0;  // the start tag including "<" and ">"
  uint32_t endTagLen = 0;    // the end tag ("</a>"), 0 for empty or unended elements
  uint16_t level = 0;
  uint16_t flags = 0;
  uint32_t parent = 0;
  uint32_t firstChild = 0;
  uint32_t lastChild = 0;
  uint32_t next = 0;
  uint32_t prev = 0;
};

// Records in segments of 65,536; the high 16 bits of a record number select the
// segment, the low 16 bits the record inside it. Record 0 is the document.
class ElemIndex {
 public:
  static constexpr uint32_t kSegmentBits = 16;
  static constexpr uint32_t kSegmentSize = 1u << kSegmentBits;

  ElemRecord& operator[](uint32_t i) { return segments_[i >> kSegmentBits][i & (kSegmentSize - 1)]; }
  const ElemRecord& operator[](uint32_t i) const {
    return segments_[i >> kSegmentBits][i & (kSegmentSize - 1)];
  }
  // Drops every record and makes room for `capacity` records; record 0 exists.
  void Reset(size_t capacity);
  void Clear();
  // Appends a zeroed record and answers its number (0 on failure: out of memory/range).
  uint32_t New();
  uint32_t Count() const { return count_; }

 private:
  bool Grow(size_t capacity);
  std::vector<std::unique_ptr<ElemRecord[]>> segments_;
  size_t firstCapacity_ = 0;  // the first segment grows up to a full segment
  uint32_t count_ = 0;
};

// ---- parsing (xml_parser.cpp) ---------------------------------------------------
// Builds the index over `text`; answers the well-formed flag.
bool ParseDocument(const std::wstring& text, ElemIndex& index, ResultLog& log, bool ignoreCase);

// Character classes of the ASCII range, for the scanning loops.
enum : uint8_t {
  kClsSpace = 1,     // " \t\n\r"
  kClsNameEnd = 2,   // ends a tag name: " \t\n\r<>=\\/?!\"';"
  kClsAttrStop = 4,  // ends an attribute name: whitespace, "=", "/", quotes, ">"
};
extern const uint8_t kCharClass[128];
inline bool HasClass(wchar_t c, uint8_t cls) {
  return static_cast<uint32_t>(c) < 128 && (kCharClass[c] & cls);
}
inline bool IsSpace(wchar_t c) { return HasClass(c, kClsSpace); }
// A tag name ends at the first of " \t\n\r<>=\\/?!\"';".
inline bool EndsName(wchar_t c) { return HasClass(c, kClsNameEnd); }
// Length of the tag name that starts at `p` (bounded by `end`).
size_t NameLength(const wchar_t* p, const wchar_t* end);
inline wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? c + 32 : c; }

// Compares the first n characters of a and b under the ignore-case rule: ASCII
// letters case-insensitively until a non-ASCII character has matched.
inline bool CharsEqual(const wchar_t* a, const wchar_t* b, size_t n, bool ignoreCase) {
  if (!ignoreCase) {
    for (size_t i = 0; i < n; ++i)
      if (a[i] != b[i]) return false;
    return true;
  }
  bool exact = false;
  for (size_t i = 0; i < n; ++i) {
    wchar_t x = a[i], y = b[i];
    if (x == y) {
      if (x >= 128) exact = true;
      continue;
    }
    if (exact || LowerAscii(x) != LowerAscii(y)) return false;
  }
  return true;
}

// Compares a tag name (already delimited, length n) with `name` (length m), with
// the document's ignore-case rule.
inline bool NamesEqual(const wchar_t* tag, size_t n, const wchar_t* name, size_t m, bool ignoreCase) {
  return n == m && CharsEqual(tag, name, n, ignoreCase);
}

// ---- escaping (xml_escape.cpp, xml_entities.cpp) ---------------------------------
char32_t LookupEntity(const char* name);  // 0 when unknown; ignores ASCII case
int EntityCount();
// Text set: < & >; attribute set additionally ' and ". With `keepRefs`, an
// ampersand that already begins a character reference is copied unchanged.
std::wstring EscapeText(const wchar_t* p, size_t n, bool attribute, bool keepRefs = false);
std::wstring Unescape(const wchar_t* p, size_t n);
// "<![CDATA[...]]>" with each "]]>" split as "]]]]><![CDATA[>".
std::wstring MakeCData(const std::wstring& data);

// ---- encodings (xml_encoding.cpp) -----------------------------------------------
constexpr int kCpAnsi = 1252;  // the "system ANSI code page" of this program
constexpr int kCpUtf8 = 65001;
constexpr int kCpUtf16LE = 1200;
constexpr int kCpUtf16BE = 1201;
constexpr int kCpUtf32LE = 12000;
constexpr int kCpUtf32BE = 12001;
constexpr int kCpUtf32 = 65005;

// Name -> code page: 0 for an empty name, -1 when unknown or 100+ characters.
int CodePageFromName(const std::wstring& name);
int CodePageFromName(const char* name, size_t n);
int EncodingNameCount();
// Code page -> iconv charset name, empty when there is none.
std::string IconvCharset(int codePage);

struct DecodeState {
  bool writeBom = false;
  bool byteSwap = false;
};
// Byte decoding step of Load: detects the encoding, converts to wide text.
bool DecodeBytes(const unsigned char* data, size_t size, std::wstring& out, DecodeState& state,
                 ResultLog& log);
// Encoding step of Save: converts the text to the encoding its declaration names.
bool EncodeText(const std::wstring& text, std::string& out, const DecodeState& state, ResultLog& log);
// The encoding named by the declaration at the start of `text` (empty when none).
std::wstring DeclaredEncoding(const std::wstring& text);

// Plain UTF-8 helpers (invalid input becomes U+FFFD).
void AppendUtf8(std::string& out, char32_t c);
std::string Utf8FromWide(const std::wstring& text);
bool IsValidUtf8(const unsigned char* p, size_t n);

}  // namespace xmlimpl
