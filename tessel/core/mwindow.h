#pragma once
// MWindow: a thin object wrapper of one toolkit window. Every message of the window reaches
// OnWindowMessage; the default passes it to the window system's default handling.
#include <string>

#include "tessel/core/backend/window_system.h"
#include "tessel/core/export.h"
#include "tessel/core/geometry.h"
#include "tessel/core/native_messages.h"

class TESSEL_API MWindow : private WindowProcTarget {
 public:
  MWindow();
  // Destroys a window that still exists.
  virtual ~MWindow();
  MWindow(const MWindow&) = delete;
  MWindow& operator=(const MWindow&) = delete;

  // ---- Virtual interface --------------------------------------------------------------------------
  virtual const wchar_t* GetWindowClassName() const;  // "TesselClient"
  virtual const wchar_t* GetSuperClassName() const;   // null: no superclassing
  virtual void ShowWindow(int command = SW_SHOW);
  virtual LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual int PreTranslateMessage(const MSG* msg);
  virtual int OnInitDialog();
  virtual void OnDestroyMessage(HWND hwnd);

  // ---- Creation -----------------------------------------------------------------------------------
  // A popup window named "TesselClient" at (0, 0, 800, 600) or the rectangle.
  HWND Create(HWND parent);
  HWND Create(HWND parent, const MRect& rect);
  HWND Create(HWND parent, const std::wstring& name, uint32_t style, uint32_t ex_style,
              const MRect& rect, void* menu = nullptr);
  bool RegisterWindowClass();
  bool RegisterSuperClass();
  // Marks a class name as registered (what a system class would be).
  static void RegisterClassName(const std::wstring& name);
  static bool IsClassRegistered(const std::wstring& name);

  // ---- Window operations (0 / null / false when the window does not exist) --------------------------
  HWND GetSafeHwnd() const { return hwnd_; }
  HWND GetParentHwnd() const { return parent_; }
  // Shows the window, disables its owner and runs messages until the window is gone; answers
  // the wParam of the WM_CLOSE that closed it (0 without one), -1 without a window.
  int ShowModal(int command = SW_SHOW);
  bool DestroyWindow();
  bool CenterWindow(HWND reference = nullptr);
  void BringToTop();
  bool SetIcon(int resource_id);
  uint32_t GetStyle() const;
  uint32_t GetExStyle() const;
  bool ModifyStyle(uint32_t remove, uint32_t add, UINT flags = 0);
  bool ModifyExStyle(uint32_t remove, uint32_t add, UINT flags = 0);
  MRect GetClientRect() const;
  MRect GetWindowRect() const;
  bool SetWindowTextW(const std::wstring& text);
  std::wstring GetWindowTextW() const;
  int GetWindowTextLengthW() const;
  bool EnableWindow(bool enable);
  bool IsWindowEnabled() const;
  bool IsWindowVisible() const;
  bool IsIconic() const;
  bool InvalidateRect(const MRect* rect = nullptr, bool erase = false);
  void SetCapture();
  void ReleaseCapture();
  HWND SetFocus();
  bool SetTimer(uintptr_t id, unsigned milliseconds);
  bool KillTimer(uintptr_t id);
  bool ClientToScreen(MPoint* point) const;
  bool ClientToScreen(MRect* rect) const;
  bool ScreenToClient(MPoint* point) const;
  bool ScreenToClient(MRect* rect) const;
  bool SetWindowPos(const MRect& rect, UINT flags);
  bool MoveWindow(int x, int y, int width, int height, bool repaint = true);
  bool MoveWindow(const MRect& rect, bool repaint = true);
  LRESULT SendMessageW(UINT message, WPARAM wParam, LPARAM lParam);
  bool PostMessageW(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  HWND parent_ = nullptr;
  HWND hwnd_ = nullptr;
  int reserved_ = 0;

 private:
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  int PreTranslate(const MSG* msg) override { return PreTranslateMessage(msg); }
};
