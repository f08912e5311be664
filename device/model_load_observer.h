#pragma once
// What reading the description files tells the rest of the program: the device
// list, the HID layer's interface filters, the model's database, the tab strip, the
// lighting controls and the keyboard pictures. The main window implements it;
// every call has an empty default so a user overrides only what it shows.
#include <string>

#include "device/keyboard_model.h"

class ModelLoadObserver {
 public:
  virtual ~ModelLoadObserver() = default;

  // One per `keyboard` element of config.xml, in file order.
  virtual void AddDevice(const std::wstring& name, int device_type) {}
  // One per `mode` element: an identity for the HID layer's filter list.
  virtual void AddInterfaceFilter(const DeviceModeEntry& entry) {}
  // The software section: "Ver: %s" label and the copyright label.
  virtual void ShowSoftwareVersion(const std::wstring& version) {}
  virtual void ShowCopyright(const std::wstring& info) {}
  // After the device list is read: start listening for device arrival/removal.
  virtual void RegisterDeviceNotifications() {}

  // The selected model's database is opened under its model name (empty when no
  // keyboard of the asked device_type is listed).
  virtual void OpenModelDatabase(const std::wstring& modelName) {}
  // Tabs 1 (keys), 2 (macros), 3 (lighting) and 7 (settings).
  virtual void SetTabVisible(int tab, bool visible) {}
  virtual void SetFirmwareButtonVisible(bool visible) {}
  virtual void SetLightSliderMaxima(int brightnessMax, int speedMax) {}
  // Profile whose lighting records are made when modes are added.
  virtual int CurrentProfile() const { return 1; }
  // A mode was added; the window also puts its music controls back to their
  // starting selections (boxes 3 and 0, sliders 60 and 100).
  virtual void LightModeAdded(const LightModeDescriptor& mode, const LightModeRecord& record) {}

  // Keyboard pictures, named by the page bit that enables them: kPageKeys,
  // kPageLighting or kPageSettings.
  virtual void ClearKeyboardPicture(int page) {}
  virtual void SetKeyboardPicture(int page, const KeyRect& controlRect, const std::wstring& image,
                                  int width, int height) {}
  virtual void AddPictureKey(int page, const LayoutKey& key) {}
};
