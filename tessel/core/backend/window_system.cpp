#include "tessel/core/backend/window_system.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "tessel/core/backend/headless_backend.h"
#include "tessel/core/backend/sdl_backend.h"

struct WindowSystem::Window {
  HWND hwnd = nullptr;
  WindowProcTarget* target = nullptr;
  std::wstring class_name;
  std::wstring title;
  uint32_t style = 0;
  uint32_t ex_style = 0;
  MRect rect;
  MRect restore_rect;
  HWND parent = nullptr;
  bool visible = false;
  bool enabled = true;
  bool minimised = false;
  bool maximised = false;
  bool destroying = false;
  bool native = false;
  bool tracking = false;
  MRect update;          // client coordinates; empty = nothing to paint
  MRect painting;        // taken by the WM_PAINT being dispatched
  int64_t last_present = std::numeric_limits<int64_t>::min() / 2;
  struct Timer {
    unsigned period;
    int64_t due;
  };
  std::map<uintptr_t, Timer> timers;
};

struct WindowSystem::Sent {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
  bool done = false;
};

namespace {
bool IsInputMessage(UINT m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_KEYDOWN && m <= WM_SYSCHAR) ||
         m == WM_MOUSEHOVER;
}
bool IsMouseMessage(UINT m) { return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST; }
}  // namespace

WindowSystem& WindowSystem::Get() {
  static WindowSystem* system = new WindowSystem();  // lives until exit; windows may outlive main
  return *system;
}

WindowSystem::WindowSystem() = default;
WindowSystem::~WindowSystem() = default;

bool WindowSystem::SetBackend(std::unique_ptr<Backend> backend) {
  std::lock_guard guard(lock_);
  if (!windows_.empty()) return false;
  backend_ = std::move(backend);
  return true;
}

Backend& WindowSystem::BackendLocked() {
  if (!backend_) {
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    if ((x && *x) || (w && *w)) {
      auto sdl = std::make_unique<SdlBackend>();
      if (sdl->IsReady()) backend_ = std::move(sdl);
    }
    if (!backend_) backend_ = std::make_unique<HeadlessBackend>();
  }
  return *backend_;
}

Backend& WindowSystem::GetBackend() {
  std::lock_guard guard(lock_);
  return BackendLocked();
}

int64_t WindowSystem::Now() { return GetBackend().NowMs(); }

bool WindowSystem::IsUIThread() const {
  std::lock_guard guard(lock_);
  return !ui_thread_set_ || ui_thread_ == std::this_thread::get_id();
}

WindowSystem::Window* WindowSystem::Find(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : it->second.get();
}

// ---- Windows ------------------------------------------------------------------------------

