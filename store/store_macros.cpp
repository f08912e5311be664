// t_macro_data and t_macrorecord operations.
#include "store/data_store.h"
#include "store/sqlite_auto_transaction.h"
#include "store/store_internal.h"

using namespace store_internal;

namespace {

constexpr const char* kInsertMacro =
    "INSERT INTO t_macro_data(play_times, delay_type, delay_time, link_count, name) "
    "VALUES (?, ?, ?, ?, ?);";
constexpr const char* kInsertRecord =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
    "VALUES (?, ?, ?, ?, ?, ?);";
constexpr const char* kSelectRecords =
    "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC";

// SELECT * column order: macro_id, play_times, delay_type, delay_time, link_count, name.
MacroData ReadMacro(const SQLiteStatement& st) {
  MacroData m;
  m.macro_id = st.GetInt(0);
  m.play_times = st.GetInt(1);
  m.delay_type = st.GetInt(2);
  m.delay_time = st.GetInt(3);
  m.link_count = st.GetInt(4);
  m.name = ColumnWide(st, 5);
  return m;
}

// SELECT * column order: record_id, macro_id, type, record_index, desc, value, delay_time.
MacroRecordData ReadRecord(const SQLiteStatement& st) {
  MacroRecordData r;
  r.record_id = st.GetInt(0);
  r.macro_id = st.GetInt(1);
  r.type = st.GetInt(2);
  r.record_index = st.GetInt(3);
  r.desc = ColumnWide(st, 4);
  r.value = st.GetInt(5);
  r.delay_time = st.GetInt(6);
  return r;
}

void BindRecord(SQLiteStatement& st, const MacroRecordData& r) {
  st.BindInt(1, r.macro_id);
  st.BindInt(2, r.type);
  st.BindInt(3, r.record_index);
  BindWide(st, 4, r.desc);
  st.BindInt(5, r.value);
  st.BindInt(6, r.delay_time);
}

}  // namespace

int32_t DataStore::AddMacro(const std::wstring& name) {
  MacroData m;
  m.play_times = 1;
  m.delay_type = 1;
  m.name = name;
  return AddMacroData(m);
}

int32_t DataStore::AddMacroData(const MacroData& m) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, kInsertMacro);
  st.BindInt(1, m.play_times);
  st.BindInt(2, m.delay_type);
  st.BindInt(3, m.delay_time);
  st.BindInt(4, m.link_count);
  BindWide(st, 5, m.name);
  const int rc = st.Step();
  if (!IsOk(rc)) return FailureCode(rc);
  return static_cast<int32_t>(db_.LastInsertId());
}

bool DataStore::RenameMacro(int32_t macro_id, const std::wstring& name) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "UPDATE t_macro_data SET name = ? WHERE macro_id = ?");
  BindWide(st, 1, name);
  st.BindInt(2, macro_id);
  return IsOk(st.Step());
}

bool DataStore::UpdateMacroSettings(const MacroData& m) {
  std::lock_guard<std::mutex> guard(lock_);
  return ExecOk(
      "UPDATE t_macro_data SET play_times = ?, delay_type = ?, delay_time = ? WHERE macro_id = ?",
      {m.play_times, m.delay_type, m.delay_time, m.macro_id});
}

bool DataStore::DeleteMacro(int32_t macro_id) {
  std::lock_guard<std::mutex> guard(lock_);
  if (!ExecOk("DELETE FROM t_macro_data WHERE macro_id = ?", {macro_id})) return false;
  return ExecOk("DELETE FROM t_macrorecord WHERE macro_id = ?", {macro_id});
}

bool DataStore::GetMacroPlayTimes(int32_t macro_id, int32_t& count) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT play_times FROM t_macro_data WHERE macro_id = ?");
  st.BindInt(1, macro_id);
  if (st.Step() != SQLITE_ROW) return false;
  count = st.GetInt(0);
  return true;
}

bool DataStore::GetMacro(int32_t macro_id, MacroData& out) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_macro_data WHERE macro_id = ?");
  st.BindInt(1, macro_id);
  if (st.Step() != SQLITE_ROW) return false;
  out = ReadMacro(st);
  return true;
}

int32_t DataStore::LoadMacros(std::vector<MacroData>& out) {
  out.clear();
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_macro_data");
  while (st.Step() == SQLITE_ROW) out.push_back(ReadMacro(st));
  return static_cast<int32_t>(out.size());
}

int32_t DataStore::AddMacroRecord(const MacroRecordData& record) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, kInsertRecord);
  BindRecord(st, record);
  const int rc = st.Step();
  if (!IsOk(rc)) return FailureCode(rc);
  return static_cast<int32_t>(db_.LastInsertId());
}

int32_t DataStore::AddMacroRecords(const std::vector<MacroRecordData>& records) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  SQLiteAutoTransaction transaction(&db_);
  int32_t inserted = 0;
  // One preparation for the whole batch; each row rebinds and runs it again.
  if (db_.Prepare(st, kInsertRecord) == SQLITE_OK) {
    for (const MacroRecordData& r : records) {
      st.Reset();
      BindRecord(st, r);
      if (IsOk(st.Step())) {
        ++inserted;
      } else if (!db_.InTransaction()) {
        break;  // SQLite rolled the batch back (full disk, I/O error): stop here
      }
    }
  }
  st.Finalize();
  if (!transaction.Commit()) return 0;
  return inserted;
}

int32_t DataStore::LoadMacroRecords(int32_t macro_id, std::vector<MacroRecordData>& out) {
  out.clear();
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, kSelectRecords);
  st.BindInt(1, macro_id);
  while (st.Step() == SQLITE_ROW) out.push_back(ReadRecord(st));
  return static_cast<int32_t>(out.size());
}

bool DataStore::DeleteMacroRecords(int32_t macro_id) {
  std::lock_guard<std::mutex> guard(lock_);
  return ExecOk("DELETE FROM t_macrorecord WHERE macro_id = ?", {macro_id});
}

int32_t DataStore::CountMacroEvents(int32_t macro_id) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, kSelectRecords);
  st.BindInt(1, macro_id);
  int32_t count = 0;
  while (st.Step() == SQLITE_ROW) {
    if (st.GetInt(2) != 1) ++count;  // type 1 rows are not events
  }
  return count;
}
