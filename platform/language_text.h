#pragma once
// The current language and the lookup of localised texts in
// <program folder>/language/<language id>.lan.
#include <atomic>
#include <string>

// The language id that selects the language file (2052, 1033, 1049, 1041). Set at
// start-up and by the language choice; read from any thread.
extern std::atomic<int> CurrentLanguage;

// The section that holds every text of the program.
inline constexpr wchar_t kDialogTexts[] = L"KB.DIALOG";

// Path of the language file of `language`.
std::wstring LanguageFilePath(int language);

// The text with key `id` (decimal) in `section` of the current language file, cut to 259
// characters; empty when the file, section or key is missing. The file is read on every
// call, so a change of CurrentLanguage shows at the next call.
std::wstring LoadText(const std::wstring& section, int id);
