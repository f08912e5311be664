// The result log of the last load, save or parse, and the segmented element index.
#include <new>

#include "xml/xml_internal.h"

namespace xmlimpl {

namespace {
constexpr size_t kResultLimit = 999;

void AppendQuoted(std::wstring& out, const std::wstring& value) {
  out += L"=\"";
  // Values are cut to 64 characters so that one entry stays short.
  size_t n = value.size() < 64 ? value.size() : 64;
  for (size_t i = 0; i < n; ++i) {
    wchar_t c = value[i];
    switch (c) {
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'&': out += L"&amp;"; break;
      case L'"': out += L"&quot;"; break;
      default: out += c;
    }
  }
  out += L'"';
}
}  // namespace

ResultLog::Entry::Entry(ResultLog& log, const wchar_t* event) : log_(log) {
  text_ = L"<";
  text_ += event;
}

ResultLog::Entry::~Entry() {
  // Once the log is longer than 999 characters it stops growing.
  if (log_.text_.size() > kResultLimit) return;
  try {
    text_ += L"/>";
    log_.text_ += text_;
  } catch (...) {
  }
}

ResultLog::Entry& ResultLog::Entry::Attr(const wchar_t* name, const std::wstring& value) {
  try {
    text_ += L' ';
    text_ += name;
    AppendQuoted(text_, value);
  } catch (...) {
  }
  return *this;
}

ResultLog::Entry& ResultLog::Entry::Attr(const wchar_t* name, const char* value) {
  std::wstring w;
  try {
    for (const char* p = value; p && *p; ++p) w += static_cast<wchar_t>(static_cast<unsigned char>(*p));
  } catch (...) {
  }
  return Attr(name, w);
}

ResultLog::Entry& ResultLog::Entry::Attr(const wchar_t* name, long long value) {
  return Attr(name, std::to_wstring(value));
}

void ElemIndex::Clear() {
  segments_.clear();
  firstCapacity_ = 0;
  count_ = 0;
}

bool ElemIndex::Grow(size_t capacity) {
  if (capacity > (size_t{1} << 32)) return false;  // record numbers are 32-bit
  // Room in the segment list first, so that adding a segment cannot throw.
  size_t segmentsWanted = capacity <= kSegmentSize ? 1 : (capacity + kSegmentSize - 1) / kSegmentSize;
  try {
    segments_.reserve(segmentsWanted);
  } catch (...) {
    return false;
  }
  if (capacity <= kSegmentSize) {
    // Small documents: one segment that grows by doubling, up to 65,536 records.
    if (firstCapacity_ >= capacity) return true;
    size_t cap = firstCapacity_ ? firstCapacity_ * 2 : 16;
    while (cap < capacity) cap *= 2;
    if (cap > kSegmentSize) cap = kSegmentSize;
    ElemRecord* seg = new (std::nothrow) ElemRecord[cap];
    if (!seg) return false;
    size_t keep = count_ < firstCapacity_ ? count_ : firstCapacity_;
    for (size_t i = 0; i < keep; ++i) seg[i] = segments_[0][i];
    if (segments_.empty()) segments_.emplace_back(seg);
    else segments_[0].reset(seg);
    firstCapacity_ = cap;
    return true;
  }
  if (!Grow(kSegmentSize)) return false;
  while (segments_.size() < segmentsWanted) {
    ElemRecord* seg = new (std::nothrow) ElemRecord[kSegmentSize];
    if (!seg) return false;
    segments_.emplace_back(seg);
  }
  return true;
}

void ElemIndex::Reset(size_t capacity) {
  count_ = 0;
  if (capacity < 1) capacity = 1;
  // Keep segments already allocated, and add what the new size needs.
  Grow(capacity);
  if (segments_.empty() && !Grow(1)) return;
  segments_[0][0] = ElemRecord();
  count_ = 1;
}

uint32_t ElemIndex::New() {
  if (count_ == 0) {
    if (!Grow(1)) return 0;
    segments_[0][0] = ElemRecord();
    count_ = 1;
  }
  if (count_ == UINT32_MAX) return 0;
  size_t need = static_cast<size_t>(count_) + 1;
  bool room = need <= kSegmentSize ? need <= firstCapacity_ : (count_ >> kSegmentBits) < segments_.size();
  if (!room && !Grow(need)) return 0;
  uint32_t n = count_++;
  (*this)[n] = ElemRecord();
  return n;
}

}  // namespace xmlimpl