HWND WindowSystem::CreateWindowExW(const WindowCreateParams& params, WindowProcTarget* target) {
  HWND hwnd;
  NativeWindowSpec spec;
  {
    std::lock_guard guard(lock_);
    if (!ui_thread_set_) {
      ui_thread_ = std::this_thread::get_id();
      ui_thread_set_ = true;
    }
    if (params.parent != nullptr && Find(params.parent) == nullptr) return nullptr;
    hwnd = reinterpret_cast<HWND>(next_handle_++);
    auto w = std::make_unique<Window>();
    w->hwnd = hwnd;
    w->target = target;
    w->class_name = params.class_name;
    w->title = params.title;
    w->style = params.style & ~WS_VISIBLE;
    w->ex_style = params.ex_style;
    MRect r = params.rect;
    if (r.Width() < 0) r.right = r.left;
    if (r.Height() < 0) r.bottom = r.top;
    w->rect = r;
    w->restore_rect = r;
    w->parent = params.parent;
    spec.rect = r;
    spec.title = params.title;
    spec.tool = (params.ex_style & WS_EX_TOOLWINDOW) != 0;
    spec.topmost = (params.ex_style & WS_EX_TOPMOST) != 0;
    spec.tooltip = (params.ex_style & WS_EX_NOACTIVATE) != 0;
    spec.owner = params.parent;
    windows_[hwnd] = std::move(w);
  }
  const bool native = GetBackend().CreateNativeWindow(hwnd, spec);
  {
    std::lock_guard guard(lock_);
    if (Window* w = Find(hwnd)) w->native = native;
  }
  if (!native) {
    std::lock_guard guard(lock_);
    windows_.erase(hwnd);
    return nullptr;
  }
  CallWindow(hwnd, WM_NCCREATE, 0, 0);
  if (CallWindow(hwnd, WM_CREATE, 0, 0) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (params.style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

bool WindowSystem::DestroyWindow(HWND hwnd) {
  std::vector<HWND> owned;
  {
    std::lock_guard guard(lock_);
    Window* w = Find(hwnd);
    if (w == nullptr || w->destroying) return w != nullptr;
    w->destroying = true;
    for (auto& [h, other] : windows_)
      if (other->parent == hwnd) owned.push_back(h);
  }
  for (HWND h : owned) DestroyWindow(h);
  CallWindow(hwnd, WM_DESTROY, 0, 0);
  bool was_active;
  {
    std::lock_guard guard(lock_);
    if (capture_ == hwnd) {
      capture_ = nullptr;
      BackendLocked().SetNativeCapture(hwnd, false);
    }
    if (drag_ == hwnd) drag_ = nullptr;
    was_active = active_ == hwnd;
    if (was_active) active_ = nullptr;
    BackendLocked().DestroyNativeWindow(hwnd);
  }
  CallWindow(hwnd, WM_NCDESTROY, 0, 0);
  {
    std::lock_guard guard(lock_);
    windows_.erase(hwnd);
    // Messages still queued for the window are ignored when they come up; sends are answered.
    for (auto& s : sent_) {
      if (s->hwnd == hwnd && !s->done) {
        s->result = 0;
        s->done = true;
      }
    }
    sent_.erase(std::remove_if(sent_.begin(), sent_.end(),
                               [](const std::shared_ptr<Sent>& s) { return s->done; }),
                sent_.end());
  }
  sent_done_.notify_all();
  return true;
}

bool WindowSystem::IsWindow(HWND hwnd) const {
  std::lock_guard guard(lock_);
  return Find(hwnd) != nullptr;
}

WindowProcTarget* WindowSystem::GetTarget(HWND hwnd) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  return w ? w->target : nullptr;
}

std::vector<HWND> WindowSystem::GetWindows() const {
  std::lock_guard guard(lock_);
  std::vector<HWND> out;
  for (auto& [h, w] : windows_)
    if (!w->destroying) out.push_back(h);
  return out;
}

HWND WindowSystem::FindWindowW(const wchar_t* class_name, const wchar_t* title) const {
  std::lock_guard guard(lock_);
  for (auto& [h, w] : windows_) {
    if (w->destroying) continue;
    if (class_name != nullptr && w->class_name != class_name) continue;
    if (title != nullptr && w->title != title) continue;
    return h;
  }
  return nullptr;
}

bool WindowSystem::GetWindowRect(HWND hwnd, MRect* rect) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr || rect == nullptr) return false;
  *rect = w->rect;
  return true;
}

bool WindowSystem::GetClientRect(HWND hwnd, MRect* rect) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr || rect == nullptr) return false;
  *rect = MRect(0, 0, w->rect.Width(), w->rect.Height());
  return true;
}

