#include "protocol/commands_opcode.h"

#include <algorithm>
#include <map>

#include "protocol/macro_block.h"
#include "protocol/shortcuts.h"

namespace {

uint8_t Byte(int value) { return static_cast<uint8_t>(value & 0xFF); }

OutgoingReport Report(uint8_t opcode) {
  return OutgoingReport{TransportOp::WriteReport, OpcodeReport(opcode)};
}

// Chunk lengths of an opcode macro block of `blockSize` (2 + 3n) bytes. Short blocks announce
// 3(n + 1), one more than they hold, as the keyboard has always been sent; longer blocks are
// cut into 59-byte chunks (at least two) and the last one announces exactly what is left, so
// that every byte of the block is both carried and announced.
std::vector<int> OpcodeChunkLengths(size_t blockSize) {
  const int real = static_cast<int>(blockSize);
  const int chunkBytes = static_cast<int>(OP_MACRO_CHUNK_BYTES);
  if (real + 1 < 60) return {real + 1};
  const int count = std::max(2, (real + chunkBytes - 1) / chunkBytes);
  std::vector<int> lengths(count, chunkBytes);
  lengths.back() = real - chunkBytes * (count - 1);
  return lengths;
}

}  // namespace

std::vector<uint8_t> OpcodeReport(uint8_t opcode) {
  std::vector<uint8_t> bytes(REPORT_SIZE, 0);
  bytes[1] = opcode;
  return bytes;
}

OutgoingReport OpSelectLightMode(int mode) {
  OutgoingReport report = Report(OP_SELECT_LIGHT_MODE);
  report.bytes[3] = Byte(mode);
  return report;
}

OutgoingReport OpSetLightParams(const LightParams& light) {
  OutgoingReport report = Report(OP_SET_LIGHT_PARAMS);
  report.bytes[3] = static_cast<uint8_t>((light.colorful ? 0x80 : 0) + ((light.direction & 3) * 16) +
                                         (light.speed & 0x0F));
  report.bytes[4] = Byte(light.colorValue);
  report.bytes[5] = Byte(light.colorValue >> 8);
  report.bytes[6] = Byte(light.colorValue >> 16);
  report.bytes[7] = Byte(light.brightness);
  return report;
}

OutgoingReport OpFactoryReset() {
  OutgoingReport report = Report(OP_FACTORY_RESET_BYTES[0]);
  std::copy(std::begin(OP_FACTORY_RESET_BYTES), std::end(OP_FACTORY_RESET_BYTES),
            report.bytes.begin() + 1);
  return report;
}

OutgoingReport OpcodeLight(const LightParams& light, bool modeSent) {
  return modeSent ? OpSetLightParams(light) : OpSelectLightMode(light.mode);
}

bool OpcodeKeyTable::SetEntry(int keyIndex, uint8_t first, uint8_t second) {
  if (keyIndex < 0 || keyIndex >= static_cast<int>(OP_KEY_TABLE_ENTRIES)) return false;
  bytes_[2 * keyIndex] = first;
  bytes_[2 * keyIndex + 1] = second;
  return true;
}

bool OpcodeKeyTable::SetAssignment(int keyIndex, int macroType, int macroValue, int slot) {
  switch (macroType) {
    case ASSIGN_KEY_COMBINATION: return SetEntry(keyIndex, Byte(macroValue), OP_KEY_COMBINATION);
    case ASSIGN_KEY_FUNCTION: return SetEntry(keyIndex, 0x00, OP_KEY_COMBINATION);
    case ASSIGN_MACRO:
    case ASSIGN_SHORTCUT:
      if (slot < 0 || slot >= OP_MAX_SLOTS) return false;
      return SetEntry(keyIndex, Byte(slot), OP_KEY_MACRO);
    default: return false;
  }
}

ReportSequence OpKeyTable(const OpcodeKeyTable& table) {
  ReportSequence reports;
  for (int i = 0; i < OP_KEY_TABLE_REPORTS; ++i) {
    OutgoingReport report = Report(OP_KEY_TABLE);
    const int offset = static_cast<int>(OP_KEY_TABLE_CHUNK_BYTES) * i;
    report.bytes[2] = OP_KEY_TABLE_LENGTHS[i];
    report.bytes[3] = Byte(offset);
    report.bytes[4] = Byte(offset >> 8);
    const auto from = table.Bytes().begin() + offset;
    std::copy(from, from + OP_KEY_TABLE_CHUNK_BYTES, report.bytes.begin() + 5);
    report.pauseBeforeMs = PAUSE_OP_KEY_TABLE_MS;
    reports.push_back(std::move(report));
  }
  return reports;
}

