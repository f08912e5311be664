#include "device/device_monitor.h"

#include <cwctype>

#include "app/task_codes.h"
#include "device/interface_path.h"
#include "protocol/command_family.h"
#include "protocol/commands_framed.h"

namespace {

constexpr int kLinkNone = FR_LINK_NONE;
constexpr int kLinkReceiver = FR_LINK_RECEIVER;
constexpr int kLinkCable = FR_LINK_CABLE;

std::wstring UpperCase(const std::wstring& text) {
  std::wstring upper = text;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
  return upper;
}

// The path belongs to the identity: its hid_interface text occurs in the upper-cased path.
// An identity without one matches nothing (an empty text would match every path).
bool PathMatches(const std::wstring& upperPath, const DeviceModeEntry& entry) {
  return !entry.hidInterface.empty() && upperPath.find(entry.hidInterface) != std::wstring::npos;
}

bool IsFramed(int deviceType) { return CommandFamilyFor(deviceType) == CommandFamily::Framed; }

// 1 (an older receiver value) counts as the receiver.
int NormalisedMode(int mode) { return mode == 1 ? kModeReceiver : mode; }

}  // namespace

DeviceMonitor::DeviceMonitor(KeyboardHid& hid, ConnectionView& view, TaskSink queueTask,
                             Clock* clock)
    : hid_(hid),
      view_(view),
      queueTask_(std::move(queueTask)),
      clock_(clock ? clock : &SteadyClock::Instance()),
      listDrives_(ListUpdateDrives) {}

void DeviceMonitor::SetDriveLister(DriveLister lister) {
  listDrives_ = lister ? std::move(lister) : DriveLister(ListUpdateDrives);
}

void DeviceMonitor::AddIdentity(const DeviceModeEntry& entry) {
  {
    std::lock_guard guard(lock_);
    identities_.push_back(entry);
    identities_.back().present = 0;
  }
  hid_.AddInterfaceFilter(static_cast<uint16_t>(entry.vid), static_cast<uint16_t>(entry.pid),
                          static_cast<uint16_t>(entry.rev), entry.productName, entry.device_type,
                          entry.mode, entry.hidInterface);
}

std::vector<DeviceModeEntry> DeviceMonitor::Identities() const {
  std::lock_guard guard(lock_);
  return identities_;
}

void DeviceMonitor::SetDeviceType(int deviceType) {
  std::lock_guard guard(lock_);
  deviceType_ = deviceType;
}

int DeviceMonitor::DeviceType() const {
  std::lock_guard guard(lock_);
  return deviceType_;
}

ConnectionState DeviceMonitor::State() const {
  std::lock_guard guard(lock_);
  return state_;
}

std::optional<int> DeviceMonitor::BatteryLevel() const {
  std::lock_guard guard(lock_);
  return battery_;
}

// ---------------------------------------------------------------------------------------
// Notifications

void DeviceMonitor::OnDeviceChange(DeviceChange event, const std::wstring& path) {
  const std::wstring upper = UpperCase(path);
  // Bluetooth LE keyboards (HID over GATT) are not ours to configure.
  if (upper.find(kHidOverGattServiceId) != std::wstring::npos) return;
  int task = 0;
  {
    std::lock_guard guard(lock_);
    for (DeviceModeEntry& entry : identities_) {
      if (!PathMatches(upper, entry)) continue;
      if (event == DeviceChange::kArrival) {
        task = TASK_DEVICE_ARRIVED;
        break;
      }
      if (event == DeviceChange::kRemoveComplete && entry.present) {
        entry.present = 0;
        task = TASK_DEVICE_REMOVED;
        break;
      }
    }
  }
  if (task != 0) queueTask_(task);
}

// ---------------------------------------------------------------------------------------
// Rescan and connection update

void DeviceMonitor::RefreshDevice() {
  RescanTask();
  ConnectionUpdate();
}

void DeviceMonitor::RescanTask() {
  {
    std::lock_guard guard(lock_);
    state_.keyboardPresent = false;
  }
  hid_.CloseAll();
  hid_.Rescan();
  hid_.SetInitialised(true);
  hid_.SetDeviceTypeFilter(0);
  MarkModelsPresent();
  {
    std::lock_guard guard(lock_);
    state_.interfaceFound = hid_.InterfaceCount() > 0;
  }
  // A keyboard or receiver waiting in update mode gets its updater, once per rescan however
  // many drives of the kind are present.
  const std::vector<UpdateDrive> drives = listDrives_();
  if (CountUpdateDrives(drives, kKeyboardUpdateProduct) > 0) queueTask_(TASK_UPDATE_FIRMWARE);
  if (CountUpdateDrives(drives, kReceiverUpdateProduct) > 0) queueTask_(TASK_UPDATE_DONGLE);
}