bool WindowSystem::SetWindowPos(HWND hwnd, const MRect& requested, UINT flags) {
  MRect wanted = requested;
  if (!(flags & SWP_NOSIZE) && IsWindow(hwnd)) {
    // The window's own limits on its size (zero = none).
    MINMAXINFO info{};
    CallWindow(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    int w = wanted.Width(), h = wanted.Height();
    if (info.ptMinTrackSize.x > 0) w = std::max(w, info.ptMinTrackSize.x);
    if (info.ptMinTrackSize.y > 0) h = std::max(h, info.ptMinTrackSize.y);
    if (info.ptMaxTrackSize.x > 0) w = std::min(w, info.ptMaxTrackSize.x);
    if (info.ptMaxTrackSize.y > 0) h = std::min(h, info.ptMaxTrackSize.y);
    wanted = MRect::FromXYWH(wanted.left, wanted.top, w, h);
  }
  MRect rect;
  bool moved, sized;
  {
    std::lock_guard guard(lock_);
    Window* w = Find(hwnd);
    if (w == nullptr) return false;
    rect = w->rect;
    if (!(flags & SWP_NOMOVE)) rect = rect.Offset(wanted.left - rect.left, wanted.top - rect.top);
    if (!(flags & SWP_NOSIZE)) {
      rect.right = rect.left + std::max(0, wanted.Width());
      rect.bottom = rect.top + std::max(0, wanted.Height());
    }
    moved = rect.TopLeft() != w->rect.TopLeft();
    sized = rect.Size() != w->rect.Size();
    w->rect = rect;
    if (!w->minimised && !w->maximised) w->restore_rect = rect;
    if (moved || sized) BackendLocked().MoveNativeWindow(hwnd, rect);
    if (sized) w->update = MRect(0, 0, rect.Width(), rect.Height());
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  if (moved || sized || (flags & SWP_FRAMECHANGED)) CallWindow(hwnd, WM_WINDOWPOSCHANGED, 0, 0);
  if (moved) CallWindow(hwnd, WM_MOVE, 0, MakeLParam(rect.left, rect.top));
  if (sized)
    CallWindow(hwnd, WM_SIZE, SIZE_RESTORED, MakeLParam(rect.Width(), rect.Height()));
  if (sized) GetBackend().Wake();
  return true;
}

bool WindowSystem::ShowWindow(HWND hwnd, int command) {
  bool was_visible, activate = false, deactivate = false, resized = false;
  MRect rect;
  {
    std::lock_guard guard(lock_);
    Window* w = Find(hwnd);
    if (w == nullptr) return false;
    was_visible = w->visible;
    Backend& b = BackendLocked();
    switch (command) {
      case SW_HIDE:
        w->visible = false;
        b.ShowNativeWindow(hwnd, false, false);
        deactivate = active_ == hwnd;
        break;
      case SW_MINIMIZE:
      case SW_SHOWMINIMIZED:
        w->visible = true;
        w->minimised = true;
        b.MinimiseNativeWindow(hwnd, true);
        deactivate = active_ == hwnd;
        break;
      case SW_MAXIMIZE: {
        w->visible = true;
        w->minimised = false;
        if (!w->maximised) {
          w->restore_rect = w->rect;
          w->maximised = true;
          w->rect = b.GetWorkArea(w->rect);
          b.MoveNativeWindow(hwnd, w->rect);
          resized = true;
        }
        b.ShowNativeWindow(hwnd, true, true);
        activate = true;
        break;
      }
      case SW_RESTORE:
      case SW_SHOWNORMAL:
        w->visible = true;
        if (w->minimised) b.MinimiseNativeWindow(hwnd, false);
        w->minimised = false;
        if (w->maximised) {
          w->maximised = false;
          w->rect = w->restore_rect;
          b.MoveNativeWindow(hwnd, w->rect);
          resized = true;
        }
        b.ShowNativeWindow(hwnd, true, true);
        activate = true;
        break;
      case SW_SHOWNA:
      case SW_SHOWNOACTIVATE:
        w->visible = true;
        b.ShowNativeWindow(hwnd, true, false);
        break;
      default:  // SW_SHOW and the rest
        w->visible = true;
        if (w->minimised) {
          b.MinimiseNativeWindow(hwnd, false);
          w->minimised = false;
        }
        b.ShowNativeWindow(hwnd, true, !(w->ex_style & WS_EX_NOACTIVATE));
        activate = !(w->ex_style & WS_EX_NOACTIVATE);
        break;
    }
    if (w->visible) w->update = MRect(0, 0, w->rect.Width(), w->rect.Height());
    rect = w->rect;
  }
  if (!was_visible && command != SW_HIDE) CallWindow(hwnd, WM_SHOWWINDOW, 1, 0);
  if (was_visible && command == SW_HIDE) CallWindow(hwnd, WM_SHOWWINDOW, 0, 0);
  if (resized) {
    CallWindow(hwnd, WM_WINDOWPOSCHANGED, 0, 0);
    CallWindow(hwnd, WM_SIZE, IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED,
               MakeLParam(rect.Width(), rect.Height()));
  }
  if (activate && IsWindowEnabled(hwnd)) SetActiveWindow(hwnd);
  if (deactivate) SetActiveWindow(nullptr);
  GetBackend().Wake();
  return was_visible;
}

bool WindowSystem::IsWindowVisible(HWND hwnd) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  return w != nullptr && w->visible;
}

bool WindowSystem::IsIconic(HWND hwnd) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  return w != nullptr && w->minimised;
}

