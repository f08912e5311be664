#include "device/keyboard_hid.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "device/hid_backend_hidapi.h"

namespace {

// Status reports start with this signature; byte 6 is the link state.
constexpr uint8_t kStatusSignature[4] = {0xAA, 0x55, 0xCC, 0x33};
constexpr size_t kLinkStateOffset = 6;

// The request bytes of the slot table read: feature report 7, FB 01.
constexpr uint8_t kFeatureGetRequest[3] = {0x07, 0xFB, 0x01};

}  // namespace

KeyboardHid::KeyboardHid(std::shared_ptr<HidBackend> backend, Clock* clock)
    : backend_(backend ? std::move(backend) : std::make_shared<HidapiBackend>()),
      clock_(clock ? clock : &SteadyClock::Instance()) {}

KeyboardHid::~KeyboardHid() {
  std::unique_lock<std::shared_mutex> list(listLock_);
  CloseEverythingLocked();
}

KeyboardHid& KeyboardHid::Instance() {
  static KeyboardHid instance;
  return instance;
}

void KeyboardHid::SetBackend(std::shared_ptr<HidBackend> backend) {
  std::unique_lock<std::shared_mutex> list(listLock_);
  CloseEverythingLocked();
  std::lock_guard<std::mutex> state(stateLock_);
  initialised_ = false;
  backend_ = backend ? std::move(backend) : std::make_shared<HidapiBackend>();
}

std::shared_ptr<HidBackend> KeyboardHid::Backend() const {
  std::shared_lock<std::shared_mutex> list(listLock_);
  return backend_;
}

void KeyboardHid::SetClock(Clock* clock) {
  std::unique_lock<std::shared_mutex> list(listLock_);
  clock_ = clock ? clock : &SteadyClock::Instance();
}

// ---------------------------------------------------------------------------------------
// Identities and the interface list

void KeyboardHid::AddInterfaceFilter(uint16_t vid, uint16_t pid, uint16_t rev,
                                     const std::wstring& productName, int deviceType, int mode,
                                     const std::wstring& hidInterface) {
  std::lock_guard<std::mutex> state(stateLock_);
  filters_.push_back({vid, pid, rev, productName, deviceType, mode, hidInterface});
}

std::vector<HidInterfaceFilter> KeyboardHid::Filters() const {
  std::lock_guard<std::mutex> state(stateLock_);
  return filters_;
}

bool KeyboardHid::Initialised() const {
  std::lock_guard<std::mutex> state(stateLock_);
  return initialised_;
}

void KeyboardHid::SetInitialised(bool initialised) {
  std::lock_guard<std::mutex> state(stateLock_);
  initialised_ = initialised;
}

int KeyboardHid::DeviceTypeFilter() const {
  std::lock_guard<std::mutex> state(stateLock_);
  return deviceTypeFilter_;
}

void KeyboardHid::SetDeviceTypeFilter(int deviceType) {
  std::lock_guard<std::mutex> state(stateLock_);
  deviceTypeFilter_ = deviceType;
  current_ = -1;
}

int KeyboardHid::AppendInterface(HidInterfaceEntry entry) {
  std::unique_lock<std::shared_mutex> list(listLock_);
  std::lock_guard<std::mutex> state(stateLock_);
  entry.index = static_cast<int>(interfaces_.size());
  interfaces_.push_back(std::move(entry));
  current_ = -1;
  return interfaces_.back().index;
}

void KeyboardHid::SetSpareInterface(std::unique_ptr<HidDevice> device) {
  std::unique_lock<std::shared_mutex> list(listLock_);
  spare_ = std::move(device);
}

bool KeyboardHid::HasSpareInterface() const {
  std::shared_lock<std::shared_mutex> list(listLock_);
  return spare_ != nullptr;
}

void KeyboardHid::SetConnected(int index, bool connected) {
  std::shared_lock<std::shared_mutex> list(listLock_);
  std::lock_guard<std::mutex> state(stateLock_);
  if (index < 0 || index >= static_cast<int>(interfaces_.size())) return;
  interfaces_[index].connected = connected;
  current_ = -1;
}

