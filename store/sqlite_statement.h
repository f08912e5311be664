#pragma once
// One prepared statement. Lives for one operation; the destructor finalises.
#include <cstdint>

struct sqlite3_stmt;

class SQLiteStatement {
 public:
  SQLiteStatement() = default;
  virtual ~SQLiteStatement();
  SQLiteStatement(const SQLiteStatement&) = delete;
  SQLiteStatement& operator=(const SQLiteStatement&) = delete;

  // Parameter indexes start at 1. Both return 21 (SQLITE_MISUSE) without a statement.
  int BindInt(int index, int value);
  // The text is copied by SQLite, so the caller's buffer may go away before the step.
  // A negative length means "up to the terminator".
  int BindText(int index, const char* utf8, int bytes);
  // sqlite3_step; 101 (SQLITE_DONE) sets the finished flag. 21 without a statement.
  int Step();
  // Makes the statement ready to run again with new bindings (batch inserts).
  int Reset();
  // Column indexes start at 0. 0 / null / 0 without a statement.
  int GetInt(int column) const;
  const char* GetText(int column) const;
  int GetTextBytes(int column) const;
  // Finalises; on success the handle is cleared and the finished flag set.
  int Finalize();

  bool IsFinished() const { return finished_ != 0; }
  sqlite3_stmt* Handle() const { return stmt_; }

 private:
  friend class SQLiteDB;
  int32_t finished_ = 1;
  sqlite3_stmt* stmt_ = nullptr;
};
