#include "emulator/emulator_backend.h"

#include <mutex>

namespace {

// An open simulated interface. It stays bound to the plug it was opened on: after the
// device is unplugged (even if plugged in again) every call fails, as a real handle does.
class EmulatedHidDevice final : public HidDevice {
 public:
  EmulatedHidDevice(std::shared_ptr<SimulatedDevice> device, int interfaceNumber)
      : device_(std::move(device)),
        interface_(interfaceNumber),
        generation_(device_->Generation()) {
    device_->OpenInterface(interface_);
  }

  int Write(const uint8_t* data, size_t length) override {
    return Check(device_->Write(generation_, interface_, data, length));
  }
  int Read(uint8_t* data, size_t length, int timeoutMs) override {
    return Check(device_->Read(generation_, interface_, data, length, timeoutMs));
  }
  int SendFeatureReport(const uint8_t* data, size_t length) override {
    return Check(device_->SendFeature(generation_, interface_, data, length));
  }
  int GetFeatureReport(uint8_t* data, size_t length) override {
    return Check(device_->GetFeature(generation_, interface_, data, length));
  }
  std::wstring LastError() const override {
    std::lock_guard<std::mutex> guard(errorLock_);
    return lastError_;
  }

 private:
  // Sends come from the worker and the UI thread at once: the error text has its own lock.
  int Check(int result) {
    if (result < 0) {
      std::wstring text = device_->Alive(generation_) ? L"The device did not accept the transfer."
                                                      : L"The device is not connected.";
      std::lock_guard<std::mutex> guard(errorLock_);
      lastError_ = std::move(text);
    }
    return result;
  }

  std::shared_ptr<SimulatedDevice> device_;
  int interface_;
  uint64_t generation_;
  mutable std::mutex errorLock_;
  std::wstring lastError_;
};

}  // namespace

EmulatorBackend::EmulatorBackend(std::shared_ptr<SimulatedBus> bus)
    : bus_(bus ? std::move(bus) : std::make_shared<SimulatedBus>()) {}

std::vector<HidDeviceInfo> EmulatorBackend::Enumerate() { return bus_->Enumerate(); }

std::unique_ptr<HidDevice> EmulatorBackend::Open(const std::string& path) {
  int interfaceNumber = -1;
  std::shared_ptr<SimulatedDevice> device = bus_->Find(path, &interfaceNumber);
  if (!device) return nullptr;
  return std::make_unique<EmulatedHidDevice>(std::move(device), interfaceNumber);
}
