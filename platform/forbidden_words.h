#pragma once
// Words that a user-chosen name (a profile name) must not contain.
#include <string>
#include <vector>

// The fixed list of 15 lower-case entries, Latin, Cyrillic and CJK.
const std::vector<std::wstring>& ForbiddenWords();
// True when the lower-cased name contains any entry of `words` as a substring.
bool ContainsForbiddenWord(const std::wstring& name, const std::vector<std::wstring>& words);
// The same against ForbiddenWords().
bool ContainsForbiddenWord(const std::wstring& name);
