#pragma once
// What KeyboardHid keeps about HID interfaces: the identities registered from the model
// description files (filters) and the interfaces that discovery opened (entries).
#include <cstdint>
#include <memory>
#include <string>

#include "device/hid_backend.h"

// Connection kinds of an identity (the `mode` value of a description file entry).
inline constexpr int kModeCable = 0;
inline constexpr int kModeReceiver = 2;

// One registered identity, as given to KeyboardHid::AddInterfaceFilter.
struct HidInterfaceFilter {
  uint16_t vid = 0;
  uint16_t pid = 0;
  uint16_t rev = 0;
  std::wstring productName;
  int deviceType = 0;
  int mode = 0;
  std::wstring hidInterface;  // e.g. L"VID_1A2B&PID_3C4D&MI_01"
};

// One open keyboard or receiver interface. Owns its open device; move-only.
struct HidInterfaceEntry {
  int index = 0;  // position in KeyboardHid's list
  uint16_t vid = 0;
  uint16_t pid = 0;
  std::string path;         // the back end's path of the interface
  std::wstring product;     // left empty by discovery
  std::wstring extra;       // a further text, empty
  std::unique_ptr<HidDevice> handle;
  uint16_t version = 0;     // USB release number, used as the firmware version
  int deviceType = 0;       // from the first filter with the same vid and pid; 0 when none
  int mode = 0;
  bool connected = false;   // the keyboard behind the interface answers

  // What enumeration reported besides; kept for discovery and diagnostics.
  uint16_t usagePage = 0;
  uint16_t usage = 0;
  int interfaceNumber = -1;
};
