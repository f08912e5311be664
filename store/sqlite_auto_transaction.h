#pragma once
// A scoped BEGIN ... END transaction for batch inserts.
#include <cstdint>

class SQLiteDB;

class SQLiteAutoTransaction {
 public:
  // With a connected database executes "BEGIN" and becomes active; with a database that
  // is not connected it only becomes active; with none it stays inactive.
  explicit SQLiteAutoTransaction(SQLiteDB* db);
  virtual ~SQLiteAutoTransaction();
  SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
  SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

  // False when already active or without a database; else "BEGIN" and its success.
  bool Begin();
  // "END"; becomes inactive; true when it succeeded. When END fails (a full disk, for
  // example) the still-open transaction is rolled back so that the connection does not
  // stay inside it and swallow every later write.
  bool Commit();
  bool IsActive() const { return active_ != 0; }

 private:
  SQLiteDB* db_;
  uint8_t active_ = 0;
};
