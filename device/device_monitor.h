#pragma once
// DeviceMonitor keeps the connection state up to date: device-change notifications queue a
// refresh, the refresh (run by the worker) rediscovers every interface and updates the
// connection display, and the status poll notices link and battery changes of the keyboard.
//
// Threads: OnDeviceChange comes from the notification thread (udev monitor or the simulated
// bus) and only queues tasks; everything else runs on the worker. The state is guarded by one
// lock that is never held while talking to the keyboard, the view or the task queue.
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/connection_state.h"
#include "device/connection_view.h"
#include "device/device_mode_entry.h"
#include "device/hotplug_monitor.h"
#include "device/keyboard_hid.h"
#include "device/update_drives.h"

// The model that LoadDeviceList selects; its interfaces are the ones sends go to.
inline constexpr int kSelectedDeviceType = 301;
// The status request goes out at most this often.
inline constexpr int kStatusPollIntervalMs = 5000;

class DeviceMonitor {
 public:
  // Appends a worker task code (WorkerTaskQueue::Append).
  using TaskSink = std::function<void(int code)>;
  // The update-mode drives present now (ListUpdateDrives unless a test injects a list).
  using DriveLister = std::function<std::vector<UpdateDrive>()>;

  // hid, view and clock must outlive the monitor.
  DeviceMonitor(KeyboardHid& hid, ConnectionView& view, TaskSink queueTask,
                Clock* clock = &SteadyClock::Instance());
  DeviceMonitor(const DeviceMonitor&) = delete;
  DeviceMonitor& operator=(const DeviceMonitor&) = delete;

  void SetDriveLister(DriveLister lister);

  // A USB identity of a model (from the description files); also registered as an
  // interface filter of the HID layer. Called at start-up, before notifications arrive.
  void AddIdentity(const DeviceModeEntry& entry);
  std::vector<DeviceModeEntry> Identities() const;

  // The selected model's device_type (the family the status poll speaks, the interfaces
  // sends go to).
  void SetDeviceType(int deviceType);
  int DeviceType() const;

  ConnectionState State() const;
  // The last battery level shown, nothing before the first one.
  std::optional<int> BatteryLevel() const;

  // A HID interface arrived or left; path is its interface path text.
  void OnDeviceChange(DeviceChange event, const std::wstring& path);

  // Tasks 2 and 3 (and the discovery of task 1): the rescan, then the connection update.
  void RefreshDevice();
  // Closes and rediscovers every interface, marks the models present, looks for
  // update-mode drives.
  void RescanTask();
  // Shows the connection kind and queues the tasks that follow a connection.
  void ConnectionUpdate();
  // The idle check of the keyboard's link and battery; runs on every idle worker cycle.
  void StatusPoll();

 private:
  void MarkModelsPresent();
  // A status report's effect: the link state, the battery, and whether presence or mode
  // changed. `polled` answers set presence from the link state; unsolicited ones only clear it.
  bool ApplyStatus(int linkState, int battery, bool polled);
  void ShowDisconnected(const std::wstring& icon);
  void ShowConnected(const std::wstring& icon);
  bool ReceiverListed() const;

  KeyboardHid& hid_;
  ConnectionView& view_;
  TaskSink queueTask_;
  Clock* clock_;
  DriveLister listDrives_;

  mutable std::mutex lock_;
  std::vector<DeviceModeEntry> identities_;
  ConnectionState state_;
  int deviceType_ = kSelectedDeviceType;
  std::optional<int> battery_;
  // Poll-thread only.
  std::optional<int64_t> lastStatusRequestMs_;
};
