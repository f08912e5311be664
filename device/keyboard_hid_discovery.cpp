// KeyboardHid::Rescan: finds the keyboard and its receiver among the HID interfaces the back
// end enumerates, keeps the vendor collections of the registered identities open and probes
// each for the keyboard behind it.
#include <algorithm>
#include <array>
#include <cstring>

#include "device/interface_path.h"
#include "device/keyboard_hid.h"
#include "protocol/commands_framed.h"

namespace {

// The probe: the status request, a short pause, one read with a short time-out.
constexpr int kProbePauseMs = 10;
constexpr int kProbeReadTimeoutMs = 10;
// The interface of this number is held open but never used.
constexpr wchar_t kSpareInterfaceTag[] = L"&MI_03";

// The two collections that carry the configuration protocol.
bool IsVendorCollection(const HidDeviceInfo& info) {
  return (info.usagePage == 0xFF02 && info.usage == 0x02) ||
         (info.usagePage == 0xFF01 && info.usage == 0x01);
}

bool IsCandidate(const std::vector<HidInterfaceFilter>& filters, const HidDeviceInfo& info) {
  return std::any_of(filters.begin(), filters.end(), [&](const HidInterfaceFilter& f) {
    return f.vid == info.vendorId && f.pid == info.productId &&
           (f.productName.empty() || f.productName == info.product);
  });
}

// device_type and mode come from the first filter with the same vid and pid.
const HidInterfaceFilter* FirstWithIdentity(const std::vector<HidInterfaceFilter>& filters,
                                            uint16_t vid, uint16_t pid) {
  for (const HidInterfaceFilter& f : filters) {
    if (f.vid == vid && f.pid == pid) return &f;
  }
  return nullptr;
}

std::wstring PathText(const HidDeviceInfo& info) {
  InterfacePathParts parts;
  parts.vendorId = info.vendorId;
  parts.productId = info.productId;
  parts.interfaceNumber = info.interfaceNumber;
  parts.deviceNode = info.path;
  return BuildInterfacePath(parts);
}

// Asks the interface for its status; true when a status report says the keyboard is
// linked (link state, byte 6, non-zero). An answer without the status signature is not
// taken as a link: it may be any other pending report or a garbled one.
bool ProbeLinked(HidDevice& device, Clock& clock) {
  std::array<uint8_t, kHidOutputReportSize> request{};
  const OutgoingReport status = FrGetStatus(TransportOp::WriteFrame);
  std::memcpy(request.data() + 1, status.bytes.data(),
              std::min(status.bytes.size(), kHidFrameDataSize));
  if (device.Write(request.data(), request.size()) < 2) return false;
  clock.SleepMs(kProbePauseMs);
  std::array<uint8_t, kHidFrameDataSize + 1> answer{};
  int got = device.Read(answer.data(), answer.size(), kProbeReadTimeoutMs);
  if (got <= static_cast<int>(FR_STATUS_LINK_OFFSET)) return false;
  return HasFrameMagic(answer.data(), static_cast<size_t>(got)) &&
         answer[FR_STATUS_LINK_OFFSET] != 0;
}

}  // namespace

int KeyboardHid::Rescan() {
  {
    std::unique_lock<std::shared_mutex> list(listLock_);
    CloseEverythingLocked();
  }
  const std::vector<HidInterfaceFilter> filters = Filters();
  const std::shared_ptr<HidBackend> backend = Backend();
  Clock& clock = GetClock();

  int listed = 0;
  for (const HidDeviceInfo& info : backend->Enumerate()) {
    if (!IsCandidate(filters, info)) continue;
    std::unique_ptr<HidDevice> device = backend->Open(info.path);
    if (!device) continue;
    // Other collections of the keyboard (boot keyboard, consumer keys) are closed again.
    if (!IsVendorCollection(info)) continue;
    if (PathText(info).find(kSpareInterfaceTag) != std::wstring::npos) {
      SetSpareInterface(std::move(device));
      continue;
    }
    HidInterfaceEntry entry;
    entry.vid = info.vendorId;
    entry.pid = info.productId;
    entry.path = info.path;
    entry.version = info.releaseNumber;
    if (const HidInterfaceFilter* f = FirstWithIdentity(filters, info.vendorId, info.productId)) {
      entry.deviceType = f->deviceType;
      entry.mode = f->mode;
    }
    entry.usagePage = info.usagePage;
    entry.usage = info.usage;
    entry.interfaceNumber = info.interfaceNumber;
    entry.connected = ProbeLinked(*device, clock);
    entry.handle = std::move(device);
    AppendInterface(std::move(entry));
    ++listed;
  }
  return listed;
}
