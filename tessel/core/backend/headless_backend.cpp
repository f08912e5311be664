#include "tessel/core/backend/headless_backend.h"

#include <cstring>

#include "tessel/core/backend/window_system.h"
#include "tessel/core/colour.h"

HeadlessBackend::HeadlessBackend() = default;

HeadlessBackend::~HeadlessBackend() {
  for (auto& [h, w] : windows_)
    if (w.frame) cairo_surface_destroy(w.frame);
}

bool HeadlessBackend::CreateNativeWindow(HWND hwnd, const NativeWindowSpec& spec) {
  std::lock_guard guard(lock_);
  WindowState& w = windows_[hwnd];
  w.rect = spec.rect;
  w.title = spec.title;
  w.topmost = spec.topmost;
  w.tool = spec.tool;
  w.popup_menu = spec.popup_menu;
  return true;
}

void HeadlessBackend::DestroyNativeWindow(HWND hwnd) {
  std::lock_guard guard(lock_);
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return;
  if (it->second.frame) cairo_surface_destroy(it->second.frame);
  windows_.erase(it);
  if (capture_ == hwnd) capture_ = nullptr;
}

void HeadlessBackend::ShowNativeWindow(HWND hwnd, bool show, bool) {
  std::lock_guard guard(lock_);
  auto it = windows_.find(hwnd);
  if (it != windows_.end()) it->second.shown = show;
}

void HeadlessBackend::MoveNativeWindow(HWND hwnd, const MRect& rect) {
  std::lock_guard guard(lock_);
  auto it = windows_.find(hwnd);
  if (it != windows_.end()) it->second.rect = rect;
}

void HeadlessBackend::SetNativeTitle(HWND hwnd, const std::wstring& title) {
  std::lock_guard guard(lock_);
  auto it = windows_.find(hwnd);
  if (it != windows_.end()) it->second.title = title;
}

void HeadlessBackend::SetNativeTopmost(HWND hwnd, bool on) {
  std::lock_guard guard(lock_);
  auto it = windows_.find(hwnd);
  if (it != windows_.end()) it->second.topmost = on;
}

void HeadlessBackend::SetNativeOpacity(HWND hwnd, uint8_t alpha) {
  std::lock_guard guard(lock_);
  auto it = windows_.find(hwnd);
  if (it != windows_.end()) it->second.opacity = alpha;
}

void HeadlessBackend::SetNativeIcon(HWND hwnd, cairo_surface_t* icon) {
  std::lock_guard guard(lock_);
  auto it = windows_.find(hwnd);
  if (it != windows_.end()) it->second.has_icon = icon != nullptr;
}

void HeadlessBackend::SetNativeCapture(HWND hwnd, bool on) {
  std::lock_guard guard(lock_);
  if (on) capture_ = hwnd;
  else if (capture_ == hwnd) capture_ = nullptr;
}

bool HeadlessBackend::Present(HWND hwnd, cairo_surface_t* frame, const MRect* rects, int count,
                              bool per_pixel_alpha) {
  std::lock_guard guard(lock_);
  auto it = windows_.find(hwnd);
  if (it == windows_.end() || frame == nullptr) return false;
  WindowState& w = it->second;
  const int width = cairo_image_surface_get_width(frame);
  const int height = cairo_image_surface_get_height(frame);
  if (w.frame == nullptr || cairo_image_surface_get_width(w.frame) != width ||
      cairo_image_surface_get_height(w.frame) != height) {
    if (w.frame) cairo_surface_destroy(w.frame);
    w.frame = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  }
  cairo_surface_flush(frame);
  cairo_surface_flush(w.frame);
  const uint8_t* src = cairo_image_surface_get_data(frame);
  uint8_t* dst = cairo_image_surface_get_data(w.frame);
  const int ss = cairo_image_surface_get_stride(frame);
  const int ds = cairo_image_surface_get_stride(w.frame);
  MRect shown;
  for (int i = 0; i < count; ++i) {
    const MRect r = rects[i].Intersect(MRect(0, 0, width, height));
    if (r.IsEmpty()) continue;
    shown = shown.Union(r);
    for (int y = r.top; y < r.bottom; ++y)
      std::memcpy(dst + y * ds + r.left * 4, src + y * ss + r.left * 4, r.Width() * 4);
  }
  cairo_surface_mark_dirty(w.frame);
  w.per_pixel_alpha = per_pixel_alpha;
  ++w.presents;
  w.last_present = shown;
  return true;
}

