// XmlDocument: the public operations, navigation over the index and the edits
// that insert text and shift the index.
#include "xml/xml_document.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "xml/xml_internal.h"

using xmlimpl::ElemIndex;
using xmlimpl::ElemRecord;
using xmlimpl::ResultLog;

namespace {

enum : uint32_t {
  kFlagIgnoreCase = 1u << 0,
  kFlagWriteBom = 1u << 1,
  kFlagByteSwap = 1u << 2,
  kFlagReadFile = 1u << 3,  // streaming modes: never set by this implementation,
  kFlagWriteFile = 1u << 4,  // kept so navigation can refuse while one is open
  kFlagAppendFile = 1u << 5,
  kFlagStreaming = kFlagReadFile | kFlagWriteFile | kFlagAppendFile,
};

constexpr unsigned long long kMaxFileBytes = 1ull << 30;

std::string PathBytes(const std::wstring& path) { return xmlimpl::Utf8FromWide(path); }

void LogFileError(ResultLog& log, int err) {
  std::string msg = std::strerror(err);
  size_t cut = msg.find_first_of("\r\n");
  if (cut != std::string::npos) msg.resize(cut);
  if (!log.Full()) log.Add(L"file_error").Attr(L"msg", msg.c_str()).Attr(L"n", static_cast<long long>(err));
}

// Writes all of `bytes` to `fd`; 0 or the error number.
int WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno ? errno : EIO;
    }
    done += static_cast<size_t>(n);
  }
  return 0;
}

// Replaces the file at `path` with `bytes`. The bytes go to a new file in the same
// folder that is then renamed over the old one, so a write that fails half-way (a full
// disk) leaves the old file whole. A symbolic link keeps pointing at the file it named;
// an existing file keeps its permission bits. When no file can be made in the folder, or
// the path is not a plain file, it is written in place. Answers 0 or the error number.
int WriteReplacing(const std::string& path, const std::string& bytes) {
  std::string target = path;
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = realpath(path.c_str(), nullptr)) {
      target = real;
      std::free(real);
    }
  }
  const bool existed = stat(target.c_str(), &st) == 0;
  // A file this user may not write stays as it is, as a write in place would leave it.
  if (existed && access(target.c_str(), W_OK) != 0) return errno;
  // Only a plain file (or none yet) is replaced; a device or a pipe is written through.
  const bool replace = !existed || S_ISREG(st.st_mode);
  static std::atomic<unsigned> counter{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; replace && attempt < 100 && fd < 0; ++attempt) {
    temp = target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    // O_NONBLOCK only for the open: a pipe without a reader fails instead of waiting.
    fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) return errno;
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    int err = WriteAll(fd, bytes);
    if (::close(fd) != 0 && !err) err = errno ? errno : EIO;
    return err;
  }
  int err = WriteAll(fd, bytes);
  if (!err && existed && fchmod(fd, st.st_mode & 07777) != 0) err = errno;
  if (::close(fd) != 0 && !err) err = errno ? errno : EIO;
  if (!err && std::rename(temp.c_str(), target.c_str()) != 0) err = errno ? errno : EIO;
  if (err) ::unlink(temp.c_str());
  return err;
}

}  // namespace

struct XmlDocument::Impl {
  std::wstring text;
  ElemIndex index;
  uint32_t parent = 0;
  uint32_t main = 0;
  uint32_t child = 0;
  uint32_t flags = 0;
  bool wellFormed = false;
  ResultLog result;

  Impl() { index.Reset(8); }

  bool Navigable() const { return !(flags & kFlagStreaming) && index.Count() > 0; }
  const wchar_t* Base() const { return text.data(); }

  void ResetPositions() { parent = main = child = 0; }

  void Clear() {
    ++generation;
    text.clear();
    text.shrink_to_fit();
    index.Clear();
    index.Reset(8);
    ResetPositions();
    wellFormed = false;
  }

  bool Parse() {
    ++generation;
    ResetPositions();
    wellFormed = xmlimpl::ParseDocument(text, index, result, flags & kFlagIgnoreCase);
    return wellFormed;
  }

  size_t TagNameLength(uint32_t rec) const {
    const ElemRecord& r = index[rec];
    const wchar_t* p = Base() + r.start + 1;
    return xmlimpl::NameLength(p, Base() + r.start + r.startTagLen);
  }

