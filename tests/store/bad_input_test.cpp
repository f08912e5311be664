// Damaged files, folders that cannot be written and a full disk: failure results, no
// crash, and what was committed before stays readable.
#include <sys/mount.h>

#include <fstream>

#include "store_test_util.h"
#include "vfs_shim.h"

using namespace store_test;

namespace {

void WriteBytes(const std::string& path, const std::string& bytes, std::streamoff at = 0) {
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  if (!f) f.open(path, std::ios::binary | std::ios::out);
  f.seekp(at);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Adds a profile, a macro with events and a per-key set; returns the profile id.
int FillSome(DataStore& store) {
  ProfileData p;
  p.name = L"kept";
  const int id = store.AddProfile(p);
  const int macro = store.AddMacro(L"kept macro");
  std::vector<MacroRecordData> events(3);
  for (int i = 0; i < 3; ++i) {
    events[i].macro_id = macro;
    events[i].record_index = i;
  }
  store.AddMacroRecords(events);
  std::vector<KeyLightData> set(10);
  for (auto& k : set) k.light_id = 128;
  store.AddKeyLights(set);
  return id;
}

void ExpectFilled(DataStore& store) {
  std::vector<ProfileData> profiles;
  ASSERT_EQ(store.LoadProfiles(profiles), 1);
  EXPECT_EQ(profiles[0].name, L"kept");
  std::vector<MacroRecordData> events;
  EXPECT_EQ(store.LoadMacroRecords(1, events), 3);
  std::vector<KeyLightData> set;
  EXPECT_EQ(store.LoadKeyLights(128, set), 10);
}

// A tmpfs mounted on a fresh folder, when this machine lets us mount (root in CI).
class Mount {
 public:
  Mount(const std::string& dir, const char* options) : dir_(dir) {
    std::filesystem::create_directories(dir);
    ok_ = mount("tmpfs", dir.c_str(), "tmpfs", 0, options) == 0;
  }
  ~Mount() {
    if (ok_) umount2(dir_.c_str(), MNT_DETACH);
  }
  bool ok() const { return ok_; }
  bool MakeReadOnly() {
    return mount(nullptr, dir_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  std::string dir_;
  bool ok_ = false;
};

}  // namespace

TEST_F(StoreTest, FileThatIsNotADatabaseFailsToOpen) {
  WriteBytes(FileOf(L"K100"), std::string(4096, 'x'));
  EXPECT_FALSE(Open());
  EXPECT_FALSE(store_.IsOpen());
  std::vector<ProfileData> profiles;
  EXPECT_EQ(store_.LoadProfiles(profiles), 0);
  EXPECT_EQ(store_.AddProfile(ProfileData{}), 0);
  // The user's file is left as it was; a reset replaces it with a working one.
  EXPECT_EQ(std::filesystem::file_size(FileOf(L"K100")), 4096u);
  EXPECT_TRUE(store_.ResetDatabase(data_, L"K100"));
  EXPECT_EQ(store_.AddProfile(ProfileData{}), 1);
}

TEST_F(StoreTest, DamagedPagesGiveFailuresNotCrashes) {
  ASSERT_TRUE(Open());
  FillSome(store_);
  for (int i = 0; i < 50; ++i) store_.AddMacro(L"filler macro with a longer name " + std::to_wstring(i));
  store_.Close();
  const auto size = std::filesystem::file_size(FileOf(L"K100"));
  ASSERT_GT(size, 4096u);
  WriteBytes(FileOf(L"K100"), std::string(size - 4096, '\xA5'), 4096);  // all but page 1
  EXPECT_TRUE(Open());  // the schema page is intact
  std::vector<ProfileData> profiles;
  std::vector<MacroData> macros;
  store_.LoadProfiles(profiles);
  store_.LoadMacros(macros);
  EXPECT_EQ(store_.AddProfile(ProfileData{}), 0);
  EXPECT_LT(store_.AddMacro(L"m"), 0);
  EXPECT_FALSE(store_.SetActiveProfile(1));
}

TEST_F(StoreTest, ZeroLengthFileBecomesAnEmptyDatabase) {
  WriteBytes(FileOf(L"K100"), "");
  ASSERT_EQ(std::filesystem::file_size(FileOf(L"K100")), 0u);
  ASSERT_TRUE(Open());
  store_.InsertDefaultConfig();
  std::wstring version;
  EXPECT_TRUE(store_.GetConfig(L"version", version));
  EXPECT_EQ(version, L"1.0.1");
  EXPECT_EQ(RawQuery(FileOf(L"K100"),
                     "SELECT count(*) FROM sqlite_master WHERE name LIKE 't_%' OR name LIKE '%index'"),
            std::vector<std::string>{"17"});
}

TEST_F(StoreTest, FolderThatCannotHoldFilesFailsToOpen) {
  // A data folder whose "db" is a regular file: nothing can be created under it, even
  // for root.
  std::filesystem::remove_all(Utf8FromWide(data_) + "db");
  WriteBytes(Utf8FromWide(data_) + "db", "not a folder");
  EXPECT_FALSE(Open());
  EXPECT_FALSE(store_.IsOpen());
  EXPECT_EQ(store_.AddProfile(ProfileData{}), 0);
  EXPECT_LT(store_.AddMacro(L"m"), 0);
}

TEST_F(StoreTest, ReadOnlyFileSystemKeepsDataReadableAndRefusesWrites) {
  const std::string dir = root_ + "/ro";
  Mount tmpfs(dir, "size=4m");
  if (!tmpfs.ok()) GTEST_SKIP() << "mounting a tmpfs is not allowed here";
  const std::wstring data = WideFromUtf8(dir) + L"/";
  std::filesystem::create_directories(dir + "/db");
  ASSERT_TRUE(store_.OpenForModel(data, L"K100"));
  FillSome(store_);
  store_.Close();
  ASSERT_TRUE(tmpfs.MakeReadOnly());

  ASSERT_TRUE(store_.OpenForModel(data, L"K100"));
  ExpectFilled(store_);
  EXPECT_EQ(store_.AddProfile(ProfileData{}), 0);
  EXPECT_EQ(store_.AddMacro(L"m"), -SQLITE_READONLY);
  EXPECT_EQ(store_.AddKeyLights(std::vector<KeyLightData>(5)), 0);
  EXPECT_FALSE(store_.SetConfig(L"version", L"2"));
  ExpectFilled(store_);
  // A model without a file cannot be created there.
  EXPECT_FALSE(store_.OpenForModel(data, L"Other"));
  store_.Close();
}

TEST_F(StoreTest, FullFileSystemFailsWritesAndKeepsCommittedRows) {
  const std::string dir = root_ + "/full";
  Mount tmpfs(dir, "size=256k");
  if (!tmpfs.ok()) GTEST_SKIP() << "mounting a tmpfs is not allowed here";
  const std::wstring data = WideFromUtf8(dir) + L"/";
  std::filesystem::create_directories(dir + "/db");
  ASSERT_TRUE(store_.OpenForModel(data, L"K100"));
  FillSome(store_);
  // Fill the rest of the file system.
  {
    std::ofstream filler(dir + "/filler", std::ios::binary);
    const std::string block(4096, 'f');
    for (int i = 0; i < 1000 && filler.write(block.data(), block.size()); ++i) filler.flush();
  }
  std::vector<KeyLightData> big(5000);
  for (auto& k : big) k.light_id = 128;
  int failures = 0;
  for (int i = 0; i < 5; ++i) {
    if (store_.AddKeyLights(big) != 5000) ++failures;
  }
  EXPECT_GT(failures, 0);
  store_.Close();
  std::filesystem::remove(dir + "/filler");
  ASSERT_TRUE(store_.OpenForModel(data, L"K100"));
  std::vector<ProfileData> profiles;
  ASSERT_EQ(store_.LoadProfiles(profiles), 1);
  EXPECT_EQ(profiles[0].name, L"kept");
  std::vector<MacroRecordData> events;
  EXPECT_EQ(store_.LoadMacroRecords(1, events), 3);
  std::vector<KeyLightData> set;
  EXPECT_EQ(store_.LoadKeyLights(128, set) % 5000, 10);  // whole batches only
  store_.Close();
  EXPECT_EQ(RawQuery(FileOf(L"K100").replace(0, Utf8FromWide(data_).size(), dir + "/"),
                     "PRAGMA integrity_check"),
            std::vector<std::string>{"ok"});
}

TEST_F(StoreTest, WriteErrorsFromTheFileLayerFailCleanly) {
  FullDiskVfs vfs;  // the default VFS from here on, failing writes on demand
  ASSERT_TRUE(Open());
  FillSome(store_);
  vfs.SetBudget(0);
  EXPECT_EQ(store_.AddProfile(ProfileData{}), 0);
  EXPECT_EQ(store_.AddMacro(L"m"), -SQLITE_FULL);
  EXPECT_EQ(store_.AddMacroRecord(MacroRecordData{}), -SQLITE_FULL);
  EXPECT_EQ(store_.AddMusicLayer(L"m", 1), -SQLITE_FULL);
  EXPECT_EQ(store_.AddKeyLights(std::vector<KeyLightData>(300, KeyLightData{0, 1, 128, 4, 5})), 0);
  EXPECT_EQ(store_.AddMacroRecords(std::vector<MacroRecordData>(50)), 0);
  EXPECT_EQ(store_.SaveKeyAssignment(KeyMacroData{0, 1, 0, 4, 0, L"", 2, 1, 0, 0, L""}), 0);
  EXPECT_FALSE(store_.SetActiveProfile(1));
  EXPECT_GT(vfs.FailedWrites(), 0);
  ExpectFilled(store_);
  // Room again: the connection is not stuck in a failed transaction.
  vfs.SetBudget(-1);
  EXPECT_EQ(store_.AddProfile(ProfileData{}), 2);
  EXPECT_FALSE(store_.Database()->InTransaction());
  store_.Close();
  ASSERT_TRUE(Open());
  std::vector<ProfileData> profiles;
  EXPECT_EQ(store_.LoadProfiles(profiles), 2);
  std::vector<KeyLightData> set;
  EXPECT_EQ(store_.LoadKeyLights(128, set), 10);
  store_.Close();
  EXPECT_EQ(RawQuery(FileOf(L"K100"), "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
}

TEST_F(StoreTest, WriteBudgetRunningOutInsideABatch) {
  FullDiskVfs vfs;
  ASSERT_TRUE(Open());
  FillSome(store_);
  // Enough for a few pages of the journal and file, not for the whole batch.
  for (long long budget : {0LL, 1024LL, 4096LL, 9000LL, 20000LL, 40000LL}) {
    vfs.SetBudget(budget);
    std::vector<KeyLightData> big(3000, KeyLightData{0, 1, 128, 7, 9});
    const int inserted = store_.AddKeyLights(big);
    EXPECT_TRUE(inserted == 0 || inserted == 3000) << budget;
    vfs.SetBudget(-1);
    EXPECT_FALSE(store_.Database()->InTransaction()) << budget;
    std::vector<ProfileData> profiles;
    EXPECT_EQ(store_.LoadProfiles(profiles), 1) << budget;
  }
  store_.Close();
  EXPECT_EQ(RawQuery(FileOf(L"K100"), "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
}
