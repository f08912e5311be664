#pragma once
// The HID access seam under KeyboardHid: enumerate the HID interfaces, open one by path,
// and exchange output, input and feature reports with it. Two implementations: hidapi
// (hidraw) for real devices and the simulated keyboard of emulator/.
//
// Report buffers follow hidapi: byte 0 of a written output or feature report is the
// report ID (0 for an unnumbered report); a read returns the report's data without a
// report ID of 0.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One HID interface as enumeration reports it.
struct HidDeviceInfo {
  std::string path;  // what Open takes, e.g. "/dev/hidraw3"
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t releaseNumber = 0;  // bcdDevice; used as the firmware version
  uint16_t usagePage = 0;      // of the top-level collection
  uint16_t usage = 0;
  int interfaceNumber = -1;    // USB interface number, -1 when there is none
  std::wstring product;        // product string; may be empty
};

// One open HID interface. Closing is destruction. Every call returns -1 on failure and
// keeps the failure's text for LastError.
class HidDevice {
 public:
  virtual ~HidDevice() = default;
  // Writes one output report (byte 0 = report ID); answers the number of bytes written.
  virtual int Write(const uint8_t* data, size_t length) = 0;
  // Waits up to timeoutMs (-1: no limit) for one input report; answers its length, 0 on
  // time-out. A report that arrives after a time-out is delivered by the next read.
  virtual int Read(uint8_t* data, size_t length, int timeoutMs) = 0;
  // Sends a feature report (byte 0 = report ID); answers the bytes sent.
  virtual int SendFeatureReport(const uint8_t* data, size_t length) = 0;
  // Gets the feature report whose ID is data[0]; answers the bytes received, report ID
  // included.
  virtual int GetFeatureReport(uint8_t* data, size_t length) = 0;
  // The text of the last failure, empty when none happened.
  virtual std::wstring LastError() const = 0;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // Every present HID interface; empty when there are none or enumeration fails.
  virtual std::vector<HidDeviceInfo> Enumerate() = 0;
  // Opens an interface for reading and writing; null on failure.
  virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
};