bool WindowSystem::IsZoomed(HWND hwnd) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  return w != nullptr && w->maximised;
}

bool WindowSystem::EnableWindow(HWND hwnd, bool enable) {
  bool was_disabled;
  {
    std::lock_guard guard(lock_);
    Window* w = Find(hwnd);
    if (w == nullptr) return false;
    was_disabled = !w->enabled;
    w->enabled = enable;
    if (enable) w->style &= ~WS_DISABLED; else w->style |= WS_DISABLED;
    if (!enable && capture_ == hwnd) {
      capture_ = nullptr;
      BackendLocked().SetNativeCapture(hwnd, false);
    }
  }
  if (was_disabled == enable) CallWindow(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
  return was_disabled;
}

bool WindowSystem::IsWindowEnabled(HWND hwnd) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  return w != nullptr && w->enabled;
}

uint32_t WindowSystem::GetStyle(HWND hwnd) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr) return 0;
  uint32_t s = w->style;
  if (w->visible) s |= WS_VISIBLE;
  if (w->minimised) s |= WS_MINIMIZE;
  if (w->maximised) s |= WS_MAXIMIZE;
  return s;
}

uint32_t WindowSystem::GetExStyle(HWND hwnd) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  return w ? w->ex_style : 0;
}

bool WindowSystem::SetStyle(HWND hwnd, uint32_t style) {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr) return false;
  w->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  return true;
}

bool WindowSystem::SetExStyle(HWND hwnd, uint32_t ex_style) {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr) return false;
  const bool topmost_changed = ((w->ex_style ^ ex_style) & WS_EX_TOPMOST) != 0;
  w->ex_style = ex_style;
  if (topmost_changed) BackendLocked().SetNativeTopmost(hwnd, (ex_style & WS_EX_TOPMOST) != 0);
  return true;
}

HWND WindowSystem::GetParent(HWND hwnd) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  return w ? w->parent : nullptr;
}

bool WindowSystem::SetWindowTextW(HWND hwnd, const std::wstring& text) {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr) return false;
  w->title = text;
  BackendLocked().SetNativeTitle(hwnd, text);
  return true;
}

std::wstring WindowSystem::GetWindowTextW(HWND hwnd) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  return w ? w->title : std::wstring();
}

std::wstring WindowSystem::GetClassNameW(HWND hwnd) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  return w ? w->class_name : std::wstring();
}

bool WindowSystem::SetLayeredAttributes(HWND hwnd, COLORREF, uint8_t alpha, UINT flags) {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr) return false;
  w->ex_style |= WS_EX_LAYERED;
  // A colour key has no native counterpart here; the constant alpha does.
  BackendLocked().SetNativeOpacity(hwnd, (flags & LWA_ALPHA) ? alpha : 255);
  return true;
}

bool WindowSystem::SetIcon(HWND hwnd, cairo_surface_t* icon) {
  std::lock_guard guard(lock_);
  if (Find(hwnd) == nullptr) return false;
  BackendLocked().SetNativeIcon(hwnd, icon);
  return true;
}

// ---- Activation, focus, capture ------------------------------------------------------------

HWND WindowSystem::GetActiveWindow() const {
  std::lock_guard guard(lock_);
  return active_;
}

void WindowSystem::SetActiveWindow(HWND hwnd) {
  HWND old;
  {
    std::lock_guard guard(lock_);
    if (hwnd != nullptr && Find(hwnd) == nullptr) return;
    if (active_ == hwnd) return;
    old = active_;
    active_ = hwnd;
  }
  if (old != nullptr && IsWindow(old)) {
    CallWindow(old, WM_NCACTIVATE, 0, 0);
    CallWindow(old, WM_ACTIVATE, WA_INACTIVE, 0);
    CallWindow(old, WM_KILLFOCUS, 0, 0);
  }
  if (hwnd != nullptr && IsWindow(hwnd)) {
    GetBackend().SetNativeFocus(hwnd);
    CallWindow(hwnd, WM_NCACTIVATE, 1, 0);
    CallWindow(hwnd, WM_ACTIVATE, WA_ACTIVE, 0);
    CallWindow(hwnd, WM_SETFOCUS, 0, 0);
  }
}

