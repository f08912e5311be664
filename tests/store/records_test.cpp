// The record operations on a real database file.
#include "store_test_util.h"

using namespace store_test;

namespace {

class RecordsTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    ASSERT_TRUE(Open());
  }
  int CountRows(const std::string& table) {
    return std::stoi(RawQuery(store_.Path(), "SELECT count(*) FROM " + table).at(0));
  }
};

KeyMacroData Key(int profile, int layer, int code, int value, int value2 = 0, int type = 2) {
  KeyMacroData k;
  k.key_id = 999;  // ignored by the save
  k.profile = profile;
  k.fn_layer = layer;
  k.key_code = code;
  k.layout_value = code + 1;
  k.layout_desc = L"desc " + std::to_wstring(code);
  k.macro_type = type;
  k.macro_value = value;
  k.macro_value2 = value2;
  k.macro_value3 = 5;
  k.macro_desc = L"Макрос";
  return k;
}

}  // namespace

TEST_F(RecordsTest, ProfilesActiveRowAndVectorReuse) {
  ProfileData p;
  p.name = L"one";
  p.app = L"app.exe";
  p.type = 7;    // stored as 0
  p.status = 1;  // stored as 0
  EXPECT_EQ(store_.AddProfile(p), 1);
  p.name = L"two";
  EXPECT_EQ(store_.AddProfile(p), 2);
  p.name = L"three";
  EXPECT_EQ(store_.AddProfile(p), 3);
  EXPECT_EQ(store_.GetActiveProfile(), 0);

  std::vector<ProfileData> list(5);  // stale entries are replaced
  ASSERT_EQ(store_.LoadProfiles(list), 3);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, L"one");
  EXPECT_EQ(list[0].app, L"app.exe");
  EXPECT_EQ(list[0].type, 0);
  EXPECT_EQ(list[0].status, 0);
  EXPECT_EQ(list[2].profile, 3);

  EXPECT_TRUE(store_.SetActiveProfile(2));
  EXPECT_TRUE(store_.SetActiveProfile(3));
  EXPECT_EQ(store_.GetActiveProfile(), 3);
  EXPECT_EQ(RawQuery(store_.Path(), "SELECT count(*) FROM t_profile_data WHERE status = 1"),
            std::vector<std::string>{"1"});
  // A profile that does not exist: true, and no profile is active afterwards.
  EXPECT_TRUE(store_.SetActiveProfile(42));
  EXPECT_EQ(store_.GetActiveProfile(), 0);

  EXPECT_TRUE(store_.RenameProfile(2, L"Второй"));
  std::wstring name = L"stale";
  EXPECT_TRUE(store_.GetProfileName(2, name));
  EXPECT_EQ(name, L"Второй");
  EXPECT_FALSE(store_.GetProfileName(9, name));
  EXPECT_EQ(name, L"");
  EXPECT_TRUE(store_.DeleteProfile(2));
  EXPECT_EQ(store_.LoadProfiles(list), 2);
}

TEST_F(RecordsTest, SaveKeyAssignmentReplacesOrRemoves) {
  EXPECT_EQ(store_.SaveKeyAssignment(Key(1, 0, 0, 5)), 0);  // key_code 0: nothing
  EXPECT_EQ(CountRows("t_key_macro_data"), 0);

  const int first = store_.SaveKeyAssignment(Key(1, 0, 30, 5));
  EXPECT_GT(first, 0);
  EXPECT_NE(first, 999);
  const int second = store_.SaveKeyAssignment(Key(1, 0, 30, 0, 6));  // only value2 set
  EXPECT_EQ(second, first + 1);  // replaced by a new row with a new id
  EXPECT_EQ(CountRows("t_key_macro_data"), 1);
  store_.SaveKeyAssignment(Key(1, 1, 30, 8));  // other layer
  store_.SaveKeyAssignment(Key(2, 0, 30, 9));  // other profile

  KeyMacroData got;
  ASSERT_TRUE(store_.GetKeyAssignment(1, 0, 30, got));
  EXPECT_EQ(got.key_id, second);
  EXPECT_EQ(got.layout_value, 31);
  EXPECT_EQ(got.layout_desc, L"desc 30");
  EXPECT_EQ(got.macro_type, 2);
  EXPECT_EQ(got.macro_value, 0);
  EXPECT_EQ(got.macro_value2, 6);
  EXPECT_EQ(got.macro_value3, 5);
  EXPECT_EQ(got.macro_desc, L"Макрос");

  // Both values 0: the stored row goes and no new one comes.
  EXPECT_EQ(store_.SaveKeyAssignment(Key(1, 0, 30, 0, 0)), 0);
  KeyMacroData untouched;
  untouched.macro_desc = L"keep";
  EXPECT_FALSE(store_.GetKeyAssignment(1, 0, 30, untouched));
  EXPECT_EQ(untouched.macro_desc, L"keep");
  EXPECT_EQ(CountRows("t_key_macro_data"), 2);

  store_.SaveKeyAssignment(Key(1, 1, 31, 4));
  std::vector<KeyMacroData> keys;
  EXPECT_EQ(store_.LoadLayerAssignments(1, 1, keys), 2);
  EXPECT_EQ(keys[0].key_code, 30);
  EXPECT_EQ(keys[1].key_code, 31);
  EXPECT_EQ(store_.LoadProfileAssignments(2, keys), 1);
  EXPECT_TRUE(store_.DeleteProfileAssignments(1));
  EXPECT_EQ(store_.LoadProfileAssignments(1, keys), 0);
  EXPECT_EQ(CountRows("t_key_macro_data"), 1);
}