  // Whole-name match: `name` is compared up to its end or one of " =/[]".
  bool NameMatches(uint32_t rec, const wchar_t* name) const {
    size_t m = 0;
    while (name[m] && !std::wcschr(L" =/[]", name[m])) ++m;
    const wchar_t* tag = Base() + index[rec].start + 1;
    return xmlimpl::NamesEqual(tag, TagNameLength(rec), name, m, flags & kFlagIgnoreCase);
  }

  struct AttrSpan {
    size_t nameEnd = 0;     // offset just after the attribute name
    size_t valueStart = 0;  // offset of the value (inside the quotes)
    size_t valueLen = 0;
    bool hasValue = false;
    bool quoted = false;
  };

  // The attributes of one start tag, parsed once and reused while the same
  // element is read (GetAttribute is usually called for several names in a row).
  // Any edit or parse bumps `generation`, which drops the cache.
  struct CachedAttr {
    uint32_t nameStart, nameLen, valueStart, valueLen;
    bool hasValue, quoted;
  };
  uint64_t generation = 1;
  mutable uint64_t cacheGeneration = 0;
  mutable uint32_t cacheRecord = 0;
  mutable std::vector<CachedAttr> cache;

  void ParseAttributes(uint32_t rec) const {
    cache.clear();
    const ElemRecord& r = index[rec];
    const wchar_t* base = Base();
    const wchar_t* p = base + r.start + 1;
    const wchar_t* end = base + r.start + r.startTagLen - 1;  // the ">"
    while (p < end && !xmlimpl::EndsName(*p)) ++p;
    while (p < end) {
      wchar_t c = *p;
      if (xmlimpl::IsSpace(c) || c == L'/') {
        ++p;
        continue;
      }
      if (c == L'"' || c == L'\'') {  // stray quoted text: skipped whole
        for (++p; p < end && *p != c; ++p) {
        }
        if (p < end) ++p;
        continue;
      }
      const wchar_t* ns = p;
      while (p < end && !xmlimpl::HasClass(*p, xmlimpl::kClsAttrStop)) ++p;
      if (p == ns) {  // a stray "="
        ++p;
        continue;
      }
      const wchar_t* ne = p;
      while (p < end && xmlimpl::IsSpace(*p)) ++p;
      bool hasValue = false, quoted = false;
      const wchar_t* vs = ne;
      const wchar_t* ve = ne;
      if (p < end && *p == L'=') {
        ++p;
        while (p < end && xmlimpl::IsSpace(*p)) ++p;
        hasValue = true;
        if (p < end && (*p == L'"' || *p == L'\'')) {
          const wchar_t q = *p;
          quoted = true;
          vs = ++p;
          while (p < end && *p != q) ++p;
          ve = p;
          if (p < end) ++p;
        } else {
          vs = p;
          while (p < end && !xmlimpl::IsSpace(*p)) ++p;
          if (p == end && p > vs && p[-1] == L'/') --p;  // "<a b=c/>"
          ve = p;
        }
      }
      cache.push_back(CachedAttr{static_cast<uint32_t>(ns - base), static_cast<uint32_t>(ne - ns),
                                 static_cast<uint32_t>(vs - base), static_cast<uint32_t>(ve - vs), hasValue,
                                 quoted});
    }
    cacheRecord = rec;
    cacheGeneration = generation;
  }

  // Finds attribute `name` in the start tag of `rec`.
  bool FindAttr(uint32_t rec, const wchar_t* name, size_t nameLen, AttrSpan& span) const {
    if (cacheRecord != rec || cacheGeneration != generation) ParseAttributes(rec);
    const wchar_t* base = Base();
    const bool ignoreCase = flags & kFlagIgnoreCase;
    for (const CachedAttr& a : cache) {
      const wchar_t* ns = base + a.nameStart;
      if (a.nameLen == nameLen && (ignoreCase || ns[0] == name[0]) &&
          xmlimpl::CharsEqual(ns, name, nameLen, ignoreCase)) {
        span.nameEnd = a.nameStart + a.nameLen;
        span.valueStart = a.valueStart;
        span.valueLen = a.valueLen;
        span.hasValue = a.hasValue;
        span.quoted = a.quoted;
        return true;
      }
    }
    return false;
  }

