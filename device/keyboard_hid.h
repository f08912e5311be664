#pragma once
// KeyboardHid: the one link between the program and the keyboard's HID interfaces. It
// keeps the registered identities, the interfaces that discovery opened, the choice of
// the interface that commands go to, and the report-level send and receive operations
// with their retries and pauses.
//
// The program uses the process-wide instance (Instance()); tests build their own with a
// simulated back end and a FakeClock.
//
// Threads: sends come from the worker and, for a few settings, from the UI thread; reads,
// discovery and CloseAll from the worker. Sends and reads share the interface list; list
// changes (CloseAll, AppendInterface, SetBackend) wait for them to finish.
#include <cstdint>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/hid_backend.h"
#include "device/hid_interface_entry.h"
#include "protocol/outgoing_report.h"

// Report sizes of the keyboard protocol.
inline constexpr size_t kHidOutputReportSize = 65;   // report ID + 64 data bytes
inline constexpr size_t kHidFeatureReportSize = 65;  // feature report 7 and friends
inline constexpr size_t kHidFeatureReport8Size = 8;  // the short feature exchange
inline constexpr size_t kHidFrameDataSize = 64;      // data bytes of an output/input report
inline constexpr size_t kHidExchange8ResultSize = 28;  // four answers of 7 bytes

// Pauses and time-outs of the transport, in milliseconds.
inline constexpr int kHidWriteRetryPauseMs = 10;
inline constexpr int kHidSlowRetryPauseMs = 32;
inline constexpr int kHidReplyPauseMs = 100;
inline constexpr int kHidReplyTimeoutMs = 500;
inline constexpr int kHidQuickReadTimeoutMs = 10;
inline constexpr int kHidFeaturePauseMs = 16;

class KeyboardHid {
 public:
  // A back end of null means hidapi. The clock must outlive the object.
  explicit KeyboardHid(std::shared_ptr<HidBackend> backend = nullptr,
                       Clock* clock = &SteadyClock::Instance());
  ~KeyboardHid();
  KeyboardHid(const KeyboardHid&) = delete;
  KeyboardHid& operator=(const KeyboardHid&) = delete;

  // The process-wide instance, created on first use with the hidapi back end.
  static KeyboardHid& Instance();

  // Replaces the back end (e.g. by the simulated keyboard); closes every open interface.
  void SetBackend(std::shared_ptr<HidBackend> backend);
  std::shared_ptr<HidBackend> Backend() const;
  void SetClock(Clock* clock);
  Clock& GetClock() const { return *clock_; }

  // ---- identities and interface list (filled by discovery) ----
  void AddInterfaceFilter(uint16_t vid, uint16_t pid, uint16_t rev,
                          const std::wstring& productName, int deviceType, int mode,
                          const std::wstring& hidInterface);
  std::vector<HidInterfaceFilter> Filters() const;

  bool Initialised() const;
  void SetInitialised(bool initialised);
  int DeviceTypeFilter() const;
  // Selects the device_type whose interfaces may be used (0 = any); forgets the current
  // interface so that the next send chooses again.
  void SetDeviceTypeFilter(int deviceType);

  // Appends an opened interface; answers its index.
  int AppendInterface(HidInterfaceEntry entry);
  // Keeps an interface open without using it (replaces, and closes, a previous one).
  void SetSpareInterface(std::unique_ptr<HidDevice> device);
  bool HasSpareInterface() const;
  void SetConnected(int index, bool connected);
  // Copies of the listed entries (without their handles), of one device_type or all (0).
  std::vector<HidInterfaceEntry> Interfaces(int deviceType = 0) const;
  size_t InterfaceCount() const;

  // Closes every interface; only when initialised, which it clears.
  void CloseAll();
  // Discovery (keyboard_hid_discovery.cpp): closes whatever the previous run opened,
  // enumerates the back end, opens the vendor collections of the registered identities,
  // holds an "&MI_03" interface as the spare, probes the others with the status request and
  // lists them. Leaves `initialised` to the caller. Answers the number of listed entries.
  int Rescan();