TEST_F(RecordsTest, MacroAssignmentsRenameAndDeleteOnlyMacroKeys) {
  store_.SaveKeyAssignment(Key(1, 0, 10, 7, 0, 3));  // macro 7
  store_.SaveKeyAssignment(Key(2, 1, 11, 7, 0, 3));  // macro 7, other profile
  store_.SaveKeyAssignment(Key(1, 0, 12, 7, 0, 2));  // value 7 but not a macro
  EXPECT_TRUE(store_.RenameMacroAssignments(7, L"新名字"));
  const auto descs = RawQuery(store_.Path(),
      "SELECT key_code || ':' || macro_desc FROM t_key_macro_data ORDER BY key_id");
  EXPECT_EQ(descs, (std::vector<std::string>{"10:新名字", "11:新名字", "12:Макрос"}));
  EXPECT_TRUE(store_.DeleteMacroAssignments(7));
  EXPECT_EQ(RawQuery(store_.Path(), "SELECT key_code FROM t_key_macro_data"),
            std::vector<std::string>{"12"});
}

TEST_F(RecordsTest, KeyOtherData) {
  const int id = store_.AddKeyOtherData(L"https://例え.jp", L"/usr/bin/приложение", 9);
  EXPECT_EQ(id, 1);
  std::wstring desc, param;
  int type = 0;
  ASSERT_TRUE(store_.GetKeyOtherData(id, desc, param, type));
  EXPECT_EQ(desc, L"https://例え.jp");
  EXPECT_EQ(param, L"/usr/bin/приложение");
  EXPECT_EQ(type, 9);
  // A missing id: not found, and earlier values do not linger in the outputs.
  EXPECT_FALSE(store_.GetKeyOtherData(id + 1, desc, param, type));
  EXPECT_EQ(desc, L"");
  EXPECT_EQ(param, L"");
  EXPECT_EQ(type, 0);
}

