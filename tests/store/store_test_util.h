#pragma once
// Shared fixture of the store tests: a fresh data folder (with its db/ folder) in a
// temporary directory, and raw sqlite3 helpers to look at the file from outside.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/data_store.h"
#include "tessel/core/text_utf.h"

namespace store_test {

inline std::string MakeTempDir(const char* tag) {
  std::string templ = (std::filesystem::temp_directory_path() / (std::string("store_") + tag + "_XXXXXX")).string();
  char* made = mkdtemp(templ.data());
  return made ? std::string(made) : std::string();
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = MakeTempDir("t");
    ASSERT_FALSE(root_.empty());
    data_ = WideFromUtf8(root_) + L"/data/";
    std::filesystem::create_directories(Utf8FromWide(data_) + "db");
  }
  void TearDown() override {
    store_.Close();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  // Opens a model and, like the profile start-up, writes the default configuration.
  bool Open(const std::wstring& model = L"K100") { return store_.OpenForModel(data_, model); }
  std::string FileOf(const std::wstring& model) {
    return Utf8FromWide(DataStore::DatabasePath(data_, model));
  }

  std::string root_;
  std::wstring data_;
  DataStore store_;
};

// Rows of a query run on a separate raw connection, each row's columns joined by '|'.
inline std::vector<std::string> RawQuery(const std::string& file, const std::string& sql) {
  std::vector<std::string> rows;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return rows;
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
    while (sqlite3_step(st) == SQLITE_ROW) {
      std::string row;
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        if (i) row += "|";
        const unsigned char* t = sqlite3_column_text(st, i);
        row += t ? reinterpret_cast<const char*>(t) : "";
      }
      rows.push_back(row);
    }
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return rows;
}

inline std::string Shell(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

}  // namespace store_test
