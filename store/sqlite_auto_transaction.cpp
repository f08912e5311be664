#include "store/sqlite_auto_transaction.h"

#include <sqlite3.h>

#include "store/sqlite_db.h"

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* db) : db_(db) {
  if (!db_) return;
  if (db_->IsOpen()) db_->Execute("BEGIN");
  active_ = 1;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
  if (active_) Commit();
}

bool SQLiteAutoTransaction::Begin() {
  if (active_ || !db_) return false;
  active_ = 1;
  return db_->Execute("BEGIN") == SQLITE_OK;
}

bool SQLiteAutoTransaction::Commit() {
  if (!db_) {
    active_ = 0;
    return false;
  }
  const int rc = db_->Execute("END");
  active_ = 0;
  if (rc != SQLITE_OK && db_->InTransaction()) db_->Execute("ROLLBACK");
  return rc == SQLITE_OK;
}
