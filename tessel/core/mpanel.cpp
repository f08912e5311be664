#include "tessel/core/mpanel.h"

#include <algorithm>

#include "tessel/core/control_factory.h"

MPanel::MPanel(MObject* parent, unsigned id, const MRect& rect, int visible)
    : MControlFont(parent, id, rect, L"", visible, 1, 1) {
  vscroll_ = new CScrollVertical(this, 1, MRect(), 0, 1);
  hscroll_ = new CScrollHorizontal(this, 2, MRect(), 0, 1);
  AddControl(vscroll_, kControlKindControl);
  AddControl(hscroll_, kControlKindControl);
  LayoutScrollBars();
}

MPanel::~MPanel() = default;

// ---- Creation ---------------------------------------------------------------------------------

MControl* MPanel::CreateControl(unsigned kind, MObject* parent, std::wstring_view class_name,
                                unsigned id, const MRect& rect, const std::wstring& text,
                                int visible, int enabled) {
  MControl* control = ControlFactory::Create(ControlFactory::kPanel, class_name, parent, id,
                                             rect, text, visible, enabled);
  if (control == nullptr) return nullptr;
  control->SetManager(manager_);
  if (kind == kControlKindArea || kind == kControlKindControl) AddControl(control, kind);
  return control;
}

MControl* MPanel::CreateControl(std::wstring_view class_name, unsigned id, const MRect& rect,
                                const std::wstring& text, int visible, int enabled) {
  return CreateControl(kControlKindControl, this, class_name, id, rect, text, visible, enabled);
}

MControl* MPanel::CreateArea(std::wstring_view class_name, unsigned id, const MRect& rect,
                             const std::wstring& text, int visible, int enabled) {
  return CreateControl(kControlKindArea, this, class_name, id, rect, text, visible, enabled);
}

int MPanel::OnControlKeyUp(int, int, int) { return 0; }

int MPanel::OnKeyUp(int key, int repeat, int modifiers) {
  return OnControlKeyUp(key, repeat, modifiers);
}

// ---- Notifications and redraw requests ----------------------------------------------------------

LRESULT MPanel::OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) {
  if (parent_ == nullptr) return 0;
  return parent_->OnBaseMessage(id, code, wParam, lParam);
}

int MPanel::OnControlUpdate(const MRect& rect, int redraw, MControl* control) {
  if (control == nullptr) return 0;
  if (redraw) control->SetUpdate(0, 0);
  // Everything drawn after the requesting control and overlapping the request is stale too:
  // later areas, then (areas being drawn first) every control of the control list.
  {
    ControlDispatchScope scope;
    bool after = false;
    for (MControl* a : GetAreas()) {
      if (a == control) {
        after = true;
        continue;
      }
      if (after && IsOwnChild(a) && a->IsVisible() && a->GetRect().Intersects(rect))
        a->SetUpdate(0, 0);
    }
    for (MControl* c : GetControls()) {
      if (c == control) {
        after = true;
        continue;
      }
      if (after && IsOwnChild(c) && c->IsVisible() && c->GetRect().Intersects(rect))
        c->SetUpdate(0, 0);
    }
  }
  UpdateControl(rect_, 0);
  return 1;
}

// ---- Attachment and drawing -------------------------------------------------------------------

void MPanel::InitControl(ControlHost* manager) {
  MControlFont::InitControl(manager);
  initialised_ = 1;
}

void MPanel::DrawControl(cairo_t*, const MRect&) {}

void MPanel::DrawSubControls(cairo_t* cr, const MRect& paint) {
  if (!enable_scroll_ || (!IsContentTaller() && !IsContentWider()))
    MControlFont::DrawSubControls(cr, paint);
}

void MPanel::DrawScrolledChildren(cairo_t* cr, const MRect& paint) {
  const MPoint offset = GetScrollOffset();
  const MRect visible = rect_.Intersect(paint);
  if (visible.IsEmpty()) return;
  ControlDispatchScope scope;
  const MRect content_paint = visible.Offset(offset.x, offset.y);
  cairo_save(cr);
  cairo_rectangle(cr, visible.left, visible.top, visible.Width(), visible.Height());
  cairo_clip(cr);
  cairo_translate(cr, -offset.x, -offset.y);
  for (MControl* c : GetControls()) {
    if (!IsOwnChild(c) || !c->IsVisible() || c == vscroll_ || c == hscroll_) continue;
    c->Draw(cr, content_paint);
  }
  cairo_restore(cr);
  for (MControl* bar : {static_cast<MControl*>(vscroll_), static_cast<MControl*>(hscroll_)})
    if (bar != nullptr && IsOwnChild(bar) && bar->IsVisible()) bar->Draw(cr, paint);
}

