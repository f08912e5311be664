// t_profile_data operations.
#include "store/data_store.h"
#include "store/store_internal.h"

using namespace store_internal;

namespace {

// SELECT * column order: profile, name, status, app, type.
ProfileData ReadProfile(const SQLiteStatement& st) {
  ProfileData p;
  p.profile = st.GetInt(0);
  p.name = ColumnWide(st, 1);
  p.status = st.GetInt(2);
  p.app = ColumnWide(st, 3);
  p.type = st.GetInt(4);
  return p;
}

}  // namespace

int32_t DataStore::AddProfile(const ProfileData& profile) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);");
  BindWide(st, 1, profile.name);
  st.BindInt(2, 0);
  BindWide(st, 3, profile.app);
  st.BindInt(4, 0);
  if (!IsOk(st.Step())) return 0;
  return static_cast<int32_t>(db_.LastInsertId());
}

bool DataStore::DeleteProfile(int32_t profile) {
  std::lock_guard<std::mutex> guard(lock_);
  return ExecOk("DELETE FROM t_profile_data WHERE profile = ?", {profile});
}

bool DataStore::RenameProfile(int32_t profile, const std::wstring& name) {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "UPDATE t_profile_data SET name = ? WHERE profile = ?");
  BindWide(st, 1, name);
  st.BindInt(2, profile);
  return IsOk(st.Step());
}

bool DataStore::GetProfileName(int32_t profile, std::wstring& name) {
  name.clear();
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT name FROM t_profile_data WHERE profile = ?");
  st.BindInt(1, profile);
  if (st.Step() != SQLITE_ROW) return false;
  name = ColumnWide(st, 0);
  return true;
}

int32_t DataStore::LoadProfiles(std::vector<ProfileData>& out) {
  out.clear();
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_profile_data");
  while (st.Step() == SQLITE_ROW) out.push_back(ReadProfile(st));
  return static_cast<int32_t>(out.size());
}

bool DataStore::SetActiveProfile(int32_t profile) {
  std::lock_guard<std::mutex> guard(lock_);
  ExecOk("UPDATE t_profile_data SET status = ?", {0});
  return ExecOk("UPDATE t_profile_data SET status = ? WHERE profile = ?", {1, profile});
}

int32_t DataStore::GetActiveProfile() {
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT profile FROM t_profile_data WHERE status = ?");
  st.BindInt(1, 1);
  if (st.Step() != SQLITE_ROW) return 0;
  return st.GetInt(0);
}
