#include "platform/forbidden_words.h"

#include "platform/lower_case.h"

const std::vector<std::wstring>& ForbiddenWords() {
  static const std::vector<std::wstring> words = {
      L"fuck",     L"shit",     L"bitch",  L"asshole", L"bastard",
      L"cunt",     L"whore",    L"porn",   L"хуй",     L"блять",
      L"傻逼",     L"他妈的",   L"王八蛋", L"色情",    L"くそったれ",
  };
  return words;
}

bool ContainsForbiddenWord(const std::wstring& name, const std::vector<std::wstring>& words) {
  const std::wstring lowered = LowerCaseText(name);
  for (const std::wstring& word : words) {
    if (lowered.find(word) != std::wstring::npos) return true;
  }
  return false;
}

bool ContainsForbiddenWord(const std::wstring& name) {
  return ContainsForbiddenWord(name, ForbiddenWords());
}