// ---- Scrolling --------------------------------------------------------------------------------

MPoint MPanel::GetScrollOffset() const {
  MPoint offset;
  if (!enable_scroll_) return offset;
  if (IsContentTaller() && vscroll_ != nullptr && vscroll_->GetScrollMaxRange() > 0) {
    offset.y = static_cast<int32_t>(static_cast<int64_t>(rect_.top + virtual_height_ - rect_.bottom) *
                                    vscroll_->GetScrollCurrentPos() / vscroll_->GetScrollMaxRange());
  }
  if (IsContentWider() && hscroll_ != nullptr && hscroll_->GetScrollMaxRange() > 0) {
    offset.x = static_cast<int32_t>(static_cast<int64_t>(rect_.left + virtual_width_ - rect_.right) *
                                    hscroll_->GetScrollCurrentPos() / hscroll_->GetScrollMaxRange());
  }
  return offset;
}

int MPanel::OnMousePointChange(MPoint& point) {
  if (!enable_scroll_ || (!IsContentTaller() && !IsContentWider())) return 0;
  const MPoint offset = GetScrollOffset();
  point.x += offset.x;
  point.y += offset.y;
  return offset.x != 0 || offset.y != 0 ? 1 : 0;
}

int MPanel::OnControlScroll(int, unsigned direction, MPoint) {
  if (!enable_scroll_ || !IsContentTaller() || vscroll_ == nullptr) return 0;
  const int old = vscroll_->GetScrollCurrentPos();
  const int step = vscroll_->GetScrollStep();
  const int range = std::max(vscroll_->GetScrollMaxRange(), 0);
  const int wanted = std::clamp(direction == 1 ? old + step : old - step, 0, range);
  vscroll_->SetScrollCurrentPos(wanted);
  if (vscroll_->GetScrollCurrentPos() != old) {
    UpdateControl(1);
    vscroll_->UpdateControl(1);
  }
  return 1;
}

void MPanel::LayoutScrollBars() {
  const int t = scroll_thickness_;
  if (vscroll_ != nullptr) {
    vscroll_->SetControlRect(MRect(rect_.right - t, rect_.top, rect_.right, rect_.bottom));
    vscroll_->SetControlVisible(enable_scroll_ && IsContentTaller() ? 1 : 0);
  }
  if (hscroll_ != nullptr) {
    hscroll_->SetControlRect(MRect(rect_.left, rect_.bottom - t, rect_.right, rect_.bottom));
    hscroll_->SetControlVisible(enable_scroll_ && IsContentWider() ? 1 : 0);
  }
}

void MPanel::SetControlRect(const MRect& rect) {
  MControlFont::SetControlRect(rect);
  LayoutScrollBars();
}

void MPanel::SetVirtualHeight(int height) {
  virtual_height_ = height;
  LayoutScrollBars();
}

void MPanel::SetVirtualWidth(int width) {
  virtual_width_ = width;
  LayoutScrollBars();
}

void MPanel::SetEnableScroll(int on) {
  enable_scroll_ = on;
  LayoutScrollBars();
}

// ---- State passed to the children ------------------------------------------------------------

void MPanel::SetControlEnabled(int enabled) {
  MControlFont::SetControlEnabled(enabled);
  ControlDispatchScope scope;
  for (MControl* c : GetControls()) {
    if (!IsOwnChild(c) || (c->IsEnabled() != 0) == (enabled != 0)) continue;
    c->SetControlEnabled(enabled);
    if (c->IsVisible()) c->UpdateControl(1);
  }
}

LRESULT MPanel::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  ControlDispatchScope scope;
  for (MControl* c : GetControls()) {
    if (!IsOwnChild(c)) continue;
    if (LRESULT r = c->OnWindowMessage(message, wParam, lParam)) return r;
  }
  return 0;
}
