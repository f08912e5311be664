// t_configdata operations. Configuration rows always carry profile 1.
#include "store/data_store.h"
#include "store/store_internal.h"

using namespace store_internal;

bool DataStore::GetConfig(const std::wstring& key, std::wstring& value) {
  value.clear();
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT value FROM t_configdata WHERE profile = ? and key = ?");
  st.BindInt(1, 1);
  BindWide(st, 2, key);
  if (st.Step() != SQLITE_ROW) return false;
  value = ColumnWide(st, 0);
  return true;
}

bool DataStore::SetConfig(const std::wstring& key, const std::wstring& value) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?");
  BindWide(st, 1, value);
  st.BindInt(2, 1);
  BindWide(st, 3, key);
  return IsOk(st.Step());
}
