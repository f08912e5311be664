// The parse: one left-to-right scan over the wide text that builds the element
// index, recovers from nesting errors and logs what it found.
#include <cwchar>
#include <vector>

#include "xml/xml_internal.h"

namespace xmlimpl {

namespace {
constexpr uint8_t ClassOf(int c) {
  uint8_t cls = 0;
  if (c == ' ' || c == '\t' || c == '\n' || c == '\r') cls |= kClsSpace | kClsNameEnd | kClsAttrStop;
  switch (c) {
    case '<': case '>': case '=': case '\\': case '/': case '?': case '!': case '"': case '\'': case ';':
      cls |= kClsNameEnd;
      break;
    default: break;
  }
  if (c == '=' || c == '/' || c == '"' || c == '\'' || c == '>') cls |= kClsAttrStop;
  return cls;
}
struct ClassTable {
  uint8_t v[128];
  constexpr ClassTable() : v() {
    for (int i = 0; i < 128; ++i) v[i] = ClassOf(i);
  }
};
constexpr ClassTable kTable;
}  // namespace

const uint8_t kCharClass[128] = {
#define R(i) kTable.v[i], kTable.v[i + 1], kTable.v[i + 2], kTable.v[i + 3], kTable.v[i + 4], \
             kTable.v[i + 5], kTable.v[i + 6], kTable.v[i + 7]
    R(0), R(8), R(16), R(24), R(32), R(40), R(48), R(56), R(64), R(72), R(80), R(88), R(96), R(104),
    R(112), R(120)
#undef R
};

size_t NameLength(const wchar_t* p, const wchar_t* end) {
  const wchar_t* q = p;
  while (q < end && !EndsName(*q)) ++q;
  return static_cast<size_t>(q - p);
}

namespace {

inline bool IsNameStart(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L':' || c == L'_' || c >= 128;
}

// First occurrence of the ASCII sequence `seq` (length n >= 1) in [p, end), or null.
const wchar_t* FindSeq(const wchar_t* p, const wchar_t* end, const wchar_t* seq, size_t n) {
  while (p < end) {
    if (static_cast<size_t>(end - p) < n) return nullptr;
    p = std::wmemchr(p, seq[0], static_cast<size_t>(end - p) - n + 1);
    if (!p) return nullptr;
    if (std::wmemcmp(p, seq, n) == 0) return p;
    ++p;
  }
  return nullptr;
}

// Skips a quoted run starting at the quote `p`; answers the closing quote or null.
inline const wchar_t* SkipQuoted(const wchar_t* p, const wchar_t* end) {
  const wchar_t q = *p;
  for (++p; p < end; ++p)
    if (*p == q) return p;
  return nullptr;
}

// The next "<" at or after p: a short inline scan first (the usual run between
// two tags is a line break and an indent), then the library search.
inline const wchar_t* NextTag(const wchar_t* p, const wchar_t* end) {
  const wchar_t* stop = end - p > 32 ? p + 32 : end;
  for (; p < stop; ++p)
    if (*p == L'<') return p;
  if (p == end) return nullptr;
  return std::wmemchr(p, L'<', static_cast<size_t>(end - p));
}

class Parser {
 public:
  Parser(const std::wstring& text, ElemIndex& index, ResultLog& log, bool ignoreCase)
      : base_(text.data()), end_(text.data() + text.size()), index_(index), log_(log),
        ignoreCase_(ignoreCase) {}

  bool Run();

 private:
  uint32_t Offset(const wchar_t* p) const { return static_cast<uint32_t>(p - base_); }
  void Error(const wchar_t* event, const wchar_t* at) {
    ill_ = true;
    if (!log_.Full()) log_.Add(event).Attr(L"offset", static_cast<long long>(Offset(at)));
  }
  void Unterminated(const wchar_t* type, const wchar_t* at) {
    ill_ = true;
    if (!log_.Full())
      log_.Add(L"unterminated_tag_syntax").Attr(L"type", type).Attr(L"offset",
                                                                    static_cast<long long>(Offset(at)));
  }
  std::wstring TagName(uint32_t rec) const {
    const wchar_t* name = base_ + index_[rec].start + 1;
    return std::wstring(name, NameLength(name, end_));
  }
  // Closes the open element `rec` at `at` without an end tag of its own.
  void CloseUnended(uint32_t rec, const wchar_t* at) {
    ElemRecord& r = index_[rec];
    r.length = Offset(at) - r.start;
    r.endTagLen = 0;
    r.flags |= kElemUnended;
    ill_ = true;
    if (!log_.Full())
      log_.Add(L"unended_start_tag").Attr(L"tagname", TagName(rec)).Attr(
          L"offset", static_cast<long long>(r.start));
  }
  bool StartTag(const wchar_t*& p);
  bool EndTag(const wchar_t*& p);
  bool DocumentType(const wchar_t*& p);
  bool Matches(uint32_t rec, const wchar_t* name, size_t n) const {
    const wchar_t* tag = base_ + index_[rec].start + 1;
    // The start tag always ends with ">", so tag[n] is inside the text.
    return (ignoreCase_ || tag[0] == name[0]) && CharsEqual(tag, name, n, ignoreCase_) && EndsName(tag[n]);
  }

