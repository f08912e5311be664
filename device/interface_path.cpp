#include "device/interface_path.h"

#include <cstdio>
#include <cwctype>

#include "tessel/core/text_utf.h"

std::wstring BuildInterfacePath(const InterfacePathParts& parts) {
  wchar_t head[64];
  if (parts.interfaceNumber >= 0) {
    std::swprintf(head, 64, L"VID_%04X&PID_%04X&MI_%02X", parts.vendorId, parts.productId,
                  parts.interfaceNumber & 0xFF);
  } else {
    std::swprintf(head, 64, L"VID_%04X&PID_%04X", parts.vendorId, parts.productId);
  }
  std::wstring path(head);
  if (parts.bluetoothLowEnergy) {
    path += L"&{";
    path += kHidOverGattServiceId;
    path += L"}";
  }
  path += L"#";
  path += WideFromUtf8(parts.deviceNode);
  for (wchar_t& c : path) c = static_cast<wchar_t>(std::towupper(c));
  return path;
}
