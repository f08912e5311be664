// t_musiclayer_data operations: always profile 1, the one layer used is 1.
#include "store/data_store.h"
#include "store/store_internal.h"

using namespace store_internal;

int32_t DataStore::CountMusicLayers() {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "select count(*) FROM t_musiclayer_data WHERE profile = ?");
  st.BindInt(1, 1);
  if (st.Step() != SQLITE_ROW) return 0;
  return st.GetInt(0);
}

int32_t DataStore::AddMusicLayer(const std::wstring& name, int32_t foremode) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st,
              "INSERT INTO t_musiclayer_data(profile, name, deviceindex, foremode, "
              "fore_amplitude, backmode, backb_right, sel) VALUES (?, ?, ?, ?, ?, ?, ?, ?);");
  st.BindInt(1, 1);
  BindWide(st, 2, name);
  st.BindInt(3, 0);
  st.BindInt(4, foremode);
  st.BindInt(5, 300);
  st.BindInt(6, 0);
  st.BindInt(7, 100);
  st.BindInt(8, 0);
  const int rc = st.Step();
  if (!IsOk(rc)) return FailureCode(rc);
  return static_cast<int32_t>(db_.LastInsertId());
}

bool DataStore::GetMusicLayer(int32_t layer_id, MusicLayerData& out) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_musiclayer_data WHERE layer_id = ?");
  st.BindInt(1, layer_id);
  if (st.Step() != SQLITE_ROW) return false;
  // Column order: layer_id, profile, name, deviceindex, foremode, fore_amplitude,
  // backmode, backb_right, sel (not read).
  out.layer_id = st.GetInt(0);
  out.profile = st.GetInt(1);
  out.name = ColumnWide(st, 2);
  out.deviceindex = st.GetInt(3);
  out.foremode = st.GetInt(4);
  out.fore_amplitude = st.GetInt(5);
  out.backmode = st.GetInt(6);
  out.backb_right = st.GetInt(7);
  return true;
}

bool DataStore::UpdateMusicLayer(const MusicLayerData& l) {
  std::lock_guard<std::mutex> guard(lock_);
  return ExecOk(
      "UPDATE t_musiclayer_data SET deviceindex= ?, foremode= ?, fore_amplitude = ?, "
      "backmode= ?, backb_right= ? WHERE layer_id = ?",
      {l.deviceindex, l.foremode, l.fore_amplitude, l.backmode, l.backb_right, 1});
}

bool DataStore::SelectMusicLayer() {
  std::lock_guard<std::mutex> guard(lock_);
  ExecOk("UPDATE t_musiclayer_data SET sel = ? WHERE profile = ?", {0, 1});
  return ExecOk("UPDATE t_musiclayer_data SET sel = ? WHERE profile = ? AND layer_id = ?",
                {1, 1, 1});
}

int32_t DataStore::GetSelectedMusicLayer() {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT layer_id FROM t_musiclayer_data WHERE profile = ? AND sel = ?");
  st.BindInt(1, 1);
  st.BindInt(2, 1);
  if (st.Step() != SQLITE_ROW) return 0;
  return st.GetInt(0);
}
