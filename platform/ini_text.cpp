#include "platform/ini_text.h"

#include <vector>

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const size_t last = s.find_last_not_of(kBlanks);
  return s.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return false;
  }
  return true;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// One line of the text as the reader sees it.
struct Line {
  size_t begin = 0;  // offset of the line in the text
  size_t end = 0;    // offset just past its last character (before the line break)
  enum Kind { kOther, kSection, kEntry } kind = kOther;
  std::string_view name;   // section name or key
  std::string_view value;  // entry value
};

Line ParseLine(std::string_view text, size_t begin, size_t end) {
  Line line;
  line.begin = begin;
  line.end = end;
  std::string_view s = Trim(text.substr(begin, end - begin));
  if (begin == 0 && s.substr(0, 3) == "\xEF\xBB\xBF") s = Trim(s.substr(3));  // UTF-8 BOM
  if (s.empty() || s.front() == ';' || s.front() == '#') return line;
  if (s.front() == '[') {
    const size_t close = s.find(']');
    line.kind = Line::kSection;
    line.name = Trim(s.substr(1, close == std::string_view::npos ? s.npos : close - 1));
    return line;
  }
  const size_t eq = s.find('=');
  if (eq == std::string_view::npos) return line;
  line.kind = Line::kEntry;
  line.name = Trim(s.substr(0, eq));
  line.value = Unquote(Trim(s.substr(eq + 1)));
  return line;
}

// Calls `visit(line, in_section)` for every line until it answers false.
template <typename Visit>
void ForEachLine(std::string_view text, std::string_view section, Visit visit) {
  bool in_section = false;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    const Line line = ParseLine(text, begin, end);
    if (line.kind == Line::kSection) in_section = SameName(line.name, section);
    if (!visit(line, in_section)) return;
    begin = end + 1;
  }
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
  std::optional<std::string> found;
  ForEachLine(text, section, [&](const Line& line, bool in_section) {
    if (in_section && line.kind == Line::kEntry && SameName(line.name, key)) {
      found = std::string(line.value);
      return false;
    }
    return true;
  });
  return found;
}

std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
  const std::string_view clean_key = Trim(key);
  if (clean_key.empty() || clean_key.find_first_of("=\r\n") != std::string_view::npos ||
      clean_key.front() == '[' || clean_key.front() == ';' || clean_key.front() == '#' ||
      value.find_first_of("\r\n") != std::string_view::npos) {
    return std::string(text);
  }
  const std::string entry = std::string(clean_key) + "=" + std::string(value);

  // Where the entry goes: over an existing line, or after the last entry of the first block.
  std::optional<Line> existing;
  std::optional<size_t> block_end;  // insertion offset within the first block of the section
  bool seen_block = false, first_block_done = false;
  ForEachLine(text, section, [&](const Line& line, bool in_section) {
    if (line.kind == Line::kSection) {
      if (seen_block) first_block_done = true;
      if (in_section && !seen_block) {
        seen_block = true;
        block_end = line.end;
      }
      return true;
    }
    if (!in_section) return true;
    if (line.kind == Line::kEntry && SameName(line.name, clean_key)) {
      existing = line;
      return false;
    }
    if (!first_block_done && line.kind != Line::kOther) block_end = line.end;
    return true;
  });

  std::string out(text);
  if (existing) {
    size_t end = existing->end;
    if (end > existing->begin && out[end - 1] == '\r') --end;  // keep a CRLF line break
    // The key keeps the spelling it has in the file.
    out.replace(existing->begin, end - existing->begin,
                std::string(existing->name) + "=" + std::string(value));
    return out;
  }
  if (block_end) {
    out.insert(*block_end, "\n" + entry);
    return out;
  }
  if (!out.empty() && out.back() != '\n') out += '\n';
  out += "[" + std::string(section) + "]\n" + entry + "\n";
  return out;
}
