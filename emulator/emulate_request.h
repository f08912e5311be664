#pragma once
// The "try it without a keyboard" request, as given in VANTOR_EMULATE: a device_type,
// optionally followed by ",receiver" (the keyboard then sits behind a 2.4 GHz receiver),
// e.g. "301" or "201,receiver".
#include <memory>
#include <optional>
#include <string>

#include "emulator/simulated_bus.h"

struct EmulateRequest {
  int deviceType = 0;
  bool receiver = false;
};

// Nothing for empty or malformed text (the program then talks to real devices).
std::optional<EmulateRequest> ParseEmulateRequest(const std::string& text);

// Plugs the requested keyboard into the bus under the given identity (the model's identity
// from config.xml, so that discovery finds it); a receiver has its keyboard switched on.
std::shared_ptr<SimulatedDevice> PlugRequested(SimulatedBus& bus, const EmulateRequest& request,
                                               const SimIdentity& identity);
