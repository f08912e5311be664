#include "tessel/core/mcontrol.h"

#include <algorithm>
#include <cwchar>
#include <thread>

// ---- Placement --------------------------------------------------------------------------

int PositionItem2Value(const FS_POSITION_ITEM& item, int a, int b) {
  switch (item.mode) {
    case 0:
      return item.from_far_end ? static_cast<int>(b - item.value)
                               : static_cast<int>(a + item.value);
    case 1: {
      const int middle = a + (b - a) / 2;
      return item.from_far_end ? static_cast<int>(middle - item.value)
                               : static_cast<int>(middle + item.value);
    }
    case 2: {
      const int v = static_cast<int>(a + (b - a) * item.value / 100.0f);
      return std::min(v, b);
    }
    default:
      return 0;
  }
}

const wchar_t* const kCursorArrow = L"arrow";
const wchar_t* const kCursorWait = L"wait";
const wchar_t* const kCursorCross = L"cross";
const wchar_t* const kCursorSizeWE = L"sizewe";
const wchar_t* const kCursorSizeNS = L"sizens";
const wchar_t* const kCursorHand = L"hand";
const wchar_t* const kCursorHelp = L"help";

// ---- Deferred destruction -----------------------------------------------------------------

namespace {

struct PendingDestroy {
  MControl* control;
  std::thread::id owner;
};

struct DispatchState {
  std::mutex lock;
  int depth = 0;
  std::vector<PendingDestroy> pending;
};

DispatchState& Dispatch() {
  static DispatchState* state = new DispatchState();  // never destroyed: used at exit
  return *state;
}

// Destroys the entries of this thread when no routing runs anywhere.
void FlushPending() {
  std::vector<MControl*> doomed;
  {
    DispatchState& d = Dispatch();
    std::lock_guard guard(d.lock);
    if (d.depth != 0 || d.pending.empty()) return;
    const auto me = std::this_thread::get_id();
    auto keep = std::stable_partition(d.pending.begin(), d.pending.end(),
                                      [me](const PendingDestroy& p) { return p.owner != me; });
    for (auto it = keep; it != d.pending.end(); ++it) doomed.push_back(it->control);
    d.pending.erase(keep, d.pending.end());
  }
  for (MControl* c : doomed) delete c;
}

}  // namespace

ControlDispatchScope::ControlDispatchScope() {
  DispatchState& d = Dispatch();
  std::lock_guard guard(d.lock);
  ++d.depth;
}

ControlDispatchScope::~ControlDispatchScope() {
  {
    DispatchState& d = Dispatch();
    std::lock_guard guard(d.lock);
    --d.depth;
    if (d.depth != 0 || d.pending.empty()) return;
  }
  FlushPending();
}

void ControlDispatchScope::FlushDeferred() { FlushPending(); }

size_t ControlDispatchScope::PendingCount() {
  DispatchState& d = Dispatch();
  std::lock_guard guard(d.lock);
  return d.pending.size();
}

void MControl::DestroyControl(MControl* control) {
  if (control == nullptr) return;
  {
    DispatchState& d = Dispatch();
    std::lock_guard guard(d.lock);
    if (d.depth > 0) {
      d.pending.push_back({control, std::this_thread::get_id()});
      return;
    }
  }
  delete control;
}

// ---- Construction -----------------------------------------------------------------------

MControl::MControl(MObject* parent, unsigned id, const MRect& rect, int visible, int enabled,
                   int response)
    : parent_(parent), id_(id), rect_(rect), visible_(visible), enabled_(enabled),
      response_(response) {}

