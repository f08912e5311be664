#pragma once
// The HID back end over the simulated bus: enumeration lists the plugged simulated
// interfaces and Open hands out handles that talk to the simulated devices.
#include <memory>

#include "device/hid_backend.h"
#include "emulator/simulated_bus.h"

class EmulatorBackend final : public HidBackend {
 public:
  explicit EmulatorBackend(std::shared_ptr<SimulatedBus> bus);

  std::vector<HidDeviceInfo> Enumerate() override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override;

  SimulatedBus& Bus() const { return *bus_; }

 private:
  std::shared_ptr<SimulatedBus> bus_;
};
