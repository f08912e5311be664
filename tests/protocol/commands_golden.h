#pragma once
// Expected reports written out from the command tables: a zeroed report of a given size with
// runs of listed bytes at listed offsets.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "protocol/outgoing_report.h"

struct ByteRun {
  size_t at;
  std::vector<uint8_t> bytes;
};

inline std::vector<uint8_t> Golden(size_t size, const std::vector<ByteRun>& runs) {
  std::vector<uint8_t> out(size, 0);
  for (const ByteRun& run : runs)
    for (size_t i = 0; i < run.bytes.size(); ++i) out.at(run.at + i) = run.bytes[i];
  return out;
}

// 64 data bytes of a framed command: AA 55 CC 33, command, then the runs (data offsets).
inline std::vector<uint8_t> GoldenFrame(uint8_t command, std::vector<ByteRun> runs = {}) {
  runs.insert(runs.begin(), ByteRun{0, {0xAA, 0x55, 0xCC, 0x33, command}});
  return Golden(64, runs);
}

inline std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string text;
  for (uint8_t b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
    text += ' ';
  }
  return text;
}

inline void PrintTo(const OutgoingReport& r, std::ostream* os) {
  *os << TransportOpName(r.op) << " before " << r.pauseBeforeMs << " after " << r.pauseAfterMs
      << (r.stopOnFailure ? " stop-on-failure" : "") << " [" << Hex(r.bytes) << "]";
}

inline OutgoingReport Expect(TransportOp op, std::vector<uint8_t> bytes, int before = 0,
                             int after = 0, bool stop = false) {
  OutgoingReport r;
  r.op = op;
  r.bytes = std::move(bytes);
  r.pauseBeforeMs = before;
  r.pauseAfterMs = after;
  r.stopOnFailure = stop;
  return r;
}
