#include "protocol/command_family.h"

#include "protocol/commands_framed.h"
#include "protocol/commands_opcode.h"
#include "protocol/commands_report7.h"

const char* CommandFamilyName(CommandFamily family) {
  switch (family) {
    case CommandFamily::None: return "None";
    case CommandFamily::Opcode: return "OpcodeProtocol";
    case CommandFamily::Report7: return "Report7Protocol";
    case CommandFamily::Framed: return "FramedProtocol";
  }
  return "?";
}

ReportSequence LightCommand(int deviceType, int connectionMode, const LightParams& light,
                            bool opcodeModeSent, const ColourTable& storedColours,
                            bool beginColours) {
  switch (CommandFamilyFor(deviceType)) {
    case CommandFamily::Opcode: return {OpcodeLight(light, opcodeModeSent)};
    case CommandFamily::Report7: return {Report7Light(light, connectionMode)};
    case CommandFamily::Framed: return FrLightSequence(light, storedColours, beginColours);
    case CommandFamily::None: break;
  }
  return {};
}

ReportSequence FactoryResetCommand(int deviceType, int connectionMode,
                                   const std::vector<AssignmentToSend>& layerKeys,
                                   const MacroLookup& lookup) {
  switch (CommandFamilyFor(deviceType)) {
    case CommandFamily::Opcode: return OpFactoryResetSequence(layerKeys, lookup);
    case CommandFamily::Report7:
      return connectionMode == CONNECTION_CABLE ? ReportSequence{R7FactoryReset()}
                                                : W7FactoryReset();
    case CommandFamily::Framed: return {FrFactoryReset()};
    case CommandFamily::None: break;
  }
  return {};
}

ReportSequence FullKeyUpload(int deviceType, const std::vector<AssignmentToSend>& profileKeys,
                             int currentLayer, const MacroLookup& lookup) {
  const CommandFamily family = CommandFamilyFor(deviceType);
  if (family == CommandFamily::None) return {};
  if (family == CommandFamily::Framed) return FrFullKeyUpload(profileKeys, lookup);
  std::vector<AssignmentToSend> layerKeys;
  for (const AssignmentToSend& key : profileKeys)
    if (key.fnLayer == currentLayer) layerKeys.push_back(key);
  return family == CommandFamily::Report7 ? R7FullKeyUpload(layerKeys, lookup)
                                          : OpKeyUpload(layerKeys, lookup);
}

ReportSequence StatusRequest(int deviceType) {
  if (CommandFamilyFor(deviceType) == CommandFamily::None) return {};
  return {FrGetStatus(TransportOp::WriteFrameAndRead)};
}
