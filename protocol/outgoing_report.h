#pragma once
// What a command builder hands to the transport: the bytes of one report, the transport
// operation that carries it and the pauses around it. Builders only describe; the HID
// transport (or the simulated keyboard) sends and sleeps.
#include <cstdint>
#include <vector>

// The transport operations of the HID link. `bytes` of an OutgoingReport is exactly the
// argument of that operation:
//   WriteFrame, WriteFrameAndRead, WriteFrameQuickRead, WriteFrameSlowRetry:
//       the 64 data bytes; the transport prepends report ID 0.
//   WriteReport, SendFeature: the 65 bytes as they go out, byte 0 = report ID.
//   FeatureExchange8: the 8-byte feature request (byte 0 = report ID); 28 bytes come back.
enum class TransportOp {
  WriteFrame,
  WriteFrameAndRead,
  WriteFrameQuickRead,
  WriteFrameSlowRetry,
  WriteReport,
  SendFeature,
  FeatureExchange8,
};

// Name of the operation, for test messages and traces.
const char* TransportOpName(TransportOp op);

// True for the operations whose bytes are the 64 data bytes without the report ID.
inline bool TakesFrameData(TransportOp op) {
  return op == TransportOp::WriteFrame || op == TransportOp::WriteFrameAndRead ||
         op == TransportOp::WriteFrameQuickRead || op == TransportOp::WriteFrameSlowRetry;
}

struct OutgoingReport {
  TransportOp op = TransportOp::WriteFrame;
  std::vector<uint8_t> bytes;
  int pauseBeforeMs = 0;  // the sending thread sleeps this long before the operation
  int pauseAfterMs = 0;   // ... and this long after it
  // When this report fails, the rest of its sequence is abandoned (multi-report uploads that
  // must not leave the keyboard with half a block).
  bool stopOnFailure = false;

  // The report as it appears on the wire: report ID first (0 is prepended for frame data).
  std::vector<uint8_t> WireBytes() const {
    if (!TakesFrameData(op)) return bytes;
    std::vector<uint8_t> wire;
    wire.reserve(bytes.size() + 1);
    wire.push_back(0);
    wire.insert(wire.end(), bytes.begin(), bytes.end());
    return wire;
  }

  bool operator==(const OutgoingReport&) const = default;
};

// Reports sent one after the other, in order. Empty = nothing to send.
using ReportSequence = std::vector<OutgoingReport>;

// Appends `tail` to `head`.
inline void Append(ReportSequence& head, const ReportSequence& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
}
