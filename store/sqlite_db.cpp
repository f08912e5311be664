#include "store/sqlite_db.h"

#include <sqlite3.h>

#include <cstring>

#include "store/sqlite_statement.h"

SQLiteDB::~SQLiteDB() {
  if (db_) sqlite3_interrupt(db_);
  if (!Close()) CloseWhenDone();
}

bool SQLiteDB::Open(const char* path, const char* /*key*/, int flags) {
  if (db_) {
    sqlite3_interrupt(db_);
    // Statements still alive elsewhere: let SQLite close the handle once they are
    // finalised instead of leaking it.
    if (!Close()) CloseWhenDone();
  }
  if (!path) return false;
  sqlite3* handle = nullptr;
  const int rc = sqlite3_open_v2(path, &handle, flags, nullptr);
  if (rc != SQLITE_OK) {
    if (handle) sqlite3_close(handle);
    return false;
  }
  db_ = handle;
  sqlite3_exec(db_, "PRAGMA synchronous = OFF;", nullptr, nullptr, nullptr);
  return true;
}

bool SQLiteDB::Close() {
  if (!db_) return true;
  if (sqlite3_close(db_) != SQLITE_OK) return false;
  db_ = nullptr;
  return true;
}

void SQLiteDB::CloseWhenDone() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

int SQLiteDB::Execute(const char* sql) {
  if (!db_ || !sql) return SQLITE_MISUSE;
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* sql, int length) {
  statement.Finalize();
  if (!db_ || !sql) return SQLITE_MISUSE;
  if (length < 0) length = static_cast<int>(std::strlen(sql)) + 1;
  sqlite3_stmt* stmt = nullptr;
  const int rc = sqlite3_prepare_v2(db_, sql, length, &stmt, nullptr);
  statement.stmt_ = stmt;
  statement.finished_ = stmt ? 0 : 1;
  return rc;
}

int64_t SQLiteDB::LastInsertId() const {
  if (!db_) return -1;
  return sqlite3_last_insert_rowid(db_);
}

bool SQLiteDB::InTransaction() const { return db_ && sqlite3_get_autocommit(db_) == 0; }
