#pragma once
// FramedProtocol (device_type 300-399): output report 0 whose data bytes start AA 55 CC 33
// followed by the command byte. Every builder returns the 64 data bytes (see OutgoingReport).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "protocol/assignment_to_send.h"
#include "protocol/colour_table.h"
#include "protocol/command_codes.h"
#include "protocol/light_params.h"
#include "protocol/outgoing_report.h"

// 64 zeroed data bytes with the magic and the command byte.
std::vector<uint8_t> FrameData(uint8_t command);

// FR_MACRO_DATA: the 162-byte block as three chunks (0x00-0x02), 20 ms after each and a
// further 170 ms after the third.
ReportSequence FrMacroData(const std::vector<uint8_t>& framedBlock);

// Whether an assignment goes out with FR_SET_KEY / R7_SET_KEY: types 0, 3 and 7 with a
// positive value never do.
bool SendsAsSetKey(int macroType, int macroValue);

// FR_SET_KEY: [5] layer + 1, [6] key code, [7] value when positive else 0; 200 ms after.
// Nothing for an assignment that SendsAsSetKey refuses.
std::optional<OutgoingReport> FrSetKey(int fnLayer, int keyCode, int macroType, int macroValue);

// FR_SET_LIGHT: [5] mode - 1, [6] brightness - 1, [7] speed - 1, [8] direction, [9] colorindex.
OutgoingReport FrSetLight(const LightParams& light);

OutgoingReport FrFactoryReset();     // 100 ms after
OutgoingReport FrBeginColours();     // WriteFrameAndRead, the reply is ignored
OutgoingReport FrApply();            // WriteFrameSlowRetry
OutgoingReport FrCustomLight();      // 10 ms after
OutgoingReport FrSetSleepTime(int value);
OutgoingReport FrSetResponseTime(int value);
OutgoingReport FrResetKeys();        // 100 ms after
OutgoingReport FrSetFnSwitch(bool on);
// FR_GET_STATUS with the operation of the caller: WriteFrameAndRead (periodic poll),
// WriteFrameQuickRead (battery read) or WriteFrame (discovery probe, which reads itself).
OutgoingReport FrGetStatus(TransportOp op = TransportOp::WriteFrameAndRead);

// FR_LIVE_COLOURS / FR_STORED_COLOURS: six 65-byte reports (WriteReport) carrying the first
// 324 bytes of the table, 54 each at data offsets 5-58; stop at the first failure.
// Stored colours wait 3 ms before each.
ReportSequence FrLiveColours(const ColourTable& table);
ReportSequence FrStoredColours(const ColourTable& table);
// FR_BEGIN_COLOURS first when `beginColours`, then the six chunks.
ReportSequence FrColourFrame(const ColourTable& table, bool stored, bool beginColours);

// The light command: FR_SET_LIGHT; for the per-key custom mode (mode byte 0x17) also
// FR_CUSTOM_LIGHT, 10 ms, and the stored colours (FrColourFrame).
ReportSequence FrLightSequence(const LightParams& light, const ColourTable& storedColours,
                               bool beginColours);

// One key: types 3 and 7 as FR_MACRO_DATA, other sendable types as FR_SET_KEY.
ReportSequence FrKeyAssignment(const AssignmentToSend& key, const MacroLookup& lookup);

// Full upload: FR_RESET_KEYS, 100 ms, then layer 0 and then layer 1, every assignment whose
// type is not 0, 16 ms before each key.
ReportSequence FrFullKeyUpload(const std::vector<AssignmentToSend>& profileKeys,
                               const MacroLookup& lookup);

// FR_STATUS_REPORT decoded from the data bytes of an input report (report ID dropped).
struct FramedStatus {
  int battery = 0;    // percent; above 100 = not available
  int linkState = 0;  // 0 not linked, 1 receiver, 3 cable, others: unchanged
  bool BatteryKnown() const { return battery <= FR_BATTERY_MAX; }
};
// True when the data starts with the magic (the reply test of the status poll).
bool HasFrameMagic(const uint8_t* data, size_t length);
// Nothing unless the data holds at least 7 bytes, the magic and command 0x0E.
std::optional<FramedStatus> ParseFrStatusReport(const uint8_t* data, size_t length);
