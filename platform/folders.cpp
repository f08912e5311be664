#include "platform/folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "tessel/core/manager.h"
#include "tessel/core/text_utf.h"

namespace {

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ExecutableFolder() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (n <= 0) return ".";
  std::string path(buffer, static_cast<size_t>(n));
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

std::wstring GetProgramFolderNoSlash() {
  // VANTOR_PROGRAM_DIR lets tests and tools point the program at another tree.
  if (const char* dir = std::getenv("VANTOR_PROGRAM_DIR"); dir && *dir) {
    std::string d(dir);
    while (d.size() > 1 && d.back() == '/') d.pop_back();
    return WideFromUtf8(d);
  }
  return WideFromUtf8(ExecutableFolder());
}

std::wstring GetProgramFolder() {
  std::wstring folder = GetProgramFolderNoSlash();
  if (folder.empty() || folder.back() != L'/') folder.push_back(L'/');
  return folder;
}

std::wstring GetDataFolder() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::string(home) + "/.local/share";
  } else {
    base = "/tmp";
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return WideFromUtf8(base) + L"/" + Manager::GetDeviceName() + L" Files/";
}

bool EnsureDirectory(const std::wstring& path) {
  std::string p = Utf8FromWide(path);
  if (p.empty()) return false;
  if (IsDirectory(p)) return true;
  // Create each parent in turn; failures for existing parts do no harm.
  for (size_t pos = p.find('/', 1); pos != std::string::npos; pos = p.find('/', pos + 1)) {
    mkdir(p.substr(0, pos).c_str(), 0755);
  }
  if (mkdir(p.c_str(), 0755) == 0) return true;
  return errno == EEXIST && IsDirectory(p);
}
