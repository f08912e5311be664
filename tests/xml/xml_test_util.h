#pragma once
// Shared helpers of the XML tests: a temporary folder and byte files.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "xml/xml_document.h"

namespace xmltest {

class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/xml_test_XXXXXX";
    char* p = mkdtemp(tmpl);
    if (p) path_ = p;
  }
  ~TempDir() {
    if (!path_.empty()) std::system(("rm -rf '" + path_ + "'").c_str());
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  std::wstring WFile(const std::string& name) const {
    std::string s = File(name);
    return std::wstring(s.begin(), s.end());
  }
  bool ok() const { return !path_.empty(); }

 private:
  std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  if (!bytes.empty()) {
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
  }
  std::fclose(f);
}

inline std::string ReadBytes(const std::string& path) {
  std::string out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

inline bool Logged(const XmlDocument& doc, const std::wstring& event) {
  return doc.GetResult().find(L"<" + event) != std::wstring::npos;
}

}  // namespace xmltest
