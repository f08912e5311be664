#pragma once
// HID access through hidapi's hidraw back end (Linux).
#include "device/hid_backend.h"

class HidapiBackend final : public HidBackend {
 public:
  // Initialises hidapi once per process; a failed initialisation leaves enumeration empty.
  HidapiBackend();
  ~HidapiBackend() override;
  HidapiBackend(const HidapiBackend&) = delete;
  HidapiBackend& operator=(const HidapiBackend&) = delete;

  std::vector<HidDeviceInfo> Enumerate() override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override;

 private:
  bool ready_ = false;
};
