#include "platform/reg_settings.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>

#include "platform/file_io.h"
#include "platform/folders.h"
#include "platform/ini_text.h"
#include "tessel/core/manager.h"
#include "tessel/core/text_utf.h"

namespace {

constexpr char kSection[] = "Settings";
// A stored value is read as at most this many characters, as the original 255-byte
// wide-string buffer allowed.
constexpr size_t kMaxValueChars = 127;

// One writer at a time within the process (read-modify-write of the file).
std::mutex& SettingsLock() {
  static std::mutex lock;
  return lock;
}

enum class ReadOutcome { kRead, kCreated, kFailed };

constexpr char kFileName[] = "/settings.ini";

// $XDG_CONFIG_HOME/<display name>; empty when there is no configuration home.
std::string SettingsFolder() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home == '/') {
    base = std::string(home) + "/.config";
  } else {
    return {};
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/" + Utf8FromWide(Manager::GetDeviceName());
}

// The file is missing: create its folder and an empty file, as opening a missing key
// with creation would.
bool CreateEmptySettingsFile(const std::string& folder, const std::string& path) {
  EnsureDirectory(WideFromUtf8(folder));
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return errno == EEXIST;
  close(fd);
  return true;
}

// _wtoi: leading blanks, optional sign, leading decimal digits; saturates on overflow.
int DecimalTextToInt(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10 + (text[i] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int ReadSetting(const std::wstring& name, ReadOutcome* outcome) {
  const std::string folder = SettingsFolder();
  const std::string path = folder + kFileName;
  if (folder.empty()) {
    *outcome = ReadOutcome::kFailed;
    return 0;
  }
  std::lock_guard guard(SettingsLock());
  std::string text;
  switch (ReadWholeFile(path, &text)) {
    case FileReadStatus::kMissing:
      *outcome = CreateEmptySettingsFile(folder, path) ? ReadOutcome::kCreated : ReadOutcome::kFailed;
      return 0;
    case FileReadStatus::kError:
      *outcome = ReadOutcome::kFailed;
      return 0;
    case FileReadStatus::kOk:
      break;
  }
  *outcome = ReadOutcome::kRead;
  const auto value = FindIniValue(text, kSection, Utf8FromWide(name));
  if (!value) return 0;
  return DecimalTextToInt(WideFromUtf8(*value).substr(0, kMaxValueChars));
}

}  // namespace

std::wstring GetSettingsFilePath() {
  const std::string folder = SettingsFolder();
  return folder.empty() ? std::wstring() : WideFromUtf8(folder + kFileName);
}

int ReadRegSetting(const std::wstring& name) {
  ReadOutcome outcome;
  return ReadSetting(name, &outcome);
}

void WriteRegSetting(const std::wstring& name, const std::wstring& text) {
  const std::string folder = SettingsFolder();
  if (folder.empty()) return;
  const std::string path = folder + kFileName;
  std::lock_guard guard(SettingsLock());
  EnsureDirectory(WideFromUtf8(folder));
  std::string old_text;
  // An unreadable file is left alone rather than replaced by one holding a single value.
  if (ReadWholeFile(path, &old_text) == FileReadStatus::kError) return;
  WriteFileAtomically(path, WithIniValue(old_text, kSection, Utf8FromWide(name), Utf8FromWide(text)),
                      0644);
}

int ReadLanguageSetting() {
  ReadOutcome outcome;
  const int value = ReadSetting(L"LCID", &outcome);
  return outcome == ReadOutcome::kFailed ? 2052 : value;
}

void WriteLanguageSetting(int language) { WriteRegSetting(L"LCID", std::to_wstring(language)); }
