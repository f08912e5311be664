#pragma once
// A decorative rectangle painted over what lies below it: a translucent fill whose opacity
// runs from a start to an end transparency (top to bottom or left to right), or, with
// both transparencies 0, an opaque fill with an optional 1-pixel frame.
#include "tessel/core/colour.h"
#include "tessel/core/export.h"
#include "tessel/core/mcontrol.h"

class TESSEL_API CArea : public MControl {
 public:
  CArea(MObject* parent, unsigned id, const MRect& rect, int visible = 1, int enabled = 1);
  ~CArea() override;

  void DrawControl(cairo_t* cr, const MRect& paint) override;

  // Start and end transparency in percent (0 = opaque) and the fill colour (COLORREF).
  void SetTransparent(int start_alpha, int end_alpha, COLORREF fill_colour);
  // Frame on or off and its colour (ARGB); drawn only when both transparencies are 0.
  void SetFrame(int frame, ARGB frame_colour, int reserved = 0);
  // 1 vertical (top to bottom), 0 horizontal (left to right).
  void SetOrientation(int orientation);
  int GetOrientation() const { return orientation_; }
  int GetStartAlpha() const { return start_alpha_; }
  int GetEndAlpha() const { return end_alpha_; }
  COLORREF GetFillColor() const { return fill_colour_; }
  int GetFrame() const { return frame_; }
  ARGB GetFrameColor() const { return frame_colour_; }

 protected:
  void BuildCache(cairo_t* cache, cairo_t* target) override;

  int orientation_ = 1;
  int start_alpha_ = 80;
  int end_alpha_ = 80;
  COLORREF fill_colour_ = 0xFFFFFF;
  int frame_ = 0;
  ARGB frame_colour_ = 0xFF050505;
};
