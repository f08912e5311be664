#pragma once
// Base of the toolkit's small helper windows (tooltip, shadow) that paint themselves: it
// answers WM_PAINT by drawing the whole client area into one off-screen frame and showing
// it, and forgets the window when it is destroyed.
#include <cairo.h>

#include "tessel/core/backend/window_system.h"

class TESSEL_API SelfPaintedWindow : protected WindowProcTarget {
 public:
  SelfPaintedWindow() = default;
  virtual ~SelfPaintedWindow();
  SelfPaintedWindow(const SelfPaintedWindow&) = delete;
  SelfPaintedWindow& operator=(const SelfPaintedWindow&) = delete;

  HWND GetHwnd() const { return hwnd_; }

 protected:
  // Draws the whole client area into `frame`, which has the client's size and holds the
  // previous picture.
  virtual void DrawFrame(cairo_surface_t* frame, const MRect& client) = 0;
  // Whether the frame is shown with per-pixel alpha.
  virtual bool Layered() const = 0;

  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

  HWND hwnd_ = nullptr;

 private:
  void Paint();

  cairo_surface_t* frame_ = nullptr;
};
