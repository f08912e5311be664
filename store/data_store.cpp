// DataStore: the file, its connection and the rows of a fresh database.
#include "store/data_store.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/folders.h"
#include "store/schema.h"
#include "store/sqlite_statement.h"
#include "store/store_internal.h"
#include "tessel/core/text_utf.h"

using namespace store_internal;

namespace {

bool FileExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

bool ValidModelName(const std::wstring& name) {
  if (name.empty()) return false;
  for (wchar_t c : name) {
    if (c == L'/' || c == L'\\' || c == L'\0') return false;
  }
  return true;
}

constexpr int kOpenExistingFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;  // 65538
constexpr int kCreateFlags =
    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;  // 65542
static_assert(kOpenExistingFlags == 0x10002 && kCreateFlags == 0x10006);

}  // namespace

DataStore& DataStore::Instance() {
  static DataStore store;  // thread-safe one-time initialisation
  return store;
}

DataStore::DataStore() = default;

DataStore::~DataStore() {
  std::lock_guard<std::mutex> guard(lock_);
  std::unique_lock<std::shared_mutex> conn(connection_);
  if (db_.Handle()) sqlite3_interrupt(db_.Handle());
  CloseLocked();
}

std::wstring DataStore::DatabasePath(const std::wstring& data_folder, const std::wstring& model) {
  std::wstring path = data_folder;
  if (!path.empty() && path.back() != L'/') path.push_back(L'/');
  return path + L"db/" + model + L"_data_v1.db";
}

bool DataStore::OpenForModel(const std::wstring& model_name) {
  return OpenForModel(GetDataFolder(), model_name);
}

bool DataStore::OpenForModel(const std::wstring& data_folder, const std::wstring& model_name) {
  std::lock_guard<std::mutex> guard(lock_);
  std::unique_lock<std::shared_mutex> conn(connection_);
  if (!ValidModelName(model_name)) {
    CloseLocked();
    path_.clear();
    return false;
  }
  path_ = Utf8FromWide(DatabasePath(data_folder, model_name));
  // A connection to another model's file (or to a file deleted under it) is never
  // reused for this one.
  const bool exists = FileExists(path_);
  if (db_.IsOpen() && (open_path_ != path_ || !exists)) CloseLocked();
  bool result;
  if (exists) {
    result = db_.IsOpen() ? true : OpenExistingLocked();
  } else {
    result = CreateDatabaseLocked();
  }
  open_ = result;
  return result;
}

bool DataStore::OpenExistingLocked() {
  if (!db_.Open(path_.c_str(), key_.c_str(), kOpenExistingFlags)) return false;
  open_path_ = path_;
  // sqlite3_open_v2 reads nothing yet: read the schema now, so that a file that is not a
  // database (or a damaged one) fails here instead of failing every later operation.
  SQLiteStatement probe;
  int rc = db_.Prepare(probe, "SELECT count(*) FROM sqlite_master");
  if (rc == SQLITE_OK) rc = probe.Step();
  probe.Finalize();
  if (rc != SQLITE_ROW) {
    CloseLocked();
    return false;
  }
  // A file left empty (a crash right after it was created, or an empty file put there)
  // is a valid empty database: give it the schema. On a complete file these
  // "IF NOT EXISTS" statements change nothing.
  for (const char* sql : store_schema::Statements()) db_.Execute(sql);
  return true;
}

bool DataStore::CreateDatabase() {
  std::lock_guard<std::mutex> guard(lock_);
  std::unique_lock<std::shared_mutex> conn(connection_);
  return CreateDatabaseLocked();
}

bool DataStore::CreateDatabaseLocked() {
  if (db_.IsOpen() && open_path_ == path_) return true;
  if (path_.empty()) return false;
  if (!db_.Open(path_.c_str(), key_.c_str(), kCreateFlags)) {
    open_path_.clear();
    return false;
  }
  open_path_ = path_;
  bool all_ok = true;
  for (const char* sql : store_schema::Statements()) {
    if (db_.Execute(sql) != SQLITE_OK) all_ok = false;
  }
  return all_ok;
}

void DataStore::InsertDefaultConfig() {
  // Takes the store lock: it runs on the worker while the user
  // interface may be using the store, and its statements must not interleave.
  std::lock_guard<std::mutex> guard(lock_);
  SQLiteStatement st;
  for (const auto& [key, value] : store_schema::DefaultConfig()) {
    db_.Prepare(st, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);");
    st.BindInt(1, 1);
    BindWide(st, 2, key);
    BindWide(st, 3, value);
    st.Step();
  }
}

void DataStore::Close() {
  std::lock_guard<std::mutex> guard(lock_);
  std::unique_lock<std::shared_mutex> conn(connection_);
  CloseLocked();
}

void DataStore::CloseLocked() {
  if (!db_.Close()) {
    // Cannot happen while every statement lives inside one operation; should it, the
    // handle is released once its statements are gone.
    db_.CloseWhenDone();
  }
  open_path_.clear();
  open_ = false;
}

bool DataStore::DeleteDatabaseFile(const std::wstring& data_folder,
                                   const std::wstring& model_name) {
  if (!ValidModelName(model_name)) return false;
  const std::string path = Utf8FromWide(DatabasePath(data_folder, model_name));
  std::lock_guard<std::mutex> guard(lock_);
  std::unique_lock<std::shared_mutex> conn(connection_);
  // Deleting the file under an open connection would keep writing into a file nobody can
  // reach; close it first.
  if (db_.IsOpen() && open_path_ == path) CloseLocked();
  unlink((path + "-journal").c_str());
  unlink((path + "-wal").c_str());
  unlink((path + "-shm").c_str());
  unlink(path.c_str());
  return !FileExists(path);
}

bool DataStore::ResetDatabase(const std::wstring& data_folder, const std::wstring& model_name) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    std::unique_lock<std::shared_mutex> conn(connection_);
    if (open_) CloseLocked();
  }
  DeleteDatabaseFile(data_folder, model_name);
  return OpenForModel(data_folder, model_name);
}

bool DataStore::IsOpen() const {
  std::lock_guard<std::mutex> guard(lock_);
  return open_;
}

std::string DataStore::Path() const {
  std::lock_guard<std::mutex> guard(lock_);
  return path_;
}

void DataStore::SetModelId(int32_t id) {
  std::lock_guard<std::mutex> guard(lock_);
  model_id_ = id;
}

int32_t DataStore::ModelId() const {
  std::lock_guard<std::mutex> guard(lock_);
  return model_id_;
}

bool DataStore::ExecOk(const char* sql, std::initializer_list<int32_t> ints) {
  SQLiteStatement st;
  db_.Prepare(st, sql);
  int index = 1;
  for (int32_t value : ints) st.BindInt(index++, value);
  return IsOk(st.Step());
}
