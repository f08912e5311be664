#include "device/hid_backend_hidapi.h"

#include <hidapi/hidapi.h>

#include <mutex>

namespace {

// hid_init and hid_exit are process-wide; count the back ends that use them. hidapi also
// wants enumeration, opening and closing serialised with each other: the same lock.
std::mutex gInitLock;
int gUsers = 0;

std::wstring ErrorText(hid_device* device) {
  const wchar_t* text = hid_error(device);
  std::wstring result = text ? text : L"";
  // Keep only the first line, as the error texts of the program are shown one-line.
  size_t cut = result.find_first_of(L"\r\n");
  if (cut != std::wstring::npos) result.resize(cut);
  return result;
}

// hidapi's device functions must not run concurrently on one device (each keeps the
// device's last error text, freed and replaced on the next call), while KeyboardHid sends
// from the worker and the UI thread: every call on the device takes callLock_.
class HidapiDevice final : public HidDevice {
 public:
  explicit HidapiDevice(hid_device* device) : device_(device) {}
  ~HidapiDevice() override {
    std::lock_guard<std::mutex> guard(gInitLock);
    hid_close(device_);
  }
  HidapiDevice(const HidapiDevice&) = delete;
  HidapiDevice& operator=(const HidapiDevice&) = delete;

  int Write(const uint8_t* data, size_t length) override {
    std::lock_guard<std::mutex> guard(callLock_);
    return Check(hid_write(device_, data, length));
  }
  int Read(uint8_t* data, size_t length, int timeoutMs) override {
    std::lock_guard<std::mutex> guard(callLock_);
    return Check(hid_read_timeout(device_, data, length, timeoutMs));
  }
  int SendFeatureReport(const uint8_t* data, size_t length) override {
    std::lock_guard<std::mutex> guard(callLock_);
    return Check(hid_send_feature_report(device_, data, length));
  }
  int GetFeatureReport(uint8_t* data, size_t length) override {
    std::lock_guard<std::mutex> guard(callLock_);
    return Check(hid_get_feature_report(device_, data, length));
  }
  std::wstring LastError() const override {
    std::lock_guard<std::mutex> guard(callLock_);
    return lastError_;
  }

 private:
  // Under callLock_.
  int Check(int result) {
    if (result < 0) lastError_ = ErrorText(device_);
    return result;
  }

  hid_device* device_;
  mutable std::mutex callLock_;
  std::wstring lastError_;
};

}  // namespace

HidapiBackend::HidapiBackend() {
  std::lock_guard<std::mutex> guard(gInitLock);
  if (gUsers > 0 || hid_init() == 0) {
    ++gUsers;
    ready_ = true;
  }
}

HidapiBackend::~HidapiBackend() {
  if (!ready_) return;
  std::lock_guard<std::mutex> guard(gInitLock);
  if (--gUsers == 0) hid_exit();
}

std::vector<HidDeviceInfo> HidapiBackend::Enumerate() {
  std::vector<HidDeviceInfo> result;
  if (!ready_) return result;
  std::lock_guard<std::mutex> guard(gInitLock);
  hid_device_info* list = hid_enumerate(0, 0);
  for (hid_device_info* it = list; it; it = it->next) {
    HidDeviceInfo info;
    info.path = it->path ? it->path : "";
    info.vendorId = it->vendor_id;
    info.productId = it->product_id;
    info.releaseNumber = it->release_number;
    info.usagePage = it->usage_page;
    info.usage = it->usage;
    info.interfaceNumber = it->interface_number;
    if (it->product_string) info.product = it->product_string;
    result.push_back(std::move(info));
  }
  hid_free_enumeration(list);
  return result;
}

std::unique_ptr<HidDevice> HidapiBackend::Open(const std::string& path) {
  if (!ready_ || path.empty()) return nullptr;
  hid_device* device = nullptr;
  {
    std::lock_guard<std::mutex> guard(gInitLock);
    device = hid_open_path(path.c_str());
  }
  if (!device) return nullptr;
  return std::make_unique<HidapiDevice>(device);
}