HWND WindowSystem::GetFocus() const { return GetActiveWindow(); }

HWND WindowSystem::SetFocus(HWND hwnd) {
  HWND old = GetActiveWindow();
  if (hwnd == nullptr || IsWindow(hwnd)) SetActiveWindow(hwnd);
  return old;
}

HWND WindowSystem::GetCapture() const {
  std::lock_guard guard(lock_);
  return capture_;
}

void WindowSystem::SetCapture(HWND hwnd) {
  std::lock_guard guard(lock_);
  if (Find(hwnd) == nullptr) return;
  if (capture_ != nullptr && capture_ != hwnd) BackendLocked().SetNativeCapture(capture_, false);
  capture_ = hwnd;
  BackendLocked().SetNativeCapture(hwnd, true);
}

void WindowSystem::ReleaseCapture() {
  std::lock_guard guard(lock_);
  if (capture_ == nullptr) return;
  BackendLocked().SetNativeCapture(capture_, false);
  capture_ = nullptr;
}

void WindowSystem::TrackMouseLeave(HWND hwnd) {
  std::lock_guard guard(lock_);
  if (Window* w = Find(hwnd)) w->tracking = true;
}

bool WindowSystem::IsTrackingMouse(HWND hwnd) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  return w != nullptr && w->tracking;
}

MPoint WindowSystem::GetCursorPos() { return GetBackend().GetCursorPos(); }

bool WindowSystem::ClientToScreen(HWND hwnd, MPoint* point) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr || point == nullptr) return false;
  point->x += w->rect.left;
  point->y += w->rect.top;
  return true;
}

bool WindowSystem::ScreenToClient(HWND hwnd, MPoint* point) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr || point == nullptr) return false;
  point->x -= w->rect.left;
  point->y -= w->rect.top;
  return true;
}

void WindowSystem::SetCursor(CursorKind kind) { GetBackend().SetNativeCursor(kind); }

void WindowSystem::SetTextInput(HWND hwnd, bool on) {
  std::lock_guard guard(lock_);
  if (Find(hwnd) != nullptr) BackendLocked().SetNativeTextInput(hwnd, on);
}

void WindowSystem::SetKeyboardGrab(HWND hwnd, bool on) {
  std::lock_guard guard(lock_);
  if (Find(hwnd) != nullptr) BackendLocked().SetNativeKeyboardGrab(hwnd, on);
}

bool WindowSystem::IsKeyDown(int vk) const {
  std::lock_guard guard(lock_);
  return vk >= 0 && vk < 256 && keys_[vk];
}

void WindowSystem::BeginWindowDrag(HWND hwnd) {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr) return;
  drag_ = hwnd;
  drag_cursor_ = BackendLocked().GetCursorPos();
  drag_rect_ = w->rect;
  capture_ = hwnd;
  BackendLocked().SetNativeCapture(hwnd, true);
}

bool WindowSystem::IsDragging() const {
  std::lock_guard guard(lock_);
  return drag_ != nullptr;
}

// ---- Painting -------------------------------------------------------------------------------

bool WindowSystem::InvalidateRect(HWND hwnd, const MRect* rect, bool) {
  {
    std::lock_guard guard(lock_);
    Window* w = Find(hwnd);
    if (w == nullptr) return false;
    const MRect client(0, 0, w->rect.Width(), w->rect.Height());
    const MRect r = rect ? rect->Intersect(client) : client;
    if (r.IsEmpty()) return true;
    w->update = w->update.Union(r);
  }
  if (!IsUIThread()) GetBackend().Wake();
  return true;
}

bool WindowSystem::GetUpdateRect(HWND hwnd, MRect* rect) const {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr) return false;
  if (rect) *rect = w->update;
  return !w->update.IsEmpty();
}

bool WindowSystem::BeginPaint(HWND hwnd, MRect* paint) {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr) return false;
  MRect r = w->painting.Union(w->update);
  w->painting = MRect();
  w->update = MRect();
  if (paint) *paint = r;
  return !r.IsEmpty();
}

