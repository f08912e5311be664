#pragma once
// Per-user settings: decimal-text values in $XDG_CONFIG_HOME/<display name>/settings.ini
// (default ~/.config), section [Settings]. Value names are "LCID" and "exit_mode".
#include <string>

// The settings file path; empty when neither XDG_CONFIG_HOME nor HOME gives a folder.
std::wstring GetSettingsFilePath();

// The value as a number (leading blanks, an optional sign and the leading digits;
// 0 when there are none, clamped to the int range). A missing settings file is created
// (empty) and 0 is returned; any failure returns 0.
int ReadRegSetting(const std::wstring& name);

// Stores the text under the name. The settings folder is created when missing; when the
// file cannot be read or written nothing changes. The old file is replaced atomically.
void WriteRegSetting(const std::wstring& name, const std::wstring& text);

// ReadRegSetting of "LCID", except that 2052 is returned when the settings file cannot
// be read, or is missing and cannot be created.
int ReadLanguageSetting();
// Stores "LCID" as decimal text.
void WriteLanguageSetting(int language);
