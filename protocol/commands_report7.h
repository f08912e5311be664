#pragma once
// Report7Protocol (device_type 201-299). Wired: feature report 7 (65 bytes, byte 0 = 7) and
// 8-byte feature exchanges. Wireless: output report 0 whose data bytes start BB AA 99 88.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "protocol/assignment_to_send.h"
#include "protocol/command_codes.h"
#include "protocol/light_params.h"
#include "protocol/outgoing_report.h"

// 65 zeroed bytes: [0] 7, [1] sub-command.
std::vector<uint8_t> Report7Feature(uint8_t subCommand);

OutgoingReport R7FactoryReset();  // 07 F0 AA, SendFeature, 100 ms after

// R7_MACRO_DATA: the 168-byte block in 28 SendFeature reports, 6 bytes each at [2..7];
// [1] is 0xF1 in the first report, 0x00 in the others.
ReportSequence R7MacroData(const std::vector<uint8_t>& report7Block);

// R7_SET_LIGHT: [2] mode - 1, [3] colorindex, [4] direction, [5] speed - 1, [6] brightness - 1
// (speed and brightness 0 stay 0), [7] per-key slot 0; mode - 1 = 3: [4] R, [5] G, [7] B.
OutgoingReport R7SetLight(const LightParams& light);

// R7_SET_KEY: 07 FA 01, [3] slot, [4] key code, [5] 1, [6] value, [7] 1; key code and value
// 0 when the value is 0 or less. Nothing for a slot outside 1-10 or an assignment that
// SendsAsSetKey refuses.
std::optional<OutgoingReport> R7SetKey(int keySlot, int keyCode, int macroType, int macroValue);

OutgoingReport R7ReadSlots();  // 07 FB 01, FeatureExchange8, 28 bytes back
OutgoingReport R7ResetKeys();  // AA 55 CC 0F, FeatureExchange8, answer ignored

// The 28-byte slot table: byte i (1-13) owns macro slot i, byte 13 + j (1-10) key slot j.
class Report7SlotTable {
 public:
  // Nothing when fewer than 28 bytes came back.
  static std::optional<Report7SlotTable> Parse(const uint8_t* data, size_t length);

  // Key code owning the slot; 0 when free or the slot number is outside the table.
  int MacroSlotOwner(int slot) const;
  int KeySlotOwner(int slot) const;
  // The slot of the group that holds the key, else the first free one; 0 when full.
  int MacroSlotFor(int keyCode) const;
  int KeySlotFor(int keyCode) const;
  // Key codes held in slots 1-23, in slot order.
  std::vector<int> HeldKeyCodes() const;

 private:
  std::array<uint8_t, R7_SLOT_TABLE_SIZE> bytes_{};
};

// W7_SET_LIGHT: [4] 0xAA, [5] mode - 1, [6] colorindex, [7] direction, [8] speed - 1,
// [9] brightness - 1, [10] per-key slot 0; mode - 1 = 3: [7] R, [8] G, [10] B.
OutgoingReport W7SetLight(const LightParams& light);
// W7_FACTORY_RESET: six bytes 0xAA, 1600 ms, then the frame with those bytes 0.
ReportSequence W7FactoryReset();

// The light command of the link: R7_SET_LIGHT wired (connection mode 0), W7_SET_LIGHT else.
OutgoingReport Report7Light(const LightParams& light, int connectionMode);

// One key into a given slot: types 3 and 7 as R7_MACRO_DATA into macro slot `slot`, any
// other type as R7_SET_KEY into key slot `slot`. Nothing when the slot is outside its group.
ReportSequence R7KeyAssignment(const AssignmentToSend& key, int slot, const MacroLookup& lookup);

// Full upload of the current layer: R7_RESET_KEYS, then in order, skipping type 0, macros and
// shortcuts into macro slots 1, 2, ... and the others into key slots 1, 2, ...; 16 ms before
// each key. Keys beyond the 13 macro or 10 key slots are left out.
ReportSequence R7FullKeyUpload(const std::vector<AssignmentToSend>& layerKeys,
                               const MacroLookup& lookup);
