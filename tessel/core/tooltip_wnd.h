#pragma once
// The window that shows a paint manager's tooltip: a topmost tool window that never takes
// the focus, white with a grey frame and the text in the toolkit font, at most 256 pixels wide.
#include <cairo.h>

#include <string>

#include "tessel/core/self_painted_window.h"

class TESSEL_API MTooltipWnd : public SelfPaintedWindow {
 public:
  explicit MTooltipWnd(HWND owner);
  ~MTooltipWnd() override;
  MTooltipWnd(const MTooltipWnd&) = delete;
  MTooltipWnd& operator=(const MTooltipWnd&) = delete;

  // Shows the text with its top-left corner at a screen point.
  void Show(const std::wstring& text, MPoint screen);
  void Hide();
  const std::wstring& GetText() const { return text_; }

 private:
  void DrawFrame(cairo_surface_t* frame, const MRect& client) override;
  bool Layered() const override { return false; }

  HWND owner_;
  std::wstring text_;
};
