#pragma once
// Watches HID interfaces come and go. The udev monitor (subsystem "hidraw") runs on a
// background thread and reports each arrival and removal with the interface path text
// (see interface_path.h); the simulated keyboard reports through the same callback.
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

// The device-change events, numbered as the window messages they stand for.
enum class DeviceChange : unsigned {
  kArrival = 0x8000,         // DBT_DEVICEARRIVAL
  kRemoveComplete = 0x8004,  // DBT_DEVICEREMOVECOMPLETE
};

using DeviceChangeCallback = std::function<void(DeviceChange event, const std::wstring& path)>;

class HotplugMonitor {
 public:
  HotplugMonitor() = default;
  ~HotplugMonitor();
  HotplugMonitor(const HotplugMonitor&) = delete;
  HotplugMonitor& operator=(const HotplugMonitor&) = delete;

  // Starts listening; the callback runs on the monitor's thread. False when udev is not
  // available (the program then only sees devices at start-up and on a manual rescan).
  bool Start(DeviceChangeCallback callback);
  // Stops the thread and waits for it; safe to call more than once.
  void Stop();
  bool Running() const { return running_.load(); }

  // The path texts of the hidraw interfaces present now.
  static std::map<std::string, std::wstring> PresentInterfaces();

 private:
  void Run();

  DeviceChangeCallback callback_;
  std::thread thread_;
  std::atomic<bool> running_{false};
  int wakeFd_ = -1;
  struct udev* udev_ = nullptr;
  struct udev_monitor* monitor_ = nullptr;
  // Removal events carry no parent information any more, so the path text of each
  // interface is remembered from its arrival.
  std::mutex knownLock_;
  std::map<std::string, std::wstring> knownPaths_;
};