void DeviceMonitor::MarkModelsPresent() {
  view_.ClearDeviceStates();
  std::vector<int> presentTypes;
  {
    std::lock_guard guard(lock_);
    for (DeviceModeEntry& entry : identities_) {
      int found = hid_.FindConnected(static_cast<uint16_t>(entry.vid),
                                     static_cast<uint16_t>(entry.pid), entry.productName,
                                     entry.mode);
      if (found < 0) continue;
      entry.present = 1;
      state_.keyboardPresent = true;
      presentTypes.push_back(entry.device_type);
    }
  }
  for (int deviceType : presentTypes) view_.SetDeviceState(deviceType, 1);
}

bool DeviceMonitor::ReceiverListed() const {
  const int deviceType = DeviceType();
  for (const HidInterfaceEntry& e : hid_.Interfaces(deviceType)) {
    if (NormalisedMode(e.mode) == kModeReceiver) return true;
  }
  return false;
}

void DeviceMonitor::ShowConnected(const std::wstring& icon) {
  view_.SetTabBarVisible(true);
  view_.ShowConnectionIcon(icon);
  view_.ShowStatusText(kTextStatusConnected);
  view_.ShowDevicePicture(kKeyboardPicture);
  view_.SetPagesVisible(true);
  view_.SelectTab(kTabKeys);
}

void DeviceMonitor::ShowDisconnected(const std::wstring& icon) {
  view_.ShowConnectionIcon(icon);
  view_.ShowTitleText(kTextTitleNotConnected);
  view_.SelectTab(kTabHome);
  view_.SetTabBarVisible(false);
  view_.SetPagesVisible(false);
  view_.ShowStatusText(0);
}

void DeviceMonitor::ConnectionUpdate() {
  const ConnectionState state = State();
  const int deviceType = DeviceType();
  if (!state.interfaceFound) {
    {
      std::lock_guard guard(lock_);
      state_.connectionMode = -1;  // not left at the kind of a device that is gone
    }
    ShowDisconnected(L"");
    return;
  }
  hid_.SetDeviceTypeFilter(deviceType);
  const int mode = hid_.ConnectionMode();
  {
    std::lock_guard guard(lock_);
    state_.connectionMode = mode;
  }
  view_.ShowTitleText(kTextTitleConnected);
  view_.LayOutPagesFor(deviceType);
  switch (NormalisedMode(mode)) {
    case kModeCable:
      ShowConnected(kCableIcon);
      queueTask_(TASK_CHECK_FIRMWARE);
      queueTask_(TASK_CHECK_DONGLE);
      queueTask_(TASK_LOAD_PAGES);
      break;
    case kModeReceiver:
      if (state.keyboardPresent) {
        ShowConnected(kReceiverIcon);
        queueTask_(TASK_LOAD_PAGES);
      } else {
        ShowDisconnected(kReceiverIcon);
      }
      break;
    default:
      // Interfaces are open but no keyboard answers (a receiver whose keyboard is off, or a
      // cable keyboard whose link is down): nothing can be configured, so the pages go.
      ShowDisconnected(ReceiverListed() ? kReceiverIcon : L"");
      break;
  }
}

// ---------------------------------------------------------------------------------------
// Status poll

bool DeviceMonitor::ApplyStatus(int linkState, int battery, bool polled) {
  bool showBattery = linkState != kLinkNone && battery <= FR_BATTERY_MAX;
  bool changed;
  {
    std::lock_guard guard(lock_);
    bool present = state_.keyboardPresent;
    if (polled) {
      present = linkState == kLinkReceiver || linkState == kLinkCable;
    } else if (linkState == kLinkNone) {
      present = false;
    }
    int mode = NormalisedMode(state_.connectionMode);
    if (linkState == kLinkCable) mode = kModeCable;
    if (linkState == kLinkReceiver) mode = kModeReceiver;
    changed = present != state_.keyboardPresent || mode != NormalisedMode(state_.connectionMode);
    state_.keyboardPresent = present;
    if (showBattery) battery_ = battery;
  }
  if (showBattery) view_.SetBatteryLevel(battery);
  return changed;
}

void DeviceMonitor::StatusPoll() {
  const int deviceType = DeviceType();
  if (IsFramed(deviceType)) {
    uint8_t input[kHidFrameDataSize] = {};
    if (hid_.ReadInput(input)) {
      if (auto status = ParseFrStatusReport(input, sizeof input)) {
        if (ApplyStatus(status->linkState, status->battery, false)) {
          RefreshDevice();
          return;
        }
      }
    }
  }

  const int64_t now = clock_->NowMs();
  if (!lastStatusRequestMs_) lastStatusRequestMs_ = now;
  if (now - *lastStatusRequestMs_ < kStatusPollIntervalMs) return;
  lastStatusRequestMs_ = now;

  const ReportSequence request = StatusRequest(deviceType);
  if (request.empty()) return;  // a family that has no status to ask for
  std::vector<uint8_t> reply;
  if (!hid_.SendSequence(request, &reply)) {
    RefreshDevice();
    return;
  }
  if (!HasFrameMagic(reply.data(), reply.size()) || reply.size() <= FR_STATUS_LINK_OFFSET) return;
  if (ApplyStatus(reply[FR_STATUS_LINK_OFFSET], reply[FR_STATUS_BATTERY_OFFSET], true)) {
    RefreshDevice();
  }
}
