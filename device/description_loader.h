#pragma once
// Reads config.xml (the models and their USB identities, the software section) and
// the selected model's layout file (pages, firmware, lighting, picture, keys) into
// a KeyboardModel, telling a ModelLoadObserver what it found on the way.
#include <string>

#include "device/keyboard_model.h"
#include "device/model_load_observer.h"

class XmlDocument;

class DescriptionLoader {
 public:
  // programFolder: the folder holding config.xml and layouts/ (with or without a
  // trailing slash). observer may be null.
  DescriptionLoader(KeyboardModel& model, std::wstring programFolder, ModelLoadObserver* observer);
  DescriptionLoader(const DescriptionLoader&) = delete;  // observer_ may point at fallback_
  DescriptionLoader& operator=(const DescriptionLoader&) = delete;

  // Reads config.xml into the keyboard and identity lists, then selects the model of
  // device_type 301 and registers for device notifications. A missing or malformed
  // config.xml leaves both lists empty.
  void LoadDeviceList();
  // Selects the first listed keyboard of this device_type and reads its layout file.
  // Answers whether the layout file was read; when it is missing or malformed the
  // layout data of the previous model stay as they were.
  bool LoadLayout(int device_type);

  std::wstring ConfigPath() const;
  std::wstring LayoutPath(const std::wstring& layoutName) const;

 private:
  void ReadKeyboard(XmlDocument& doc);
  void ReadSoftware(XmlDocument& doc);
  void ReadMenu(XmlDocument& doc);
  void ReadFirmware(XmlDocument& doc);
  void ReadLight(XmlDocument& doc);
  void ClearKeys();
  void ReadPicture(XmlDocument& doc);
  void ReadKey(XmlDocument& doc);
  bool PictureEnabled(int page) const { return (model_.pageFlags & page) != 0; }

  KeyboardModel& model_;
  std::wstring folder_;  // without a trailing slash
  ModelLoadObserver fallback_;
  ModelLoadObserver* observer_;
};

// Loads an XML file and answers whether it read and parsed well-formed.
bool LoadWellFormedXml(XmlDocument& doc, const std::wstring& path);
