#include "protocol/commands_framed.h"

#include <algorithm>
#include <cstring>

#include "protocol/macro_block.h"
#include "protocol/shortcuts.h"

namespace {

uint8_t Byte(int value) { return static_cast<uint8_t>(value & 0xFF); }

OutgoingReport Frame(uint8_t command, TransportOp op = TransportOp::WriteFrame) {
  return OutgoingReport{op, FrameData(command)};
}

// One colour chunk as a 65-byte report: report ID 0, then the frame data.
OutgoingReport ColourChunk(uint8_t command, const ColourTable& table, int chunk) {
  std::vector<uint8_t> bytes(REPORT_SIZE, 0);
  const std::vector<uint8_t> data = FrameData(command);
  std::copy(data.begin(), data.end(), bytes.begin() + 1);
  const auto from = table.Bytes().begin() + FR_COLOUR_CHUNK_BYTES * chunk;
  std::copy(from, from + FR_COLOUR_CHUNK_BYTES, bytes.begin() + 1 + FR_PAYLOAD_OFFSET);
  OutgoingReport report{TransportOp::WriteReport, std::move(bytes)};
  report.stopOnFailure = true;
  return report;
}

ReportSequence ColourChunks(uint8_t firstCommand, const ColourTable& table, int pauseBeforeMs) {
  ReportSequence reports;
  for (int chunk = 0; chunk < FR_COLOUR_CHUNKS; ++chunk) {
    reports.push_back(ColourChunk(static_cast<uint8_t>(firstCommand + chunk), table, chunk));
    reports.back().pauseBeforeMs = pauseBeforeMs;
  }
  return reports;
}

}  // namespace

std::vector<uint8_t> FrameData(uint8_t command) {
  std::vector<uint8_t> data(FRAME_DATA_SIZE, 0);
  std::copy(std::begin(FRAME_MAGIC), std::end(FRAME_MAGIC), data.begin());
  data[FR_CMD_OFFSET] = command;
  return data;
}

ReportSequence FrMacroData(const std::vector<uint8_t>& framedBlock) {
  std::vector<uint8_t> block = framedBlock;
  block.resize(FR_MACRO_BLOCK_SIZE, 0);
  ReportSequence reports;
  for (int chunk = 0; chunk < FR_MACRO_CHUNKS; ++chunk) {
    OutgoingReport report = Frame(static_cast<uint8_t>(FR_MACRO_DATA + chunk));
    const auto from = block.begin() + FR_MACRO_CHUNK_BYTES * chunk;
    std::copy(from, from + FR_MACRO_CHUNK_BYTES, report.bytes.begin() + FR_PAYLOAD_OFFSET);
    report.pauseAfterMs = PAUSE_FR_MACRO_CHUNK_MS;
    reports.push_back(std::move(report));
  }
  reports.back().pauseAfterMs += PAUSE_FR_MACRO_END_MS;
  return reports;
}

bool SendsAsSetKey(int macroType, int macroValue) {
  const bool blockType = macroType == ASSIGN_DEFAULT || macroType == ASSIGN_MACRO ||
                         macroType == ASSIGN_SHORTCUT;
  return !(blockType && macroValue > 0);
}

std::optional<OutgoingReport> FrSetKey(int fnLayer, int keyCode, int macroType, int macroValue) {
  if (!SendsAsSetKey(macroType, macroValue)) return std::nullopt;
  OutgoingReport report = Frame(FR_SET_KEY);
  report.bytes[5] = Byte(fnLayer + 1);
  report.bytes[6] = Byte(keyCode);
  report.bytes[7] = macroValue > 0 ? Byte(macroValue) : 0;
  report.pauseAfterMs = PAUSE_FR_SET_KEY_MS;
  return report;
}

OutgoingReport FrSetLight(const LightParams& light) {
  OutgoingReport report = Frame(FR_SET_LIGHT);
  // Byte arithmetic: a value of 0 becomes 0xFF.
  report.bytes[5] = Byte(light.mode - 1);
  report.bytes[6] = Byte(light.brightness - 1);
  report.bytes[7] = Byte(light.speed - 1);
  report.bytes[8] = Byte(light.direction);
  report.bytes[9] = Byte(light.colorindex);
  return report;
}

OutgoingReport FrFactoryReset() {
  OutgoingReport report = Frame(FR_FACTORY_RESET);
  report.pauseAfterMs = PAUSE_RESET_MS;
  return report;
}

