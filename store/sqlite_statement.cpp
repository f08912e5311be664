#include "store/sqlite_statement.h"

#include <sqlite3.h>

SQLiteStatement::~SQLiteStatement() { Finalize(); }

int SQLiteStatement::BindInt(int index, int value) {
  if (!stmt_) return SQLITE_MISUSE;
  return sqlite3_bind_int(stmt_, index, value);
}

int SQLiteStatement::BindText(int index, const char* utf8, int bytes) {
  if (!stmt_) return SQLITE_MISUSE;
  if (!utf8) return sqlite3_bind_text(stmt_, index, "", 0, SQLITE_STATIC);
  return sqlite3_bind_text(stmt_, index, utf8, bytes, SQLITE_TRANSIENT);
}

int SQLiteStatement::Step() {
  if (!stmt_) return SQLITE_MISUSE;
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_DONE) finished_ = 1;
  return rc;
}

int SQLiteStatement::Reset() {
  if (!stmt_) return SQLITE_MISUSE;
  finished_ = 0;
  return sqlite3_reset(stmt_);
}

int SQLiteStatement::GetInt(int column) const {
  if (!stmt_) return 0;
  return sqlite3_column_int(stmt_, column);
}

const char* SQLiteStatement::GetText(int column) const {
  if (!stmt_) return nullptr;
  return reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
}

int SQLiteStatement::GetTextBytes(int column) const {
  if (!stmt_) return 0;
  return sqlite3_column_bytes(stmt_, column);
}

int SQLiteStatement::Finalize() {
  if (!stmt_) {
    finished_ = 1;
    return SQLITE_OK;
  }
  const int rc = sqlite3_finalize(stmt_);
  // sqlite3_finalize always releases the statement, whatever it returns (it reports
  // the error of the last step); the handle must not be used again.
  stmt_ = nullptr;
  finished_ = 1;
  return rc;
}
