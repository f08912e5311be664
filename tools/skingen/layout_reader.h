#pragma once
// Reads what the keyboard picture needs from a layout file: the <Keyboard>
// element's size and image name and every <key>'s name and rectangle
// ("x#y#w#h"). Header-only so the skin test reads layouts the same way.
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace skingen {

struct LayoutKey {
  std::string name;
  int x = 0, y = 0, w = 0, h = 0;
};

struct LayoutPicture {
  std::string image;  // file name below the theme folder, '/' separated
  int width = 0;
  int height = 0;
  std::vector<LayoutKey> keys;
};

namespace layout_detail {

inline std::string DecodeEntities(const std::string& text) {
  static const std::map<std::string, std::string> kNamed = {
      {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t end = text[i] == '&' ? text.find(';', i) : std::string::npos;
    if (end == std::string::npos || end - i > 10) {
      out += text[i];
      continue;
    }
    const std::string entity = text.substr(i + 1, end - i - 1);
    if (auto it = kNamed.find(entity); it != kNamed.end()) {
      out += it->second;
    } else if (entity.size() > 1 && entity[0] == '#') {
      const bool hex = entity[1] == 'x' || entity[1] == 'X';
      const unsigned long code = std::strtoul(entity.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10);
      if (code == 0 || code > 0x10FFFF) { out += text[i]; continue; }
      if (code < 0x80) {  // UTF-8 encoding of the code point
        out += char(code);
      } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6)); out += char(0x80 | (code & 0x3F));
      } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12)); out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
      } else {
        out += char(0xF0 | (code >> 18)); out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F)); out += char(0x80 | (code & 0x3F));
      }
    } else {
      out += text[i];
      continue;
    }
    i = end;
  }
  return out;
}

// Attributes of the tag whose text (after the name) is `body`.
inline std::map<std::string, std::string> Attributes(const std::string& body) {
  std::map<std::string, std::string> out;
  std::size_t i = 0;
  while (i < body.size()) {
    while (i < body.size() && std::isspace(static_cast<unsigned char>(body[i]))) ++i;
    const std::size_t name_start = i;
    while (i < body.size() && body[i] != '=' && !std::isspace(static_cast<unsigned char>(body[i]))) ++i;
    const std::string name = body.substr(name_start, i - name_start);
    while (i < body.size() && std::isspace(static_cast<unsigned char>(body[i]))) ++i;
    if (i >= body.size() || body[i] != '=') break;
    ++i;
    while (i < body.size() && std::isspace(static_cast<unsigned char>(body[i]))) ++i;
    if (i >= body.size() || (body[i] != '"' && body[i] != '\'')) break;
    const char quote = body[i++];
    const std::size_t end = body.find(quote, i);
    if (end == std::string::npos) break;
    out[name] = DecodeEntities(body.substr(i, end - i));
    i = end + 1;
  }
  return out;
}

// Whole decimal number in [0, limit]; false otherwise.
inline bool Number(const std::string& text, int limit, int* out) {
  if (text.empty() || text.size() > 6) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  const int value = std::atoi(text.c_str());
  if (value > limit) return false;
  *out = value;
  return true;
}

}  // namespace layout_detail

// The largest picture side accepted; a declared size beyond it is an error.
inline constexpr int kMaxPictureSide = 4096;

// Image names must stay inside the theme folder: relative, no "..", no empty
// parts. Backslashes become '/'.
inline bool NormaliseImageName(std::string* name) {
  for (char& c : *name)
    if (c == '\\') c = '/';
  if (name->empty() || name->front() == '/') return false;
  std::stringstream parts(*name);
  std::string part, joined;
  while (std::getline(parts, part, '/')) {
    if (part.empty()) continue;  // "icon//x.png" names icon/x.png
    if (part == "." || part == "..") return false;
    joined += (joined.empty() ? "" : "/") + part;
  }
  if (joined.empty()) return false;
  *name = joined;
  return true;
}

// False with a message for a file that cannot be read or lacks a usable
// <Keyboard> element; keys with unusable rectangles are skipped.
inline bool ReadLayoutPicture(const std::string& path, LayoutPicture* out, std::string* error) {
  using namespace layout_detail;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *error = "cannot read the file";
    return false;
  }
  std::stringstream buffer;
  buffer << file.rdbuf();
  const std::string text = buffer.str();
  *out = LayoutPicture{};
  bool seen_keyboard = false;
  std::size_t at = 0;
  while ((at = text.find('<', at)) != std::string::npos) {
    if (text.compare(at, 4, "<!--") == 0) {
      const std::size_t end = text.find("-->", at);
      if (end == std::string::npos) break;
      at = end + 3;
      continue;
    }
    // A '>' inside a quoted value does not end the tag.
    std::size_t end = at + 1;
    char quote = 0;
    for (; end < text.size(); ++end) {
      if (quote) { if (text[end] == quote) quote = 0; }
      else if (text[end] == '"' || text[end] == '\'') quote = text[end];
      else if (text[end] == '>') break;
    }
    if (end >= text.size()) break;
    std::string tag = text.substr(at + 1, end - at - 1);
    at = end + 1;
    if (!tag.empty() && tag.back() == '/') tag.pop_back();
    const std::size_t name_end = tag.find_first_of(" \t\r\n");
    const std::string name = tag.substr(0, name_end);
    const std::string body = name_end == std::string::npos ? "" : tag.substr(name_end);
    if (name == "Keyboard" && !seen_keyboard) {
      seen_keyboard = true;
      auto attributes = Attributes(body);
      out->image = attributes["image"];
      if (!Number(attributes["width"], kMaxPictureSide, &out->width) ||
          !Number(attributes["height"], kMaxPictureSide, &out->height) || out->width == 0 ||
          out->height == 0) {
        *error = "the Keyboard element has no usable width and height";
        return false;
      }
      if (!NormaliseImageName(&out->image)) {
        *error = "the Keyboard element's image name is empty or leaves the skin folder";
        return false;
      }
    } else if (name == "key" && seen_keyboard) {
      auto attributes = Attributes(body);
      LayoutKey key;
      key.name = attributes["name"];
      std::stringstream rect(attributes["rect"]);
      std::string x, y, w, h;
      std::getline(rect, x, '#'); std::getline(rect, y, '#');
      std::getline(rect, w, '#'); std::getline(rect, h, '#');
      if (Number(x, kMaxPictureSide, &key.x) && Number(y, kMaxPictureSide, &key.y) &&
          Number(w, kMaxPictureSide, &key.w) && Number(h, kMaxPictureSide, &key.h) && key.w > 0 &&
          key.h > 0)
        out->keys.push_back(key);
    } else if (name == "/Keyboard" && seen_keyboard) {
      break;
    }
  }
  if (!seen_keyboard) {
    *error = "no Keyboard element";
    return false;
  }
  return true;
}

}  // namespace skingen
