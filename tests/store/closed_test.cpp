// With no open database every query is empty and every write fails, without a crash.
#include <functional>

#include "store_test_util.h"

using namespace store_test;

TEST_F(StoreTest, ClosedStoreGivesEmptyResultsAndFailures) {
  // Once never opened, once opened and closed again.
  for (int round = 0; round < 2; ++round) {
    if (round == 1) {
      ASSERT_TRUE(Open());
      store_.InsertDefaultConfig();
      store_.Close();
    }
    ASSERT_FALSE(store_.IsOpen());
    std::wstring text = L"stale";
    int value = 0;
    std::vector<ProfileData> profiles(2);
    std::vector<KeyMacroData> keys(2);
    std::vector<MacroData> macros(2);
    std::vector<MacroRecordData> records(2);
    std::vector<LightData> lights(2);
    std::vector<KeyLightData> keylights(2);
    ProfileData profile;
    KeyMacroData key;
    key.key_code = 4;
    key.macro_value = 1;
    MacroData macro;
    LightData light;
    MusicLayerData layer;
    const std::vector<std::pair<const char*, std::function<bool()>>> failures = {
        {"GetConfig", [&] { return !store_.GetConfig(L"version", text) && text.empty(); }},
        {"SetConfig", [&] { return !store_.SetConfig(L"version", L"1"); }},
        {"AddProfile", [&] { return store_.AddProfile(profile) == 0; }},
        {"DeleteProfile", [&] { return !store_.DeleteProfile(1); }},
        {"RenameProfile", [&] { return !store_.RenameProfile(1, L"n"); }},
        {"GetProfileName", [&] { return !store_.GetProfileName(1, text); }},
        {"LoadProfiles", [&] { return store_.LoadProfiles(profiles) == 0 && profiles.empty(); }},
        {"SetActiveProfile", [&] { return !store_.SetActiveProfile(1); }},
        {"GetActiveProfile", [&] { return store_.GetActiveProfile() == 0; }},
        {"SaveKeyAssignment", [&] { return store_.SaveKeyAssignment(key) == 0; }},
        {"GetKeyAssignment", [&] { return !store_.GetKeyAssignment(1, 0, 4, key); }},
        {"LoadLayerAssignments", [&] { return store_.LoadLayerAssignments(1, 0, keys) == 0; }},
        {"LoadProfileAssignments", [&] { return store_.LoadProfileAssignments(1, keys) == 0; }},
        {"RenameMacroAssignments", [&] { return !store_.RenameMacroAssignments(1, L"d"); }},
        {"DeleteMacroAssignments", [&] { return !store_.DeleteMacroAssignments(1); }},
        {"DeleteProfileAssignments", [&] { return !store_.DeleteProfileAssignments(1); }},
        {"AddKeyOtherData", [&] { return store_.AddKeyOtherData(L"a", L"b", 1) == 0; }},
        {"GetKeyOtherData", [&] { return !store_.GetKeyOtherData(1, text, text, value); }},
        {"AddMacro", [&] { return store_.AddMacro(L"m") == -21; }},
        {"AddMacroData", [&] { return store_.AddMacroData(macro) == -21; }},
        {"RenameMacro", [&] { return !store_.RenameMacro(1, L"m"); }},
        {"UpdateMacroSettings", [&] { return !store_.UpdateMacroSettings(macro); }},
        {"DeleteMacro", [&] { return !store_.DeleteMacro(1); }},
        {"GetMacroPlayTimes", [&] { return !store_.GetMacroPlayTimes(1, value); }},
        {"GetMacro", [&] { return !store_.GetMacro(1, macro); }},
        {"LoadMacros", [&] { return store_.LoadMacros(macros) == 0 && macros.empty(); }},
        {"AddMacroRecord", [&] { return store_.AddMacroRecord(MacroRecordData{}) == -21; }},
        {"AddMacroRecords", [&] { return store_.AddMacroRecords(std::vector<MacroRecordData>(3)) == 0; }},
        {"LoadMacroRecords", [&] { return store_.LoadMacroRecords(1, records) == 0; }},
        {"DeleteMacroRecords", [&] { return !store_.DeleteMacroRecords(1); }},
        {"CountMacroEvents", [&] { return store_.CountMacroEvents(1) == 0; }},
        {"CountLights", [&] { return store_.CountLights(1) == 0; }},
        {"AddLight", [&] { return store_.AddLight(light) == 0; }},
        {"UpdateLight", [&] { return !store_.UpdateLight(1, 1, light); }},
        {"SetActiveLight", [&] { return !store_.SetActiveLight(1, 1); }},
        {"GetActiveLightMode", [&] { return store_.GetActiveLightMode(1) == 0; }},
        {"GetLight", [&] { return !store_.GetLight(1, 1, light); }},
        {"LoadLights", [&] { return store_.LoadLights(1, lights) == 0 && lights.empty(); }},
        {"AddKeyLights", [&] { return store_.AddKeyLights(std::vector<KeyLightData>(3)) == 0; }},
        {"DeleteKeyLights", [&] { return !store_.DeleteKeyLights(); }},
        {"LoadKeyLights", [&] { return store_.LoadKeyLights(128, keylights) == 0; }},
        {"CountMusicLayers", [&] { return store_.CountMusicLayers() == 0; }},
        {"AddMusicLayer", [&] { return store_.AddMusicLayer(L"m", 1) == -21; }},
        {"GetMusicLayer", [&] { return !store_.GetMusicLayer(1, layer); }},
        {"UpdateMusicLayer", [&] { return !store_.UpdateMusicLayer(layer); }},
        {"SelectMusicLayer", [&] { return !store_.SelectMusicLayer(); }},
        {"GetSelectedMusicLayer", [&] { return store_.GetSelectedMusicLayer() == 0; }},
    };
    for (const auto& [name, check] : failures) EXPECT_TRUE(check()) << name << " round " << round;
    store_.InsertDefaultConfig();  // nothing to write to, no crash
  }
}
