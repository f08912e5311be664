#pragma once
// A soft drop shadow behind a window: a layered, mouse-transparent popup owned by the window
// that follows its position, size and visibility. The picture is a nine-grid skin image or a
// computed blur shaped by size (-35..35 pixels around the window), sharpness (0..35),
// darkness (0..255), offset (-35..35 on each axis) and colour. Setters answer false and
// change nothing for a value out of range.
#include <cairo.h>

#include <memory>
#include <string>

#include "tessel/core/self_painted_window.h"
#include "tessel/core/colour.h"
#include "tessel/core/image.h"

class TESSEL_API MShadow : public SelfPaintedWindow {
 public:
  MShadow();
  ~MShadow() override;
  MShadow(const MShadow&) = delete;
  MShadow& operator=(const MShadow&) = delete;

  // Creates the shadow window for the owner ("ShadowWnd"); show: visible now; force: again
  // even when it exists.
  bool Create(HWND owner, bool show, bool force = false);
  void Destroy();
  bool SetSize(int size);
  bool SetSharpness(int sharpness);
  bool SetDarkness(int darkness);
  bool SetPosition(int x, int y);
  bool SetColor(COLORREF colour);
  bool SetImage(const std::wstring& file_name, const MRect& corners);
  bool SetImage(int resource_id, const MRect& corners);
  void Show(bool show);
  // The owner moved, was resized, shown or hidden.
  void Follow();

  MRect ShadowRect() const;
  int GetSize() const { return size_; }
  int GetSharpness() const { return sharpness_; }
  int GetDarkness() const { return darkness_; }
  // Alpha of the computed shadow at a distance (pixels) outside the window's edge.
  int AlphaAt(int distance) const;

 private:
  void DrawFrame(cairo_surface_t* frame, const MRect& client) override;
  bool Layered() const override { return true; }
  void Redraw();

  HWND owner_ = nullptr;
  bool shown_ = false;
  int size_ = 0;
  int sharpness_ = 5;
  int darkness_ = 150;
  int offset_x_ = 0;
  int offset_y_ = 0;
  COLORREF colour_ = 0;
  std::unique_ptr<MImage> image_;
  MRect corners_;
};
