#pragma once
// The simulated keyboard's record of every report that crossed its interfaces, with the
// time it happened on the bus clock. Tests read it; the worker thread writes it.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

enum class SimReportKind {
  Output,      // output report written by the host (byte 0 = report ID)
  FeatureSet,  // feature report sent by the host (byte 0 = report ID)
  FeatureGet,  // feature report fetched by the host: the bytes handed back
  Input,       // input report delivered to the host (data bytes)
};

struct SimJournalEntry {
  int64_t timeUs = 0;
  SimReportKind kind = SimReportKind::Output;
  std::string path;         // the interface's path
  int interfaceNumber = -1;
  std::vector<uint8_t> bytes;
  bool accepted = true;     // false: the device failed the transfer (fault or unplugged)
};

class SimJournal {
 public:
  void Record(SimJournalEntry entry);
  std::vector<SimJournalEntry> Entries() const;
  // Entries of one kind, accepted ones only unless `includeFailed`.
  std::vector<SimJournalEntry> OfKind(SimReportKind kind, bool includeFailed = false) const;
  size_t Size() const;
  void Clear();
  // Off: reports are not kept (long benchmark runs); on by default.
  void SetRecording(bool on);


 private:
  mutable std::mutex lock_;
  std::vector<SimJournalEntry> entries_;
  bool recording_ = true;
};
