#pragma once
// The window that shows a paint manager's tooltip: a topmost tool window that never takes
// the focus, white with a grey frame and the text in the toolkit font, at most 256 pixels wide.
#include <cairo.h>

#include <string>

#include "tessel/core/backend/window_system.h"

class TESSEL_API MTooltipWnd : private WindowProcTarget {
 public:
  explicit MTooltipWnd(HWND owner);
  ~MTooltipWnd();
  MTooltipWnd(const MTooltipWnd&) = delete;
  MTooltipWnd& operator=(const MTooltipWnd&) = delete;

  // Shows the text with its top-left corner at a screen point.
  void Show(const std::wstring& text, MPoint screen);
  void Hide();
  HWND GetHwnd() const { return hwnd_; }
  const std::wstring& GetText() const { return text_; }

 private:
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();

  HWND owner_;
  HWND hwnd_ = nullptr;
  std::wstring text_;
  cairo_surface_t* frame_ = nullptr;
};
