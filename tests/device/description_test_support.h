#pragma once
// Shared helpers of the description loader tests: a temporary program folder and
// an observer that records every call.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "device/description_loader.h"

class TempProgramFolder {
 public:
  TempProgramFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vantor-desc-XXXXXX").string();
    path_ = mkdtemp(tmpl.data()) ? tmpl : std::string();
    std::filesystem::create_directories(path_ / "layouts");
  }
  ~TempProgramFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::wstring Path() const { return path_.wstring(); }
  void Write(const std::string& relative, const std::string& text) const {
    std::ofstream(path_ / relative, std::ios::binary) << text;
  }

 private:
  std::filesystem::path path_;
};

struct PictureCall {
  int page;
  KeyRect rect;
  std::wstring image;
  int width, height;
};

// Records what the loader reports; `calls` keeps the order as short tags.
class RecordingObserver : public ModelLoadObserver {
 public:
  std::vector<std::wstring> calls;
  std::vector<std::pair<std::wstring, int>> devices;
  std::vector<DeviceModeEntry> filters;
  std::wstring version, copyright;
  std::vector<std::wstring> databases;
  std::vector<std::pair<int, bool>> tabs;
  std::vector<bool> firmwareButton;
  std::pair<int, int> sliderMaxima{-1, -1};
  std::vector<LightModeRecord> lightRecords;
  std::vector<int> clearedPictures;
  std::vector<PictureCall> pictures;
  std::vector<std::pair<int, int>> pictureKeys;  // page, code
  int profile = 1;

  void AddDevice(const std::wstring& name, int device_type) override {
    calls.push_back(L"device");
    devices.emplace_back(name, device_type);
  }
  void AddInterfaceFilter(const DeviceModeEntry& entry) override {
    calls.push_back(L"filter");
    filters.push_back(entry);
  }
  void ShowSoftwareVersion(const std::wstring& v) override {
    calls.push_back(L"version");
    version = v;
  }
  void ShowCopyright(const std::wstring& info) override {
    calls.push_back(L"copyright");
    copyright = info;
  }
  void RegisterDeviceNotifications() override { calls.push_back(L"notifications"); }
  void OpenModelDatabase(const std::wstring& name) override {
    calls.push_back(L"database");
    databases.push_back(name);
  }
  void SetTabVisible(int tab, bool visible) override { tabs.emplace_back(tab, visible); }
  void SetFirmwareButtonVisible(bool visible) override { firmwareButton.push_back(visible); }
  void SetLightSliderMaxima(int b, int s) override { sliderMaxima = {b, s}; }
  int CurrentProfile() const override { return profile; }
  void LightModeAdded(const LightModeDescriptor&, const LightModeRecord& record) override {
    lightRecords.push_back(record);
  }
  void ClearKeyboardPicture(int page) override { clearedPictures.push_back(page); }
  void SetKeyboardPicture(int page, const KeyRect& rect, const std::wstring& image, int w, int h) override {
    pictures.push_back({page, rect, image, w, h});
  }
  void AddPictureKey(int page, const LayoutKey& key) override { pictureKeys.emplace_back(page, key.code); }
};
