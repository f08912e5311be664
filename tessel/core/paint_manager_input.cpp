// Paint manager: window messages, pointer, wheel, keys, focus and capture.
#include <algorithm>

#include "tessel/core/backend/window_system.h"
#include "tessel/core/mcontrol.h"
#include "tessel/core/paint_manager.h"

namespace {

int CurrentModifiers() {
  auto& ws = WindowSystem::Get();
  return KeyModifiers(ws.IsKeyDown(VK_CONTROL), ws.IsKeyDown(VK_SHIFT), ws.IsKeyDown(VK_MENU));
}

MPoint PointOf(LPARAM lParam) { return MPoint(LParamX(lParam), LParamY(lParam)); }

bool Accepts(MControl* c, unsigned flags, MPoint p) {
  return c != nullptr && c->IsVisible() && c->GetRresponse() && c->PtInRect(p) &&
         c->OnCheckMouseResponse(flags, p);
}

}  // namespace

LRESULT PaintManager::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  {
    ControlDispatchScope scope;
    for (MControl* c : GetControls())
      if (c->OnWindowMessage(message, wParam, lParam) != 0) return 0;
  }
  const unsigned flags = static_cast<unsigned>(wParam);
  int r = 0;
  switch (message) {
    case WM_PAINT:
      r = OnPaint();
      break;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (info != nullptr) {
        if (min_size_.cx > 0) info->ptMinTrackSize.x = min_size_.cx;
        if (min_size_.cy > 0) info->ptMinTrackSize.y = min_size_.cy;
        if (max_size_.cx > 0) info->ptMaxTrackSize.x = info->ptMaxSize.x = max_size_.cx;
        if (max_size_.cy > 0) info->ptMaxTrackSize.y = info->ptMaxSize.y = max_size_.cy;
      }
      r = 1;
      break;
    }
    case WM_CREATE:
    case WM_DESTROY:
    case WM_SIZE:
    case WM_CHAR:
    case WM_MOUSEHOVER:
      r = 1;
      break;
    case WM_NCDESTROY:
      DestroyData();
      r = 1;
      break;
    case WM_NCACTIVATE:
      r = OnNcActivate(static_cast<int>(wParam));
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      r = OnKeyDown(static_cast<int>(wParam));
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      r = OnKeyUp(static_cast<int>(wParam));
      break;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      HWND child = reinterpret_cast<HWND>(lParam);
      if (child != nullptr && WindowSystem::Get().IsWindow(child))
        return WindowSystem::Get().SendMessageW(child, message + TESSEL_REFLECT_OFFSET, wParam, lParam);
      break;
    }
    case WM_TIMER:
      OnTimer(static_cast<uintptr_t>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      r = OnMouseMove(flags, PointOf(lParam));
      break;
    case WM_MOUSELEAVE:
      r = OnMouseLeave();
      break;
    case WM_MOUSEWHEEL:
      r = OnMouseWheel(LowWord(wParam), WheelDelta(wParam), PointOf(lParam));
      break;
    case WM_LBUTTONDOWN:
      r = OnLButtonDown(flags, PointOf(lParam));
      break;
    case WM_LBUTTONUP:
      r = OnLButtonUp(flags, PointOf(lParam));
      break;
    case WM_LBUTTONDBLCLK:
      r = OnLButtonDblClk(flags, PointOf(lParam));
      break;
    case WM_RBUTTONDOWN:
      r = OnRButtonDown(flags, PointOf(lParam));
      break;
    case WM_RBUTTONUP:
      r = OnRButtonUp(flags, PointOf(lParam));
      break;
    case WM_RBUTTONDBLCLK:
      r = OnRButtonDblClk(flags, PointOf(lParam));
      break;
    default:
      break;
  }
  return r ? 1 : 0;
}

int PaintManager::PreTranslateMessage(const MSG* msg) {
  if (msg == nullptr) return 0;
  if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && msg->wParam == VK_TAB) {
    const int mods = CurrentModifiers();
    MControl* next = nullptr;
    if (mods == 0) next = GetNextFocusableControl();
    else if (mods == kModShift) next = GetPrevFocusableControl();
    if (next != nullptr && next != focus_) {
      SetFocusControl(next);
      return 1;
    }
  }
  return 0;
}

// ---- Focus ----------------------------------------------------------------------------------------

void PaintManager::SetFocusControl(MControl* control) {
  if (control == focus_) return;
  MControl* old = focus_;
  focus_ = control;
  ControlDispatchScope scope;
  if (old != nullptr) old->SetControlFocus(0);
  if (control != nullptr) control->SetControlFocus(1);
}

namespace {
bool Focusable(const MControl* c) { return c->IsVisible() && c->IsEnabled() && c->IsTabStop(); }
}  // namespace

