#include "emulator/shipped_identity.h"

namespace {

// 301 -> 0x0301: each decimal digit becomes a hexadecimal one.
uint16_t DigitsAsHex(int value) {
  uint16_t result = 0;
  int shift = 0;
  for (; value > 0 && shift < 16; value /= 10, shift += 4) {
    result = static_cast<uint16_t>(result | ((value % 10) << shift));
  }
  return result;
}

// Firmware release of the shipped models (config.xml's rev).
uint16_t ShippedRelease(int deviceType) {
  switch (deviceType) {
    case 301: return 0x0105;
    case 201: return 0x0102;
    default: return 0x0100;
  }
}

constexpr uint16_t kReceiverPidOffset = 0x10;

}  // namespace

SimIdentity ShippedIdentity(int deviceType, SimConnection connection) {
  SimIdentity id = SimulatedDevice::DefaultIdentity(deviceType, connection);
  id.pid = DigitsAsHex(deviceType);
  if (connection == SimConnection::Receiver) id.pid = static_cast<uint16_t>(id.pid + kReceiverPidOffset);
  id.release = ShippedRelease(deviceType);
  return id;
}

std::shared_ptr<SimulatedDevice> PlugShipped(SimulatedBus& bus, int deviceType,
                                             SimConnection connection,
                                             std::shared_ptr<SimulatedKeyboard> keyboard) {
  if (!keyboard) keyboard = std::make_shared<SimulatedKeyboard>(deviceType);
  auto device = std::make_shared<SimulatedDevice>(ShippedIdentity(deviceType, connection),
                                                  connection, std::move(keyboard));
  bus.Plug(device);
  return device;
}
