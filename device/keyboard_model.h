#pragma once
// The description of the selected keyboard model, read from config.xml and the
// model's layout file by DescriptionLoader. Every device-facing part of the program
// consults it: protocol family by device_type, key and light positions by key code,
// lighting modes and limits, picture geometry.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "device/device_mode_entry.h"
#include "device/light_mode_descriptor.h"

constexpr int kKeyMatrixRows = 8;
constexpr int kKeyMatrixCols = 32;
constexpr uint8_t kNoKey = 0xFF;

// Page bits of pageFlags.
constexpr int kPageKeys = 0x01;
constexpr int kPageMacros = 0x02;
constexpr int kPageLighting = 0x04;
constexpr int kPageSettings = 0x40;
constexpr int kDefaultPageFlags = 0x7F;

constexpr int kDefaultMaxMacroEvents = 80;
constexpr int kFramedMaxMacroEvents = 60;  // device_type 300-399

// Rectangle as left, top, right, bottom.
struct KeyRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const KeyRect&) const = default;
};

// One `key` of the layout file.
struct LayoutKey {
  int code = 0;  // layout key code (a HID usage in the shipped layouts)
  std::wstring name;
  std::wstring desc;
  int keyIndex = 0;
  int lightIndex = 0;
  std::wstring icon;  // accepted, not used
  bool fnLayerDisabled = false;
  int row = -1;  // -1 when row_col does not place the key in the matrix
  int col = -1;
  KeyRect rect;
};

struct KeyboardModel {
  // From config.xml.
  std::vector<DeviceModeEntry> deviceModes;
  std::vector<DeviceModeEntry> keyboards;
  std::wstring softwareName;
  std::wstring softwareVersion;
  std::wstring websiteUrl;
  std::wstring storeUrl;
  std::wstring upgradeUrl;
  std::wstring copyrightInfo;

  // The selected model.
  int device_type = 0;
  std::wstring modelName;
  std::wstring layoutName;

  // From the layout file.
  int pageFlags = kDefaultPageFlags;
  bool sleepTimeAvailable = false;
  std::wstring firmwareVersion;
  std::wstring firmwareFile;
  std::wstring firmwareUrl;
  std::wstring dongleUrl;
  bool rgbKeyboard = false;
  int defaultLightMode = 0;
  int defaultBrightness = 0;
  int defaultSpeed = 0;
  int brightnessMax = 0;
  int speedMax = 0;
  std::vector<LightModeDescriptor> lightModes;
  std::vector<LightModeRecord> lightRecords;  // one per lightModes entry

  // Keyboard picture: placement in the page, image file, drawn size.
  KeyRect pictureRect;
  std::wstring pictureImage;
  int pictureWidth = 0;
  int pictureHeight = 0;
  int rowCount = 0;
  int colCount = 0;
  std::vector<LayoutKey> keys;  // in file order
  std::map<int, int> keyIndexByCode;
  std::map<int, int> lightIndexByCode;
  std::map<int, int> fnLayerDisabled;  // key code -> 1
  // Row-major; each cell holds the low byte of the key code there, kNoKey if none.
  std::array<std::array<uint8_t, kKeyMatrixCols>, kKeyMatrixRows> keyMatrix = EmptyMatrix();

  int maxMacroEvents = kDefaultMaxMacroEvents;

  static std::array<std::array<uint8_t, kKeyMatrixCols>, kKeyMatrixRows> EmptyMatrix() {
    std::array<std::array<uint8_t, kKeyMatrixCols>, kKeyMatrixRows> m;
    for (auto& row : m) row.fill(kNoKey);
    return m;
  }
};