MControl* PaintManager::GetNextFocusableControl() {
  const std::vector<MControl*> list = GetControls();
  auto at = std::find(list.begin(), list.end(), focus_);
  const bool found = at != list.end();
  if (found) {
    for (auto it = at + 1; it != list.end(); ++it)
      if (Focusable(*it)) return *it;
  }
  if (!found && focus_ != nullptr) return nullptr;
  for (MControl* c : list) {
    if (!Focusable(c)) continue;
    if (hover_ == nullptr) hover_ = c;
    return c;
  }
  return nullptr;
}

MControl* PaintManager::GetPrevFocusableControl() {
  const std::vector<MControl*> list = GetControls();
  auto at = std::find(list.rbegin(), list.rend(), focus_);
  const bool found = at != list.rend();
  if (found) {
    for (auto it = at + 1; it != list.rend(); ++it)
      if (Focusable(*it)) return *it;
  }
  if (!found && focus_ != nullptr) return nullptr;
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if (!Focusable(*it)) continue;
    if (hover_ == nullptr) hover_ = *it;
    return *it;
  }
  return nullptr;
}

void PaintManager::SetCapture() {
  if (!HasWindow()) return;
  WindowSystem::Get().SetCapture(hwnd_);
  captured_ = 1;
}

void PaintManager::ReleaseCapture() {
  if (captured_ && WindowSystem::Get().GetCapture() == hwnd_) WindowSystem::Get().ReleaseCapture();
  captured_ = 0;
}

void PaintManager::SetCursor(CursorKind kind) { WindowSystem::Get().SetCursor(kind); }

LRESULT PaintManager::SendMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
  return HasWindow() ? WindowSystem::Get().SendMessageW(hwnd_, message, wParam, lParam) : 0;
}

LRESULT PaintManager::PostMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(message, wParam, lParam);
}

// ---- Pointer --------------------------------------------------------------------------------------

int PaintManager::OnMouseMove(unsigned flags, MPoint point) {
  ControlDispatchScope scope;
  if (!tracking_ && HasWindow()) {
    WindowSystem::Get().TrackMouseLeave(hwnd_);
    tracking_ = 1;
  }
  if (hover_ != nullptr) {
    if (hover_->PtInRect(point) && hover_->OnCheckMouseResponse(flags, point) && tracking_) {
      hover_->OnMouseMove(flags, point);
      return 1;
    }
    ClearTooltip();
  }
  if (pressing_) return 1;
  if (!tracking_) hover_ = nullptr;
  MControl* hit = nullptr;
  for (MControl* c : GetControls()) {
    c->OnMouseMove(flags, point);
    if (c->PtInRect(point) && c->GetRresponse() && c->OnCheckMouseResponse(flags, point)) hit = c;
  }
  // A control removed during the moves is not taken as hover.
  const auto live = GetControls();
  hover_ = std::find(live.begin(), live.end(), hit) != live.end() ? hit : nullptr;
  return 1;
}

int PaintManager::OnMouseLeave() {
  ClearTooltip();
  tracking_ = 0;
  if (!pressing_ && hover_ != nullptr) {
    ControlDispatchScope scope;
    MControl* old = hover_;
    hover_ = nullptr;
    old->OnMouseMove(0, MPoint(-1, -1));
  }
  return 1;
}

int PaintManager::OnMouseHover(unsigned, MPoint) { return 1; }

int PaintManager::OnMouseWheel(unsigned, int delta, MPoint screen_point) {
  MPoint p = screen_point;
  if (HasWindow()) WindowSystem::Get().ScreenToClient(hwnd_, &p);
  const int notches = delta / WHEEL_DELTA;
  const int steps = notches < 0 ? -notches : notches;
  const unsigned direction = notches <= 0 ? 1 : 0;
  ControlDispatchScope scope;
  int any = 0;
  for (int i = 0; i < steps; ++i) {
    int consumed = hover_ != nullptr && hover_->OnScroll(1, direction, p) ? 1 : 0;
    if (!consumed) {
      for (MControl* c : GetControls()) {
        if (c->OnScroll(1, direction, p)) {
          consumed = 1;
          break;
        }
      }
    }
    any |= consumed;
  }
  return any;
}

int PaintManager::OnLButtonDown(unsigned flags, MPoint point) {
  ControlDispatchScope scope;
  left_dblclk_ = 0;
  // A press that arrives without a move first (the pointer warped) finds its control now.
  if (hover_ == nullptr || !hover_->PtInRect(point)) OnMouseMove(flags, point);
  if (focus_ != nullptr && focus_ != hover_) SetFocusControl(nullptr);
  if (Accepts(hover_, flags, point)) {
    MControl* pressed = hover_;
    if (pressed->IsDragDrop() && pressed->IsEnabled()) {
      drag_armed_ = 1;
      if (drag_bitmap_) cairo_surface_destroy(drag_bitmap_);
      drag_bitmap_ = pressed->GetControlDropBitmap();
    }
    pressing_ = 1;
    SetFocusControl(pressed);
    const int consumed = pressed->OnLButtonDown(flags, point);
    if (!captured_ && hover_ == pressed && Accepts(pressed, flags, point)) {
      SetCapture();
      return 1;
    }
    if (consumed) return 1;
  }
  if (window_drag_ && HasWindow()) {
    ReleaseCapture();
    pressing_ = 0;
    WindowSystem::Get().SendMessageW(hwnd_, WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTCAPTION),
                                     MakeLParam(point.x, point.y));
  }
  return 1;
}

