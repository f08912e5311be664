#pragma once
// The process-wide store: one SQLite connection to the selected
// keyboard model's database file "db/<model>_data_v1.db" under the data folder, with
// one lock around every table operation.
//
// Conventions: "ok" results are true when the last step returned 0, 100 or
// 101. Inserts return the new id; on failure 0, or for AddMacro, AddMacroData,
// AddMacroRecord and AddMusicLayer the negated SQLite code (never a positive value, so
// it cannot be taken for an id). List operations replace the vector's contents and
// return the number of rows; rows come in ascending id unless an order is stated.
// With the database closed every query is empty and every write fails.
#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "store/records.h"
#include "store/sqlite_db.h"

class DataStore {
 public:
  // The store of the process, built on first use (thread-safe) and destroyed at exit.
  static DataStore& Instance();

  // Separate stores exist only for tests and tools; the program uses Instance().
  DataStore();
  ~DataStore();
  DataStore(const DataStore&) = delete;
  DataStore& operator=(const DataStore&) = delete;

  // ---- the database file ----

  // Path of a model's file: data folder + "db/" + model + "_data_v1.db".
  static std::wstring DatabasePath(const std::wstring& data_folder, const std::wstring& model);
  // Opens the model's file, or creates it with the schema when it does not exist. The
  // `db` folder must exist. Stores and returns the result in the open flag. Refuses model
  // names that are empty or contain a path separator.
  bool OpenForModel(const std::wstring& data_folder, const std::wstring& model_name);
  // The same under GetDataFolder().
  bool OpenForModel(const std::wstring& model_name);
  // Creates the file at the stored path and runs the 17 schema statements; true only
  // when every statement succeeded. True at once when the file is already open.
  bool CreateDatabase();
  // Writes the fourteen t_configdata rows of a fresh database.
  void InsertDefaultConfig();
  // Closes the connection and clears the open flag.
  void Close();
  // Deletes the model's file (and a leftover journal). Closes the connection first when it
  // is that file. True when the file is gone afterwards.
  bool DeleteDatabaseFile(const std::wstring& data_folder, const std::wstring& model_name);
  // Reset to factory state: close, delete the file, open it again (a fresh, empty file).
  bool ResetDatabase(const std::wstring& data_folder, const std::wstring& model_name);

  bool IsOpen() const;               // the open flag
  std::string Path() const;          // UTF-8 path of the current model's file
  void SetModelId(int32_t id);
  int32_t ModelId() const;
  // The connection, for wrappers and tests (e.g. an SQLiteAutoTransaction).
  SQLiteDB* Database() { return &db_; }

  // ---- configuration (t_configdata, profile 1) ----
  bool GetConfig(const std::wstring& key, std::wstring& value);
  bool SetConfig(const std::wstring& key, const std::wstring& value);

  // ---- profiles (t_profile_data) ----
  int32_t AddProfile(const ProfileData& profile);
  bool DeleteProfile(int32_t profile);
  bool RenameProfile(int32_t profile, const std::wstring& name);
  bool GetProfileName(int32_t profile, std::wstring& name);
  int32_t LoadProfiles(std::vector<ProfileData>& out);
  bool SetActiveProfile(int32_t profile);
  int32_t GetActiveProfile();

  // ---- key assignments (t_key_macro_data, t_key_otherdata) ----
  // Deletes the key's row; inserts the record when macro_value or macro_value2 is
  // non-zero and returns its new id; 0 when nothing was inserted.
  int32_t SaveKeyAssignment(const KeyMacroData& record);
  bool GetKeyAssignment(int32_t profile, int32_t fn_layer, int32_t key_code, KeyMacroData& out);
  int32_t LoadLayerAssignments(int32_t profile, int32_t fn_layer, std::vector<KeyMacroData>& out);
  int32_t LoadProfileAssignments(int32_t profile, std::vector<KeyMacroData>& out);
  bool RenameMacroAssignments(int32_t macro_id, const std::wstring& description);
  // These two do not take the store's lock; they rely on the connection's
  // serialised mode.
  bool DeleteMacroAssignments(int32_t macro_id);
  bool DeleteProfileAssignments(int32_t profile);
  int32_t AddKeyOtherData(const std::wstring& description, const std::wstring& parameter,
                          int32_t type);
  // Clears the outputs, fills them when the row exists; true only when it exists.
  bool GetKeyOtherData(int32_t id, std::wstring& description, std::wstring& parameter,
                       int32_t& type);

  // ---- macros (t_macro_data, t_macrorecord) ----
  int32_t AddMacro(const std::wstring& name);
  int32_t AddMacroData(const MacroData& macro);
  bool RenameMacro(int32_t macro_id, const std::wstring& name);
  bool UpdateMacroSettings(const MacroData& macro);
  bool DeleteMacro(int32_t macro_id);
  bool GetMacroPlayTimes(int32_t macro_id, int32_t& count);
  bool GetMacro(int32_t macro_id, MacroData& out);
  int32_t LoadMacros(std::vector<MacroData>& out);
  int32_t AddMacroRecord(const MacroRecordData& record);
  // One transaction; returns the number of rows inserted.
  int32_t AddMacroRecords(const std::vector<MacroRecordData>& records);
  int32_t LoadMacroRecords(int32_t macro_id, std::vector<MacroRecordData>& out);
  bool DeleteMacroRecords(int32_t macro_id);
  int32_t CountMacroEvents(int32_t macro_id);

  // ---- lighting (t_light_data, t_key_light_data) ----
  int32_t CountLights(int32_t profile);
  int32_t AddLight(const LightData& light);
  bool UpdateLight(int32_t profile, int32_t mode, const LightData& light);
  bool SetActiveLight(int32_t profile, int32_t mode);
  int32_t GetActiveLightMode(int32_t profile);
  bool GetLight(int32_t profile, int32_t mode, LightData& out);
  int32_t LoadLights(int32_t profile, std::vector<LightData>& out);
  // One transaction; returns the number of rows inserted (the list's size on success).
  int32_t AddKeyLights(const std::vector<KeyLightData>& lights);
  bool DeleteKeyLights();  // light_id 128, every profile
  int32_t LoadKeyLights(int32_t light_id, std::vector<KeyLightData>& out);

  // ---- music layer (t_musiclayer_data; profile 1, layer 1) ----
  int32_t CountMusicLayers();
  int32_t AddMusicLayer(const std::wstring& name, int32_t foremode);
  bool GetMusicLayer(int32_t layer_id, MusicLayerData& out);
  bool UpdateMusicLayer(const MusicLayerData& layer);
  bool SelectMusicLayer();
  int32_t GetSelectedMusicLayer();

 private:
  bool OpenExistingLocked();
  bool CreateDatabaseLocked();
  void CloseLocked();
  bool ExecOk(const char* sql, std::initializer_list<int32_t> ints);

  SQLiteDB db_;
  // Held by every table operation, across prepare, bind, step and read-out.
  mutable std::mutex lock_;
  // Guards the connection's life: opening and closing take it exclusively, the two
  // lock-free operations share it, so they can never run on a closing connection.
  mutable std::shared_mutex connection_;
  std::string path_;        // UTF-8 path of the model's file
  std::string open_path_;   // the file the connection has open
  std::string key_;         // always empty: no encryption
  int32_t model_id_ = 0;
  bool open_ = false;
};
