#include "platform/ui_language.h"

#include <cstdlib>
#include <string>

#include "platform/reg_settings.h"

int LanguageFromLocaleName(std::string_view locale) {
  // "ll_CC.codeset@modifier": keep language and territory.
  locale = locale.substr(0, locale.find_first_of(".@"));
  const std::string_view language = locale.substr(0, locale.find_first_of("_-"));
  const std::string_view territory =
      language.size() < locale.size() ? locale.substr(language.size() + 1) : std::string_view();
  if (language == "zh") {
    const bool traditional = territory == "TW" || territory == "HK" || territory == "MO" ||
                             territory == "Hant";
    return traditional ? 1033 : 2052;
  }
  if (language == "ru") return 1049;
  if (language == "ja") return 1041;
  return 1033;
}

int UserDefaultUILanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const char* value = std::getenv(name); value && *value) {
      return LanguageFromLocaleName(value);
    }
  }
  return 1033;
}

int StoredLanguageFor(int ui_language) { return ui_language == 2052 ? 2052 : 1033; }

int StartupLanguage() {
  const int stored = ReadLanguageSetting();
  if (stored != 0) return stored;
  const int ui_language = UserDefaultUILanguage();
  WriteLanguageSetting(StoredLanguageFor(ui_language));
  // This first run already speaks the user's language when a file for it ships
  // (1049, 1041); later starts use the stored value.
  return ui_language;
}
