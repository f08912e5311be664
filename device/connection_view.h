#pragma once
// Everything the device monitor and the worker show about the keyboard's connection. The
// main window implements it; the calls come from the worker thread, so an implementation
// hands them to the UI thread (or guards what it changes).
#include <string>

// Images and text ids that the connection display uses.
inline constexpr wchar_t kCableIcon[] = L"icon\\mode_usb.png";
inline constexpr wchar_t kReceiverIcon[] = L"icon\\mode_24g.png";
inline constexpr wchar_t kKeyboardPicture[] = L"icon\\icon_keyboard.png";
inline constexpr int kTextStatusConnected = 51;
inline constexpr int kTextTitleConnected = 60;
inline constexpr int kTextTitleNotConnected = 61;
inline constexpr int kTabHome = 0;
inline constexpr int kTabKeys = 1;
inline constexpr int kTabLighting = 3;

class ConnectionView {
 public:
  virtual ~ConnectionView() = default;

  // The connection kind icon; an empty name hides it.
  virtual void ShowConnectionIcon(const std::wstring& image) = 0;
  // The model title line: text id 60 (connected) or 61 (not connected).
  virtual void ShowTitleText(int textId) = 0;
  // The status line (text id 51); 0 hides it.
  virtual void ShowStatusText(int textId) = 0;
  // The keyboard picture of the home page.
  virtual void ShowDevicePicture(const std::wstring& image) = 0;
  virtual void SetTabBarVisible(bool visible) = 0;
  virtual void SetPagesVisible(bool visible) = 0;
  virtual void SelectTab(int tab) = 0;
  // Lays the pages out for the command family of the device_type.
  virtual void LayOutPagesFor(int deviceType) = 0;
  // The device list: every entry back to "not present", then one model marked present.
  virtual void ClearDeviceStates() = 0;
  virtual void SetDeviceState(int deviceType, int state) = 0;
  // Battery percentage (0-100).
  virtual void SetBatteryLevel(int level) = 0;
  // The worker disables the main window while a device task runs.
  virtual void EnableMainWindow(bool enable) = 0;

  // What the worker reads back.
  virtual bool MainWindowVisible() const = 0;
  virtual int CurrentTab() const = 0;
};
