#pragma once
// A KeyboardHid wired to the simulated bus with a virtual clock, for device and emulator
// tests. List() does what discovery does for one device: open its vendor interface and
// append it to the interface list.
#include <memory>

#include "device/clock.h"
#include "device/keyboard_hid.h"
#include "emulator/emulator_backend.h"
#include "emulator/simulated_bus.h"

struct SimRig {
  FakeClock clock;
  std::shared_ptr<SimulatedBus> bus = std::make_shared<SimulatedBus>(&clock);
  std::shared_ptr<EmulatorBackend> backend = std::make_shared<EmulatorBackend>(bus);
  KeyboardHid hid{backend, &clock};

  // Lists the device's vendor interface with the given device_type and mode; answers the
  // entry index, -1 when it cannot be opened.
  int List(const std::shared_ptr<SimulatedDevice>& device, int deviceType, int mode,
           bool connected = true) {
    for (const SimInterfaceSpec& spec : device->Identity().interfaces) {
      if (!spec.Vendor()) continue;
      HidInterfaceEntry entry;
      entry.path = device->PathOf(spec.number);
      entry.handle = backend->Open(entry.path);
      if (!entry.handle) return -1;
      entry.vid = device->Identity().vid;
      entry.pid = device->Identity().pid;
      entry.version = device->Identity().release;
      entry.deviceType = deviceType;
      entry.mode = mode;
      entry.connected = connected;
      entry.usagePage = spec.usagePage;
      entry.usage = spec.usage;
      entry.interfaceNumber = spec.number;
      int index = hid.AppendInterface(std::move(entry));
      hid.SetInitialised(true);
      return index;
    }
    return -1;
  }

  // A cable keyboard of the family, plugged and listed.
  std::shared_ptr<SimulatedDevice> CableKeyboard(int deviceType) {
    auto device = bus->PlugNew(deviceType, SimConnection::Cable);
    List(device, deviceType, kModeCable);
    return device;
  }

  std::vector<SimJournalEntry> Outputs() const {
    return bus->Journal().OfKind(SimReportKind::Output, true);
  }
};
