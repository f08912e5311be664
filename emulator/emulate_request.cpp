#include "emulator/emulate_request.h"

#include <cctype>

namespace {

std::string Trimmed(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
  return text.substr(first, last - first);
}

}  // namespace

std::optional<EmulateRequest> ParseEmulateRequest(const std::string& text) {
  std::string number = Trimmed(text);
  std::string kind;
  size_t comma = number.find(',');
  if (comma != std::string::npos) {
    kind = Trimmed(number.substr(comma + 1));
    number = Trimmed(number.substr(0, comma));
  }
  if (number.empty() || number.size() > 4) return std::nullopt;
  for (char c : number) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
  }
  EmulateRequest request;
  request.deviceType = std::stoi(number);
  if (request.deviceType <= 0) return std::nullopt;
  if (kind == "receiver") {
    request.receiver = true;
  } else if (!kind.empty() && kind != "cable") {
    return std::nullopt;
  }
  return request;
}

std::shared_ptr<SimulatedDevice> PlugRequested(SimulatedBus& bus, const EmulateRequest& request,
                                               const SimIdentity& identity) {
  auto device = std::make_shared<SimulatedDevice>(
      identity, request.receiver ? SimConnection::Receiver : SimConnection::Cable,
      std::make_shared<SimulatedKeyboard>(request.deviceType));
  bus.Plug(device);
  return device;
}
