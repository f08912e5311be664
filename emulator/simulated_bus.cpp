#include "emulator/simulated_bus.h"

#include <algorithm>

#include "device/interface_path.h"

SimulatedBus::SimulatedBus(Clock* clock)
    : clock_(clock ? clock : &SteadyClock::Instance()), journal_(std::make_shared<SimJournal>()) {}

SimulatedBus::~SimulatedBus() {
  std::lock_guard<std::mutex> guard(lock_);
  for (const auto& device : devices_) device->DetachLocked();
  devices_.clear();
}

void SimulatedBus::Plug(const std::shared_ptr<SimulatedDevice>& device) {
  if (!device) return;
  std::vector<std::wstring> texts;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (std::find(devices_.begin(), devices_.end(), device) != devices_.end()) return;
    std::vector<std::string> paths;
    for (size_t i = 0; i < device->Identity().interfaces.size(); ++i) {
      paths.push_back("/dev/simhid" + std::to_string(nextNode_++));
    }
    device->AttachLocked(this, journal_, clock_, paths);
    devices_.push_back(device);
    texts = PathTexts(*device, paths);
  }
  Notify(DeviceChange::kArrival, texts);
}

void SimulatedBus::Unplug(const std::shared_ptr<SimulatedDevice>& device) {
  std::vector<std::wstring> texts;
  {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = std::find(devices_.begin(), devices_.end(), device);
    if (it == devices_.end()) return;
    texts = PathTexts(*device, device->Paths());
    device->DetachLocked();
    devices_.erase(it);
  }
  Notify(DeviceChange::kRemoveComplete, texts);
}

std::vector<std::shared_ptr<SimulatedDevice>> SimulatedBus::Devices() const {
  std::lock_guard<std::mutex> guard(lock_);
  return devices_;
}

std::shared_ptr<SimulatedDevice> SimulatedBus::PlugNew(int deviceType, SimConnection connection,
                                                       std::shared_ptr<SimulatedKeyboard> keyboard) {
  if (!keyboard) keyboard = std::make_shared<SimulatedKeyboard>(deviceType);
  auto device = std::make_shared<SimulatedDevice>(
      SimulatedDevice::DefaultIdentity(deviceType, connection), connection, std::move(keyboard));
  Plug(device);
  return device;
}

std::vector<HidDeviceInfo> SimulatedBus::Enumerate() const {
  std::lock_guard<std::mutex> guard(lock_);
  std::vector<HidDeviceInfo> result;
  for (const auto& device : devices_) {
    const SimIdentity& id = device->Identity();
    std::vector<std::string> paths = device->Paths();
    for (size_t i = 0; i < id.interfaces.size() && i < paths.size(); ++i) {
      HidDeviceInfo info;
      info.path = paths[i];
      info.vendorId = id.vid;
      info.productId = id.pid;
      info.releaseNumber = id.release;
      info.usagePage = id.interfaces[i].usagePage;
      info.usage = id.interfaces[i].usage;
      info.interfaceNumber = id.interfaces[i].number;
      info.product = id.product;
      result.push_back(std::move(info));
    }
  }
  return result;
}

std::shared_ptr<SimulatedDevice> SimulatedBus::Find(const std::string& path,
                                                    int* interfaceNumber) const {
  std::lock_guard<std::mutex> guard(lock_);
  for (const auto& device : devices_) {
    std::vector<std::string> paths = device->Paths();
    const auto& interfaces = device->Identity().interfaces;
    for (size_t i = 0; i < interfaces.size() && i < paths.size(); ++i) {
      if (paths[i] != path) continue;
      if (interfaceNumber) *interfaceNumber = interfaces[i].number;
      return device;
    }
  }
  return nullptr;
}

int SimulatedBus::AddListener(DeviceChangeCallback callback) {
  std::lock_guard<std::mutex> guard(listenerLock_);
  int id = nextListener_++;
  listeners_[id] = std::move(callback);
  return id;
}

void SimulatedBus::RemoveListener(int id) {
  std::lock_guard<std::mutex> guard(listenerLock_);
  listeners_.erase(id);
}

std::vector<std::wstring> SimulatedBus::PathTexts(const SimulatedDevice& device,
                                                  const std::vector<std::string>& paths) const {
  std::vector<std::wstring> texts;
  const SimIdentity& id = device.Identity();
  for (size_t i = 0; i < id.interfaces.size() && i < paths.size(); ++i) {
    InterfacePathParts parts;
    parts.vendorId = id.vid;
    parts.productId = id.pid;
    parts.interfaceNumber = id.interfaces[i].number;
    parts.deviceNode = paths[i];
    texts.push_back(BuildInterfacePath(parts));
  }
  return texts;
}

void SimulatedBus::Notify(DeviceChange event, const std::vector<std::wstring>& paths) {
  std::vector<DeviceChangeCallback> callbacks;
  {
    std::lock_guard<std::mutex> guard(listenerLock_);
    for (const auto& [id, callback] : listeners_) callbacks.push_back(callback);
  }
  for (const auto& path : paths) {
    for (const auto& callback : callbacks) callback(event, path);
  }
}