TEST_F(RecordsTest, MacrosAndTheirEvents) {
  const int a = store_.AddMacro(L"Macro A");
  ASSERT_GT(a, 0);
  MacroData m;
  ASSERT_TRUE(store_.GetMacro(a, m));
  EXPECT_EQ(m.play_times, 1);
  EXPECT_EQ(m.delay_type, 1);
  EXPECT_EQ(m.delay_time, 0);
  EXPECT_EQ(m.link_count, 0);
  EXPECT_EQ(m.name, L"Macro A");

  MacroData copy;
  copy.name = L"Macro B";
  copy.play_times = 4;
  copy.delay_type = 3;
  copy.delay_time = 25;
  copy.link_count = 2;
  const int b = store_.AddMacroData(copy);
  EXPECT_EQ(b, a + 1);
  copy.macro_id = b;
  copy.play_times = 9;
  copy.delay_type = 2;
  copy.delay_time = 10;
  copy.link_count = 77;  // not updated
  EXPECT_TRUE(store_.UpdateMacroSettings(copy));
  EXPECT_TRUE(store_.RenameMacro(b, L"Макрос Б"));
  ASSERT_TRUE(store_.GetMacro(b, m));
  EXPECT_EQ(m.play_times, 9);
  EXPECT_EQ(m.delay_type, 2);
  EXPECT_EQ(m.delay_time, 10);
  EXPECT_EQ(m.link_count, 2);
  EXPECT_EQ(m.name, L"Макрос Б");
  int plays = -1;
  EXPECT_TRUE(store_.GetMacroPlayTimes(b, plays));
  EXPECT_EQ(plays, 9);
  EXPECT_FALSE(store_.GetMacroPlayTimes(99, plays));
  std::vector<MacroData> macros;
  EXPECT_EQ(store_.LoadMacros(macros), 2);

  // Events inserted out of order come back ordered by record_index.
  std::vector<MacroRecordData> events;
  for (int index : {3, 0, 2, 1}) {
    MacroRecordData r;
    r.macro_id = a;
    r.type = index == 2 ? 1 : 4;
    r.record_index = index;
    r.value = 65 + index;
    r.delay_time = 10 * index;
    r.desc = L"键 " + std::to_wstring(index);
    events.push_back(r);
  }
  EXPECT_EQ(store_.AddMacroRecords(events), 4);
  MacroRecordData single;
  single.macro_id = b;
  single.type = 1;
  EXPECT_GT(store_.AddMacroRecord(single), 4);
  std::vector<MacroRecordData> back;
  ASSERT_EQ(store_.LoadMacroRecords(a, back), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(back[i].record_index, i);
    EXPECT_EQ(back[i].value, 65 + i);
    EXPECT_EQ(back[i].delay_time, 10 * i);
    EXPECT_EQ(back[i].desc, L"键 " + std::to_wstring(i));
    EXPECT_EQ(back[i].macro_id, a);
  }
  EXPECT_EQ(store_.CountMacroEvents(a), 3);  // the type 1 row does not count
  EXPECT_EQ(store_.CountMacroEvents(b), 0);  // only type 1 rows

  // Deleting a macro takes its events; assignments pointing at it stay.
  store_.SaveKeyAssignment(Key(1, 0, 10, a, 0, 3));
  EXPECT_TRUE(store_.DeleteMacro(a));
  EXPECT_FALSE(store_.GetMacro(a, m));
  EXPECT_EQ(store_.LoadMacroRecords(a, back), 0);
  EXPECT_EQ(CountRows("t_macrorecord"), 1);
  EXPECT_EQ(CountRows("t_key_macro_data"), 1);
  EXPECT_TRUE(store_.DeleteMacroRecords(b));
  EXPECT_EQ(CountRows("t_macrorecord"), 0);
}

TEST_F(RecordsTest, LightingRowsAndActiveModeAcrossProfiles) {
  EXPECT_EQ(store_.CountLights(1), 0);
  for (int profile : {1, 2}) {
    for (int mode : {1, 2, 3}) {
      LightData l;
      l.profile = profile;
      l.name = std::to_wstring(100 + mode);
      l.mode = mode;
      l.brightness = 4;
      l.speed = 2;
      l.color_value = 0x0000FF;
      l.config_func = 0x21;
      l.status = 0;
      EXPECT_GT(store_.AddLight(l), 0);
    }
  }
  EXPECT_EQ(store_.CountLights(1), 3);
  EXPECT_TRUE(store_.SetActiveLight(1, 2));
  EXPECT_TRUE(store_.SetActiveLight(2, 3));  // clears profile 1's active row too
  EXPECT_EQ(store_.GetActiveLightMode(1), 0);
  EXPECT_EQ(store_.GetActiveLightMode(2), 3);

  LightData l;
  ASSERT_TRUE(store_.GetLight(2, 3, l));
  EXPECT_EQ(l.status, 1);
  EXPECT_EQ(l.name, L"103");
  l.brightness = 1;
  l.speed = 5;
  l.direction = 2;
  l.colorful = 1;
  l.colorindex = 7;
  l.color_value = 0x00FF8040;
  l.config_func = 0x7F;
  l.reserved = 3;
  l.status = 0;  // not written by an update
  l.name = L"x";  // neither
  EXPECT_TRUE(store_.UpdateLight(2, 3, l));
  LightData back;
  ASSERT_TRUE(store_.GetLight(2, 3, back));
  EXPECT_EQ(back.brightness, 1);
  EXPECT_EQ(back.speed, 5);
  EXPECT_EQ(back.direction, 2);
  EXPECT_EQ(back.colorful, 1);
  EXPECT_EQ(back.colorindex, 7);
  EXPECT_EQ(back.color_value, 0x00FF8040);
  EXPECT_EQ(back.config_func, 0x7F);
  EXPECT_EQ(back.reserved, 3);
  EXPECT_EQ(back.status, 1);
  EXPECT_EQ(back.name, L"103");
  EXPECT_FALSE(store_.GetLight(3, 1, back));
  std::vector<LightData> lights;
  ASSERT_EQ(store_.LoadLights(2, lights), 3);
  EXPECT_EQ(lights[0].mode, 1);
  EXPECT_EQ(lights[2].mode, 3);
}