MPoint HeadlessBackend::GetCursorPos() {
  std::lock_guard guard(lock_);
  return cursor_pos_;
}

void HeadlessBackend::WaitEvents(int timeout_ms, BackendSink& sink) {
  std::deque<Event> batch;
  {
    std::lock_guard guard(lock_);
    batch.swap(events_);
  }
  const bool woken = woken_.exchange(false);
  if (batch.empty() && !woken && timeout_ms != 0) {
    if (timeout_ms > 0) {
      if (auto_advance_) clock_ += timeout_ms;
    } else if (idle_hook_) {
      idle_hook_();
    } else {
      ++stalls_;
      WindowSystem::Get().PostQuitMessage(-99);
    }
  }
  for (const Event& e : batch) {
    if (e.kind == 1) sink.OnNativeMouseLeave(e.hwnd);
    else sink.OnNativeMessage(e.hwnd, e.message, e.wParam, e.lParam);
  }
}

void HeadlessBackend::Wake() { woken_ = true; }

// ---- Synthetic input ----------------------------------------------------------------------------

void HeadlessBackend::Queue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int kind) {
  std::lock_guard guard(lock_);
  events_.push_back({hwnd, message, wParam, lParam, kind});
}

WPARAM HeadlessBackend::Flags() const {
  WPARAM f = buttons_;
  if (keys_[VK_SHIFT]) f |= MK_SHIFT;
  if (keys_[VK_CONTROL]) f |= MK_CONTROL;
  return f;
}

void HeadlessBackend::Button(HWND hwnd, UINT message, int x, int y, unsigned set, unsigned clear) {
  {
    std::lock_guard guard(lock_);
    auto it = windows_.find(hwnd);
    if (it != windows_.end()) cursor_pos_ = MPoint(it->second.rect.left + x, it->second.rect.top + y);
    buttons_ = (buttons_ | set) & ~clear;
  }
  Queue(hwnd, message, Flags(), MakeLParam(x, y));
}

void HeadlessBackend::MouseMove(HWND hwnd, int x, int y) { Button(hwnd, WM_MOUSEMOVE, x, y, 0, 0); }
void HeadlessBackend::LButtonDown(HWND hwnd, int x, int y) {
  Button(hwnd, WM_LBUTTONDOWN, x, y, MK_LBUTTON, 0);
}
void HeadlessBackend::LButtonUp(HWND hwnd, int x, int y) {
  Button(hwnd, WM_LBUTTONUP, x, y, 0, MK_LBUTTON);
}
void HeadlessBackend::LButtonDblClk(HWND hwnd, int x, int y) {
  Button(hwnd, WM_LBUTTONDBLCLK, x, y, MK_LBUTTON, 0);
}
void HeadlessBackend::Click(HWND hwnd, int x, int y) {
  MouseMove(hwnd, x, y);
  LButtonDown(hwnd, x, y);
  LButtonUp(hwnd, x, y);
}
void HeadlessBackend::RButtonDown(HWND hwnd, int x, int y) {
  Button(hwnd, WM_RBUTTONDOWN, x, y, MK_RBUTTON, 0);
}
void HeadlessBackend::RButtonUp(HWND hwnd, int x, int y) {
  Button(hwnd, WM_RBUTTONUP, x, y, 0, MK_RBUTTON);
}

