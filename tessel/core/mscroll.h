#pragma once
// The scroll bar base and its two forms as far as a panel needs them: range, position,
// page and line step. The skins, thumb drawing and dragging belong to the scroll bar
// controls built on these classes.
#include "tessel/core/export.h"
#include "tessel/core/mcontrol_font.h"

class TESSEL_API MScroll : public MControlFont {
 public:
  MScroll(MObject* parent, unsigned id, const MRect& rect, int visible = 1, int enabled = 1);
  ~MScroll() override;

  void DrawControl(cairo_t* cr, const MRect& paint) override;

  // Range (default 1000); with the automatic page the page returns to 0.
  void SetScrollMaxRange(int range);
  // Page (non-zero clears the automatic flag) and line step (non-zero replaces it).
  void SetScrollSize(int page, int step);
  void SetScrollInfo(int range, int position, int page, int step);
  void SetScrollCurrentPos(int position);
  void SetScrollCurrentPosEx(int position);
  // The position becomes the range (thumb at the end); nothing else is updated.
  void SetScrollFinalPos();
  // position + n x step clamped to 0..range; answers whether the position changed.
  bool ScrollRow(int n);
  int GetScrollMaxRange() const { return range_; }
  int GetScrollCurrentPos() const { return position_; }
  int GetScrollPage() const { return page_; }
  int GetScrollStep() const { return step_; }
  int IsChangeing() const { return changing_; }
  // Placement of the thumb after a change; the base does nothing.
  virtual int MoveRange(int delta);
  virtual int SetRange();
  virtual int SetRangeEx();

 protected:
  MRect thumb_;
  int thumb_state_ = 0;
  int pointer_inside_ = 0;
  int active_ = 0;
  int range_ = 1000;
  int position_ = 0;
  int page_ = 0;
  int step_ = 10;
  int auto_page_ = 1;
  int changing_ = 0;
};

class TESSEL_API CScrollVertical : public MScroll {
 public:
  CScrollVertical(MObject* parent, unsigned id, const MRect& rect, int visible = 1,
                  int enabled = 1);
 protected:
  int anchor_ = -1;
};

class TESSEL_API CScrollHorizontal : public MScroll {
 public:
  CScrollHorizontal(MObject* parent, unsigned id, const MRect& rect, int visible = 1,
                    int enabled = 1);
 protected:
  int anchor_ = -1;
};