std::vector<HidInterfaceEntry> KeyboardHid::Interfaces(int deviceType) const {
  std::shared_lock<std::shared_mutex> list(listLock_);
  std::lock_guard<std::mutex> state(stateLock_);
  std::vector<HidInterfaceEntry> result;
  for (const HidInterfaceEntry& e : interfaces_) {
    if (deviceType != 0 && e.deviceType != deviceType) continue;
    HidInterfaceEntry copy;
    copy.index = e.index;
    copy.vid = e.vid;
    copy.pid = e.pid;
    copy.path = e.path;
    copy.product = e.product;
    copy.extra = e.extra;
    copy.version = e.version;
    copy.deviceType = e.deviceType;
    copy.mode = e.mode;
    copy.connected = e.connected;
    copy.usagePage = e.usagePage;
    copy.usage = e.usage;
    copy.interfaceNumber = e.interfaceNumber;
    result.push_back(std::move(copy));
  }
  return result;
}

size_t KeyboardHid::InterfaceCount() const {
  std::shared_lock<std::shared_mutex> list(listLock_);
  return interfaces_.size();
}

void KeyboardHid::CloseAll() {
  std::unique_lock<std::shared_mutex> list(listLock_);
  {
    std::lock_guard<std::mutex> state(stateLock_);
    if (!initialised_) return;
    initialised_ = false;
  }
  CloseEverythingLocked();
}

void KeyboardHid::CloseEverythingLocked() {
  // Destroying the entries closes their devices.
  interfaces_.clear();
  spare_.reset();
  std::lock_guard<std::mutex> state(stateLock_);
  current_ = -1;
}

// ---------------------------------------------------------------------------------------
// Choices over the list (listLock_ held by the caller for the *Locked ones)

int KeyboardHid::ChooseCurrentLocked() const {
  std::lock_guard<std::mutex> state(stateLock_);
  if (current_ >= 0 && current_ < static_cast<int>(interfaces_.size())) return current_;
  current_ = -1;
  for (int wanted : {kModeCable, kModeReceiver}) {
    for (const HidInterfaceEntry& e : interfaces_) {
      if (deviceTypeFilter_ != 0 && e.deviceType != deviceTypeFilter_) continue;
      if (e.mode == wanted && e.connected && e.handle) {
        current_ = e.index;
        return current_;
      }
    }
  }
  return -1;
}

int KeyboardHid::CurrentInterface() const {
  std::shared_lock<std::shared_mutex> list(listLock_);
  return ChooseCurrentLocked();
}

int KeyboardHid::ConnectionMode() const {
  std::shared_lock<std::shared_mutex> list(listLock_);
  std::lock_guard<std::mutex> state(stateLock_);
  for (int wanted : {kModeCable, kModeReceiver}) {
    for (const HidInterfaceEntry& e : interfaces_) {
      if (deviceTypeFilter_ != 0 && e.deviceType != deviceTypeFilter_) continue;
      if (e.mode == wanted && e.connected) return wanted;
    }
  }
  return -1;
}

bool KeyboardHid::KeyboardVersion(uint16_t& version) const {
  std::shared_lock<std::shared_mutex> list(listLock_);
  std::lock_guard<std::mutex> state(stateLock_);
  for (int wanted : {0, 1, 2}) {
    for (const HidInterfaceEntry& e : interfaces_) {
      if (deviceTypeFilter_ != 0 && e.deviceType != deviceTypeFilter_) continue;
      if (e.mode == wanted) {
        version = e.version;
        return true;
      }
    }
  }
  return false;
}

bool KeyboardHid::ReceiverVersion(uint16_t& version) const {
  std::shared_lock<std::shared_mutex> list(listLock_);
  for (const HidInterfaceEntry& e : interfaces_) {
    if (e.mode == kModeReceiver) {
      version = e.version;
      return true;
    }
  }
  return false;
}

int KeyboardHid::FindConnected(uint16_t vid, uint16_t pid, const std::wstring& productName,
                               int mode) const {
  std::shared_lock<std::shared_mutex> list(listLock_);
  std::lock_guard<std::mutex> state(stateLock_);
  for (const HidInterfaceEntry& e : interfaces_) {
    if (e.vid != vid || e.pid != pid || e.mode != mode || !e.connected) continue;
    if (!productName.empty() && e.product != productName) continue;
    return e.index;
  }
  return -1;
}

// ---------------------------------------------------------------------------------------
// Transport

HidDevice* KeyboardHid::SendTargetLocked() const {
  {
    std::lock_guard<std::mutex> state(stateLock_);
    if (!initialised_) return nullptr;
  }
  int index = ChooseCurrentLocked();
  return index < 0 ? nullptr : interfaces_[index].handle.get();
}

