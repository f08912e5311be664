#pragma once
// The SDL2 back end: one borderless SDL window per toolkit window, frames copied into the
// window surface and only the damaged rectangles updated, SDL events turned into the
// toolkit's messages, SDL_WaitEventTimeout for waiting (a user event wakes it from another
// thread). Runs on the thread that creates it.
#include <SDL.h>

#include <chrono>
#include <map>
#include <mutex>

#include "tessel/core/backend/backend.h"

class TESSEL_API SdlBackend : public Backend {
 public:
  SdlBackend();
  ~SdlBackend() override;
  // SDL's video subsystem started.
  bool IsReady() const { return ready_; }
  const char* Name() const override { return "sdl"; }

  bool CreateNativeWindow(HWND hwnd, const NativeWindowSpec& spec) override;
  void DestroyNativeWindow(HWND hwnd) override;
  void ShowNativeWindow(HWND hwnd, bool show, bool activate) override;
  void MoveNativeWindow(HWND hwnd, const MRect& rect) override;
  void SetNativeTitle(HWND hwnd, const std::wstring& title) override;
  void SetNativeTopmost(HWND hwnd, bool on) override;
  void SetNativeOpacity(HWND hwnd, uint8_t alpha) override;
  void SetNativeIcon(HWND hwnd, cairo_surface_t* icon) override;
  void RaiseNativeWindow(HWND hwnd) override;
  void MinimiseNativeWindow(HWND hwnd, bool minimise) override;
  void SetNativeFocus(HWND hwnd) override;
  void SetNativeCapture(HWND hwnd, bool on) override;
  void SetNativeCursor(CursorKind kind) override;
  void SetNativeKeyboardGrab(HWND hwnd, bool on) override;
  void SetNativeTextInput(HWND hwnd, bool on) override;
  bool Present(HWND hwnd, cairo_surface_t* frame, const MRect* rects, int count,
               bool per_pixel_alpha) override;
  MRect GetWorkArea(const MRect& near) override;
  MPoint GetCursorPos() override;
  int64_t NowMs() override;
  int FrameIntervalMs() override { return frame_interval_; }
  void WaitEvents(int timeout_ms, BackendSink& sink) override;
  void Wake() override;

  SDL_Window* GetSdlWindow(HWND hwnd) const;
  // Saves what the window surface shows as a BMP file.
  bool SaveWindowSurface(HWND hwnd, const char* path) const;

 private:
  void Translate(const SDL_Event& e, BackendSink& sink);
  HWND FromId(Uint32 id) const;

  bool ready_ = false;
  Uint32 wake_event_ = 0;
  int frame_interval_ = 16;
  std::map<HWND, SDL_Window*> windows_;
  std::map<Uint32, HWND> by_id_;
  std::map<int, SDL_Cursor*> cursors_;
  std::map<HWND, bool> grab_wanted_;  // keyboard grabs waiting for the input focus
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The Windows virtual-key code of an SDL key (0 when there is none).
TESSEL_API int VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode);