void WindowSystem::EndPaint(HWND hwnd) {
  std::lock_guard guard(lock_);
  if (Window* w = Find(hwnd)) w->last_present = BackendLocked().NowMs();
}

bool WindowSystem::Present(HWND hwnd, cairo_surface_t* frame, const MRect* rects, int count,
                           bool per_pixel_alpha) {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr || !w->native) return false;
  return BackendLocked().Present(hwnd, frame, rects, count, per_pixel_alpha);
}

// ---- Timers ---------------------------------------------------------------------------------

bool WindowSystem::SetTimer(HWND hwnd, uintptr_t id, unsigned milliseconds) {
  {
    std::lock_guard guard(lock_);
    Window* w = Find(hwnd);
    if (w == nullptr) return false;
    const unsigned period = std::max(1u, milliseconds);
    w->timers[id] = {period, BackendLocked().NowMs() + period};
  }
  if (!IsUIThread()) GetBackend().Wake();
  return true;
}

bool WindowSystem::KillTimer(HWND hwnd, uintptr_t id) {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  return w != nullptr && w->timers.erase(id) > 0;
}

// ---- Messages -------------------------------------------------------------------------------

LRESULT WindowSystem::CallWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowProcTarget* target = GetTarget(hwnd);
  if (target == nullptr) return IsWindow(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam) : 0;
  return target->WindowProc(hwnd, message, wParam, lParam);
}

LRESULT WindowSystem::SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsWindow(hwnd)) return 0;
  if (IsUIThread()) return CallWindow(hwnd, message, wParam, lParam);
  auto sent = std::make_shared<Sent>();
  sent->hwnd = hwnd;
  sent->message = message;
  sent->wParam = wParam;
  sent->lParam = lParam;
  std::unique_lock guard(lock_);
  if (Find(hwnd) == nullptr) return 0;
  sent_.push_back(sent);
  BackendLocked().Wake();
  sent_done_.wait(guard, [&] { return sent->done; });
  return sent->result;
}

void WindowSystem::RunSentMessages() {
  for (;;) {
    std::shared_ptr<Sent> s;
    {
      std::lock_guard guard(lock_);
      if (sent_.empty()) return;
      s = sent_.front();
      sent_.pop_front();
    }
    const LRESULT r = CallWindow(s->hwnd, s->message, s->wParam, s->lParam);
    {
      std::lock_guard guard(lock_);
      s->result = r;
      s->done = true;
    }
    sent_done_.notify_all();
  }
}

bool WindowSystem::PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  {
    std::lock_guard guard(lock_);
    if (hwnd != nullptr && Find(hwnd) == nullptr) return false;
    Posted p;
    p.msg = {hwnd, message, wParam, lParam, 0};
    posted_.push_back(std::move(p));
  }
  if (!IsUIThread()) GetBackend().Wake();
  return true;
}

void WindowSystem::PostTask(std::function<void()> task) {
  {
    std::lock_guard guard(lock_);
    Posted p;
    p.msg.message = WM_TESSEL_INVOKE;
    p.task = std::move(task);
    posted_.push_back(std::move(p));
  }
  if (!IsUIThread()) GetBackend().Wake();
}

void WindowSystem::PostQuitMessage(int code) {
  {
    std::lock_guard guard(lock_);
    quit_pending_ = true;
    quit_code_ = code;
  }
  if (!IsUIThread()) GetBackend().Wake();
}

void WindowSystem::NoteKeyState(const MSG& msg) {
  if (msg.wParam >= 256) return;
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) keys_[msg.wParam] = true;
  if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) keys_[msg.wParam] = false;
}

