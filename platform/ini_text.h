#pragma once
// Reading and changing initialisation-file text held in memory (UTF-8): "[section]"
// lines, then "key=value" lines. Section and key names compare without regard to ASCII
// letter case; blank lines and lines starting with ';' or '#' are ignored. Keys and
// values are trimmed of surrounding blanks, and one pair of matching quotes around a
// value is removed.
#include <optional>
#include <string>
#include <string_view>

// The value of the first occurrence of `key` in a section named `section` (a name may
// head more than one block; all are searched in file order), or nothing.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The text with `key` set to `value`: the first occurrence is replaced in place, else the
// line is added at the end of the first block of the section, else the section is added
// at the end. Every other line stays as it was. A key holding '=', '[' at its start or a
// line break, or a value holding a line break, leaves the text unchanged.
std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);