  // The byte step of Load: detection, conversion, parse. The log is not cleared.
  bool LoadBytes(const void* data, size_t size) {
    try {
      Clear();
      flags &= ~(kFlagWriteBom | kFlagByteSwap);
      xmlimpl::DecodeState state;
      static const unsigned char kEmpty = 0;
      const unsigned char* bytes = data ? static_cast<const unsigned char*>(data) : &kEmpty;
      if (!data) size = 0;
      if (!xmlimpl::DecodeBytes(bytes, size, text, state, result)) {
        Clear();
        return false;
      }
      if (state.writeBom) flags |= kFlagWriteBom;
      if (state.byteSwap) flags |= kFlagByteSwap;
      Parse();
      return true;
    } catch (...) {
      Clear();
      if (!result.Full()) result.Add(L"file_error").Attr(L"msg", "out of memory");
      return false;
    }
  }

  // Replaces [pos, pos+oldLen) by `s`; records starting at or after the end of the
  // replaced range move, `container` and its ancestors grow.
  bool Edit(size_t pos, size_t oldLen, const std::wstring& s, uint32_t container) {
    size_t newSize = text.size() - oldLen + s.size();
    if (newSize >= UINT32_MAX) return false;
    try {
      text.replace(pos, oldLen, s);
    } catch (...) {
      return false;
    }
    ++generation;
    int64_t delta = static_cast<int64_t>(s.size()) - static_cast<int64_t>(oldLen);
    size_t after = pos + oldLen;
    uint32_t count = index.Count();
    for (uint32_t i = 1; i < count; ++i) {
      ElemRecord& r = index[i];
      if (r.start >= after) r.start = static_cast<uint32_t>(r.start + delta);
    }
    for (uint32_t c = container; c != 0; c = index[c].parent)
      index[c].length = static_cast<uint32_t>(index[c].length + delta);
    index[0].length = static_cast<uint32_t>(text.size());
    return true;
  }
};

XmlDocument::XmlDocument() : impl_(new (std::nothrow) Impl) {}

XmlDocument::~XmlDocument() { delete impl_; }

bool XmlDocument::SetDocument(const wchar_t* text) {
  if (!impl_) return false;
  Impl& d = *impl_;
  d.result.Clear();
  d.flags &= ~(kFlagWriteBom | kFlagByteSwap);
  if (!text) {
    d.Clear();
    return false;
  }
  try {
    std::wstring copy(text);
    d.text.swap(copy);
  } catch (...) {
    return false;
  }
  return d.Parse();
}

bool XmlDocument::LoadFromMemory(const void* data, size_t size) {
  if (!impl_) return false;
  impl_->result.Clear();
  return impl_->LoadBytes(data, size);
}

