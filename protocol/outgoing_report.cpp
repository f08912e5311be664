#include "protocol/outgoing_report.h"

const char* TransportOpName(TransportOp op) {
  switch (op) {
    case TransportOp::WriteFrame: return "WriteFrame";
    case TransportOp::WriteFrameAndRead: return "WriteFrameAndRead";
    case TransportOp::WriteFrameQuickRead: return "WriteFrameQuickRead";
    case TransportOp::WriteFrameSlowRetry: return "WriteFrameSlowRetry";
    case TransportOp::WriteReport: return "WriteReport";
    case TransportOp::SendFeature: return "SendFeature";
    case TransportOp::FeatureExchange8: return "FeatureExchange8";
  }
  return "?";
}
