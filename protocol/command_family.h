#pragma once
// The command family of a keyboard model, chosen by its device_type alone, and the commands
// that every family has in its own form.
#include <vector>

#include "protocol/assignment_to_send.h"
#include "protocol/colour_table.h"
#include "protocol/command_codes.h"
#include "protocol/light_params.h"
#include "protocol/outgoing_report.h"

enum class CommandFamily {
  None,     // device_type 400 and above: no device command is sent
  Opcode,   // OpcodeProtocol, device_type up to 200
  Report7,  // Report7Protocol, 201-299
  Framed,   // FramedProtocol, 300-399
};

inline CommandFamily CommandFamilyFor(int deviceType) {
  if (deviceType <= 200) return CommandFamily::Opcode;
  if (deviceType <= 299) return CommandFamily::Report7;
  if (deviceType <= 399) return CommandFamily::Framed;
  return CommandFamily::None;
}

const char* CommandFamilyName(CommandFamily family);

// The light command of the model's family. `opcodeModeSent`: the opcode family has already
// selected this mode; `storedColours` and `beginColours` serve the framed per-key mode.
ReportSequence LightCommand(int deviceType, int connectionMode, const LightParams& light,
                            bool opcodeModeSent, const ColourTable& storedColours,
                            bool beginColours);

// The factory reset of the family; the opcode family uploads the current layer first.
ReportSequence FactoryResetCommand(int deviceType, int connectionMode,
                                   const std::vector<AssignmentToSend>& layerKeys,
                                   const MacroLookup& lookup);

// Full key upload: the framed family sends both layers of `profileKeys`; the other families
// only the assignments of `currentLayer`.
ReportSequence FullKeyUpload(int deviceType, const std::vector<AssignmentToSend>& profileKeys,
                             int currentLayer, const MacroLookup& lookup);

// The periodic status request (FR_GET_STATUS, sent for every family); nothing from 400 on.
ReportSequence StatusRequest(int deviceType);
