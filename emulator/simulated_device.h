#pragma once
// One simulated USB device on the SimulatedBus: a keyboard on its cable, or a 2.4 GHz
// receiver with the keyboard behind it. It has the USB identity and HID interfaces that
// enumeration shows, queues input reports per interface with their arrival time on the bus
// clock, answers the status request with battery and link state, and carries the faults a
// test switches on. The protocol itself is the SimulatedKeyboard's. Thread-safe.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/clock.h"
#include "emulator/sim_journal.h"
#include "emulator/simulated_keyboard.h"

class SimulatedBus;

// Placeholder identity of the simulated models (real identities come from config.xml).
inline constexpr uint16_t kSimVendorId = 0x3A5C;

struct SimInterfaceSpec {
  int number = 0;           // USB interface number
  uint16_t usagePage = 0;
  uint16_t usage = 0;
  // Carries the configuration protocol: status, commands and replies.
  bool Vendor() const {
    return (usagePage == 0xFF02 && usage == 0x02) || (usagePage == 0xFF01 && usage == 0x01);
  }
};

struct SimIdentity {
  uint16_t vid = kSimVendorId;
  uint16_t pid = 0;
  uint16_t release = 0x0100;
  std::wstring product;
  std::vector<SimInterfaceSpec> interfaces;
};

enum class SimConnection { Cable, Receiver };

// How the device answers requests that expect a reply.
enum class SimReplyFault {
  None,     // replies as it should
  Short,    // replies with only the first `shortReplyLength` bytes
  Garbled,  // replies whose first bytes are not the AA 55 CC 33 signature
  Silent,   // never replies
};

class SimulatedDevice : public std::enable_shared_from_this<SimulatedDevice> {
 public:
  SimulatedDevice(SimIdentity identity, SimConnection connection,
                  std::shared_ptr<SimulatedKeyboard> keyboard);

  // The default identity of a model family: keyboard pid 0x0000 + device_type, receiver
  // pid 0x8000 + device_type; interface 0 a standard keyboard, 1 the vendor collection
  // (usage page 0xFF02 / usage 2, or 0xFF01 / 1 for the opcode family), 2 consumer keys.
  static SimIdentity DefaultIdentity(int deviceType, SimConnection connection);

  const SimIdentity& Identity() const { return identity_; }
  SimConnection Connection() const { return connection_; }
  std::shared_ptr<SimulatedKeyboard> Keyboard() const { return keyboard_; }
  bool Plugged() const;

  // ---- state a test sets ----
  // Receiver only: the keyboard behind it is switched on and linked. A change sends an
  // unsolicited status report.
  void SetKeyboardLinked(bool linked);
  bool KeyboardLinked() const;
  // The link state reported: 3 on cable, 1 / 0 through the receiver, unless overridden.
  uint8_t LinkState() const;
  void OverrideLinkState(std::optional<uint8_t> linkState);
  // Sends an unsolicited status report now.
  void SendStatusReport();
  // Queues any input report on the vendor interface, arriving after `delayMs`.
  void PushInput(std::vector<uint8_t> data, int delayMs = 0);
  // Time between a request and its reply (default 1 ms).
  void SetReplyDelayMs(int delayMs);

  // ---- faults ----
  void FailNextWrites(int count);         // output and feature writes fail `count` times
  void SetWritesFail(bool always);        // every output and feature write fails
  void SetFeatureGetsFail(bool always);
  void SetReplyFault(SimReplyFault fault, size_t shortReplyLength = 4);
  // After `count` more accepted writes, the device is unplugged from its bus (a cable
  // pulled mid-upload). Negative: never.
  void VanishAfterWrites(int count);

  // ---- used by the back end's handles ----
  // Interface paths, in interface order; assigned when plugged.
  std::vector<std::string> Paths() const;
  std::string PathOf(int interfaceNumber) const;
  uint64_t Generation() const;  // changes with every plug
  bool Alive(uint64_t generation) const;
  void OpenInterface(int interfaceNumber);  // a fresh handle sees no stale reports
  int Write(uint64_t generation, int interfaceNumber, const uint8_t* data, size_t length);
  int Read(uint64_t generation, int interfaceNumber, uint8_t* data, size_t length,
           int timeoutMs);
  int SendFeature(uint64_t generation, int interfaceNumber, const uint8_t* data, size_t length);
  int GetFeature(uint64_t generation, int interfaceNumber, uint8_t* data, size_t length);

 private:
  friend class SimulatedBus;
  struct Pending {
    int64_t arrivalUs = 0;
    std::vector<uint8_t> data;
  };

  // Called by the bus under its own lock.
  void AttachLocked(SimulatedBus* bus, std::shared_ptr<SimJournal> journal, Clock* clock,
                    std::vector<std::string> paths);
  void DetachLocked();

  const SimInterfaceSpec* SpecOf(int interfaceNumber) const;
  bool TakeWriteFault();  // under lock_
  void QueueLocked(int interfaceNumber, std::vector<uint8_t> data, int64_t delayUs);
  void QueueReplyLocked(int interfaceNumber, std::vector<uint8_t> data);
  void Journal(SimReportKind kind, int interfaceNumber, const uint8_t* data, size_t length,
               bool accepted);
  bool ReachesKeyboard() const;  // under lock_
  uint8_t LinkStateLocked() const;
  void AfterAcceptedWrite(std::unique_lock<std::mutex>& lock);

  const SimIdentity identity_;
  const SimConnection connection_;
  const std::shared_ptr<SimulatedKeyboard> keyboard_;

  mutable std::mutex lock_;
  std::condition_variable arrived_;
  SimulatedBus* bus_ = nullptr;
  std::shared_ptr<SimJournal> journal_;
  Clock* clock_ = &SteadyClock::Instance();
  std::vector<std::string> paths_;
  uint64_t generation_ = 0;
  bool plugged_ = false;
  std::map<int, std::deque<Pending>> inputs_;

  bool keyboardLinked_ = true;
  std::optional<uint8_t> linkOverride_;
  int64_t replyDelayUs_ = 1000;
  int failNextWrites_ = 0;
  bool writesFail_ = false;
  bool featureGetsFail_ = false;
  SimReplyFault replyFault_ = SimReplyFault::None;
  size_t shortReplyLength_ = 4;
  int vanishAfter_ = -1;
};