int PaintManager::OnLButtonUp(unsigned flags, MPoint point) {
  ControlDispatchScope scope;
  ReleaseCapture();
  pressing_ = 0;
  drag_armed_ = 0;
  if (hover_ != nullptr && hover_->IsVisible() && hover_->GetRresponse()) {
    MControl* released = hover_;
    const MRect before = released->GetRect();
    released->OnLButtonUp(flags, point);
    if (hover_ == released && !before.Contains(point)) hover_ = nullptr;
  }
  return 1;
}

int PaintManager::OnLButtonDblClk(unsigned flags, MPoint point) {
  ControlDispatchScope scope;
  left_dblclk_ = 1;
  if (hover_ != nullptr) {
    MControl* target = hover_;
    target->OnLButtonDblClk(flags, point);
    if (hover_ == target && !target->GetRect().Contains(point)) hover_ = nullptr;
  }
  return 1;
}

int PaintManager::OnRButtonDown(unsigned flags, MPoint point) {
  ControlDispatchScope scope;
  right_dblclk_ = 0;
  if (hover_ == nullptr || !hover_->PtInRect(point)) OnMouseMove(flags, point);
  if (focus_ != nullptr && focus_ != hover_) SetFocusControl(nullptr);
  if (Accepts(hover_, flags, point)) {
    MControl* pressed = hover_;
    pressing_ = 1;
    SetFocusControl(pressed);
    pressed->OnRButtonDown(flags, point);
    if (!captured_ && hover_ == pressed && Accepts(pressed, flags, point)) SetCapture();
  }
  return 1;
}

int PaintManager::OnRButtonUp(unsigned flags, MPoint point) {
  ControlDispatchScope scope;
  ReleaseCapture();
  pressing_ = 0;
  if (hover_ != nullptr && hover_->IsVisible() && hover_->GetRresponse()) {
    MControl* released = hover_;
    const MRect before = released->GetRect();
    released->OnRButtonUp(flags, point);
    if (hover_ == released && !before.Contains(point)) hover_ = nullptr;
  }
  return 1;
}

int PaintManager::OnRButtonDblClk(unsigned flags, MPoint point) {
  ControlDispatchScope scope;
  right_dblclk_ = 1;
  if (hover_ != nullptr) {
    MControl* target = hover_;
    target->OnRButtonDblClk(flags, point);
    if (hover_ == target && !target->GetRect().Contains(point)) hover_ = nullptr;
  }
  return 1;
}

// ---- Keys and activation --------------------------------------------------------------------------

int PaintManager::OnKeyDown(int key) {
  const int mods = CurrentModifiers();
  ControlDispatchScope scope;
  if (hover_ != nullptr && hover_->OnKeyDown(key, 1, mods)) return 1;
  for (MControl* c : GetControls())
    if (c != hover_ && c->OnKeyDown(key, 1, mods)) break;
  return 1;
}

int PaintManager::OnKeyUp(int) { return 0; }

int PaintManager::OnNcActivate(int active) {
  active_ = active ? 1 : 0;
  if (!active) {
    tracking_ = 0;
    ReleaseCapture();
    left_dblclk_ = right_dblclk_ = 0;
    if (hover_ != nullptr) {
      ControlDispatchScope scope;
      MControl* old = hover_;
      hover_ = nullptr;
      if (pressing_) old->OnLButtonUp(0, MPoint(-1, -1));
      else old->OnMouseMove(0, MPoint(-1, -1));
    }
    pressing_ = 0;
  }
  Invalidate();
  return 1;
}

int PaintManager::OnGetMinMaxInfo(MSize* min_track, MSize* max_track) {
  if (min_track) {
    if (min_size_.cx > 0) min_track->cx = min_size_.cx;
    if (min_size_.cy > 0) min_track->cy = min_size_.cy;
  }
  if (max_track) {
    if (max_size_.cx > 0) max_track->cx = max_size_.cx;
    if (max_size_.cy > 0) max_track->cy = max_size_.cy;
  }
  return 1;
}

int PaintManager::OnWindowPosChanged() {
  if (!HasWindow()) return 0;
  auto& ws = WindowSystem::Get();
  const MRect r = GetWindowRect();
  ws.SendMessageW(hwnd_, WM_MOVE, 0, MakeLParam(r.left, r.top));
  ws.SendMessageW(hwnd_, WM_SIZE, SIZE_RESTORED, MakeLParam(r.Width(), r.Height()));
  return 1;
}
