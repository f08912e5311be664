// t_key_macro_data and t_key_otherdata operations.
#include "store/data_store.h"
#include "store/store_internal.h"

using namespace store_internal;

namespace {

constexpr int32_t kMacroType = 3;  // a key assignment that plays a macro

// SELECT * column order: key_id, profile, fn_layer, key_code, layout_value, layout_desc,
// macro_type, macro_value, macro_value2, macro_value3, macro_desc.
KeyMacroData ReadKey(const SQLiteStatement& st) {
  KeyMacroData k;
  k.key_id = st.GetInt(0);
  k.profile = st.GetInt(1);
  k.fn_layer = st.GetInt(2);
  k.key_code = st.GetInt(3);
  k.layout_value = st.GetInt(4);
  k.layout_desc = ColumnWide(st, 5);
  k.macro_type = st.GetInt(6);
  k.macro_value = st.GetInt(7);
  k.macro_value2 = st.GetInt(8);
  k.macro_value3 = st.GetInt(9);
  k.macro_desc = ColumnWide(st, 10);
  return k;
}

}  // namespace

int32_t DataStore::SaveKeyAssignment(const KeyMacroData& r) {
  if (r.key_code == 0) return 0;
  std::lock_guard<std::mutex> guard(lock_);
  ExecOk("DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
         {r.profile, r.fn_layer, r.key_code});
  if (r.macro_value == 0 && r.macro_value2 == 0) return 0;  // default function: no row
  SQLiteStatement st;
  db_.Prepare(st,
              "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, "
              "layout_desc, macro_type, macro_value, macro_value2, macro_value3, macro_desc) "
              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
  st.BindInt(1, r.profile);
  st.BindInt(2, r.fn_layer);
  st.BindInt(3, r.key_code);
  st.BindInt(4, r.layout_value);
  BindWide(st, 5, r.layout_desc);
  st.BindInt(6, r.macro_type);
  st.BindInt(7, r.macro_value);
  st.BindInt(8, r.macro_value2);
  st.BindInt(9, r.macro_value3);
  BindWide(st, 10, r.macro_desc);
  if (!IsOk(st.Step())) return 0;
  return static_cast<int32_t>(db_.LastInsertId());
}

bool DataStore::GetKeyAssignment(int32_t profile, int32_t fn_layer, int32_t key_code,
                                 KeyMacroData& out) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st,
              "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
  st.BindInt(1, profile);
  st.BindInt(2, fn_layer);
  st.BindInt(3, key_code);
  if (st.Step() != SQLITE_ROW) return false;
  out = ReadKey(st);
  return true;
}

int32_t DataStore::LoadLayerAssignments(int32_t profile, int32_t fn_layer,
                                        std::vector<KeyMacroData>& out) {
  out.clear();
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?");
  st.BindInt(1, profile);
  st.BindInt(2, fn_layer);
  while (st.Step() == SQLITE_ROW) out.push_back(ReadKey(st));
  return static_cast<int32_t>(out.size());
}

int32_t DataStore::LoadProfileAssignments(int32_t profile, std::vector<KeyMacroData>& out) {
  out.clear();
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_key_macro_data WHERE profile = ?");
  st.BindInt(1, profile);
  while (st.Step() == SQLITE_ROW) out.push_back(ReadKey(st));
  return static_cast<int32_t>(out.size());
}

bool DataStore::RenameMacroAssignments(int32_t macro_id, const std::wstring& description) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st,
              "UPDATE t_key_macro_data SET macro_desc = ? WHERE macro_type = ? AND macro_value = ?");
  BindWide(st, 1, description);
  st.BindInt(2, kMacroType);
  st.BindInt(3, macro_id);
  return IsOk(st.Step());
}

bool DataStore::DeleteMacroAssignments(int32_t macro_id) {
  // Without the store lock, by intent; the shared connection lock only keeps the
  // connection from being closed under it.
  std::shared_lock<std::shared_mutex> conn(connection_);
  return ExecOk("DELETE FROM t_key_macro_data WHERE macro_type = ? AND macro_value = ?",
                {kMacroType, macro_id});
}

bool DataStore::DeleteProfileAssignments(int32_t profile) {
  std::shared_lock<std::shared_mutex> conn(connection_);
  return ExecOk("DELETE FROM t_key_macro_data WHERE profile = ?", {profile});
}

int32_t DataStore::AddKeyOtherData(const std::wstring& description, const std::wstring& parameter,
                                   int32_t type) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "INSERT INTO t_key_otherdata(macro_desc, param, type) VALUES (?, ?, ?);");
  BindWide(st, 1, description);
  BindWide(st, 2, parameter);
  st.BindInt(3, type);
  if (!IsOk(st.Step())) return 0;
  return static_cast<int32_t>(db_.LastInsertId());
}

bool DataStore::GetKeyOtherData(int32_t id, std::wstring& description, std::wstring& parameter,
                                int32_t& type) {
  description.clear();
  parameter.clear();
  type = 0;
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT macro_desc, param, type FROM t_key_otherdata WHERE macro_value = ?");
  st.BindInt(1, id);
  if (st.Step() != SQLITE_ROW) return false;
  description = ColumnWide(st, 0);
  parameter = ColumnWide(st, 1);
  type = st.GetInt(2);
  return true;
}
