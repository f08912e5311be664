#pragma once
// The toolkit's window back end: the few native services the window system needs (native
// windows, putting a painted frame on the screen, pointer and keyboard services, a clock,
// waiting for input). Two implementations: SDL2 (real windows) and headless (off-screen
// surfaces, synthetic input, a manual clock).
#include <cairo.h>

#include <cstdint>
#include <string>

#include "tessel/core/control_host.h"
#include "tessel/core/export.h"
#include "tessel/core/geometry.h"
#include "tessel/core/native_messages.h"

// What kind of native window to make. Every toolkit window is borderless; the kind only
// tells the desktop how to treat it.
struct NativeWindowSpec {
  MRect rect;             // screen rectangle (outer = client: no frame)
  std::wstring title;
  bool tool = false;      // tool window: no taskbar entry
  bool popup_menu = false;  // transient popup (menu, drop-down list)
  bool tooltip = false;   // never takes the focus
  bool topmost = false;
  HWND owner = nullptr;
};

// Where a back end delivers what happened to its windows. Called on the UI thread from
// inside Backend::WaitEvents.
class TESSEL_API BackendSink {
 public:
  virtual ~BackendSink() = default;
  // An input or window message for a window, in the toolkit's message numbers.
  virtual void OnNativeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // The window's contents were lost: repaint all of it.
  virtual void OnNativeExpose(HWND hwnd) = 0;
  // The desktop moved or resized the window (screen rectangle).
  virtual void OnNativeRect(HWND hwnd, const MRect& rect) = 0;
  // The pointer left the window.
  virtual void OnNativeMouseLeave(HWND hwnd) = 0;
};

class TESSEL_API Backend {
 public:
  virtual ~Backend() = default;
  virtual const char* Name() const = 0;

  // ---- Windows (UI thread) ------------------------------------------------------------------
  virtual bool CreateNativeWindow(HWND hwnd, const NativeWindowSpec& spec) = 0;
  virtual void DestroyNativeWindow(HWND hwnd) = 0;
  virtual void ShowNativeWindow(HWND hwnd, bool show, bool activate) = 0;
  virtual void MoveNativeWindow(HWND hwnd, const MRect& rect) = 0;
  virtual void SetNativeTitle(HWND hwnd, const std::wstring& title) {}
  virtual void SetNativeTopmost(HWND hwnd, bool on) {}
  // Constant opacity of the whole window, 255 = opaque.
  virtual void SetNativeOpacity(HWND hwnd, uint8_t alpha) {}
  virtual void SetNativeIcon(HWND hwnd, cairo_surface_t* icon) {}
  virtual void RaiseNativeWindow(HWND hwnd) {}
  virtual void MinimiseNativeWindow(HWND hwnd, bool minimise) {}
  virtual void SetNativeFocus(HWND hwnd) {}
  virtual void SetNativeCapture(HWND hwnd, bool on) {}
  virtual void SetNativeCursor(CursorKind kind) {}
  virtual void SetNativeKeyboardGrab(HWND hwnd, bool on) {}
  virtual void SetNativeTextInput(HWND hwnd, bool on) {}

  // Puts the rectangles of a painted client-size ARGB32 frame on the screen. per_pixel_alpha:
  // the frame's alpha shapes the window (layered window). Answers false when nothing was shown.
  virtual bool Present(HWND hwnd, cairo_surface_t* frame, const MRect* rects, int count,
                       bool per_pixel_alpha) = 0;

  // ---- Desktop -------------------------------------------------------------------------------
  // Work area of the monitor nearest the rectangle (the desktop minus panels).
  virtual MRect GetWorkArea(const MRect& near) = 0;
  // Pointer position in screen coordinates.
  virtual MPoint GetCursorPos() = 0;
  // Milliseconds of a steady clock.
  virtual int64_t NowMs() = 0;
  // Shortest time between two frames of one window (0 = no limit).
  virtual int FrameIntervalMs() = 0;

  // ---- Events ---------------------------------------------------------------------------------
  // Waits up to timeout_ms (negative: without limit) for native events and hands them to the
  // sink; returns after the first batch, a Wake or the time-out.
  virtual void WaitEvents(int timeout_ms, BackendSink& sink) = 0;
  // Ends a WaitEvents early. Safe from any thread.
  virtual void Wake() = 0;
};
