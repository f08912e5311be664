#include "emulator/simulated_device.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "emulator/simulated_bus.h"

namespace {

bool IsStatusRequest(const uint8_t* report, size_t length) {
  return length > FR_CMD_OFFSET + 1 && std::memcmp(report + 1, FRAME_MAGIC, 4) == 0 &&
         report[1 + FR_CMD_OFFSET] == FR_GET_STATUS;
}

}  // namespace

SimulatedDevice::SimulatedDevice(SimIdentity identity, SimConnection connection,
                                 std::shared_ptr<SimulatedKeyboard> keyboard)
    : identity_(std::move(identity)),
      connection_(connection),
      keyboard_(keyboard ? std::move(keyboard) : std::make_shared<SimulatedKeyboard>(301)) {}

SimIdentity SimulatedDevice::DefaultIdentity(int deviceType, SimConnection connection) {
  SimIdentity id;
  id.vid = kSimVendorId;
  id.pid = static_cast<uint16_t>((connection == SimConnection::Receiver ? 0x8000 : 0) +
                                 (deviceType & 0x0FFF));
  id.release = 0x0100;
  bool opcode = CommandFamilyFor(deviceType) == CommandFamily::Opcode;
  id.interfaces = {
      {0, 0x0001, 0x0006},                                          // boot keyboard
      {1, uint16_t(opcode ? 0xFF01 : 0xFF02), uint16_t(opcode ? 0x01 : 0x02)},  // vendor
      {2, 0x000C, 0x0001},                                          // consumer keys
  };
  return id;
}

bool SimulatedDevice::Plugged() const {
  std::lock_guard<std::mutex> guard(lock_);
  return plugged_;
}

// ---------------------------------------------------------------------------------------
// Bus attachment

void SimulatedDevice::AttachLocked(SimulatedBus* bus, std::shared_ptr<SimJournal> journal,
                                   Clock* clock, std::vector<std::string> paths) {
  std::lock_guard<std::mutex> guard(lock_);
  bus_ = bus;
  journal_ = std::move(journal);
  clock_ = clock;
  paths_ = std::move(paths);
  ++generation_;
  plugged_ = true;
  inputs_.clear();
}

void SimulatedDevice::DetachLocked() {
  std::lock_guard<std::mutex> guard(lock_);
  plugged_ = false;
  bus_ = nullptr;
  inputs_.clear();
  arrived_.notify_all();
}

std::vector<std::string> SimulatedDevice::Paths() const {
  std::lock_guard<std::mutex> guard(lock_);
  return paths_;
}

std::string SimulatedDevice::PathOf(int interfaceNumber) const {
  std::lock_guard<std::mutex> guard(lock_);
  for (size_t i = 0; i < identity_.interfaces.size() && i < paths_.size(); ++i) {
    if (identity_.interfaces[i].number == interfaceNumber) return paths_[i];
  }
  return {};
}

uint64_t SimulatedDevice::Generation() const {
  std::lock_guard<std::mutex> guard(lock_);
  return generation_;
}

bool SimulatedDevice::Alive(uint64_t generation) const {
  std::lock_guard<std::mutex> guard(lock_);
  return plugged_ && generation == generation_;
}