bool XmlDocument::Load(const std::wstring& path) {
  if (!impl_) return false;
  Impl& d = *impl_;
  d.result.Clear();
  d.Clear();
  d.flags &= ~(kFlagWriteBom | kFlagByteSwap);
  std::string bytes;
  try {
    // Without O_NONBLOCK opening a named pipe would wait for a writer; anything but a
    // plain file is refused below.
    const int fd = ::open(PathBytes(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      LogFileError(d.result, errno);
      return false;
    }
    FILE* f = fdopen(fd, "rb");
    if (!f) {
      const int err = errno;
      ::close(fd);
      LogFileError(d.result, err);
      return false;
    }
    struct stat st;
    int statError = fstat(fileno(f), &st) != 0 ? errno : 0;
    if (!statError && !S_ISREG(st.st_mode)) statError = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    if (statError) {
      LogFileError(d.result, statError);
      std::fclose(f);
      return false;
    }
    // Offsets are 32-bit: larger files are refused, as is anything that does not fit in memory.
    if (static_cast<unsigned long long>(st.st_size) >= kMaxFileBytes) {
      LogFileError(d.result, EFBIG);
      std::fclose(f);
      return false;
    }
    long long size = st.st_size;
    bytes.resize(static_cast<size_t>(size));
    size_t got = size ? std::fread(bytes.data(), 1, bytes.size(), f) : 0;
    int err = std::ferror(f) ? errno : 0;
    std::fclose(f);
    if (got != bytes.size()) {
      if (err) {
        LogFileError(d.result, err);
        return false;
      }
      bytes.resize(got);  // the file shrank while being read
    }
    if (!d.result.Full()) d.result.Add(L"read").Attr(L"length", static_cast<long long>(bytes.size()));
  } catch (...) {
    if (!d.result.Full()) d.result.Add(L"file_error").Attr(L"msg", "out of memory");
    return false;
  }
  return d.LoadBytes(bytes.data(), bytes.size());
}

bool XmlDocument::SaveToBytes(std::string& bytes) {
  if (!impl_) return false;
  Impl& d = *impl_;
  d.result.Clear();
  try {
    xmlimpl::DecodeState state;
    state.writeBom = d.flags & kFlagWriteBom;
    state.byteSwap = d.flags & kFlagByteSwap;
    return xmlimpl::EncodeText(d.text, bytes, state, d.result);
  } catch (...) {
    bytes.clear();
    return false;
  }
}

bool XmlDocument::Save(const std::wstring& path) {
  if (!impl_) return false;
  Impl& d = *impl_;
  std::string bytes;
  if (!SaveToBytes(bytes)) return false;
  try {
    if (const int err = WriteReplacing(PathBytes(path), bytes)) {
      LogFileError(d.result, err);
      return false;
    }
    if (!d.result.Full()) d.result.Add(L"write").Attr(L"length", static_cast<long long>(bytes.size()));
    return true;
  } catch (...) {
    return false;
  }
}

bool XmlDocument::FindElement(const wchar_t* name) {
  if (!impl_ || !impl_->Navigable()) return false;
  Impl& d = *impl_;
  uint32_t pos = d.main ? d.index[d.main].next : d.index[d.parent].firstChild;
  bool any = !name || !*name;
  for (; pos; pos = d.index[pos].next) {
    if (any || d.NameMatches(pos, name)) {
      d.main = pos;
      d.child = 0;
      return true;
    }
  }
  return false;
}

bool XmlDocument::IntoElement() {
  if (!impl_ || !impl_->Navigable() || !impl_->main) return false;
  Impl& d = *impl_;
  d.parent = d.main;
  d.main = d.child;
  d.child = 0;
  return true;
}

bool XmlDocument::OutOfElement() {
  if (!impl_ || !impl_->Navigable() || !impl_->parent) return false;
  Impl& d = *impl_;
  d.child = d.main;
  d.main = d.parent;
  d.parent = d.index[d.main].parent;
  return true;
}

std::wstring XmlDocument::GetAttribute(const wchar_t* name) const {
  if (!impl_ || !impl_->Navigable() || !impl_->main || !name || !*name) return std::wstring();
  const Impl& d = *impl_;
  Impl::AttrSpan span;
  try {
    if (!d.FindAttr(d.main, name, std::wcslen(name), span)) return std::wstring();
    return xmlimpl::Unescape(d.Base() + span.valueStart, span.valueLen);
  } catch (...) {
    return std::wstring();
  }
}

bool XmlDocument::SetAttribute(const wchar_t* name, const std::wstring& value) {
  if (!impl_ || !impl_->Navigable() || !impl_->main || !name || !*name) return false;
  Impl& d = *impl_;
  size_t nameLen = std::wcslen(name);
  for (size_t i = 0; i < nameLen; ++i)
    if (xmlimpl::IsSpace(name[i]) || xmlimpl::EndsName(name[i])) return false;
  try {
    std::wstring quoted = L"\"" + xmlimpl::EscapeText(value.data(), value.size(), true) + L"\"";
    Impl::AttrSpan span;
    size_t pos, oldLen;
    std::wstring insert;
    if (d.FindAttr(d.main, name, nameLen, span)) {
      if (span.quoted) {
        pos = span.valueStart - 1;
        oldLen = span.valueLen + 2;
        insert = quoted;
      } else if (span.hasValue) {
        pos = span.valueStart;
        oldLen = span.valueLen;
        insert = quoted;
      } else {
        pos = span.nameEnd;
        oldLen = 0;
        insert = L"=" + quoted;
      }
    } else {
      const ElemRecord& r = d.index[d.main];
      size_t p = r.start + r.startTagLen - 1;  // the ">"
      if (d.text[p - 1] == L'/' && p - 1 > r.start) --p;
      while (p > r.start + 1 && xmlimpl::IsSpace(d.text[p - 1])) --p;
      pos = p;
      oldLen = 0;
      insert = L" ";
      insert.append(name, nameLen);
      insert += L"=";
      insert += quoted;
    }
    uint32_t main = d.main;
    if (!d.Edit(pos, oldLen, insert, main)) return false;
    ElemRecord& r = d.index[main];
    r.startTagLen = static_cast<uint32_t>(r.startTagLen + insert.size() - oldLen);
    return true;
  } catch (...) {
    return false;
  }
}

bool XmlDocument::AddElement(const wchar_t* name, const std::wstring& data) {
  if (!impl_ || !impl_->Navigable() || !name || !*name) return false;
  Impl& d = *impl_;
  size_t nameLen = std::wcslen(name);
  for (size_t i = 0; i < nameLen; ++i)
    if (xmlimpl::EndsName(name[i])) return false;
  try {
    std::wstring elem = L"<";
    elem.append(name, nameLen);
    uint32_t startTagLen, endTagLen;
    if (data.empty()) {
      elem += L"/>";
      startTagLen = static_cast<uint32_t>(elem.size());
      endTagLen = 0;
    } else {
      elem += L">";
      startTagLen = static_cast<uint32_t>(elem.size());
      elem += xmlimpl::EscapeText(data.data(), data.size(), false);
      elem += L"</";
      elem.append(name, nameLen);
      elem += L">";
      endTagLen = static_cast<uint32_t>(nameLen + 3);
    }
    uint32_t container = d.parent;
    size_t pos;
    size_t oldLen = 0;
    size_t lead;  // characters written before the new element
    std::wstring insert;
    bool rewroteEmpty = false;
    uint32_t newStartTagLen = 0, newEndTagLen = 0;
    if (d.main) {
      const ElemRecord& m = d.index[d.main];
      pos = m.start + m.length;
      if (d.text.compare(pos, 2, L"\r\n") == 0) pos += 2;
      else if (pos < d.text.size() && d.text[pos] == L'\n') pos += 1;
      else insert = L"\r\n";
      lead = insert.size();
      insert += elem;
      insert += L"\r\n";
    } else if (container == 0) {
      pos = d.text.size();
      if (!d.text.empty() && d.text.back() != L'\n') insert = L"\r\n";
      lead = insert.size();
      insert += elem;
      insert += L"\r\n";
    } else {
      const ElemRecord& p = d.index[container];
      if (p.flags & xmlimpl::kElemEmpty) {
        // The first child of an element written in the empty form: "/>" becomes
        // ">", "\r\n", the child, "\r\n" and an end tag.
        size_t slash = p.start + p.startTagLen - 2;
        std::wstring pname(d.Base() + p.start + 1, d.TagNameLength(container));
        pos = slash;
        oldLen = 2;
        insert = L">\r\n";
        lead = insert.size();
        insert += elem;
        insert += L"\r\n</";
        insert += pname;
        insert += L">";
        rewroteEmpty = true;
        newStartTagLen = static_cast<uint32_t>(slash - p.start + 1);
        newEndTagLen = static_cast<uint32_t>(pname.size() + 3);
      } else {
        pos = p.start + p.length - p.endTagLen;
        if (pos > 0 && d.text[pos - 1] != L'\n') insert = L"\r\n";
        lead = insert.size();
        insert += elem;
        insert += L"\r\n";
      }
    }
    // Make sure the new record can be had before the text changes.
    uint32_t n = d.index.New();
    if (!n) return false;
    if (!d.Edit(pos, oldLen, insert, container)) {
      return false;  // the unused record stays unlinked
    }
    if (rewroteEmpty) {
      ElemRecord& p = d.index[container];
      p.flags &= static_cast<uint16_t>(~xmlimpl::kElemEmpty);
      p.startTagLen = newStartTagLen;
      p.endTagLen = newEndTagLen;
    }
    ElemRecord& r = d.index[n];
    r.start = static_cast<uint32_t>(pos + lead);
    r.length = static_cast<uint32_t>(elem.size());
    r.startTagLen = startTagLen;
    r.endTagLen = endTagLen;
    r.flags = data.empty() ? xmlimpl::kElemEmpty : 0;
    r.parent = container;
    uint16_t level = container ? d.index[container].level : 0;
    r.level = level < 0xFFFF ? static_cast<uint16_t>(level + 1) : level;
    ElemRecord& c = d.index[container];
    if (d.main) {
      ElemRecord& m = d.index[d.main];
      r.prev = d.main;
      r.next = m.next;
      if (m.next) d.index[m.next].prev = n;
      else c.lastChild = n;
      m.next = n;
    } else {
      r.prev = c.lastChild;
      if (c.lastChild) d.index[c.lastChild].next = n;
      else c.firstChild = n;
      c.lastChild = n;
    }
    d.main = n;
    d.child = 0;
    return true;
  } catch (...) {
    return false;
  }
}

std::wstring XmlDocument::GetResult() const { return impl_ ? impl_->result.Text() : std::wstring(); }

const std::wstring& XmlDocument::GetDocument() const {
  static const std::wstring kEmpty;
  return impl_ ? impl_->text : kEmpty;
}

bool XmlDocument::IsWellFormed() const { return impl_ && impl_->wellFormed; }

std::wstring XmlDocument::GetTagName() const {
  if (!impl_ || !impl_->Navigable() || !impl_->main) return std::wstring();
  const Impl& d = *impl_;
  try {
    return std::wstring(d.Base() + d.index[d.main].start + 1, d.TagNameLength(d.main));
  } catch (...) {
    return std::wstring();
  }
}

std::wstring XmlDocument::GetData() const {
  if (!impl_ || !impl_->Navigable() || !impl_->main) return std::wstring();
  const Impl& d = *impl_;
  const ElemRecord& r = d.index[d.main];
  if (r.firstChild || (r.flags & xmlimpl::kElemEmpty)) return std::wstring();
  try {
    const wchar_t* p = d.Base() + r.start + r.startTagLen;
    const wchar_t* end = d.Base() + r.start + r.length - r.endTagLen;
    std::wstring out;
    while (p < end) {
      const wchar_t* lt = std::wmemchr(p, L'<', static_cast<size_t>(end - p));
      const wchar_t* stop = lt ? lt : end;
      out += xmlimpl::Unescape(p, static_cast<size_t>(stop - p));
      if (!lt) break;
      size_t left = static_cast<size_t>(end - lt);
      if (left >= 9 && std::wmemcmp(lt, L"<![CDATA[", 9) == 0) {
        const wchar_t* e = lt + 9;
        while (e + 2 < end && !(e[0] == L']' && e[1] == L']' && e[2] == L'>')) ++e;
        out.append(lt + 9, e);
        p = e + 2 < end ? e + 3 : end;
      } else if (left >= 4 && std::wmemcmp(lt, L"<!--", 4) == 0) {
        const wchar_t* e = lt + 4;
        while (e + 2 < end && !(e[0] == L'-' && e[1] == L'-' && e[2] == L'>')) ++e;
        p = e + 2 < end ? e + 3 : end;
      } else if (left >= 2 && lt[1] == L'?') {
        const wchar_t* e = lt + 2;
        while (e + 1 < end && !(e[0] == L'?' && e[1] == L'>')) ++e;
        p = e + 1 < end ? e + 2 : end;
      } else {
        out += L'<';
        p = lt + 1;
      }
    }
    return out;
  } catch (...) {
    return std::wstring();
  }
}

void XmlDocument::SetIgnoreCase(bool ignore) {
  if (!impl_) return;
  if (ignore) impl_->flags |= kFlagIgnoreCase;
  else impl_->flags &= ~kFlagIgnoreCase;
}

std::wstring XmlDocument::MakeCData(const std::wstring& data) {
  try {
    return xmlimpl::MakeCData(data);
  } catch (...) {
    return std::wstring();
  }
}

std::wstring XmlDocument::Escape(const std::wstring& text, bool attribute, bool keepRefs) {
  try {
    return xmlimpl::EscapeText(text.data(), text.size(), attribute, keepRefs);
  } catch (...) {
    return std::wstring();
  }
}

std::wstring XmlDocument::Unescape(const std::wstring& text) {
  try {
    return xmlimpl::Unescape(text.data(), text.size());
  } catch (...) {
    return std::wstring();
  }
}
