#include "platform/language_text.h"

#include "platform/file_io.h"
#include "platform/folders.h"
#include "platform/ini_text.h"
#include "tessel/core/text_utf.h"

// English until start-up has chosen the language.
std::atomic<int> CurrentLanguage{1033};

namespace {
constexpr size_t kMaxTextChars = 259;
}

std::wstring LanguageFilePath(int language) {
  return GetProgramFolder() + L"language/" + std::to_wstring(language) + L".lan";
}

std::wstring LoadText(const std::wstring& section, int id) {
  std::string text;
  if (ReadWholeFile(Utf8FromWide(LanguageFilePath(CurrentLanguage.load())), &text) !=
      FileReadStatus::kOk) {
    return {};
  }
  const auto value = FindIniValue(text, Utf8FromWide(section), std::to_string(id));
  if (!value) return {};
  std::wstring wide = WideFromUtf8(*value);
  if (wide.size() > kMaxTextChars) wide.resize(kMaxTextChars);
  return wide;
}