void KeyboardHid::NoteError(HidDevice* device) {
  std::wstring text = device->LastError();
  std::lock_guard<std::mutex> state(stateLock_);
  lastError_ = text.empty() ? L"HID transfer failed" : text;
}

int KeyboardHid::WriteLocked(HidDevice* device, const uint8_t* report, size_t length) {
  int written = device->Write(report, length);
  if (written <= 0) NoteError(device);
  return written;
}

int KeyboardHid::ReadLocked(HidDevice* device, uint8_t* data64, int timeoutMs) {
  // One spare byte beyond the frame in case the device prefixes a numbered report's ID.
  std::array<uint8_t, kHidFrameDataSize + 1> buffer{};
  int got = device->Read(buffer.data(), buffer.size(), timeoutMs);
  if (got < 0) {
    NoteError(device);
    return got;
  }
  if (got == 0) return 0;
  // Like a fresh read buffer: a short report leaves the rest of the frame zero.
  size_t copied = std::min(static_cast<size_t>(got), kHidFrameDataSize);
  std::memcpy(data64, buffer.data(), copied);
  std::memset(data64 + copied, 0, kHidFrameDataSize - copied);
  return got;
}

bool KeyboardHid::WriteFrame(uint8_t* data64, bool expectReply) {
  std::shared_lock<std::shared_mutex> list(listLock_);
  HidDevice* device = SendTargetLocked();
  if (!device) return false;
  std::array<uint8_t, kHidOutputReportSize> report{};
  std::memcpy(report.data() + 1, data64, kHidFrameDataSize);
  if (WriteLocked(device, report.data(), report.size()) <= 0) {
    clock_->SleepMs(kHidWriteRetryPauseMs);
    if (WriteLocked(device, report.data(), report.size()) <= 0) return false;
  }
  if (!expectReply) return true;
  clock_->SleepMs(kHidReplyPauseMs);
  return ReadLocked(device, data64, kHidReplyTimeoutMs) > 0;
}

bool KeyboardHid::WriteFrameQuickRead(uint8_t* data64) {
  std::shared_lock<std::shared_mutex> list(listLock_);
  HidDevice* device = SendTargetLocked();
  if (!device) return false;
  std::array<uint8_t, kHidOutputReportSize> report{};
  std::memcpy(report.data() + 1, data64, kHidFrameDataSize);
  if (WriteLocked(device, report.data(), report.size()) <= 0) {
    clock_->SleepMs(kHidWriteRetryPauseMs);
    WriteLocked(device, report.data(), report.size());
  }
  return ReadLocked(device, data64, kHidQuickReadTimeoutMs) > 0;
}

bool KeyboardHid::WriteFrameSlowRetry(const uint8_t* data64) {
  std::shared_lock<std::shared_mutex> list(listLock_);
  HidDevice* device = SendTargetLocked();
  if (!device) return false;
  std::array<uint8_t, kHidOutputReportSize> report{};
  std::memcpy(report.data() + 1, data64, kHidFrameDataSize);
  if (WriteLocked(device, report.data(), report.size()) > 0) return true;
  clock_->SleepMs(kHidSlowRetryPauseMs);
  return WriteLocked(device, report.data(), report.size()) > 0;
}

bool KeyboardHid::WriteReport(const uint8_t* report65) {
  std::shared_lock<std::shared_mutex> list(listLock_);
  HidDevice* device = SendTargetLocked();
  if (!device) return false;
  if (WriteLocked(device, report65, kHidOutputReportSize) > 0) return true;
  clock_->SleepMs(kHidWriteRetryPauseMs);
  return WriteLocked(device, report65, kHidOutputReportSize) > 0;
}

bool KeyboardHid::SendFeature(const uint8_t* report65) {
  std::shared_lock<std::shared_mutex> list(listLock_);
  HidDevice* device = SendTargetLocked();
  if (!device) return false;
  clock_->SleepMs(kHidFeaturePauseMs);
  if (device->SendFeatureReport(report65, kHidFeatureReportSize) > 0) return true;
  NoteError(device);
  return false;
}