// One step of the queue: sends, posted messages, quit, paints, timers, then waiting.
bool WindowSystem::NextMessage(MSG* msg, bool wait, bool remove) {
  BackendLocked();
  for (;;) {
    RunSentMessages();
    {
      std::unique_lock guard(lock_);
      if (posted_.empty()) backend_->WaitEvents(0, *this);
      if (!sent_.empty()) continue;
      while (!posted_.empty()) {
        Posted& p = posted_.front();
        if (p.msg.message == WM_TESSEL_INVOKE && p.task) {
          if (!remove) {
            *msg = p.msg;
            return true;
          }
          auto task = std::move(p.task);
          posted_.pop_front();
          guard.unlock();
          task();
          guard.lock();
          continue;
        }
        if (p.msg.hwnd != nullptr && Find(p.msg.hwnd) == nullptr) {  // window gone: drop it
          posted_.pop_front();
          continue;
        }
        *msg = p.msg;
        msg->time = backend_->NowMs();
        if (remove) {
          NoteKeyState(*msg);
          posted_.pop_front();
        }
        return true;
      }
      if (quit_pending_) {
        *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quit_code_), 0, backend_->NowMs()};
        if (remove) quit_pending_ = false;
        return true;
      }
      const int64_t now = backend_->NowMs();
      int64_t deadline = std::numeric_limits<int64_t>::max();
      const int interval = backend_->FrameIntervalMs();
      for (auto& [h, w] : windows_) {
        if (w->destroying || !w->visible || w->minimised || w->update.IsEmpty()) continue;
        const int64_t slot = w->last_present + interval;
        if (now >= slot) {
          *msg = MSG{h, WM_PAINT, 0, 0, now};
          if (remove) {
            w->painting = w->painting.Union(w->update);
            w->update = MRect();
          }
          return true;
        }
        deadline = std::min(deadline, slot);
      }
      for (auto& [h, w] : windows_) {
        if (w->destroying) continue;
        for (auto& [id, t] : w->timers) {
          if (now >= t.due) {
            *msg = MSG{h, WM_TIMER, static_cast<WPARAM>(id), 0, now};
            if (remove) t.due = now + t.period;
            return true;
          }
          deadline = std::min(deadline, t.due);
        }
      }
      if (!wait) return false;
      const int timeout = deadline == std::numeric_limits<int64_t>::max()
                              ? -1
                              : static_cast<int>(std::clamp<int64_t>(deadline - now, 0, 1 << 30));
      // Wait without the lock so that other threads can post (their Wake ends the wait).
      Backend* backend = backend_.get();
      guard.unlock();
      backend->WaitEvents(timeout, *this);
    }
  }
}

bool WindowSystem::GetMessageW(MSG* msg) {
  MSG local;
  if (msg == nullptr) msg = &local;
  NextMessage(msg, true, true);
  return msg->message != WM_QUIT;
}

bool WindowSystem::PeekMessageW(MSG* msg, bool remove) {
  MSG local;
  if (msg == nullptr) msg = &local;
  return NextMessage(msg, false, remove);
}

// Input to a disabled window is dropped; a window drag eats the pointer until release.
bool WindowSystem::FilterInput(const MSG& msg) {
  if (!IsInputMessage(msg.message)) return false;
  std::lock_guard guard(lock_);
  if (drag_ != nullptr && IsMouseMessage(msg.message)) {
    Window* w = Find(drag_);
    if (w == nullptr) {
      drag_ = nullptr;
      return false;
    }
    const MPoint now = BackendLocked().GetCursorPos();
    const MRect moved = drag_rect_.Offset(now.x - drag_cursor_.x, now.y - drag_cursor_.y);
    if (moved.TopLeft() != w->rect.TopLeft()) {
      w->rect = moved;
      BackendLocked().MoveNativeWindow(drag_, moved);
    }
    if (msg.message == WM_LBUTTONUP || !(msg.wParam & MK_LBUTTON)) {
      if (capture_ == drag_) {
        BackendLocked().SetNativeCapture(drag_, false);
        capture_ = nullptr;
      }
      drag_ = nullptr;
    }
    return true;
  }
  Window* w = Find(msg.hwnd);
  return w == nullptr || !w->enabled;
}

