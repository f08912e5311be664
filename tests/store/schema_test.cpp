// the file, its schema, fresh rows, models kept apart, reset.
#include <sys/stat.h>

#include <fstream>

#include <thread>

#include "platform/folders.h"
#include "store/schema.h"
#include "store/sqlite_statement.h"
#include "store_test_util.h"

using namespace store_test;

namespace {

const char* kExpectedSchema =
    "CREATE TABLE t_configdata(config_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, "
    "key TEXT, value TEXT);\n"
    "CREATE TABLE sqlite_sequence(name,seq);\n"
    "CREATE TABLE t_profile_data(profile INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, status "
    "INTEGER, app TEXT, type INTEGER);\n"
    "CREATE INDEX profileindex ON t_profile_data(profile);\n"
    "CREATE TABLE t_key_macro_data(key_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, "
    "fn_layer INTEGER, key_code INTEGER, layout_value INTEGER, layout_desc TEXT, macro_type "
    "INTEGER, macro_value INTEGER, macro_value2 INTEGER, macro_value3 INTEGER, macro_desc "
    "TEXT);\n"
    "CREATE INDEX keyindex ON t_key_macro_data(key_id);\n"
    "CREATE TABLE t_key_otherdata(macro_value INTEGER PRIMARY KEY AUTOINCREMENT, macro_desc "
    "TEXT, param TEXT, type INTEGER);\n"
    "CREATE INDEX otheridindex ON t_key_otherdata(macro_value);\n"
    "CREATE TABLE t_macro_data(macro_id INTEGER PRIMARY KEY AUTOINCREMENT, play_times INTEGER, "
    "delay_type INTEGER, delay_time INTEGER, link_count INTEGER, name TEXT);\n"
    "CREATE INDEX macroidindex ON t_macro_data(macro_id);\n"
    "CREATE TABLE t_macrorecord(record_id INTEGER PRIMARY KEY AUTOINCREMENT, macro_id INTEGER, "
    "type INTEGER, record_index INTEGER, desc TEXT, value INTEGER, delay_time INTEGER);\n"
    "CREATE INDEX macrorecordindex ON t_macrorecord(record_id);\n"
    "CREATE TABLE t_light_data(light_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, "
    "name TEXT, mode INTEGER, brightness INTEGER, speed INTEGER, direction INTEGER, colorful "
    "INTEGER, colorindex INTEGER, color_value INTEGER, config_func INTEGER, reserved INTEGER, "
    "status INTEGER);\n"
    "CREATE INDEX lightindex ON t_light_data(light_id);\n"
    "CREATE TABLE t_key_light_data(keylight_id INTEGER PRIMARY KEY AUTOINCREMENT, profile "
    "INTEGER, light_id INTEGER, key_code INTEGER, key_rgb INTEGER);\n"
    "CREATE INDEX keylightindex ON t_key_light_data(keylight_id);\n"
    "CREATE TABLE t_musiclayer_data(layer_id INTEGER PRIMARY KEY AUTOINCREMENT, profile "
    "INTEGER, name TEXT, deviceindex INTEGER, foremode INTEGER, fore_amplitude INTEGER, "
    "backmode INTEGER, backb_right INTEGER, sel INTEGER);\n"
    "CREATE INDEX musiclayerindex ON t_musiclayer_data(layer_id);\n";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST_F(StoreTest, FileLiesInDbFolderNamedAfterModel) {
  ASSERT_TRUE(Open(L"K100"));
  EXPECT_TRUE(store_.IsOpen());
  EXPECT_EQ(store_.Path(), Utf8FromWide(data_) + "db/K100_data_v1.db");
  EXPECT_TRUE(std::filesystem::is_regular_file(store_.Path()));
}

TEST_F(StoreTest, UsesGetDataFolderFromXdgDataHome) {
  setenv("XDG_DATA_HOME", root_.c_str(), 1);
  const std::wstring folder = GetDataFolder();
  std::filesystem::create_directories(Utf8FromWide(folder) + "db");
  ASSERT_TRUE(store_.OpenForModel(L"K200"));
  EXPECT_EQ(store_.Path().rfind(root_ + "/", 0), 0u);
  EXPECT_TRUE(std::filesystem::exists(Utf8FromWide(folder) + "db/K200_data_v1.db"));
}

TEST_F(StoreTest, NewFileHasAllTablesAndIndexesAndNoRows) {
  ASSERT_TRUE(Open());
  const auto tables = RawQuery(store_.Path(),
      "SELECT name FROM sqlite_master WHERE type='table' AND name LIKE 't_%' ORDER BY name");
  EXPECT_EQ(tables, (std::vector<std::string>{"t_configdata", "t_key_light_data",
      "t_key_macro_data", "t_key_otherdata", "t_light_data", "t_macro_data",
      "t_macrorecord", "t_musiclayer_data", "t_profile_data"}));
  const auto indexes = RawQuery(store_.Path(),
      "SELECT name || ':' || tbl_name FROM sqlite_master WHERE type='index' ORDER BY name");
  EXPECT_EQ(indexes, (std::vector<std::string>{"keyindex:t_key_macro_data",
      "keylightindex:t_key_light_data", "lightindex:t_light_data",
      "macroidindex:t_macro_data", "macrorecordindex:t_macrorecord",
      "musiclayerindex:t_musiclayer_data", "otheridindex:t_key_otherdata",
      "profileindex:t_profile_data"}));
  EXPECT_EQ(RawQuery(store_.Path(), "SELECT count(*) FROM t_configdata"),
            std::vector<std::string>{"0"});
  EXPECT_EQ(store_schema::Statements().size(), 17u);
  for (const char* sql : store_schema::Statements()) {
    EXPECT_NE(std::string(sql).find(" IF NOT EXISTS "), std::string::npos) << sql;
  }
}

TEST_F(StoreTest, SecondOpenCreatesNothing) {
  ASSERT_TRUE(Open());
  store_.Close();
  EXPECT_FALSE(store_.IsOpen());
  const std::string before = ReadFile(FileOf(L"K100"));
  const auto version = RawQuery(FileOf(L"K100"), "PRAGMA schema_version");
  ASSERT_TRUE(Open());
  store_.Close();
  EXPECT_EQ(RawQuery(FileOf(L"K100"), "PRAGMA schema_version"), version);
  EXPECT_EQ(ReadFile(FileOf(L"K100")), before);  // not a byte changed
}

TEST_F(StoreTest, SqliteShellShowsExactSchema) {
  ASSERT_TRUE(Open());
  store_.Close();
  const std::string shown = Shell("sqlite3 '" + FileOf(L"K100") + "' .schema 2>&1");
  EXPECT_EQ(shown, kExpectedSchema);
}

TEST_F(StoreTest, PragmaSynchronousIsOff) {
  ASSERT_TRUE(Open());
  SQLiteStatement st;
  ASSERT_EQ(store_.Database()->Prepare(st, "PRAGMA synchronous"), SQLITE_OK);
  ASSERT_EQ(st.Step(), SQLITE_ROW);
  EXPECT_EQ(st.GetInt(0), 0);
}

TEST_F(StoreTest, DefaultConfigRowsInOrder) {
  ASSERT_TRUE(Open());
  store_.InsertDefaultConfig();
  const auto rows = RawQuery(store_.Path(),
      "SELECT config_id, profile, key, value FROM t_configdata ORDER BY config_id");
  EXPECT_EQ(rows, (std::vector<std::string>{
      "1|1|version|1.0.1", "2|1|keyboard_layout|1", "3|1|fn_layer|0", "4|1|fn_switch|0",
      "5|1|lightmode|1", "6|1|sleep_light|1", "7|1|sleeptime|1", "8|1|key_responsetime|1",
      "9|1|userlight|0", "10|1|customlight_run|0", "11|1|gamemode|0",
      "12|1|disable_alttab|0", "13|1|disable_altf4|0", "14|1|disable_win|0"}));
  std::wstring value = L"junk";
  EXPECT_TRUE(store_.GetConfig(L"sleeptime", value));
  EXPECT_EQ(value, L"1");
  EXPECT_TRUE(store_.SetConfig(L"sleeptime", L"3"));
  EXPECT_TRUE(store_.GetConfig(L"sleeptime", value));
  EXPECT_EQ(value, L"3");
  // A key without a row: true, nothing stored.
  EXPECT_TRUE(store_.SetConfig(L"no_such_key", L"9"));
  EXPECT_FALSE(store_.GetConfig(L"no_such_key", value));
  EXPECT_EQ(value, L"");
  EXPECT_EQ(RawQuery(store_.Path(), "SELECT count(*) FROM t_configdata"),
            std::vector<std::string>{"14"});
}

TEST_F(StoreTest, TwoModelsNeverSeeEachOthersRows) {
  ASSERT_TRUE(Open(L"Alpha"));
  ProfileData p;
  p.name = L"alpha profile";
  ASSERT_EQ(store_.AddProfile(p), 1);
  ASSERT_GT(store_.AddMacro(L"alpha macro"), 0);
  store_.Close();
  ASSERT_TRUE(Open(L"Beta"));
  std::vector<ProfileData> profiles;
  EXPECT_EQ(store_.LoadProfiles(profiles), 0);
  std::vector<MacroData> macros;
  EXPECT_EQ(store_.LoadMacros(macros), 0);
  p.name = L"beta profile";
  ASSERT_EQ(store_.AddProfile(p), 1);
  // Switching without closing first still switches files.
  ASSERT_TRUE(Open(L"Alpha"));
  ASSERT_EQ(store_.LoadProfiles(profiles), 1);
  EXPECT_EQ(profiles[0].name, L"alpha profile");
  ASSERT_TRUE(Open(L"Beta"));
  ASSERT_EQ(store_.LoadProfiles(profiles), 1);
  EXPECT_EQ(profiles[0].name, L"beta profile");
  EXPECT_NE(FileOf(L"Alpha"), FileOf(L"Beta"));
}

TEST_F(StoreTest, ModelNamesThatAreNotFileNamesAreRefused) {
  EXPECT_FALSE(Open(L"../escape"));
  EXPECT_FALSE(Open(L""));
  EXPECT_FALSE(store_.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(Utf8FromWide(data_) + "escape_data_v1.db"));
}

TEST_F(StoreTest, AutoincrementNeverReusesAnId) {
  ASSERT_TRUE(Open());
  ProfileData p;
  p.name = L"a";
  EXPECT_EQ(store_.AddProfile(p), 1);
  EXPECT_EQ(store_.AddProfile(p), 2);
  EXPECT_TRUE(store_.DeleteProfile(2));
  EXPECT_EQ(store_.AddProfile(p), 3);
  EXPECT_TRUE(store_.DeleteProfile(3));
  EXPECT_TRUE(store_.DeleteProfile(1));
  store_.Close();
  ASSERT_TRUE(Open());
  EXPECT_EQ(store_.AddProfile(p), 4);
  const int m = store_.AddMacro(L"m");
  EXPECT_TRUE(store_.DeleteMacro(m));
  EXPECT_EQ(store_.AddMacro(L"m"), m + 1);
}

TEST_F(StoreTest, CyrillicAndCjkTextSurvives) {
  ASSERT_TRUE(Open(L"Клавиатура键盘"));
  const std::wstring names[] = {L"Профиль для игр", L"游戏配置文件", L"ゲーム用プロファイル",
                                L"mixed Ж 中 \U0001F3AE"};
  for (const auto& name : names) {
    ProfileData p;
    p.name = name;
    p.app = name + L".exe";
    const int id = store_.AddProfile(p);
    ASSERT_GT(id, 0);
    std::wstring back;
    ASSERT_TRUE(store_.GetProfileName(id, back));
    EXPECT_EQ(back, name);
  }
  std::vector<ProfileData> all;
  ASSERT_EQ(store_.LoadProfiles(all), 4);
  EXPECT_EQ(all[1].app, L"游戏配置文件.exe");
  // Stored as UTF-8 in the file.
  EXPECT_EQ(RawQuery(store_.Path(), "SELECT name FROM t_profile_data WHERE profile = 1"),
            std::vector<std::string>{"Профиль для игр"});
  EXPECT_TRUE(std::filesystem::exists(FileOf(L"Клавиатура键盘")));
}

TEST_F(StoreTest, ResetClosesDeletesAndReopensEmpty) {
  ASSERT_TRUE(Open());
  store_.InsertDefaultConfig();
  ProfileData p;
  p.name = L"x";
  ASSERT_EQ(store_.AddProfile(p), 1);
  ASSERT_TRUE(store_.ResetDatabase(data_, L"K100"));
  EXPECT_TRUE(store_.IsOpen());
  std::vector<ProfileData> profiles;
  EXPECT_EQ(store_.LoadProfiles(profiles), 0);
  std::wstring v;
  EXPECT_FALSE(store_.GetConfig(L"version", v));
  EXPECT_EQ(store_.AddProfile(p), 1);  // a new file starts its ids again
}

TEST_F(StoreTest, DeleteDatabaseFileClosesAnOpenConnectionToIt) {
  ASSERT_TRUE(Open());
  EXPECT_TRUE(store_.DeleteDatabaseFile(data_, L"K100"));
  EXPECT_FALSE(std::filesystem::exists(FileOf(L"K100")));
  EXPECT_FALSE(store_.IsOpen());
  ProfileData p;
  EXPECT_EQ(store_.AddProfile(p), 0);
  // Deleting a file that is not there is harmless.
  EXPECT_TRUE(store_.DeleteDatabaseFile(data_, L"Nothing"));
}

TEST_F(StoreTest, MissingDbFolderFailsCleanly) {
  std::filesystem::remove_all(Utf8FromWide(data_) + "db");
  EXPECT_FALSE(Open());
  EXPECT_FALSE(store_.IsOpen());
}

TEST(DataStoreInstance, OneStorePerProcess) {
  DataStore* a = &DataStore::Instance();
  DataStore* b = nullptr;
  std::thread t([&] { b = &DataStore::Instance(); });
  t.join();
  EXPECT_EQ(a, b);
  EXPECT_FALSE(a->IsOpen());
}
