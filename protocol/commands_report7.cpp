#include "protocol/commands_report7.h"

#include <algorithm>

#include "protocol/commands_framed.h"
#include "protocol/macro_block.h"
#include "protocol/shortcuts.h"

namespace {

uint8_t Byte(int value) { return static_cast<uint8_t>(value & 0xFF); }

// speed - 1 and brightness - 1 of this family: 0 stays 0.
uint8_t LessOneKeepZero(int value) { return value > 0 ? Byte(value - 1) : 0; }

// The mode whose colour travels in the light command (mode - 1 = 3).
constexpr uint8_t kColourModeByte = 3;

bool IsBlockType(int macroType) {
  return macroType == ASSIGN_MACRO || macroType == ASSIGN_SHORTCUT;
}

}  // namespace

std::vector<uint8_t> Report7Feature(uint8_t subCommand) {
  std::vector<uint8_t> bytes(REPORT_SIZE, 0);
  bytes[0] = R7_REPORT_ID;
  bytes[1] = subCommand;
  return bytes;
}

OutgoingReport R7FactoryReset() {
  OutgoingReport report{TransportOp::SendFeature, Report7Feature(R7_FACTORY_RESET)};
  report.bytes[2] = R7_FACTORY_RESET_ARG;
  report.pauseAfterMs = PAUSE_RESET_MS;
  return report;
}

ReportSequence R7MacroData(const std::vector<uint8_t>& report7Block) {
  std::vector<uint8_t> block = report7Block;
  block.resize(R7_MACRO_BLOCK_SIZE, 0);
  ReportSequence reports;
  for (int i = 0; i < R7_MACRO_REPORTS; ++i) {
    OutgoingReport report{TransportOp::SendFeature,
                          Report7Feature(i == 0 ? R7_MACRO_DATA : R7_MACRO_DATA_NEXT)};
    const auto from = block.begin() + R7_MACRO_CHUNK_BYTES * i;
    std::copy(from, from + R7_MACRO_CHUNK_BYTES, report.bytes.begin() + 2);
    reports.push_back(std::move(report));
  }
  return reports;
}

OutgoingReport R7SetLight(const LightParams& light) {
  OutgoingReport report{TransportOp::SendFeature, Report7Feature(R7_SET_LIGHT)};
  std::vector<uint8_t>& b = report.bytes;
  b[2] = Byte(light.mode - 1);
  b[3] = Byte(light.colorindex);
  b[4] = Byte(light.direction);
  b[5] = LessOneKeepZero(light.speed);
  b[6] = LessOneKeepZero(light.brightness);
  if (light.perKey) b[7] = 0;  // per-key slot
  if (b[2] == kColourModeByte) {
    b[4] = Byte(light.colorValue);
    b[5] = Byte(light.colorValue >> 8);
    b[7] = Byte(light.colorValue >> 16);
  }
  return report;
}

std::optional<OutgoingReport> R7SetKey(int keySlot, int keyCode, int macroType, int macroValue) {
  if (keySlot < 1 || keySlot > R7_KEY_SLOTS) return std::nullopt;
  if (!SendsAsSetKey(macroType, macroValue)) return std::nullopt;
  OutgoingReport report{TransportOp::SendFeature, Report7Feature(R7_SET_KEY)};
  std::vector<uint8_t>& b = report.bytes;
  b[2] = R7_SUBCOMMAND_ARG;
  b[3] = Byte(keySlot);
  b[4] = macroValue > 0 ? Byte(keyCode) : 0;  // value 0 or less clears the slot
  b[5] = 1;
  b[6] = macroValue > 0 ? Byte(macroValue) : 0;
  b[7] = 1;
  return report;
}

OutgoingReport R7ReadSlots() {
  std::vector<uint8_t> request(FEATURE8_SIZE, 0);
  request[0] = R7_REPORT_ID;
  request[1] = R7_READ_SLOTS;
  request[2] = R7_SUBCOMMAND_ARG;
  return OutgoingReport{TransportOp::FeatureExchange8, std::move(request)};
}

OutgoingReport R7ResetKeys() {
  std::vector<uint8_t> request(FEATURE8_SIZE, 0);
  std::copy(std::begin(R7_RESET_KEYS_BYTES), std::end(R7_RESET_KEYS_BYTES), request.begin());
  return OutgoingReport{TransportOp::FeatureExchange8, std::move(request)};
}

std::optional<Report7SlotTable> Report7SlotTable::Parse(const uint8_t* data, size_t length) {
  if (!data || length < R7_SLOT_TABLE_SIZE) return std::nullopt;
  Report7SlotTable table;
  std::copy(data, data + R7_SLOT_TABLE_SIZE, table.bytes_.begin());
  return table;
}

