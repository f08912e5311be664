#pragma once
// Hot-plug notifications of the simulated bus, in the shape of HotplugMonitor: plugging and
// unplugging simulated devices reaches the callback as arrivals and removals with the same
// interface path texts that the udev monitor delivers, so the device monitor is driven the
// same way with or without hardware. (A keyboard switching on or off behind its receiver is
// not a USB event: the receiver stays plugged, and the status report tells the program.)
#include <memory>
#include <mutex>

#include "device/hotplug_monitor.h"
#include "emulator/simulated_bus.h"

class BusHotplugSource {
 public:
  explicit BusHotplugSource(std::shared_ptr<SimulatedBus> bus);
  ~BusHotplugSource();
  BusHotplugSource(const BusHotplugSource&) = delete;
  BusHotplugSource& operator=(const BusHotplugSource&) = delete;

  // Starts delivering; the callback runs on the thread that plugs or unplugs. False when
  // already started.
  bool Start(DeviceChangeCallback callback);
  // Stops delivering; safe to call more than once.
  void Stop();
  bool Running() const;

 private:
  std::shared_ptr<SimulatedBus> bus_;
  mutable std::mutex lock_;
  int listenerId_ = 0;
};
