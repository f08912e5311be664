#pragma once
// The toolkit's window system: window records and handles, the UI thread's message queue
// (posted messages, cross-thread sends, quit), window timers, invalidation and painting
// turns, activation, focus, capture and window dragging. Native work goes to a Backend.
// Windows live on the UI thread (the thread that created the first one); PostMessageW,
// SendMessageW and InvalidateRect may be called from any thread.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tessel/core/backend/backend.h"
#include "tessel/core/colour.h"
#include "tessel/core/export.h"
#include "tessel/core/geometry.h"
#include "tessel/core/native_messages.h"

// The object behind a window: receives its messages.
class TESSEL_API WindowProcTarget {
 public:
  virtual LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Called by message loops before dispatching a message addressed to this window.
  virtual int PreTranslate(const MSG* msg) { return 0; }

 protected:
  ~WindowProcTarget() = default;
};

struct WindowCreateParams {
  std::wstring class_name;
  std::wstring title;
  uint32_t style = WS_POPUP;
  uint32_t ex_style = 0;
  MRect rect;              // screen rectangle
  HWND parent = nullptr;   // owner of a popup, parent of a child
};

class TESSEL_API WindowSystem final : private BackendSink {
 public:
  // The process-wide window system.
  static WindowSystem& Get();

  // Chooses the back end; allowed only while no window exists. Without a call, the first
  // use picks SDL when a display is set (DISPLAY or WAYLAND_DISPLAY), else headless.
  bool SetBackend(std::unique_ptr<Backend> backend);
  Backend& GetBackend();
  // Milliseconds of the back end's clock.
  int64_t Now();
  bool IsUIThread() const;

  // ---- Windows ----------------------------------------------------------------------------
  HWND CreateWindowExW(const WindowCreateParams& params, WindowProcTarget* target);
  // WM_DESTROY, the native window goes, WM_NCDESTROY; owned windows first. Pending posts and
  // sends for the window are dropped (sends answer 0).
  bool DestroyWindow(HWND hwnd);
  bool IsWindow(HWND hwnd) const;
  WindowProcTarget* GetTarget(HWND hwnd) const;
  std::vector<HWND> GetWindows() const;
  // First window whose class name and title match; a null argument matches any.
  HWND FindWindowW(const wchar_t* class_name, const wchar_t* title) const;

  bool GetWindowRect(HWND hwnd, MRect* rect) const;
  bool GetClientRect(HWND hwnd, MRect* rect) const;  // (0, 0, width, height)
  bool SetWindowPos(HWND hwnd, const MRect& rect, UINT flags);
  bool ShowWindow(HWND hwnd, int command);
  bool IsWindowVisible(HWND hwnd) const;
  bool IsIconic(HWND hwnd) const;
  bool IsZoomed(HWND hwnd) const;
  bool EnableWindow(HWND hwnd, bool enable);  // answers whether it was disabled before
  bool IsWindowEnabled(HWND hwnd) const;
  uint32_t GetStyle(HWND hwnd) const;
  uint32_t GetExStyle(HWND hwnd) const;
  bool SetStyle(HWND hwnd, uint32_t style);
  bool SetExStyle(HWND hwnd, uint32_t ex_style);
  HWND GetParent(HWND hwnd) const;  // parent or owner
  bool SetWindowTextW(HWND hwnd, const std::wstring& text);
  std::wstring GetWindowTextW(HWND hwnd) const;
  std::wstring GetClassNameW(HWND hwnd) const;
  bool SetLayeredAttributes(HWND hwnd, COLORREF key, uint8_t alpha, UINT flags);
  bool SetIcon(HWND hwnd, cairo_surface_t* icon);

