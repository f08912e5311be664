#pragma once
// The connection to one SQLite database file.
#include <cstdint>

struct sqlite3;
class SQLiteStatement;

class SQLiteDB {
 public:
  SQLiteDB() = default;
  virtual ~SQLiteDB();
  SQLiteDB(const SQLiteDB&) = delete;
  SQLiteDB& operator=(const SQLiteDB&) = delete;

  // Closes any open handle first (after interrupting it), then sqlite3_open_v2 with the
  // default VFS and runs "PRAGMA synchronous = OFF;". The key is never applied (no
  // encryption). False for a null path or when opening fails.
  bool Open(const char* path, const char* key, int flags);
  // True when there was no handle or closing succeeded; the handle is then cleared.
  bool Close();
  // Like Close, but never fails: statements still alive keep the connection until they
  // are finalised (sqlite3_close_v2). The handle is cleared.
  void CloseWhenDone();
  bool IsOpen() const { return db_ != nullptr; }
  // sqlite3_exec without callback; 21 (SQLITE_MISUSE) without handle or text.
  int Execute(const char* sql);
  // Finalises what the statement held, then sqlite3_prepare_v2 with the given length
  // (strlen + 1 when negative); 21 without handle or text.
  int Prepare(SQLiteStatement& statement, const char* sql, int length = -1);
  // sqlite3_last_insert_rowid, -1 when closed.
  int64_t LastInsertId() const;
  // True when the connection sits inside an explicit transaction.
  bool InTransaction() const;

  sqlite3* Handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};