  // ---- choices over the list ----
  // Index of the interface that sends go to: the first connected cable entry of the
  // device_type filter, else the first connected receiver entry; -1 when none.
  int CurrentInterface() const;
  // 0 cable, 2 receiver, -1 none.
  int ConnectionMode() const;
  bool KeyboardVersion(uint16_t& version) const;
  bool ReceiverVersion(uint16_t& version) const;
  // Index of a connected entry with this identity, -1 when none. An empty product name
  // matches any entry.
  int FindConnected(uint16_t vid, uint16_t pid, const std::wstring& productName, int mode) const;

  // ---- transport ----
  // Writes report ID 0 + the 64 bytes; one retry after 10 ms. With expectReply, waits
  // 100 ms and reads one input report (500 ms time-out) into data64.
  bool WriteFrame(uint8_t* data64, bool expectReply = false);
  bool WriteFrameAndRead(uint8_t* data64) { return WriteFrame(data64, true); }
  // Writes as WriteFrame (the retry's result is not checked), then reads one input report
  // with a 10 ms time-out into data64.
  bool WriteFrameQuickRead(uint8_t* data64);
  // Writes; when nothing is transferred waits 32 ms and writes once more.
  bool WriteFrameSlowRetry(const uint8_t* data64);
  // Writes the 65 bytes as given (byte 0 = report ID); one retry after 10 ms.
  bool WriteReport(const uint8_t* report65);
  // Waits 16 ms and sends the 65-byte feature report; no retry. A failure keeps the error
  // text (LastError) and answers false.
  bool SendFeature(const uint8_t* report65);
  // Sends buf's first 8 bytes as a feature report, then four times waits 16 ms and gets
  // feature report 7 (8 bytes), copying bytes 1-7 of each answer to buf at 7*i. buf holds
  // 28 bytes. True when the send and all four gets succeeded.
  bool FeatureExchange8(uint8_t* buf28);
  // Reads one pending input report with a 10 ms time-out: from the current interface, or
  // without one from each listed interface in turn (a status report then updates that
  // entry's connected flag).
  bool ReadInput(uint8_t* data64);

  // ---- command reports built by protocol/ ----
  // Carries one report with its operation and pauses: the pause before, the operation,
  // the pause after. With no device to send to, nothing happens (no pauses either) and the
  // answer is false. `reply` receives what a reading operation read (64 bytes, or the 28
  // bytes of FeatureExchange8); it is left alone by the other operations.
  bool Send(const OutgoingReport& report, std::vector<uint8_t>* reply = nullptr);
  // Sends the reports in order; a failed report marked stopOnFailure abandons the rest.
  // True when every report went out. `reply` receives the last reading operation's bytes.
  bool SendSequence(const ReportSequence& reports, std::vector<uint8_t>* reply = nullptr);
  // Whether a send would reach a device now (initialised, with a current interface).
  bool CanSend() const;

  // The last failure text of a send or read.
  std::wstring LastError() const;

 private:
  // Under listLock_ (shared or exclusive).
  int ChooseCurrentLocked() const;
  HidDevice* SendTargetLocked() const;
  int WriteLocked(HidDevice* device, const uint8_t* report, size_t length);
  int ReadLocked(HidDevice* device, uint8_t* data64, int timeoutMs);
  void CloseEverythingLocked();
  void NoteError(HidDevice* device);

  std::shared_ptr<HidBackend> backend_;
  Clock* clock_;

  mutable std::shared_mutex listLock_;
  std::vector<HidInterfaceEntry> interfaces_;
  std::unique_ptr<HidDevice> spare_;

  // Small state read and changed while the list is shared.
  mutable std::mutex stateLock_;
  bool initialised_ = false;
  std::vector<HidInterfaceFilter> filters_;
  int deviceTypeFilter_ = 0;
  mutable int current_ = -1;  // chosen lazily; -1 = choose again on next use
  std::wstring lastError_;
};