  // ---- Activation, focus, capture, pointer --------------------------------------------------
  HWND GetActiveWindow() const;
  // Makes the window active: the old one gets WM_NCACTIVATE(0) and WM_ACTIVATE(0), the new one
  // WM_NCACTIVATE(1) and WM_ACTIVATE(1). Null deactivates.
  void SetActiveWindow(HWND hwnd);
  HWND GetFocus() const;
  HWND SetFocus(HWND hwnd);
  HWND GetCapture() const;
  void SetCapture(HWND hwnd);
  void ReleaseCapture();
  // Arms one WM_MOUSELEAVE for the window.
  void TrackMouseLeave(HWND hwnd);
  bool IsTrackingMouse(HWND hwnd) const;
  MPoint GetCursorPos();
  bool ClientToScreen(HWND hwnd, MPoint* point) const;
  bool ScreenToClient(HWND hwnd, MPoint* point) const;
  void SetCursor(CursorKind kind);
  // Typing delivered as WM_CHAR (on by default); off also switches the input method off.
  void SetTextInput(HWND hwnd, bool on);
  // Keyboard grab of the window (takes effect once it has the input focus).
  void SetKeyboardGrab(HWND hwnd, bool on);
  // Key state as seen by the messages taken from the queue so far.
  bool IsKeyDown(int vk) const;
  // Moves the window with the pointer until the left button is released.
  void BeginWindowDrag(HWND hwnd);
  bool IsDragging() const;

  // ---- Painting -----------------------------------------------------------------------------
  // Adds the rectangle (null: the client area) to the window's update area. Any thread.
  bool InvalidateRect(HWND hwnd, const MRect* rect, bool erase);
  bool GetUpdateRect(HWND hwnd, MRect* rect) const;
  // The rectangle to paint in this WM_PAINT (the update area is then empty).
  bool BeginPaint(HWND hwnd, MRect* paint);
  void EndPaint(HWND hwnd);
  // The frame (client size) on the screen through the back end.
  bool Present(HWND hwnd, cairo_surface_t* frame, const MRect* rects, int count,
               bool per_pixel_alpha);

  // ---- Timers -------------------------------------------------------------------------------
  bool SetTimer(HWND hwnd, uintptr_t id, unsigned milliseconds);
  bool KillTimer(HWND hwnd, uintptr_t id);

  // ---- Messages -----------------------------------------------------------------------------
  // Same thread: calls the window at once. Another thread: queues the call for the UI thread
  // and waits for its answer (0 when the window is or becomes destroyed).
  LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Queues the message; any thread. False for a window that does not exist.
  bool PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Runs the function on the UI thread (queued); any thread.
  void PostTask(std::function<void()> task);
  void PostQuitMessage(int code);
  // Waits for the next message; false for WM_QUIT (msg holds it).
  bool GetMessageW(MSG* msg);
  // Takes the next message without waiting, when there is one.
  bool PeekMessageW(MSG* msg, bool remove = true);
  LRESULT DispatchMessageW(const MSG& msg);
  LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Dispatches everything that is due now (messages, paints, timers) without waiting, at most
  // `limit` messages; answers how many were dispatched. Stops at a WM_QUIT and keeps it.
  int PumpPending(int limit = 100000);

  // Tears everything down: every window destroyed, the queue emptied, the back end released.
  void Reset();

 private:
  WindowSystem();
  ~WindowSystem() override;
  struct Window;
  struct Sent;
  struct Posted {
    MSG msg;
    std::function<void()> task;
  };

  // BackendSink
  void OnNativeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnNativeExpose(HWND hwnd) override;
  void OnNativeRect(HWND hwnd, const MRect& rect) override;
  void OnNativeMouseLeave(HWND hwnd) override;

  Window* Find(HWND hwnd) const;  // caller holds lock_
  Backend& BackendLocked();
  bool NextMessage(MSG* msg, bool wait, bool remove);
  void RunSentMessages();
  LRESULT CallWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool FilterInput(const MSG& msg);
  void NoteKeyState(const MSG& msg);

  mutable std::recursive_mutex lock_;
  std::unique_ptr<Backend> backend_;
  std::map<HWND, std::unique_ptr<Window>> windows_;
  std::deque<Posted> posted_;
  std::deque<std::shared_ptr<Sent>> sent_;
  std::condition_variable_any sent_done_;
  bool quit_pending_ = false;
  int quit_code_ = 0;
  uintptr_t next_handle_ = 0x1000;
  std::thread::id ui_thread_;
  bool ui_thread_set_ = false;
  HWND active_ = nullptr;
  HWND capture_ = nullptr;
  HWND drag_ = nullptr;
  MPoint drag_cursor_;
  MRect drag_rect_;
  bool keys_[256] = {};
};
