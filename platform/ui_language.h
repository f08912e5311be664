#pragma once
// The user's interface language as a Windows language id, derived from the locale
// variables, and the language chosen at start-up.
#include <string_view>

// 2052 for simplified Chinese (zh, zh_CN, zh_SG, zh_Hans), 1049 Russian, 1041 Japanese,
// 1033 English and every other or unset locale.
int LanguageFromLocaleName(std::string_view locale);
// From the first non-empty of LC_ALL, LC_MESSAGES and LANG.
int UserDefaultUILanguage();
// The value stored for a first start: 2052 for a Chinese system, 1033 for all others.
int StoredLanguageFor(int ui_language);
// The language of this run: the stored "LCID"; when there is none yet (or it is not a
// number), the user's interface language, whose stored form is written for later starts.
int StartupLanguage();