const SimInterfaceSpec* SimulatedDevice::SpecOf(int interfaceNumber) const {
  for (const SimInterfaceSpec& spec : identity_.interfaces) {
    if (spec.number == interfaceNumber) return &spec;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------
// State set by tests

void SimulatedDevice::SetKeyboardLinked(bool linked) {
  std::lock_guard<std::mutex> guard(lock_);
  if (connection_ != SimConnection::Receiver || keyboardLinked_ == linked) return;
  keyboardLinked_ = linked;
  if (!plugged_) return;
  for (const SimInterfaceSpec& spec : identity_.interfaces) {
    if (spec.Vendor()) QueueLocked(spec.number, keyboard_->StatusReport(LinkStateLocked()), 0);
  }
}

bool SimulatedDevice::KeyboardLinked() const {
  std::lock_guard<std::mutex> guard(lock_);
  return keyboardLinked_;
}

uint8_t SimulatedDevice::LinkState() const {
  std::lock_guard<std::mutex> guard(lock_);
  return LinkStateLocked();
}

uint8_t SimulatedDevice::LinkStateLocked() const {
  if (linkOverride_) return *linkOverride_;
  if (connection_ == SimConnection::Cable) return FR_LINK_CABLE;
  return keyboardLinked_ ? FR_LINK_RECEIVER : FR_LINK_NONE;
}

void SimulatedDevice::OverrideLinkState(std::optional<uint8_t> linkState) {
  std::lock_guard<std::mutex> guard(lock_);
  linkOverride_ = linkState;
}

void SimulatedDevice::SendStatusReport() {
  std::lock_guard<std::mutex> guard(lock_);
  if (!plugged_) return;
  for (const SimInterfaceSpec& spec : identity_.interfaces) {
    if (spec.Vendor()) QueueLocked(spec.number, keyboard_->StatusReport(LinkStateLocked()), 0);
  }
}

void SimulatedDevice::PushInput(std::vector<uint8_t> data, int delayMs) {
  std::lock_guard<std::mutex> guard(lock_);
  if (!plugged_) return;
  for (const SimInterfaceSpec& spec : identity_.interfaces) {
    if (spec.Vendor()) QueueLocked(spec.number, data, int64_t{delayMs} * 1000);
  }
}

void SimulatedDevice::SetReplyDelayMs(int delayMs) {
  std::lock_guard<std::mutex> guard(lock_);
  replyDelayUs_ = int64_t{std::max(delayMs, 0)} * 1000;
}

void SimulatedDevice::FailNextWrites(int count) {
  std::lock_guard<std::mutex> guard(lock_);
  failNextWrites_ = std::max(count, 0);
}

void SimulatedDevice::SetWritesFail(bool always) {
  std::lock_guard<std::mutex> guard(lock_);
  writesFail_ = always;
}

void SimulatedDevice::SetFeatureGetsFail(bool always) {
  std::lock_guard<std::mutex> guard(lock_);
  featureGetsFail_ = always;
}

void SimulatedDevice::SetReplyFault(SimReplyFault fault, size_t shortReplyLength) {
  std::lock_guard<std::mutex> guard(lock_);
  replyFault_ = fault;
  shortReplyLength_ = shortReplyLength;
}

void SimulatedDevice::VanishAfterWrites(int count) {
  std::unique_lock<std::mutex> lock(lock_);
  vanishAfter_ = count;
  if (count == 0) {
    vanishAfter_ = 1;
    AfterAcceptedWrite(lock);
  }
}

// ---------------------------------------------------------------------------------------
// Traffic

bool SimulatedDevice::TakeWriteFault() {
  if (writesFail_) return true;
  if (failNextWrites_ > 0) {
    --failNextWrites_;
    return true;
  }
  return false;
}

bool SimulatedDevice::ReachesKeyboard() const {
  return connection_ == SimConnection::Cable || keyboardLinked_;
}

void SimulatedDevice::QueueLocked(int interfaceNumber, std::vector<uint8_t> data,
                                  int64_t delayUs) {
  Pending pending{clock_->NowUs() + delayUs, std::move(data)};
  std::deque<Pending>& queue = inputs_[interfaceNumber];
  auto at = std::upper_bound(queue.begin(), queue.end(), pending.arrivalUs,
                             [](int64_t t, const Pending& p) { return t < p.arrivalUs; });
  queue.insert(at, std::move(pending));
  arrived_.notify_all();
}

void SimulatedDevice::QueueReplyLocked(int interfaceNumber, std::vector<uint8_t> data) {
  switch (replyFault_) {
    case SimReplyFault::None:
      break;
    case SimReplyFault::Short:
      data.resize(std::min(data.size(), shortReplyLength_));
      break;
    case SimReplyFault::Garbled:
      for (size_t i = 0; i < data.size() && i < 4; ++i) data[i] = static_cast<uint8_t>(~data[i]);
      break;
    case SimReplyFault::Silent:
      return;
  }
  QueueLocked(interfaceNumber, std::move(data), replyDelayUs_);
}

void SimulatedDevice::Journal(SimReportKind kind, int interfaceNumber, const uint8_t* data,
                              size_t length, bool accepted) {
  if (!journal_) return;
  SimJournalEntry entry;
  entry.timeUs = clock_->NowUs();
  entry.kind = kind;
  for (size_t i = 0; i < identity_.interfaces.size() && i < paths_.size(); ++i) {
    if (identity_.interfaces[i].number == interfaceNumber) entry.path = paths_[i];
  }
  entry.interfaceNumber = interfaceNumber;
  entry.bytes.assign(data, data + length);
  entry.accepted = accepted;
  journal_->Record(std::move(entry));
}

void SimulatedDevice::AfterAcceptedWrite(std::unique_lock<std::mutex>& lock) {
  if (vanishAfter_ <= 0 || --vanishAfter_ > 0) return;
  vanishAfter_ = -1;
  SimulatedBus* bus = bus_;
  std::shared_ptr<SimulatedDevice> self = shared_from_this();
  lock.unlock();
  if (bus) bus->Unplug(self);
}

void SimulatedDevice::OpenInterface(int interfaceNumber) {
  std::lock_guard<std::mutex> guard(lock_);
  inputs_[interfaceNumber].clear();
}

int SimulatedDevice::Write(uint64_t generation, int interfaceNumber, const uint8_t* data,
                           size_t length) {
  std::unique_lock<std::mutex> lock(lock_);
  if (!plugged_ || generation != generation_ || length == 0 || TakeWriteFault()) {
    Journal(SimReportKind::Output, interfaceNumber, data, length, false);
    return -1;
  }
  Journal(SimReportKind::Output, interfaceNumber, data, length, true);
  const SimInterfaceSpec* spec = SpecOf(interfaceNumber);
  if (spec && spec->Vendor()) {
    std::optional<std::vector<uint8_t>> reply;
    if (ReachesKeyboard()) reply = keyboard_->HandleOutput(data, length, connection_ == SimConnection::Receiver);
    if (IsStatusRequest(data, length)) reply = keyboard_->StatusReport(LinkStateLocked());
    if (reply) QueueReplyLocked(interfaceNumber, std::move(*reply));
  }
  AfterAcceptedWrite(lock);
  return static_cast<int>(length);
}

int SimulatedDevice::Read(uint64_t generation, int interfaceNumber, uint8_t* data,
                          size_t length, int timeoutMs) {
  std::unique_lock<std::mutex> lock(lock_);
  const int64_t deadline = timeoutMs < 0 ? std::numeric_limits<int64_t>::max() / 2
                                         : clock_->NowUs() + int64_t{timeoutMs} * 1000;
  for (;;) {
    if (!plugged_ || generation != generation_) return -1;
    std::deque<Pending>& queue = inputs_[interfaceNumber];
    const int64_t now = clock_->NowUs();
    if (!queue.empty() && queue.front().arrivalUs <= now) {
      std::vector<uint8_t> report = std::move(queue.front().data);
      queue.pop_front();
      size_t copied = std::min(length, report.size());
      std::memcpy(data, report.data(), copied);
      Journal(SimReportKind::Input, interfaceNumber, report.data(), report.size(), true);
      return static_cast<int>(copied);
    }
    if (now >= deadline) return 0;
    int64_t wake = deadline;
    if (!queue.empty()) wake = std::min(wake, queue.front().arrivalUs);
    clock_->WaitUntil(arrived_, lock, wake);
  }
}

int SimulatedDevice::SendFeature(uint64_t generation, int interfaceNumber, const uint8_t* data,
                                 size_t length) {
  std::unique_lock<std::mutex> lock(lock_);
  if (!plugged_ || generation != generation_ || length == 0 || TakeWriteFault()) {
    Journal(SimReportKind::FeatureSet, interfaceNumber, data, length, false);
    return -1;
  }
  Journal(SimReportKind::FeatureSet, interfaceNumber, data, length, true);
  const SimInterfaceSpec* spec = SpecOf(interfaceNumber);
  if (spec && spec->Vendor() && ReachesKeyboard()) keyboard_->HandleFeatureSet(data, length);
  AfterAcceptedWrite(lock);
  return static_cast<int>(length);
}

int SimulatedDevice::GetFeature(uint64_t generation, int interfaceNumber, uint8_t* data,
                                size_t length) {
  std::lock_guard<std::mutex> guard(lock_);
  const SimInterfaceSpec* spec = SpecOf(interfaceNumber);
  bool answers = plugged_ && generation == generation_ && length > 0 && !featureGetsFail_ &&
                 spec && spec->Vendor() && ReachesKeyboard() &&
                 replyFault_ != SimReplyFault::Silent;
  if (!answers) {
    Journal(SimReportKind::FeatureGet, interfaceNumber, data, length, false);
    return -1;
  }
  // A short answer, as the kernel hands it over, fills only its own bytes: the rest of the
  // caller's buffer keeps what was there before the get.
  const std::vector<uint8_t> before(data, data + length);
  int got = keyboard_->HandleFeatureGet(data, length);
  if (replyFault_ == SimReplyFault::Short) {
    got = static_cast<int>(std::min<size_t>(got, shortReplyLength_));
    std::memcpy(data + got, before.data() + got, length - got);
  } else if (replyFault_ == SimReplyFault::Garbled) {
    for (size_t i = 1; i < length; ++i) data[i] = static_cast<uint8_t>(~data[i]);
  }
  Journal(SimReportKind::FeatureGet, interfaceNumber, data, got, true);
  return got;
}