bool KeyboardHid::FeatureExchange8(uint8_t* buf28) {
  std::shared_lock<std::shared_mutex> list(listLock_);
  HidDevice* device = SendTargetLocked();
  if (!device) return false;
  std::array<uint8_t, kHidFeatureReport8Size> request{};
  std::memcpy(request.data(), buf28, kHidFeatureReport8Size);
  if (device->SendFeatureReport(request.data(), request.size()) <= 0) {
    // Nothing was asked, so there is nothing to collect.
    NoteError(device);
    return false;
  }
  bool allAnswered = true;
  for (size_t i = 0; i < 4; ++i) {
    clock_->SleepMs(kHidFeaturePauseMs);
    std::array<uint8_t, kHidFeatureReport8Size> answer{};
    std::memcpy(answer.data(), kFeatureGetRequest, sizeof kFeatureGetRequest);
    int got = device->GetFeatureReport(answer.data(), answer.size());
    if (got <= 0) {
      NoteError(device);
      allAnswered = false;
      continue;
    }
    // A short answer fills only its own bytes; the request bytes behind them are no table
    // content.
    const size_t filled = std::min(static_cast<size_t>(got), answer.size());
    std::fill(answer.begin() + filled, answer.end(), 0);
    std::memcpy(buf28 + 7 * i, answer.data() + 1, 7);
  }
  return allAnswered;
}

bool KeyboardHid::ReadInput(uint8_t* data64) {
  std::shared_lock<std::shared_mutex> list(listLock_);
  if (!Initialised()) return false;
  int current = ChooseCurrentLocked();
  if (current >= 0) {
    return ReadLocked(interfaces_[current].handle.get(), data64, kHidQuickReadTimeoutMs) > 0;
  }
  for (HidInterfaceEntry& e : interfaces_) {
    if (!e.handle) continue;
    if (ReadLocked(e.handle.get(), data64, kHidQuickReadTimeoutMs) <= 0) continue;
    if (std::memcmp(data64, kStatusSignature, sizeof kStatusSignature) == 0) {
      std::lock_guard<std::mutex> state(stateLock_);
      e.connected = data64[kLinkStateOffset] != 0;
      current_ = -1;
    }
    return true;
  }
  return false;
}

std::wstring KeyboardHid::LastError() const {
  std::lock_guard<std::mutex> state(stateLock_);
  return lastError_;
}

// ---------------------------------------------------------------------------------------
// Command reports

bool KeyboardHid::CanSend() const {
  std::shared_lock<std::shared_mutex> list(listLock_);
  return SendTargetLocked() != nullptr;
}

bool KeyboardHid::Send(const OutgoingReport& report, std::vector<uint8_t>* reply) {
  if (!CanSend()) return false;
  if (report.pauseBeforeMs > 0) clock_->SleepMs(report.pauseBeforeMs);

  // The operations take fixed-size buffers; shorter builder output is zero-padded.
  std::array<uint8_t, kHidOutputReportSize> buffer{};
  std::memcpy(buffer.data(), report.bytes.data(), std::min(report.bytes.size(), buffer.size()));
  bool ok = false;
  size_t replyLength = 0;
  switch (report.op) {
    case TransportOp::WriteFrame:
      ok = WriteFrame(buffer.data(), false);
      break;
    case TransportOp::WriteFrameAndRead:
      ok = WriteFrame(buffer.data(), true);
      replyLength = kHidFrameDataSize;
      break;
    case TransportOp::WriteFrameQuickRead:
      ok = WriteFrameQuickRead(buffer.data());
      replyLength = kHidFrameDataSize;
      break;
    case TransportOp::WriteFrameSlowRetry:
      ok = WriteFrameSlowRetry(buffer.data());
      break;
    case TransportOp::WriteReport:
      ok = WriteReport(buffer.data());
      break;
    case TransportOp::SendFeature:
      ok = SendFeature(buffer.data());
      break;
    case TransportOp::FeatureExchange8: {
      std::array<uint8_t, kHidExchange8ResultSize> exchange{};
      std::memcpy(exchange.data(), buffer.data(), kHidFeatureReport8Size);
      ok = FeatureExchange8(exchange.data());
      std::memcpy(buffer.data(), exchange.data(), exchange.size());
      replyLength = kHidExchange8ResultSize;
      break;
    }
  }
  if (ok && reply && replyLength > 0) reply->assign(buffer.begin(), buffer.begin() + replyLength);
  if (report.pauseAfterMs > 0) clock_->SleepMs(report.pauseAfterMs);
  return ok;
}

bool KeyboardHid::SendSequence(const ReportSequence& reports, std::vector<uint8_t>* reply) {
  bool all = true;
  for (const OutgoingReport& report : reports) {
    if (Send(report, reply)) continue;
    all = false;
    if (report.stopOnFailure || !CanSend()) break;
  }
  return all;
}