int Report7SlotTable::MacroSlotOwner(int slot) const {
  return slot >= 1 && slot <= R7_MACRO_SLOTS ? bytes_[slot] : 0;
}

int Report7SlotTable::KeySlotOwner(int slot) const {
  return slot >= 1 && slot <= R7_KEY_SLOTS ? bytes_[R7_MACRO_SLOTS + slot] : 0;
}

namespace {

template <typename Owner>
int SlotFor(int keyCode, int slots, Owner owner) {
  for (int slot = 1; slot <= slots; ++slot)
    if (owner(slot) == keyCode) return slot;
  for (int slot = 1; slot <= slots; ++slot)
    if (owner(slot) == 0) return slot;
  return 0;
}

}  // namespace

int Report7SlotTable::MacroSlotFor(int keyCode) const {
  return SlotFor(keyCode, R7_MACRO_SLOTS, [this](int s) { return MacroSlotOwner(s); });
}

int Report7SlotTable::KeySlotFor(int keyCode) const {
  return SlotFor(keyCode, R7_KEY_SLOTS, [this](int s) { return KeySlotOwner(s); });
}

std::vector<int> Report7SlotTable::HeldKeyCodes() const {
  std::vector<int> held;
  for (int i = 1; i <= R7_MACRO_SLOTS + R7_KEY_SLOTS; ++i)
    if (bytes_[i] != 0) held.push_back(bytes_[i]);
  return held;
}

OutgoingReport W7SetLight(const LightParams& light) {
  std::vector<uint8_t> d(FRAME_DATA_SIZE, 0);
  std::copy(std::begin(W7_MAGIC), std::end(W7_MAGIC), d.begin());
  d[4] = W7_SET_LIGHT;
  d[5] = Byte(light.mode - 1);
  d[6] = Byte(light.colorindex);
  d[7] = Byte(light.direction);
  d[8] = LessOneKeepZero(light.speed);
  d[9] = LessOneKeepZero(light.brightness);
  if (light.perKey) d[10] = 0;  // per-key slot
  if (d[5] == kColourModeByte) {
    d[7] = Byte(light.colorValue);
    d[8] = Byte(light.colorValue >> 8);
    d[10] = Byte(light.colorValue >> 16);
  }
  return OutgoingReport{TransportOp::WriteFrameSlowRetry, std::move(d)};
}

ReportSequence W7FactoryReset() {
  std::vector<uint8_t> second(FRAME_DATA_SIZE, 0);
  std::copy(std::begin(W7_MAGIC), std::end(W7_MAGIC), second.begin());
  std::vector<uint8_t> first = second;
  std::fill(first.begin() + 4, first.begin() + 10, W7_FACTORY_RESET_FILL);
  OutgoingReport arm{TransportOp::WriteFrameSlowRetry, std::move(first)};
  arm.pauseAfterMs = W7_FACTORY_RESET_GAP_MS;
  return {arm, OutgoingReport{TransportOp::WriteFrameSlowRetry, std::move(second)}};
}

OutgoingReport Report7Light(const LightParams& light, int connectionMode) {
  return connectionMode == CONNECTION_CABLE ? R7SetLight(light) : W7SetLight(light);
}

ReportSequence R7KeyAssignment(const AssignmentToSend& key, int slot, const MacroLookup& lookup) {
  if (IsBlockType(key.macroType)) {
    if (slot < 1 || slot > R7_MACRO_SLOTS) return {};
    const std::optional<MacroContent> macro = ContentToPlay(key, lookup, SHORTCUT_DELAY_BLOCK_MS);
    return R7MacroData(Report7MacroBlock(slot, key.keyCode, macro ? &*macro : nullptr));
  }
  std::optional<OutgoingReport> setKey = R7SetKey(slot, key.keyCode, key.macroType, key.macroValue);
  if (!setKey) return {};
  return {*setKey};
}

ReportSequence R7FullKeyUpload(const std::vector<AssignmentToSend>& layerKeys,
                               const MacroLookup& lookup) {
  ReportSequence reports{R7ResetKeys()};
  int macroSlot = 0;
  int keySlot = 0;
  for (const AssignmentToSend& key : layerKeys) {
    if (key.macroType == ASSIGN_DEFAULT) continue;
    const int slot = IsBlockType(key.macroType) ? ++macroSlot : ++keySlot;
    ReportSequence keyReports = R7KeyAssignment(key, slot, lookup);
    if (keyReports.empty()) continue;  // beyond the slots of its group
    keyReports.front().pauseBeforeMs += PAUSE_FULL_UPLOAD_KEY_MS;
    Append(reports, keyReports);
  }
  return reports;
}