ReportSequence OpMacroData(int slot, const std::vector<uint8_t>& opcodeBlock) {
  ReportSequence reports;
  size_t offset = 0;
  for (int length : OpcodeChunkLengths(opcodeBlock.size())) {
    OutgoingReport report = Report(OP_MACRO_DATA);
    report.bytes[2] = Byte(length);
    report.bytes[3] = Byte(static_cast<int>(offset));
    report.bytes[4] = Byte(static_cast<int>(offset >> 8));
    report.bytes[5] = Byte(slot);
    for (size_t i = 0; i < OP_MACRO_CHUNK_BYTES && offset + i < opcodeBlock.size(); ++i)
      report.bytes[6 + i] = opcodeBlock[offset + i];
    report.pauseBeforeMs = PAUSE_OP_MACRO_CHUNK_MS;
    report.stopOnFailure = true;
    reports.push_back(std::move(report));
    offset += OP_MACRO_CHUNK_BYTES;
  }
  reports.front().pauseBeforeMs += PAUSE_OP_KEY_MS;
  return reports;
}

OutgoingReport OpMacroShortcut(int slot, int shortcutId) {
  const std::vector<ShortcutStroke> strokes = ShortcutStrokes(shortcutId);
  std::vector<uint8_t> events;
  for (const ShortcutStroke& stroke : strokes)
    AppendOpcodeEvent(events, stroke.usage, stroke.released, SHORTCUT_DELAY_OPCODE_MS);
  OutgoingReport report = Report(OP_MACRO_DATA);
  report.bytes[2] = Byte(static_cast<int>(events.size()));
  report.bytes[5] = Byte(slot);
  report.bytes[6] = 1;
  report.bytes[7] = Byte(static_cast<int>(strokes.size()));
  std::copy(events.begin(), events.end(), report.bytes.begin() + 8);
  report.pauseBeforeMs = PAUSE_OP_KEY_MS;
  return report;
}

ReportSequence OpKeyUpload(const std::vector<AssignmentToSend>& layerKeys,
                           const MacroLookup& lookup) {
  ReportSequence reports;
  std::map<int, int> slotOfKey;
  int slot = 0;
  // Macros first, then shortcuts, each in record order.
  for (int type : {ASSIGN_MACRO, ASSIGN_SHORTCUT}) {
    for (const AssignmentToSend& key : layerKeys) {
      if (key.macroType != type) continue;
      if (slot >= OP_MAX_SLOTS) break;  // the slot is one byte
      if (type == ASSIGN_MACRO) {
        const std::optional<MacroContent> macro =
            ContentToPlay(key, lookup, SHORTCUT_DELAY_OPCODE_MS);
        Append(reports, OpMacroData(slot, OpcodeMacroBlock(macro ? &*macro : nullptr)));
      } else {
        reports.push_back(OpMacroShortcut(slot, key.macroValue));
      }
      slotOfKey[key.keyCode] = slot++;
    }
  }
  OpcodeKeyTable table;
  for (const AssignmentToSend& key : layerKeys) {
    const auto found = slotOfKey.find(key.keyCode);
    table.SetAssignment(key.keyIndex, key.macroType, key.macroValue,
                        found == slotOfKey.end() ? -1 : found->second);
  }
  ReportSequence keyTable = OpKeyTable(table);
  keyTable.front().pauseBeforeMs += PAUSE_OP_AFTER_MACROS_MS;
  Append(reports, keyTable);
  return reports;
}

ReportSequence OpFactoryResetSequence(const std::vector<AssignmentToSend>& layerKeys,
                                      const MacroLookup& lookup) {
  ReportSequence reports = OpKeyUpload(layerKeys, lookup);
  OutgoingReport reset = OpFactoryReset();
  reset.pauseBeforeMs = PAUSE_OP_BEFORE_RESET_MS;
  reports.push_back(reset);
  return reports;
}
