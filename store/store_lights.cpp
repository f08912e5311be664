// t_light_data and t_key_light_data operations.
#include "store/data_store.h"
#include "store/sqlite_auto_transaction.h"
#include "store/store_internal.h"

using namespace store_internal;

namespace {

constexpr int32_t kPerKeyLightId = 128;  // the light_id of the per-key colour set

// SELECT * column order: light_id, profile, name, mode, brightness, speed, direction,
// colorful, colorindex, color_value, config_func, reserved, status.
LightData ReadLight(const SQLiteStatement& st) {
  LightData l;
  l.light_id = st.GetInt(0);
  l.profile = st.GetInt(1);
  l.name = ColumnWide(st, 2);
  l.mode = st.GetInt(3);
  l.brightness = st.GetInt(4);
  l.speed = st.GetInt(5);
  l.direction = st.GetInt(6);
  l.colorful = st.GetInt(7);
  l.colorindex = st.GetInt(8);
  l.color_value = st.GetInt(9);
  l.config_func = st.GetInt(10);
  l.reserved = st.GetInt(11);
  l.status = st.GetInt(12);
  return l;
}

}  // namespace

int32_t DataStore::CountLights(int32_t profile) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "select count(*) FROM t_light_data WHERE profile = ?");
  st.BindInt(1, profile);
  if (st.Step() != SQLITE_ROW) return 0;
  return st.GetInt(0);
}

int32_t DataStore::AddLight(const LightData& l) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st,
              "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, "
              "colorful, colorindex, color_value, config_func, reserved, status) "
              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
  st.BindInt(1, l.profile);
  BindWide(st, 2, l.name);
  st.BindInt(3, l.mode);
  st.BindInt(4, l.brightness);
  st.BindInt(5, l.speed);
  st.BindInt(6, l.direction);
  st.BindInt(7, l.colorful);
  st.BindInt(8, l.colorindex);
  st.BindInt(9, l.color_value);
  st.BindInt(10, l.config_func);
  st.BindInt(11, l.reserved);
  st.BindInt(12, l.status);
  if (!IsOk(st.Step())) return 0;
  return static_cast<int32_t>(db_.LastInsertId());
}

bool DataStore::UpdateLight(int32_t profile, int32_t mode, const LightData& l) {
  std::lock_guard<std::mutex> guard(lock_);
  return ExecOk(
      "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, "
      "colorindex = ?, color_value = ?, config_func = ?, reserved = ? "
      "WHERE profile = ? and mode = ?",
      {l.brightness, l.speed, l.direction, l.colorful, l.colorindex, l.color_value,
       l.config_func, l.reserved, profile, mode});
}

bool DataStore::SetActiveLight(int32_t profile, int32_t mode) {
  std::lock_guard<std::mutex> guard(lock_);
  ExecOk("UPDATE t_light_data SET status = ?", {0});
  return ExecOk("UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?",
                {1, profile, mode});
}

int32_t DataStore::GetActiveLightMode(int32_t profile) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT mode FROM t_light_data WHERE profile = ? and status = ?");
  st.BindInt(1, profile);
  st.BindInt(2, 1);
  if (st.Step() != SQLITE_ROW) return 0;
  return st.GetInt(0);
}

bool DataStore::GetLight(int32_t profile, int32_t mode, LightData& out) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?");
  st.BindInt(1, profile);
  st.BindInt(2, mode);
  if (st.Step() != SQLITE_ROW) return false;
  out = ReadLight(st);
  return true;
}

int32_t DataStore::LoadLights(int32_t profile, std::vector<LightData>& out) {
  out.clear();
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_light_data WHERE profile = ?");
  st.BindInt(1, profile);
  while (st.Step() == SQLITE_ROW) out.push_back(ReadLight(st));
  return static_cast<int32_t>(out.size());
}

int32_t DataStore::AddKeyLights(const std::vector<KeyLightData>& lights) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  SQLiteAutoTransaction transaction(&db_);
  int32_t inserted = 0;
  // One preparation for the whole batch; each row rebinds and runs it again.
  if (db_.Prepare(st,
                  "INSERT INTO t_key_light_data(profile, light_id, key_code, key_rgb) "
                  "VALUES (?, ?, ?, ?);") == SQLITE_OK) {
    for (const KeyLightData& k : lights) {
      st.Reset();
      st.BindInt(1, k.profile);
      st.BindInt(2, k.light_id);
      st.BindInt(3, k.key_code);
      st.BindInt(4, k.key_rgb);
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

bool DataStore::DeleteKeyLights() {
  std::lock_guard<std::mutex> guard(lock_);
  return ExecOk("DELETE FROM t_key_light_data WHERE light_id = ?", {kPerKeyLightId});
}

int32_t DataStore::LoadKeyLights(int32_t light_id, std::vector<KeyLightData>& out) {
  out.clear();
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_key_light_data WHERE light_id = ?");
  st.BindInt(1, light_id);
  while (st.Step() == SQLITE_ROW) {
    KeyLightData k;
    k.keylight_id = st.GetInt(0);
    k.profile = st.GetInt(1);
    k.light_id = st.GetInt(2);
    k.key_code = st.GetInt(3);
    k.key_rgb = st.GetInt(4);
    out.push_back(k);
  }
  return static_cast<int32_t>(out.size());
}