  const wchar_t* base_;
  const wchar_t* end_;
  ElemIndex& index_;
  ResultLog& log_;
  bool ignoreCase_;
  bool ill_ = false;
  bool oom_ = false;
  std::vector<uint32_t> open_;
  uint32_t parent_ = 0;
};

bool Parser::StartTag(const wchar_t*& p) {
  const wchar_t* q = p + 1;
  q += NameLength(q, end_);
  for (;;) {
    if (q >= end_) {
      Unterminated(L"start_tag", p);
      return false;
    }
    wchar_t d = *q;
    if (d == L'>') break;
    if (d == L'"' || d == L'\'') {
      q = SkipQuoted(q, end_);
      if (!q) {
        Unterminated(L"start_tag", p);
        return false;
      }
    }
    ++q;
  }
  uint32_t n = index_.New();
  if (!n) {
    oom_ = true;
    return false;
  }
  ElemRecord& r = index_[n];
  r.start = Offset(p);
  r.startTagLen = static_cast<uint32_t>(q + 1 - p);
  r.parent = parent_;
  size_t depth = open_.size() + 1;
  r.level = depth > 0xFFFF ? 0xFFFF : static_cast<uint16_t>(depth);
  ElemRecord& up = index_[parent_];
  if (up.lastChild) {
    index_[up.lastChild].next = n;
    r.prev = up.lastChild;
  } else {
    up.firstChild = n;
  }
  up.lastChild = n;
  if (q[-1] == L'/') {
    r.length = r.startTagLen;
    r.flags = kElemEmpty;
  } else {
    open_.push_back(n);
    parent_ = n;
  }
  p = q + 1;
  return true;
}

bool Parser::EndTag(const wchar_t*& p) {
  const wchar_t* name = p + 2;
  size_t n = NameLength(name, end_);
  const wchar_t* gt = name + n;
  while (gt < end_ && *gt != L'>') ++gt;
  if (gt == end_) gt = nullptr;
  if (!gt) {
    Unterminated(L"end_tag", p);
    return false;
  }
  const wchar_t* after = gt + 1;
  size_t depth = open_.size();
  size_t match = depth;
  for (size_t i = depth; i-- > 0;) {
    if (Matches(open_[i], name, n)) {
      match = i;
      break;
    }
  }
  if (match == depth) {
    ill_ = true;
    if (!log_.Full())
      log_.Add(L"lone_end_tag").Attr(L"tagname", std::wstring(name, n)).Attr(
          L"offset", static_cast<long long>(Offset(p)));
  } else {
    // Elements opened inside the matched one are closed where this end tag stands.
    for (size_t i = depth; --i > match;) CloseUnended(open_[i], p);
    ElemRecord& r = index_[open_[match]];
    r.length = Offset(after) - r.start;
    r.endTagLen = static_cast<uint32_t>(after - p);
    open_.resize(match);
    parent_ = open_.empty() ? 0 : open_.back();
  }
  p = after;
  return true;
}

bool Parser::DocumentType(const wchar_t*& p) {
  const wchar_t* q = p + 2;
  bool subset = false;
  while (q < end_) {
    wchar_t d = *q;
    if (d == L'"' || d == L'\'') {
      q = SkipQuoted(q, end_);
      if (!q) break;
      ++q;
      continue;
    }
    if (!subset) {
      if (d == L'>') {
        p = q + 1;
        return true;
      }
      if (d == L'[') subset = true;
      ++q;
      continue;
    }
    if (d == L']') {
      subset = false;
      ++q;
      continue;
    }
    if (d == L'<' && q + 1 < end_) {
      if (q + 3 < end_ && q[1] == L'!' && q[2] == L'-' && q[3] == L'-') {
        const wchar_t* e = FindSeq(q + 4, end_, L"-->", 3);
        if (!e) {
          Unterminated(L"comment", q);
          return false;
        }
        q = e + 3;
        continue;
      }
      if (q[1] == L'?') {
        const wchar_t* e = FindSeq(q + 2, end_, L"?>", 2);
        if (!e) {
          Unterminated(L"processing_instruction", q);
          return false;
        }
        q = e + 2;
        continue;
      }
      if (q + 2 < end_ && q[1] == L'!' && (q[2] == L'E' || q[2] == L'A' || q[2] == L'N')) {
        // A declaration of the subset: up to ">", quoted text skipped.
        const wchar_t* e = q + 3;
        while (e < end_ && *e != L'>') {
          if (*e == L'"' || *e == L'\'') {
            e = SkipQuoted(e, end_);
            if (!e) break;
          }
          ++e;
        }
        if (!e || e >= end_) {
          Unterminated(L"document_type", p);
          return false;
        }
        q = e + 1;
        continue;
      }
    }
    ++q;
  }
  Unterminated(L"document_type", p);
  return false;
}

bool Parser::Run() {
  const wchar_t* p = base_;
  open_.reserve(64);
  for (;;) {
    p = NextTag(p, end_);
    if (!p) break;
    if (p + 1 >= end_) {
      Unterminated(L"tag", p);
      break;
    }
    wchar_t c = p[1];
    if (IsNameStart(c)) {
      if (!StartTag(p)) break;
    } else if (c == L'/') {
      if (!EndTag(p)) break;
    } else if (c == L'?') {
      const wchar_t* e = FindSeq(p + 2, end_, L"?>", 2);
      if (!e) {
        Unterminated(L"processing_instruction", p);
        break;
      }
      p = e + 2;
    } else if (c == L'!') {
      size_t left = static_cast<size_t>(end_ - p);
      if (left > 2 && p[2] == L'-') {
        if (left > 3 && p[3] == L'-') {
          const wchar_t* e = FindSeq(p + 4, end_, L"-->", 3);
          if (!e) {
            Unterminated(L"comment", p);
            break;
          }
          p = e + 3;
        } else {
          Error(L"comment_tag_syntax", p);
          ++p;
        }
      } else if (left > 2 && p[2] == L'[') {
        if (left >= 9 && std::wmemcmp(p + 3, L"CDATA[", 6) == 0) {
          const wchar_t* e = FindSeq(p + 9, end_, L"]]>", 3);
          if (!e) {
            Unterminated(L"cdata_section", p);
            break;
          }
          p = e + 3;
        } else {
          Error(L"cdata_section_syntax", p);
          ++p;
        }
      } else if (left > 2 && p[2] == L'D') {
        if (!DocumentType(p)) break;
      } else {
        Error(L"exclamation_tag_syntax", p);
        ++p;
      }
    } else {
      Error(L"first_tag_syntax", p);
      ++p;
    }
    if (oom_) break;
  }
  // Elements still open at the end of the text are closed there.
  for (size_t i = open_.size(); i-- > 0;) CloseUnended(open_[i], end_);
  open_.clear();
  if (oom_) {
    if (!log_.Full()) log_.Add(L"out_of_memory");
    return false;
  }
  uint32_t root = index_[0].firstChild;
  if (!root) {
    if (!log_.Full()) log_.Add(L"no_root_element");
    return false;
  }
  if (index_[root].next) {
    ill_ = true;
    if (!log_.Full()) log_.Add(L"root_has_sibling");
  }
  return !ill_;
}

}  // namespace

bool ParseDocument(const std::wstring& text, ElemIndex& index, ResultLog& log, bool ignoreCase) {
  if (text.size() >= UINT32_MAX) {
    index.Reset(1);
    if (!log.Full()) log.Add(L"truncation_error").Attr(L"length", static_cast<long long>(text.size()));
    return false;
  }
  index.Reset(text.size() / 64 + 8);
  if (index.Count() == 0) return false;
  index[0].length = static_cast<uint32_t>(text.size());
  if (text.empty()) return false;  // no root; nothing to log
  try {
    Parser parser(text, index, log, ignoreCase);
    return parser.Run();
  } catch (...) {
    // Out of memory while parsing: the document keeps its text but no elements.
    index.Reset(1);
    if (index.Count()) index[0].length = static_cast<uint32_t>(text.size());
    if (!log.Full()) log.Add(L"out_of_memory");
    return false;
  }
}

}  // namespace xmlimpl
