#pragma once
// The simulated USB bus: which simulated keyboards and receivers are plugged in. The
// emulator back end enumerates it; tests and the "try without hardware" mode plug and
// unplug devices, and listeners hear each interface arrive and leave with its interface
// path text, as from the udev monitor. Thread-safe.
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/hid_backend.h"
#include "device/hotplug_monitor.h"
#include "emulator/sim_journal.h"
#include "emulator/simulated_device.h"

class SimulatedBus {
 public:
  // The clock must outlive the bus; it times the journal, replies and read time-outs.
  explicit SimulatedBus(Clock* clock = &SteadyClock::Instance());
  ~SimulatedBus();
  SimulatedBus(const SimulatedBus&) = delete;
  SimulatedBus& operator=(const SimulatedBus&) = delete;

  Clock& GetClock() const { return *clock_; }
  SimJournal& Journal() const { return *journal_; }

  // Plugs a device in (again); each plug gives its interfaces new paths.
  void Plug(const std::shared_ptr<SimulatedDevice>& device);
  // Unplugs it; open handles fail from then on. Nothing happens when it is not plugged.
  void Unplug(const std::shared_ptr<SimulatedDevice>& device);
  std::vector<std::shared_ptr<SimulatedDevice>> Devices() const;

  // Builds a device of the model family with its default identity and plugs it in.
  std::shared_ptr<SimulatedDevice> PlugNew(int deviceType, SimConnection connection,
                                           std::shared_ptr<SimulatedKeyboard> keyboard = nullptr);

  // Every interface of every plugged device, in plug order.
  std::vector<HidDeviceInfo> Enumerate() const;
  // The plugged device that owns the path and the interface number; null when none.
  std::shared_ptr<SimulatedDevice> Find(const std::string& path, int* interfaceNumber) const;

  // Hears arrivals and removals (one call per interface). Answers an id for RemoveListener.
  int AddListener(DeviceChangeCallback callback);
  void RemoveListener(int id);

 private:
  void Notify(DeviceChange event, const std::vector<std::wstring>& paths);
  std::vector<std::wstring> PathTexts(const SimulatedDevice& device,
                                      const std::vector<std::string>& paths) const;

  Clock* clock_;
  std::shared_ptr<SimJournal> journal_;
  mutable std::mutex lock_;
  std::vector<std::shared_ptr<SimulatedDevice>> devices_;
  int nextNode_ = 0;
  std::mutex listenerLock_;
  std::map<int, DeviceChangeCallback> listeners_;
  int nextListener_ = 1;
};