MControl::~MControl() {
  // Deleted directly while still listed: leave the container first.
  if (MControl* owner = owner_.exchange(nullptr)) {
    {
      std::lock_guard guard(owner->control_lock_);
      auto& list = owner->controls_;
      list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    {
      std::lock_guard guard(owner->area_lock_);
      auto& list = owner->areas_;
      list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    if (owner->active_child_ == this) owner->active_child_ = nullptr;
  }
  // Children first, destroyed now: nothing can be routing into them while their container
  // itself is being destroyed.
  for (MControl* c : TakeChildren()) {
    c->owner_ = nullptr;
    delete c;
  }
  FreeCaches();
  if (manager_ != nullptr) manager_->OnControlDestroyed(this);
}

void MControl::FreeCaches() {
  if (cache_cr_ != nullptr) cairo_destroy(cache_cr_);
  if (cache_surface_ != nullptr) cairo_surface_destroy(cache_surface_);
  if (animate_cr_ != nullptr) cairo_destroy(animate_cr_);
  if (animate_surface_ != nullptr) cairo_surface_destroy(animate_surface_);
  cache_cr_ = nullptr;
  cache_surface_ = nullptr;
  animate_cr_ = nullptr;
  animate_surface_ = nullptr;
  cache_width_ = cache_height_ = animate_width_ = animate_height_ = 0;
}

const wchar_t* MControl::GetClassNameW() const { return L"FSControl"; }

// ---- Base behaviour of the virtual operations -------------------------------------------------

void MControl::InitControl(ControlHost* manager) {
  manager_ = manager;
  for (MControl* c : GetAreas())
    if (c->manager_ != manager) c->SetManager(manager);
  for (MControl* c : GetControls())
    if (c->manager_ != manager) c->SetManager(manager);
}

int MControl::PtInRect(MPoint point) const { return visible_ && rect_.Contains(point) ? 1 : 0; }

void MControl::DrawSubControls(cairo_t* cr, const MRect& paint) {
  std::vector<MControl*> children = GetControls();
  for (MControl* c : children) {
    if (!IsOwnChild(c) || !c->visible_) continue;
    c->Draw(cr, paint);
  }
}

int MControl::IsDraw(MPoint) { return 0; }

void MControl::SetUpdate(int flag, uint32_t colour) {
  cache_valid_ = flag;
  ControlDispatchScope scope;
  for (MControl* c : GetAreas())
    if (IsOwnChild(c) && c->rect_.Intersects(rect_)) c->SetUpdate(flag, colour);
  for (MControl* c : GetControls())
    if (IsOwnChild(c) && c->rect_.Intersects(rect_)) c->SetUpdate(flag, colour);
}

void MControl::SetControlFocus(int focus) { focused_ = focus; }

void MControl::InitUI(const MRect&) {}

int MControl::OnMousePointChange(MPoint&) { return 0; }

int MControl::OnCheckMouseResponse(unsigned, MPoint) { return 1; }

LRESULT MControl::OnWindowMessage(UINT, WPARAM, LPARAM) { return 0; }

LRESULT MControl::OnMessage(unsigned, unsigned, WPARAM, LPARAM) { return 0; }

void MControl::SetControlRect(const MRect& rect) { rect_ = rect; }

void MControl::SetControlVisible(int visible) { visible_ = visible; }

void MControl::SetControlWndVisible(int) {}

void MControl::SetControlEnabled(int enabled) { enabled_ = enabled; }

int MControl::OnControlTimer() { return 0; }

cairo_surface_t* MControl::GetControlDropBitmap() { return nullptr; }

int MControl::OnControlMouseMove(unsigned, MPoint) { return 0; }

int MControl::OnControlSetCursor(unsigned, MPoint point) {
  if (!has_cursor_ || !rect_.Contains(point)) return 0;
  if (manager_ != nullptr) manager_->SetCursor(cursor_);
  return 1;
}

int MControl::OnControlLButtonDown(unsigned, MPoint) { return 0; }
int MControl::OnControlLButtonUp(unsigned, MPoint) { return 0; }
int MControl::OnControlLButtonDblClk(unsigned, MPoint) { return 0; }
int MControl::OnControlScroll(int, unsigned, MPoint) { return 0; }
int MControl::OnControlRButtonDown(unsigned, MPoint) { return 0; }
int MControl::OnControlRButtonUp(unsigned, MPoint) { return 0; }
int MControl::OnControlRButtonDblClk(unsigned, MPoint) { return 0; }

int MControl::OnControlKeyDown(int key, int, int modifiers) {
  return hot_key_ != 0 && key == hot_key_ && modifiers == hot_key_modifiers_ ? 1 : 0;
}

void MControl::OnPositionChange() {}

void MControl::InvalidateRect(const MRect&, int erase) {
  if (manager_ == nullptr) return;
  manager_->InvalidateRect(rect_, erase);
}

// ---- Routing ----------------------------------------------------------------------------

MPoint MControl::PointForChild(const MControl* child, MPoint unchanged, MPoint changed) {
  return child->id_ == 1 || child->id_ == 2 ? unchanged : changed;
}

int MControl::OnMouseMove(unsigned flags, MPoint point) {
  if (!visible_ || !response_) return 0;
  ControlDispatchScope scope;
  MPoint changed = point;
  OnMousePointChange(changed);

  const bool had_active = active_child_ != nullptr;
  if (MControl* active = active_child_) {
    const MPoint cp = PointForChild(active, point, changed);
    if ((active->PtInRect(cp) && active->OnCheckMouseResponse(flags, cp)) || pressed_inside_)
      return active->OnMouseMove(flags, cp);
    active_child_ = nullptr;
  }

  const bool inside = rect_.Contains(point);
  if (!tooltip_.empty() && inside && response_ && manager_ != nullptr &&
      manager_->GetTooltipCtrlID() != id_) {
    manager_->SetTooltip(tooltip_, rect_);
    manager_->SetTooltipCtrlID(id_);
  }

  int result = OnControlSetCursor(flags, point);
  result |= OnControlMouseMove(flags, point);
  if (hover_tracking_) pointer_outside_ = inside ? 0 : 1;

  if (!pressed_inside_) {
    for (MControl* c : GetControls()) {
      if (!IsOwnChild(c)) continue;
      const MPoint cp = PointForChild(c, point, changed);
      if (c->OnMouseMove(flags, cp) && c->PtInRect(cp) && IsOwnChild(c)) active_child_ = c;
    }
  }
  if (had_active || active_child_ != nullptr) return 1;
  return result ? 1 : 0;
}

int MControl::RouteButtonDown(unsigned flags, MPoint point, bool left) {
  if (!visible_ || !response_) return 0;
  ControlDispatchScope scope;
  MPoint changed = point;
  OnMousePointChange(changed);
  pressed_inside_ = rect_.Contains(point) ? 1 : 0;

  MControl* hit = nullptr;
  for (MControl* c : GetControls()) {
    if (!IsOwnChild(c)) continue;
    const MPoint cp = PointForChild(c, point, changed);
    if (c->visible_ && c->enabled_ && c->response_ && c->PtInRect(cp)) hit = c;
  }
  active_child_ = hit;
  if (hit != nullptr) {
    const MPoint cp = PointForChild(hit, point, changed);
    return left ? hit->OnLButtonDown(flags, cp) : hit->OnRButtonDown(flags, cp);
  }
  if (manager_ != nullptr)
    manager_->SetFocusControl(this);
  else
    SetControlFocus(1);
  return left ? OnControlLButtonDown(flags, point) : OnControlRButtonDown(flags, point);
}

int MControl::RouteButtonUp(unsigned flags, MPoint point, bool left) {
  ControlDispatchScope scope;
  pressed_inside_ = 0;
  if (MControl* active = active_child_) {
    MPoint changed = point;
    OnMousePointChange(changed);
    const MPoint cp = PointForChild(active, point, changed);
    return left ? active->OnLButtonUp(flags, cp) : active->OnRButtonUp(flags, cp);
  }
  return left ? OnControlLButtonUp(flags, point) : OnControlRButtonUp(flags, point);
}

int MControl::RouteDblClk(unsigned flags, MPoint point, bool left) {
  ControlDispatchScope scope;
  pressed_inside_ = 0;
  if (MControl* active = active_child_) {
    MPoint changed = point;
    OnMousePointChange(changed);
    const MPoint cp = PointForChild(active, point, changed);
    int r = left ? active->OnLButtonDblClk(flags, cp) : active->OnRButtonDblClk(flags, cp);
    if (!r && IsOwnChild(active) && active->double_click_ == 0)
      r = left ? active->OnLButtonDown(flags, cp) : active->OnRButtonDown(flags, cp);
    return r;
  }
  if (double_click_ == 0)
    return left ? OnControlLButtonDown(flags, point) : OnControlRButtonDown(flags, point);
  if (left) {
    if (notify_dblclk_ && rect_.Contains(point))
      SendMessageW(FSN_DBLCLK, flags, reinterpret_cast<LPARAM>(&point));
    return OnControlLButtonDblClk(flags, point);
  }
  return OnControlRButtonDblClk(flags, point);
}

int MControl::OnLButtonDown(unsigned flags, MPoint point) {
  return RouteButtonDown(flags, point, true);
}
int MControl::OnRButtonDown(unsigned flags, MPoint point) {
  return RouteButtonDown(flags, point, false);
}
int MControl::OnLButtonUp(unsigned flags, MPoint point) { return RouteButtonUp(flags, point, true); }
int MControl::OnRButtonUp(unsigned flags, MPoint point) {
  return RouteButtonUp(flags, point, false);
}
int MControl::OnLButtonDblClk(unsigned flags, MPoint point) {
  return RouteDblClk(flags, point, true);
}
int MControl::OnRButtonDblClk(unsigned flags, MPoint point) {
  return RouteDblClk(flags, point, false);
}

int MControl::OnScroll(int type, unsigned direction, MPoint point) {
  if (!visible_ || !response_ || !enabled_) return 0;
  ControlDispatchScope scope;
  MPoint changed = point;
  OnMousePointChange(changed);
  if (MControl* active = active_child_) {
    const MPoint cp = PointForChild(active, point, changed);
    if (active->PtInRect(cp) && active->OnCheckMouseResponse(0, cp) &&
        active->OnScroll(type, direction, cp))
      return 1;
  }
  if (!rect_.Contains(point)) return 0;
  if (OnControlScroll(type, direction, point)) return 1;
  for (MControl* c : GetControls()) {
    if (!IsOwnChild(c)) continue;
    const MPoint cp = PointForChild(c, point, changed);
    if (c->PtInRect(cp) && c->OnScroll(type, direction, cp)) return 1;
  }
  return 0;
}

int MControl::OnKeyDown(int key, int repeat, int modifiers) {
  if (!visible_ || !response_) return 0;
  ControlDispatchScope scope;
  const std::vector<MControl*> children = GetControls();
  for (MControl* c : children) {
    if (IsOwnChild(c) && c->focused_) return c->OnKeyDown(key, repeat, modifiers);
  }
  MControl* active = active_child_;
  if (active != nullptr && active->OnKeyDown(key, repeat, modifiers) == 1) return 1;

  int consumed = OnControlKeyDown(key, repeat, modifiers) ? 1 : 0;
  if (!consumed) {
    for (MControl* c : children) {
      if (!IsOwnChild(c) || c == active) continue;
      if (c->OnKeyDown(key, repeat, modifiers)) {
        consumed = 1;
        break;
      }
    }
  }
  if (notify_keys_)
    SendMessageW(FSN_KEYDOWN, static_cast<WPARAM>(key), static_cast<LPARAM>(modifiers));
  return consumed;
}

int MControl::OnKeyUp(int, int, int) { return 0; }

int MControl::OnTimer() {
  ControlDispatchScope scope;
  int result = OnControlTimer() ? 1 : 0;
  for (MControl* c : GetControls()) {
    if (!IsOwnChild(c) || !c->visible_ || !c->run_timer_) continue;
    if (c->OnTimer() == 1) result = 1;
  }
  return result;
}

void MControl::Draw(cairo_t* cr, const MRect& paint) {
  if (!visible_ || !rect_.Intersects(paint)) return;
  ControlDispatchScope scope;
  for (MControl* a : GetAreas()) {
    if (IsOwnChild(a) && a->rect_.Intersects(rect_)) a->Draw(cr, paint);
  }
  DrawControl(cr, paint);
  DrawSubControls(cr, paint);
}

// ---- Notifications and redraw requests ------------------------------------------------------

LRESULT MControl::SendMessageW(unsigned code, WPARAM wParam, LPARAM lParam) {
  if (parent_ == nullptr) return 0;
  return parent_->OnBaseMessage(id_, code, wParam, lParam);
}

void MControl::UpdateControl(int redraw, int force) { UpdateControl(rect_, redraw, force); }

void MControl::UpdateControl(const MRect& rect, int redraw, int force) {
  if (!visible_ && !force) return;
  if (parent_ != nullptr) parent_->OnControlUpdate(rect, redraw, this);
}

void MControl::UpdateAControl(int still, int force) {
  animating_ = still ? 0 : 1;
  UpdateControl(0, force);
}

void MControl::SetVisible(int visible) { SetVisible(visible, 1); }

void MControl::SetVisible(int visible, int notify) {
  if ((visible != 0) == (visible_ != 0)) return;
  SetControlVisible(visible);
  if (notify != 0) UpdateControl(rect_, 1, 1);
}

void MControl::SetEnabled(int enabled) {
  if ((enabled != 0) == (enabled_ != 0)) return;
  SetControlEnabled(enabled);
  if (visible_) UpdateControl(1);
}

void MControl::SetRect(const MRect& rect) {
  const MRect old = rect_;
  SetControlRect(rect);
  if (visible_) UpdateControl(old.Union(rect_), 1);
}

void MControl::SetRect(int x, int y, int width, int height) {
  SetRect(MRect::FromXYWH(x, y, width, height));
}

// ---- Tree -------------------------------------------------------------------------------

void MControl::SetManager(ControlHost* manager) {
  manager_ = manager;
  InitControl(manager);
}

std::vector<MControl*> MControl::GetControls() const {
  std::lock_guard guard(control_lock_);
  return controls_;
}

std::vector<MControl*> MControl::GetAreas() const {
  std::lock_guard guard(area_lock_);
  return areas_;
}

MControl* MControl::AddControl(MControl* child, unsigned kind) {
  if (child == nullptr || child == this) return nullptr;
  if (kind != kControlKindArea && kind != kControlKindControl) return nullptr;
  if (child->owner_ != nullptr) return nullptr;
  if (manager_ != nullptr) child->SetManager(manager_);
  child->owner_ = this;
  if (kind == kControlKindArea) {
    std::lock_guard guard(area_lock_);
    areas_.push_back(child);
  } else {
    std::lock_guard guard(control_lock_);
    controls_.push_back(child);
  }
  return child;
}

MControl* MControl::GetControl(unsigned id) const {
  for (MControl* c : GetControls()) {
    if (c->id_ == id) return c;
    if (MControl* found = c->GetControl(id)) return found;
  }
  for (MControl* a : GetAreas()) {
    if (a->id_ == id) return a;
    if (MControl* found = a->GetControl(id)) return found;
  }
  return nullptr;
}

void MControl::ForgetChild(MControl* child) {
  if (active_child_ == child) active_child_ = nullptr;
  if (manager_ == nullptr) return;
  // The child and everything below it leave the window.
  std::vector<MControl*> stack{child};
  while (!stack.empty()) {
    MControl* c = stack.back();
    stack.pop_back();
    if (c->manager_ != nullptr) c->manager_->OnControlDestroyed(c);
    for (MControl* a : c->GetAreas()) stack.push_back(a);
    for (MControl* k : c->GetControls()) stack.push_back(k);
  }
}

bool MControl::RemoveControl(MControl* child) {
  if (child == nullptr || child->owner_ != this) return false;
  if (manager_ != nullptr && manager_->GetFocusControl() == child) manager_->SetFocusControl(nullptr);
  bool found = false;
  {
    std::lock_guard guard(control_lock_);
    auto it = std::find(controls_.begin(), controls_.end(), child);
    if (it != controls_.end()) {
      controls_.erase(it);
      found = true;
    }
  }
  if (!found) {
    std::lock_guard guard(area_lock_);
    auto it = std::find(areas_.begin(), areas_.end(), child);
    if (it != areas_.end()) {
      areas_.erase(it);
      found = true;
    }
  }
  if (!found) return false;
  child->owner_ = nullptr;
  child->parent_ = nullptr;  // a notification still on its way up goes nowhere
  ForgetChild(child);
  DestroyControl(child);
  return true;
}

void MControl::RemoveAllControl() {
  for (MControl* c : TakeChildren()) {
    c->owner_ = nullptr;
    c->parent_ = nullptr;
    ForgetChild(c);
    DestroyControl(c);
  }
}

std::vector<MControl*> MControl::TakeChildren() {
  std::vector<MControl*> children;
  {
    std::lock_guard guard(area_lock_);
    children.swap(areas_);
  }
  {
    std::lock_guard guard(control_lock_);
    children.insert(children.end(), controls_.begin(), controls_.end());
    controls_.clear();
  }
  active_child_ = nullptr;
  return children;
}

// ---- State ------------------------------------------------------------------------------

int MControl::IsParentVisible() const {
  const MObject* p = parent_;
  while (p != nullptr) {
    if (p->IsClass(L"MDialog")) return 1;
    const auto* c = dynamic_cast<const MControl*>(p);
    if (c == nullptr) return 1;  // a window-level object (popup) tops the chain
    if (!c->visible_) return 0;
    p = c->parent_;
  }
  return 0;
}

int MControl::IsFocusControl() const {
  return manager_ != nullptr && manager_->GetFocusControl() == this ? 1 : 0;
}

void MControl::AddMTimer() {
  if (manager_ != nullptr) manager_->AddMTimer(this);
}

void MControl::SetTooltip(const std::wstring& text) { tooltip_ = text; }

void MControl::SetTooltip(const std::wstring& text, const MRect& rect) {
  if (manager_ == nullptr) return;
  manager_->SetTooltip(text, rect);
  manager_->SetTooltipCtrlID(id_);
}

void MControl::ClearTooltip() {
  if (manager_ == nullptr) return;
  if (manager_->GetTooltipCtrlID() == id_) manager_->ClearTooltip();
}

void MControl::SetCursorEx(const wchar_t* name) {
  if (name == nullptr) return;
  static const struct {
    const wchar_t* name;
    CursorKind kind;
  } kNames[] = {{kCursorArrow, CursorKind::kArrow}, {kCursorWait, CursorKind::kWait},
                {kCursorCross, CursorKind::kCross}, {kCursorSizeWE, CursorKind::kSizeWE},
                {kCursorSizeNS, CursorKind::kSizeNS}, {kCursorHand, CursorKind::kHand},
                {kCursorHelp, CursorKind::kHelp}};
  for (const auto& n : kNames) {
    if (name == n.name || std::wcscmp(name, n.name) == 0) {
      SetCursor(n.kind);
      return;
    }
  }
}

// ---- Drawing cache ----------------------------------------------------------------------

namespace {

cairo_t* PrepareCache(cairo_surface_t*& surface, cairo_t*& cr, int& cw, int& ch, int width,
                      int height) {
  if (width <= 0 || height <= 0) return nullptr;
  if (surface == nullptr || cw != width || ch != height) {
    if (cr != nullptr) cairo_destroy(cr);
    if (surface != nullptr) cairo_surface_destroy(surface);
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cr = cairo_create(surface);
    cw = width;
    ch = height;
  } else {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  cairo_identity_matrix(cr);
  cairo_reset_clip(cr);
  return cr;
}

}  // namespace

cairo_t* MControl::UpdateMemDC(cairo_t*, int width, int height) {
  cairo_t* cr = PrepareCache(cache_surface_, cache_cr_, cache_width_, cache_height_, width, height);
  if (cr == nullptr) return nullptr;
  cache_valid_ = 1;
  ++cache_builds_;
  return cr;
}

cairo_t* MControl::UpdateAnimateDC(cairo_t*, int width, int height) {
  return PrepareCache(animate_surface_, animate_cr_, animate_width_, animate_height_, width,
                      height);
}

void MControl::PaintCache(cairo_t* cr) const {
  if (cache_surface_ == nullptr || cr == nullptr) return;
  cairo_save(cr);
  cairo_rectangle(cr, rect_.left, rect_.top, cache_width_, cache_height_);
  cairo_clip(cr);
  cairo_set_source_surface(cr, cache_surface_, rect_.left, rect_.top);
  cairo_paint(cr);
  cairo_restore(cr);
}

void MControl::PaintAnimateCache(cairo_t* cr) const {
  if (animate_surface_ == nullptr || cr == nullptr) return;
  cairo_save(cr);
  cairo_rectangle(cr, rect_.left, rect_.top, animate_width_, animate_height_);
  cairo_clip(cr);
  cairo_set_source_surface(cr, animate_surface_, rect_.left, rect_.top);
  cairo_paint(cr);
  cairo_restore(cr);
}

void MControl::DrawThroughCache(cairo_t* cr, const MRect&) {
  const int w = rect_.Width();
  const int h = rect_.Height();
  if (w <= 0 || h <= 0) return;
  if (!cache_valid_ || cache_surface_ == nullptr || cache_width_ != w || cache_height_ != h) {
    cairo_t* cache = UpdateMemDC(cr, w, h);
    if (cache == nullptr) return;
    cairo_save(cache);
    BuildCache(cache, cr);
    cairo_restore(cache);
    cairo_surface_flush(cache_surface_);
  }
  PaintCache(cr);
}