void HeadlessBackend::Wheel(HWND hwnd, int x, int y, int delta) {
  MPoint screen;
  {
    std::lock_guard guard(lock_);
    auto it = windows_.find(hwnd);
    if (it != windows_.end()) screen = MPoint(it->second.rect.left + x, it->second.rect.top + y);
    cursor_pos_ = screen;
  }
  Queue(hwnd, WM_MOUSEWHEEL, MakeWParam(static_cast<unsigned>(Flags()), static_cast<unsigned>(delta)),
        MakeLParam(screen.x, screen.y));
}

void HeadlessBackend::KeyDown(HWND hwnd, int vk) {
  bool alt;
  {
    std::lock_guard guard(lock_);
    if (vk >= 0 && vk < 256) keys_[vk] = true;
    alt = keys_[VK_MENU];
  }
  Queue(hwnd, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
}

void HeadlessBackend::KeyUp(HWND hwnd, int vk) {
  bool alt;
  {
    std::lock_guard guard(lock_);
    alt = keys_[VK_MENU];
    if (vk >= 0 && vk < 256) keys_[vk] = false;
  }
  Queue(hwnd, alt ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
}

void HeadlessBackend::Char(HWND hwnd, wchar_t ch) { Queue(hwnd, WM_CHAR, static_cast<WPARAM>(ch), 1); }
void HeadlessBackend::MouseLeave(HWND hwnd) { Queue(hwnd, 0, 0, 0, 1); }
void HeadlessBackend::Activate(HWND hwnd, bool active) {
  Queue(hwnd, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
}
void HeadlessBackend::Close(HWND hwnd) { Queue(hwnd, WM_CLOSE, 0, 0); }

HWND HeadlessBackend::WindowAt(MPoint screen) const {
  if (capture_ != nullptr && windows_.count(capture_)) return capture_;
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
    if (it->second.shown && it->second.rect.Contains(screen)) return it->first;
  return nullptr;
}

void HeadlessBackend::MoveCursorTo(MPoint screen) {
  HWND target;
  MRect rect;
  {
    std::lock_guard guard(lock_);
    cursor_pos_ = screen;
    target = WindowAt(screen);
    if (target == nullptr) return;
    rect = windows_[target].rect;
  }
  Queue(target, WM_MOUSEMOVE, Flags(), MakeLParam(screen.x - rect.left, screen.y - rect.top));
}

void HeadlessBackend::LButtonUpAt(MPoint screen) {
  HWND target;
  MRect rect;
  {
    std::lock_guard guard(lock_);
    cursor_pos_ = screen;
    target = WindowAt(screen);
    if (target == nullptr) return;
    rect = windows_[target].rect;
  }
  Button(target, WM_LBUTTONUP, screen.x - rect.left, screen.y - rect.top, 0, MK_LBUTTON);
}

// ---- Inspection ---------------------------------------------------------------------------------

bool HeadlessBackend::GetWindowState(HWND hwnd, WindowState* state) const {
  std::lock_guard guard(lock_);
  auto it = windows_.find(hwnd);
  if (it == windows_.end() || state == nullptr) return false;
  *state = it->second;
  if (state->frame) cairo_surface_reference(state->frame);
  return true;
}

uint32_t HeadlessBackend::PixelAt(HWND hwnd, int x, int y) const {
  std::lock_guard guard(lock_);
  auto it = windows_.find(hwnd);
  if (it == windows_.end() || it->second.frame == nullptr) return 0;
  cairo_surface_t* f = it->second.frame;
  if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(f) ||
      y >= cairo_image_surface_get_height(f))
    return 0;
  const uint8_t* row = cairo_image_surface_get_data(f) + y * cairo_image_surface_get_stride(f);
  uint32_t p;
  std::memcpy(&p, row + x * 4, 4);
  return ArgbFromPixel(p);
}

bool HeadlessBackend::SaveFrame(HWND hwnd, const std::string& path) const {
  std::lock_guard guard(lock_);
  auto it = windows_.find(hwnd);
  if (it == windows_.end() || it->second.frame == nullptr) return false;
  return cairo_surface_write_to_png(it->second.frame, path.c_str()) == CAIRO_STATUS_SUCCESS;
}
