#include "emulator/sim_journal.h"

void SimJournal::Record(SimJournalEntry entry) {
  std::lock_guard<std::mutex> guard(lock_);
  if (recording_) entries_.push_back(std::move(entry));
}

std::vector<SimJournalEntry> SimJournal::Entries() const {
  std::lock_guard<std::mutex> guard(lock_);
  return entries_;
}

std::vector<SimJournalEntry> SimJournal::OfKind(SimReportKind kind, bool includeFailed) const {
  std::lock_guard<std::mutex> guard(lock_);
  std::vector<SimJournalEntry> result;
  for (const SimJournalEntry& e : entries_) {
    if (e.kind == kind && (includeFailed || e.accepted)) result.push_back(e);
  }
  return result;
}

size_t SimJournal::Size() const {
  std::lock_guard<std::mutex> guard(lock_);
  return entries_.size();
}

void SimJournal::Clear() {
  std::lock_guard<std::mutex> guard(lock_);
  entries_.clear();
}

void SimJournal::SetRecording(bool on) {
  std::lock_guard<std::mutex> guard(lock_);
  recording_ = on;
}
