#include "emulator/bus_hotplug.h"

BusHotplugSource::BusHotplugSource(std::shared_ptr<SimulatedBus> bus) : bus_(std::move(bus)) {}

BusHotplugSource::~BusHotplugSource() { Stop(); }

bool BusHotplugSource::Start(DeviceChangeCallback callback) {
  std::lock_guard guard(lock_);
  if (listenerId_ != 0 || !bus_ || !callback) return false;
  listenerId_ = bus_->AddListener(std::move(callback));
  return true;
}

void BusHotplugSource::Stop() {
  std::lock_guard guard(lock_);
  if (listenerId_ == 0) return;
  bus_->RemoveListener(listenerId_);
  listenerId_ = 0;
}

bool BusHotplugSource::Running() const {
  std::lock_guard guard(lock_);
  return listenerId_ != 0;
}
