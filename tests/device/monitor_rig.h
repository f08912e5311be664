#pragma once
// The device monitor against the simulated keyboard: a FakeClock, the simulated bus behind a
// back end that records which interfaces are opened and still open, KeyboardHid, a view that
// records what is shown, and the shipped identities of data/config.xml.
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/description_loader.h"
#include "device/device_monitor.h"
#include "device/keyboard_hid.h"
#include "emulator/emulator_backend.h"
#include "emulator/shipped_identity.h"
#include "emulator/simulated_bus.h"
#include "tessel/core/text_utf.h"

// What the device monitor and the worker show, as the last value of each element plus the
// log of calls.
class RecordingView : public ConnectionView {
 public:
  void ShowConnectionIcon(const std::wstring& image) override { Set(icon, image, "icon"); }
  void ShowTitleText(int textId) override { Set(title, textId, "title"); }
  void ShowStatusText(int textId) override { Set(status, textId, "status"); }
  void ShowDevicePicture(const std::wstring& image) override { Set(picture, image, "picture"); }
  void SetTabBarVisible(bool visible) override { Set(tabBar, visible, "tabbar"); }
  void SetPagesVisible(bool visible) override { Set(pages, visible, "pages"); }
  void SelectTab(int t) override { Set(tab, t, "tab"); }
  void LayOutPagesFor(int deviceType) override { Set(layout, deviceType, "layout"); }
  void ClearDeviceStates() override {
    std::lock_guard guard(lock);
    presentTypes.clear();
    log.push_back("clear");
  }
  void SetDeviceState(int deviceType, int state) override {
    std::lock_guard guard(lock);
    if (state) presentTypes.push_back(deviceType);
    log.push_back("device " + std::to_string(deviceType));
  }
  void SetBatteryLevel(int level) override { Set(battery, level, "battery"); }
  void EnableMainWindow(bool enable) override { Set(enabled, enable, "enable"); }
  bool MainWindowVisible() const override { return visible; }
  int CurrentTab() const override {
    std::lock_guard guard(lock);
    return tab;
  }

  // Calls whose log entry starts with `name`.
  int Count(const std::string& name) const {
    std::lock_guard guard(lock);
    int n = 0;
    for (const std::string& entry : log) n += entry.rfind(name, 0) == 0;
    return n;
  }

  mutable std::mutex lock;
  std::vector<std::string> log;
  std::wstring icon = L"?", picture;
  int title = 0, status = -1, tab = -1, layout = 0, battery = -1;
  bool tabBar = false, pages = false, enabled = true, visible = true;
  std::vector<int> presentTypes;

 private:
  template <typename T, typename V>
  void Set(T& field, const V& value, const char* name) {
    std::lock_guard guard(lock);
    field = value;
    log.push_back(name);
  }
};

// An emulator back end that counts every open and knows which handles are still open.
class TrackingBackend : public HidBackend {
 public:
  explicit TrackingBackend(std::shared_ptr<SimulatedBus> bus) : inner_(std::move(bus)) {}
  std::vector<HidDeviceInfo> Enumerate() override { return inner_.Enumerate(); }
  std::unique_ptr<HidDevice> Open(const std::string& path) override {
    std::unique_ptr<HidDevice> device = inner_.Open(path);
    if (!device) return nullptr;
    std::lock_guard guard(lock_);
    ++opened_[path];
    ++open_[path];
    return std::make_unique<Tracked>(std::move(device), this, path);
  }
  int Opened(const std::string& path) const {
    std::lock_guard guard(lock_);
    auto it = opened_.find(path);
    return it == opened_.end() ? 0 : it->second;
  }
  int StillOpen(const std::string& path) const {
    std::lock_guard guard(lock_);
    auto it = open_.find(path);
    return it == open_.end() ? 0 : it->second;
  }

 private:
  class Tracked : public HidDevice {
   public:
    Tracked(std::unique_ptr<HidDevice> inner, TrackingBackend* owner, std::string path)
        : inner_(std::move(inner)), owner_(owner), path_(std::move(path)) {}
    ~Tracked() override {
      std::lock_guard guard(owner_->lock_);
      --owner_->open_[path_];
    }
    int Write(const uint8_t* d, size_t n) override { return inner_->Write(d, n); }
    int Read(uint8_t* d, size_t n, int t) override { return inner_->Read(d, n, t); }
    int SendFeatureReport(const uint8_t* d, size_t n) override { return inner_->SendFeatureReport(d, n); }
    int GetFeatureReport(uint8_t* d, size_t n) override { return inner_->GetFeatureReport(d, n); }
    std::wstring LastError() const override { return inner_->LastError(); }

   private:
    std::unique_ptr<HidDevice> inner_;
    TrackingBackend* owner_;
    std::string path_;
  };

  EmulatorBackend inner_;
  mutable std::mutex lock_;
  std::map<std::string, int> opened_;
  std::map<std::string, int> open_;
};

// The identities of the shipped config.xml.
inline std::vector<DeviceModeEntry> ShippedModes() {
  KeyboardModel model;
  DescriptionLoader(model, WideFromUtf8(VANTOR_SOURCE_DIR "/data"), nullptr).LoadDeviceList();
  return model.deviceModes;
}

struct MonitorRig {
  FakeClock clock;
  std::shared_ptr<SimulatedBus> bus = std::make_shared<SimulatedBus>(&clock);
  std::shared_ptr<TrackingBackend> backend = std::make_shared<TrackingBackend>(bus);
  KeyboardHid hid{backend, &clock};
  RecordingView view;
  std::vector<UpdateDrive> drives;
  mutable std::mutex queuedLock;
  std::vector<int> queued;
  DeviceMonitor monitor{hid, view, [this](int code) { Queue(code); }, &clock};

  explicit MonitorRig(bool withIdentities = true) {
    monitor.SetDriveLister([this] { return drives; });
    if (withIdentities) {
      for (const DeviceModeEntry& entry : ShippedModes()) monitor.AddIdentity(entry);
    }
  }
  virtual ~MonitorRig() = default;

  virtual void Queue(int code) {
    std::lock_guard guard(queuedLock);
    queued.push_back(code);
  }
  std::vector<int> TakeQueued() {
    std::lock_guard guard(queuedLock);
    std::vector<int> taken;
    taken.swap(queued);
    return taken;
  }

  std::shared_ptr<SimulatedDevice> Plug(int deviceType, SimConnection connection) {
    return PlugShipped(*bus, deviceType, connection);
  }
  // The vendor collection's path of a plugged device.
  static std::string VendorPath(const SimulatedDevice& device) { return device.PathOf(1); }

  // Accepted output reports that reached one interface.
  std::vector<SimJournalEntry> OutputsTo(const std::string& path) const {
    std::vector<SimJournalEntry> result;
    for (const SimJournalEntry& e : bus->Journal().OfKind(SimReportKind::Output)) {
      if (e.path == path) result.push_back(e);
    }
    return result;
  }
};
