#include "device/hotplug_monitor.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstring>

#include "device/udev_hid_path.h"

HotplugMonitor::~HotplugMonitor() { Stop(); }

std::map<std::string, std::wstring> HotplugMonitor::PresentInterfaces() {
  std::map<std::string, std::wstring> present;
  udev* u = udev_new();
  if (!u) return present;
  udev_enumerate* e = udev_enumerate_new(u);
  if (e) {
    udev_enumerate_add_match_subsystem(e, "hidraw");
    udev_enumerate_scan_devices(e);
    udev_list_entry* entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
      udev_device* dev = udev_device_new_from_syspath(u, udev_list_entry_get_name(entry));
      if (!dev) continue;
      const char* node = udev_device_get_devnode(dev);
      if (auto path = InterfacePathOfHidraw(dev); path && node) present[node] = *path;
      udev_device_unref(dev);
    }
    udev_enumerate_unref(e);
  }
  udev_unref(u);
  return present;
}

bool HotplugMonitor::Start(DeviceChangeCallback callback) {
  if (running_.load()) return true;
  udev_ = udev_new();
  if (!udev_) return false;
  monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
  if (!monitor_ || udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor_) < 0) {
    Stop();
    return false;
  }
  wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd_ < 0) {
    Stop();
    return false;
  }
  {
    std::lock_guard guard(knownLock_);
    knownPaths_ = PresentInterfaces();
  }
  callback_ = std::move(callback);
  running_ = true;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void HotplugMonitor::Stop() {
  if (thread_.joinable()) {
    running_ = false;
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof(one));
    thread_.join();
  }
  running_ = false;
  if (wakeFd_ >= 0) close(wakeFd_);
  wakeFd_ = -1;
  if (monitor_) udev_monitor_unref(monitor_);
  monitor_ = nullptr;
  if (udev_) udev_unref(udev_);
  udev_ = nullptr;
}

void HotplugMonitor::Run() {
  pollfd fds[2] = {{udev_monitor_get_fd(monitor_), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
  while (running_.load()) {
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents) break;
    if (!(fds[0].revents & POLLIN)) continue;
    udev_device* dev = udev_monitor_receive_device(monitor_);
    if (!dev) continue;
    const char* action = udev_device_get_action(dev);
    const char* node = udev_device_get_devnode(dev);
    std::wstring path;
    DeviceChange event = DeviceChange::kArrival;
    if (action && node && std::strcmp(action, "add") == 0) {
      if (auto built = InterfacePathOfHidraw(dev)) {
        path = *built;
        std::lock_guard guard(knownLock_);
        knownPaths_[node] = path;
      }
    } else if (action && node && std::strcmp(action, "remove") == 0) {
      event = DeviceChange::kRemoveComplete;
      std::lock_guard guard(knownLock_);
      if (auto it = knownPaths_.find(node); it != knownPaths_.end()) {
        path = it->second;
        knownPaths_.erase(it);
      }
    }
    udev_device_unref(dev);
    if (!path.empty() && callback_) callback_(event, path);
  }
}