LRESULT WindowSystem::DispatchMessageW(const MSG& msg) {
  if (msg.message == WM_TESSEL_INVOKE) return 0;
  if (msg.hwnd == nullptr || !IsWindow(msg.hwnd)) return 0;
  if (FilterInput(msg)) return 0;
  if (msg.message == WM_ACTIVATE && msg.lParam == -1) {  // activation reported by the desktop
    if (msg.wParam != WA_INACTIVE) {
      if (IsWindowEnabled(msg.hwnd)) SetActiveWindow(msg.hwnd);
    } else if (GetActiveWindow() == msg.hwnd) {
      SetActiveWindow(nullptr);
    }
    return 0;
  }
  return CallWindow(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

LRESULT WindowSystem::DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_NCLBUTTONDOWN:
      if (wParam == static_cast<WPARAM>(HTCAPTION)) BeginWindowDrag(hwnd);
      return 0;
    case WM_PAINT:
      BeginPaint(hwnd, nullptr);
      EndPaint(hwnd);
      return 0;
    case WM_NCACTIVATE:
      return 1;
    case WM_SETTEXT:
      return SetWindowTextW(hwnd, lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(GetWindowTextW(hwnd).size());
    default:
      return 0;
  }
}

int WindowSystem::PumpPending(int limit) {
  int n = 0;
  MSG msg;
  while (n < limit) {
    if (!PeekMessageW(&msg, false)) break;
    if (msg.message == WM_QUIT) break;
    PeekMessageW(&msg, true);
    if (msg.message == WM_TESSEL_INVOKE) continue;
    WindowProcTarget* t = GetTarget(msg.hwnd);
    if (t != nullptr && t->PreTranslate(&msg)) continue;
    DispatchMessageW(msg);
    ++n;
  }
  return n;
}

void WindowSystem::Reset() {
  for (HWND h : GetWindows()) DestroyWindow(h);
  std::lock_guard guard(lock_);
  windows_.clear();
  posted_.clear();
  for (auto& s : sent_) s->done = true;
  sent_.clear();
  sent_done_.notify_all();
  quit_pending_ = false;
  active_ = capture_ = drag_ = nullptr;
  std::fill(std::begin(keys_), std::end(keys_), false);
  backend_.reset();
  ui_thread_set_ = false;
}

// ---- Back-end sink --------------------------------------------------------------------------

void WindowSystem::OnNativeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr) return;
  HWND to = hwnd;
  if (IsMouseMessage(message) && message != WM_MOUSEWHEEL && capture_ != nullptr &&
      capture_ != hwnd && Find(capture_) != nullptr) {
    // Captured: the pointer belongs to the capturing window, in its coordinates.
    Window* c = Find(capture_);
    const int x = LParamX(lParam) + w->rect.left - c->rect.left;
    const int y = LParamY(lParam) + w->rect.top - c->rect.top;
    lParam = MakeLParam(x, y);
    to = capture_;
  }
  if (message == WM_ACTIVATE) lParam = -1;  // marks desktop activation (see DispatchMessageW)
  // Consecutive pointer moves collapse into the latest one.
  if (message == WM_MOUSEMOVE && !posted_.empty() && posted_.back().msg.message == WM_MOUSEMOVE &&
      posted_.back().msg.hwnd == to) {
    posted_.back().msg.wParam = wParam;
    posted_.back().msg.lParam = lParam;
    return;
  }
  Posted p;
  p.msg = {to, message, wParam, lParam, 0};
  posted_.push_back(std::move(p));
}

void WindowSystem::OnNativeExpose(HWND hwnd) {
  std::lock_guard guard(lock_);
  if (Window* w = Find(hwnd)) w->update = MRect(0, 0, w->rect.Width(), w->rect.Height());
}

void WindowSystem::OnNativeRect(HWND hwnd, const MRect& rect) {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr || w->rect == rect) return;
  const bool sized = w->rect.Size() != rect.Size();
  w->rect = rect;
  if (sized) {
    w->update = MRect(0, 0, rect.Width(), rect.Height());
    Posted p;
    p.msg = {hwnd, WM_SIZE, SIZE_RESTORED, MakeLParam(rect.Width(), rect.Height()), 0};
    posted_.push_back(std::move(p));
  }
}

void WindowSystem::OnNativeMouseLeave(HWND hwnd) {
  std::lock_guard guard(lock_);
  Window* w = Find(hwnd);
  if (w == nullptr || !w->tracking || capture_ == hwnd) return;
  w->tracking = false;
  Posted p;
  p.msg = {hwnd, WM_MOUSELEAVE, 0, 0, 0};
  posted_.push_back(std::move(p));
}
