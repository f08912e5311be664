#pragma once
// OpcodeProtocol (device_type up to 200): output report 0, byte 1 the opcode. Every builder
// returns the 65 report bytes for WriteReport.
#include <array>
#include <cstdint>
#include <vector>

#include "protocol/assignment_to_send.h"
#include "protocol/command_codes.h"
#include "protocol/light_params.h"
#include "protocol/outgoing_report.h"

// 65 zeroed bytes with the opcode at [1].
std::vector<uint8_t> OpcodeReport(uint8_t opcode);

OutgoingReport OpSelectLightMode(int mode);              // [3] mode, not decremented
OutgoingReport OpSetLightParams(const LightParams& light);
OutgoingReport OpFactoryReset();                         // [1..4] FF FE AA FF
// The light command: OP_SELECT_LIGHT_MODE until the mode has been sent, then the parameters.
OutgoingReport OpcodeLight(const LightParams& light, bool modeSent);

// The key table: 180 entries of 2 bytes by key_index.
class OpcodeKeyTable {
 public:
  OpcodeKeyTable() { bytes_.fill(0); }
  // False (nothing written) outside entries 0-179.
  bool SetEntry(int keyIndex, uint8_t first, uint8_t second);
  // Type 2: (value, 0x20); type 1: (0, 0x20); types 3 and 7: (slot, 0x40); others leave 0.
  bool SetAssignment(int keyIndex, int macroType, int macroValue, int slot);
  const std::array<uint8_t, OP_KEY_TABLE_SIZE>& Bytes() const { return bytes_; }

 private:
  std::array<uint8_t, OP_KEY_TABLE_SIZE> bytes_;
};

// OP_KEY_TABLE: four reports, [2] length 60, 60, 60, 40, [3..4] offset 60·i, [5..64] table
// bytes 60·i ...; 10 ms before each.
ReportSequence OpKeyTable(const OpcodeKeyTable& table);

// OP_MACRO_DATA of a macro block in 59-byte chunks: [2] chunk length, [3..4] offset 59·i,
// [5] slot, [6..64] block bytes 59·i ... A block below 60 bytes of 3(n+1) goes as one chunk
// of that length; longer blocks go in as many chunks as their 2 + 3n bytes need (at least
// two), 59 long but the last, which is as long as what is left. 10 ms before the key,
// 100 ms before each chunk; a failed chunk stops the whole upload.
ReportSequence OpMacroData(int slot, const std::vector<uint8_t>& opcodeBlock);
// OP_MACRO_DATA of a shortcut: one report, [2] 3n, [5] slot, [6] 1, [7] n, [8..] events
// (100 ms each); 10 ms before.
OutgoingReport OpMacroShortcut(int slot, int shortcutId);

// The layer upload: every macro (type 3) in order, then every shortcut (type 7), numbered by
// a slot counter from 0; then, 20 ms later, the key table with those slots (its first report
// waits 20 + 10 ms). Keys beyond slot 255 are left out; keys without a table position (key
// index -1 or beyond 179) still get their macro but no table entry.
ReportSequence OpKeyUpload(const std::vector<AssignmentToSend>& layerKeys,
                           const MacroLookup& lookup);
// Factory reset: the layer upload, 100 ms, OP_FACTORY_RESET.
ReportSequence OpFactoryResetSequence(const std::vector<AssignmentToSend>& layerKeys,
                                      const MacroLookup& lookup);
