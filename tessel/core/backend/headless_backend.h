#pragma once
// A back end without a display: each window is an off-screen ARGB32 surface that receives
// every presented frame, input is synthetic (queued by the caller, delivered on the next
// wait), and time is a manual clock that only moves when told (or, with auto-advance, jumps
// to the deadline a waiting loop asks for, so modal loops and timers run without waiting).
#include <cairo.h>

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "tessel/core/backend/backend.h"

class TESSEL_API HeadlessBackend : public Backend {
 public:
  HeadlessBackend();
  ~HeadlessBackend() override;
  const char* Name() const override { return "headless"; }

  bool CreateNativeWindow(HWND hwnd, const NativeWindowSpec& spec) override;
  void DestroyNativeWindow(HWND hwnd) override;
  void ShowNativeWindow(HWND hwnd, bool show, bool activate) override;
  void MoveNativeWindow(HWND hwnd, const MRect& rect) override;
  void SetNativeTitle(HWND hwnd, const std::wstring& title) override;
  void SetNativeTopmost(HWND hwnd, bool on) override;
  void SetNativeOpacity(HWND hwnd, uint8_t alpha) override;
  void SetNativeIcon(HWND hwnd, cairo_surface_t* icon) override;
  void SetNativeCapture(HWND hwnd, bool on) override;
  void SetNativeCursor(CursorKind kind) override { cursor_ = kind; }
  bool Present(HWND hwnd, cairo_surface_t* frame, const MRect* rects, int count,
               bool per_pixel_alpha) override;
  MRect GetWorkArea(const MRect& near) override { return work_area_; }
  MPoint GetCursorPos() override;
  int64_t NowMs() override { return clock_.load(); }
  int FrameIntervalMs() override { return frame_interval_; }
  void WaitEvents(int timeout_ms, BackendSink& sink) override;
  void Wake() override;

  // ---- Clock -----------------------------------------------------------------------------------
  void AdvanceClock(int64_t ms) { clock_ += ms; }
  // When set, a wait with a time-out and nothing to deliver moves the clock to its end.
  void SetAutoAdvance(bool on) { auto_advance_ = on; }
  void SetFrameInterval(int ms) { frame_interval_ = ms; }
  // Called when a loop would wait without a time-out and nothing is queued (a test drives a
  // modal loop from here). Without a hook such a wait posts WM_QUIT so a test cannot hang.
  void SetIdleHook(std::function<void()> hook) { idle_hook_ = std::move(hook); }
  int StallCount() const { return stalls_; }

  // ---- Desktop ----------------------------------------------------------------------------------
  void SetWorkArea(const MRect& rect) { work_area_ = rect; }

  // ---- Synthetic input (client coordinates of the window unless said otherwise) -------------------
  void MouseMove(HWND hwnd, int x, int y);
  void LButtonDown(HWND hwnd, int x, int y);
  void LButtonUp(HWND hwnd, int x, int y);
  void LButtonDblClk(HWND hwnd, int x, int y);
  void Click(HWND hwnd, int x, int y);
  void RButtonDown(HWND hwnd, int x, int y);
  void RButtonUp(HWND hwnd, int x, int y);
  // One notch is 120; positive turns away from the user.
  void Wheel(HWND hwnd, int x, int y, int delta);
  // Virtual-key press and release; Alt held makes them WM_SYSKEY*.
  void KeyDown(HWND hwnd, int vk);
  void KeyUp(HWND hwnd, int vk);
  void Char(HWND hwnd, wchar_t ch);
  void MouseLeave(HWND hwnd);
  // The desktop gives or takes the window's activation.
  void Activate(HWND hwnd, bool active);
  void Close(HWND hwnd);
  // The pointer moves to a screen point; the window under it (or the capturing window) gets
  // the move in its own coordinates.
  void MoveCursorTo(MPoint screen);
  // Releases the left button at a screen point (over whatever window is there now).
  void LButtonUpAt(MPoint screen);

  // ---- What the windows show -----------------------------------------------------------------------
  struct WindowState {
    MRect rect;
    std::wstring title;
    bool shown = false;
    bool topmost = false;
    bool tool = false;
    bool popup_menu = false;
    uint8_t opacity = 255;
    bool has_icon = false;
    bool per_pixel_alpha = false;
    int presents = 0;
    MRect last_present;
    cairo_surface_t* frame = nullptr;  // client size, ARGB32; what the screen would show
  };
  // A copy of the window's state (frame: a new reference the caller destroys); false when the
  // window has no native counterpart.
  bool GetWindowState(HWND hwnd, WindowState* state) const;
  // The pixel of the shown frame at client (x, y), ARGB straight alpha.
  uint32_t PixelAt(HWND hwnd, int x, int y) const;
  bool SaveFrame(HWND hwnd, const std::string& path) const;
  HWND CaptureWindow() const { return capture_; }
  CursorKind Cursor() const { return cursor_; }

 private:
  struct Event {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int kind = 0;  // 0 message, 1 leave
  };
  void Queue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int kind = 0);
  void Button(HWND hwnd, UINT message, int x, int y, unsigned set, unsigned clear);
  WPARAM Flags() const;
  HWND WindowAt(MPoint screen) const;

  mutable std::mutex lock_;
  std::map<HWND, WindowState> windows_;
  std::deque<Event> events_;
  std::atomic<int64_t> clock_{0};
  std::atomic<bool> woken_{false};
  bool auto_advance_ = true;
  int frame_interval_ = 0;
  std::function<void()> idle_hook_;
  int stalls_ = 0;
  MRect work_area_{0, 0, 1920, 1040};
  MPoint cursor_pos_;
  unsigned buttons_ = 0;
  bool keys_[256] = {};
  HWND capture_ = nullptr;
  CursorKind cursor_ = CursorKind::kArrow;
};