OutgoingReport FrBeginColours() { return Frame(FR_BEGIN_COLOURS, TransportOp::WriteFrameAndRead); }

OutgoingReport FrApply() { return Frame(FR_APPLY, TransportOp::WriteFrameSlowRetry); }

OutgoingReport FrCustomLight() {
  OutgoingReport report = Frame(FR_CUSTOM_LIGHT);
  report.pauseAfterMs = PAUSE_FR_CUSTOM_LIGHT_MS;
  return report;
}

OutgoingReport FrSetSleepTime(int value) {
  OutgoingReport report = Frame(FR_SET_SLEEP_TIME);
  report.bytes[5] = Byte(value);
  return report;
}

OutgoingReport FrSetResponseTime(int value) {
  OutgoingReport report = Frame(FR_SET_RESPONSE_TIME);
  report.bytes[5] = Byte(value);
  return report;
}

OutgoingReport FrResetKeys() {
  OutgoingReport report = Frame(FR_RESET_KEYS);
  report.pauseAfterMs = PAUSE_RESET_MS;
  return report;
}

OutgoingReport FrSetFnSwitch(bool on) {
  OutgoingReport report = Frame(FR_SET_FN_SWITCH);
  report.bytes[5] = on ? 1 : 0;
  return report;
}

OutgoingReport FrGetStatus(TransportOp op) { return Frame(FR_GET_STATUS, op); }

ReportSequence FrLiveColours(const ColourTable& table) {
  return ColourChunks(FR_LIVE_COLOURS, table, 0);
}

ReportSequence FrStoredColours(const ColourTable& table) {
  return ColourChunks(FR_STORED_COLOURS, table, PAUSE_FR_STORED_COLOURS_MS);
}

ReportSequence FrColourFrame(const ColourTable& table, bool stored, bool beginColours) {
  ReportSequence reports;
  if (beginColours) reports.push_back(FrBeginColours());
  Append(reports, stored ? FrStoredColours(table) : FrLiveColours(table));
  return reports;
}

ReportSequence FrLightSequence(const LightParams& light, const ColourTable& storedColours,
                               bool beginColours) {
  ReportSequence reports{FrSetLight(light)};
  if (Byte(light.mode - 1) == FR_CUSTOM_MODE_BYTE) {
    reports.push_back(FrCustomLight());
    Append(reports, FrColourFrame(storedColours, true, beginColours));
  }
  return reports;
}

ReportSequence FrKeyAssignment(const AssignmentToSend& key, const MacroLookup& lookup) {
  const bool blockType = key.macroType == ASSIGN_MACRO || key.macroType == ASSIGN_SHORTCUT;
  if (blockType && key.macroValue > 0) {
    const std::optional<MacroContent> macro = ContentToPlay(key, lookup, SHORTCUT_DELAY_BLOCK_MS);
    return FrMacroData(FramedMacroBlock(key.fnLayer, key.keyCode, macro ? &*macro : nullptr));
  }
  const std::optional<OutgoingReport> setKey =
      FrSetKey(key.fnLayer, key.keyCode, key.macroType, key.macroValue);
  if (!setKey) return {};
  return {*setKey};
}

ReportSequence FrFullKeyUpload(const std::vector<AssignmentToSend>& profileKeys,
                               const MacroLookup& lookup) {
  ReportSequence reports{FrResetKeys()};
  for (int layer = 0; layer <= 1; ++layer) {
    for (const AssignmentToSend& key : profileKeys) {
      if (key.fnLayer != layer || key.macroType == ASSIGN_DEFAULT) continue;
      ReportSequence keyReports = FrKeyAssignment(key, lookup);
      if (keyReports.empty()) continue;
      keyReports.front().pauseBeforeMs += PAUSE_FULL_UPLOAD_KEY_MS;
      Append(reports, keyReports);
    }
  }
  return reports;
}

bool HasFrameMagic(const uint8_t* data, size_t length) {
  return data && length >= sizeof(FRAME_MAGIC) &&
         std::memcmp(data, FRAME_MAGIC, sizeof(FRAME_MAGIC)) == 0;
}

std::optional<FramedStatus> ParseFrStatusReport(const uint8_t* data, size_t length) {
  if (!HasFrameMagic(data, length) || length <= FR_STATUS_LINK_OFFSET) return std::nullopt;
  if (data[FR_CMD_OFFSET] != FR_STATUS_REPORT) return std::nullopt;
  return FramedStatus{data[FR_STATUS_BATTERY_OFFSET], data[FR_STATUS_LINK_OFFSET]};
}
