#include "tessel/core/mscroll.h"

#include <algorithm>

MScroll::MScroll(MObject* parent, unsigned id, const MRect& rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {}

MScroll::~MScroll() = default;

void MScroll::DrawControl(cairo_t*, const MRect&) {}

void MScroll::SetScrollMaxRange(int range) {
  range_ = range;
  if (auto_page_) page_ = 0;
  SetRange();
}

void MScroll::SetScrollSize(int page, int step) {
  page_ = page;
  if (page != 0) auto_page_ = 0;
  if (step != 0) step_ = step;
  SetRange();
}

void MScroll::SetScrollInfo(int range, int position, int page, int step) {
  range_ = range;
  position_ = position;
  page_ = page;
  if (page != 0) auto_page_ = 0;
  if (step != 0) step_ = step;
  SetRange();
}

void MScroll::SetScrollCurrentPos(int position) {
  position_ = position;
  SetRange();
}

void MScroll::SetScrollCurrentPosEx(int position) {
  position_ = position;
  SetRangeEx();
}

void MScroll::SetScrollFinalPos() { position_ = range_; }

bool MScroll::ScrollRow(int n) {
  const int old = position_;
  position_ = std::clamp(position_ + n * step_, 0, std::max(range_, 0));
  SetRange();
  return position_ != old;
}

int MScroll::MoveRange(int) { return 0; }
int MScroll::SetRange() { return 0; }
int MScroll::SetRangeEx() { return 0; }

CScrollVertical::CScrollVertical(MObject* parent, unsigned id, const MRect& rect, int visible,
                                 int enabled)
    : MScroll(parent, id, rect, visible, enabled) {}

CScrollHorizontal::CScrollHorizontal(MObject* parent, unsigned id, const MRect& rect,
                                     int visible, int enabled)
    : MScroll(parent, id, rect, visible, enabled) {}
