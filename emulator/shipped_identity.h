#pragma once
// The USB identities of the models that ship in data/config.xml, for the simulated keyboard:
// vid 0x3A5C, the keyboard's pid spelled with the device_type's decimal digits (301 ->
// 0x0301), the receiver's 0x10 above it, the release number of the model's firmware, and
// the vendor collection on interface 1 (so the path text is "VID_3A5C&PID_0301&MI_01#...").
#include <memory>

#include "emulator/simulated_bus.h"
#include "emulator/simulated_device.h"

SimIdentity ShippedIdentity(int deviceType, SimConnection connection);

// Builds a device of the model under its shipped identity and plugs it in.
std::shared_ptr<SimulatedDevice> PlugShipped(SimulatedBus& bus, int deviceType,
                                             SimConnection connection,
                                             std::shared_ptr<SimulatedKeyboard> keyboard = nullptr);