TEST_F(RecordsTest, PerKeyColours) {
  std::vector<KeyLightData> set;
  for (int code : {26, 4, 22, 7}) {
    KeyLightData k;
    k.profile = code == 7 ? 2 : 1;
    k.light_id = 128;
    k.key_code = code;
    k.key_rgb = 0xFFFFFF;
    set.push_back(k);
  }
  KeyLightData other;
  other.light_id = 5;
  other.key_code = 1;
  set.push_back(other);
  EXPECT_EQ(store_.AddKeyLights(set), 5);
  std::vector<KeyLightData> back;
  ASSERT_EQ(store_.LoadKeyLights(128, back), 4);
  EXPECT_EQ(back[0].key_code, 26);
  EXPECT_EQ(back[3].key_code, 7);
  EXPECT_EQ(back[3].profile, 2);
  EXPECT_EQ(back[0].key_rgb, 0xFFFFFF);
  EXPECT_EQ(back[1].keylight_id, back[0].keylight_id + 1);
  EXPECT_TRUE(store_.DeleteKeyLights());  // light_id 128 of every profile
  EXPECT_EQ(store_.LoadKeyLights(128, back), 0);
  EXPECT_EQ(store_.LoadKeyLights(5, back), 1);
  EXPECT_EQ(store_.AddKeyLights({}), 0);
}

TEST_F(RecordsTest, MusicLayer) {
  EXPECT_EQ(store_.CountMusicLayers(), 0);
  EXPECT_EQ(store_.GetSelectedMusicLayer(), 0);
  EXPECT_EQ(store_.AddMusicLayer(L"Музыка", 17), 1);
  EXPECT_EQ(store_.CountMusicLayers(), 1);
  MusicLayerData layer;
  ASSERT_TRUE(store_.GetMusicLayer(1, layer));
  EXPECT_EQ(layer.profile, 1);
  EXPECT_EQ(layer.name, L"Музыка");
  EXPECT_EQ(layer.deviceindex, 0);
  EXPECT_EQ(layer.foremode, 17);
  EXPECT_EQ(layer.fore_amplitude, 300);
  EXPECT_EQ(layer.backmode, 0);
  EXPECT_EQ(layer.backb_right, 100);
  EXPECT_EQ(RawQuery(store_.Path(), "SELECT sel FROM t_musiclayer_data"),
            std::vector<std::string>{"0"});
  EXPECT_TRUE(store_.SelectMusicLayer());
  EXPECT_EQ(store_.GetSelectedMusicLayer(), 1);
  layer.layer_id = 7;  // the update always goes to layer 1
  layer.deviceindex = 2;
  layer.foremode = 3;
  layer.fore_amplitude = 250;
  layer.backmode = 4;
  layer.backb_right = 60;
  EXPECT_TRUE(store_.UpdateMusicLayer(layer));
  MusicLayerData back;
  ASSERT_TRUE(store_.GetMusicLayer(1, back));
  EXPECT_EQ(back.deviceindex, 2);
  EXPECT_EQ(back.foremode, 3);
  EXPECT_EQ(back.fore_amplitude, 250);
  EXPECT_EQ(back.backmode, 4);
  EXPECT_EQ(back.backb_right, 60);
  EXPECT_FALSE(store_.GetMusicLayer(2, back));
}

TEST_F(RecordsTest, QuotesAndSqlInNamesAreData) {
  const std::wstring evil = L"x'); DROP TABLE t_profile_data; --\"";
  ProfileData p;
  p.name = evil;
  const int id = store_.AddProfile(p);
  ASSERT_GT(id, 0);
  EXPECT_TRUE(store_.RenameProfile(id, evil + L"2"));
  std::wstring back;
  ASSERT_TRUE(store_.GetProfileName(id, back));
  EXPECT_EQ(back, evil + L"2");
  EXPECT_TRUE(store_.SetConfig(evil, evil));
  EXPECT_GT(store_.AddMacro(evil), 0);
  EXPECT_EQ(CountRows("t_profile_data"), 1);
}
