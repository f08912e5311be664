#include "tessel/core/mwindow.h"

#include <mutex>
#include <set>

#include "tessel/core/image.h"
#include "tessel/core/manager.h"
#include "tessel/core/render.h"

namespace {

// Window classes that exist without registration, as the system's own would; a window class
// may superclass one of them.
struct ClassRegistry {
  std::mutex lock;
  std::set<std::wstring> names{L"EDIT", L"STATIC", L"BUTTON", L"LISTBOX", L"COMBOBOX",
                               L"tooltips_class32"};
};

ClassRegistry& Classes() {
  static ClassRegistry* r = new ClassRegistry();
  return *r;
}

// The window that owns the modal loop's message, for PreTranslateMessage.
WindowProcTarget* TargetOf(const MSG& msg) { return WindowSystem::Get().GetTarget(msg.hwnd); }

}  // namespace

MWindow::MWindow() = default;

MWindow::~MWindow() {
  if (hwnd_ != nullptr) DestroyWindow();
  Manager::DeleteWnd(this);
}

const wchar_t* MWindow::GetWindowClassName() const { return L"TesselClient"; }
const wchar_t* MWindow::GetSuperClassName() const { return nullptr; }

void MWindow::ShowWindow(int command) {
  if (hwnd_ != nullptr) WindowSystem::Get().ShowWindow(hwnd_, command);
}

LRESULT MWindow::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultProc(message, wParam, lParam);
}

LRESULT MWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return hwnd_ ? WindowSystem::Get().DefWindowProcW(hwnd_, message, wParam, lParam) : 0;
}

int MWindow::PreTranslateMessage(const MSG*) { return 0; }
int MWindow::OnInitDialog() { return 1; }
void MWindow::OnDestroyMessage(HWND) {}

void MWindow::RegisterClassName(const std::wstring& name) {
  std::lock_guard guard(Classes().lock);
  Classes().names.insert(name);
}

bool MWindow::IsClassRegistered(const std::wstring& name) {
  std::lock_guard guard(Classes().lock);
  return Classes().names.count(name) > 0;
}

bool MWindow::RegisterWindowClass() {
  const wchar_t* name = GetWindowClassName();
  if (name == nullptr || *name == 0) return false;
  RegisterClassName(name);
  return true;
}

// A superclass needs its base class to exist already.
bool MWindow::RegisterSuperClass() {
  const wchar_t* base = GetSuperClassName();
  const wchar_t* name = GetWindowClassName();
  if (base == nullptr || name == nullptr || !IsClassRegistered(base)) return false;
  RegisterClassName(name);
  return true;
}

HWND MWindow::Create(HWND parent) { return Create(parent, MRect(0, 0, 800, 600)); }

HWND MWindow::Create(HWND parent, const MRect& rect) {
  return Create(parent, L"TesselClient", WS_POPUP, 0, rect);
}

HWND MWindow::Create(HWND parent, const std::wstring& name, uint32_t style, uint32_t ex_style,
                     const MRect& rect, void*) {
  auto& ws = WindowSystem::Get();
  if (hwnd_ != nullptr && ws.IsWindow(hwnd_)) return hwnd_;
  parent_ = parent;
  const bool registered = GetSuperClassName() != nullptr ? RegisterSuperClass() : RegisterWindowClass();
  if (!registered) return nullptr;
  WindowCreateParams p;
  p.class_name = GetWindowClassName();
  p.title = name;
  p.style = style;
  p.ex_style = ex_style;
  p.rect = rect;
  p.parent = parent;
  HWND h = ws.CreateWindowExW(p, this);
  if (h == nullptr) {
    hwnd_ = nullptr;
    return nullptr;
  }
  hwnd_ = h;
  Manager::AddWnd(this);
  OnInitDialog();
  return hwnd_;
}

LRESULT MWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    hwnd_ = hwnd;
    return OnWindowMessage(message, wParam, lParam);
  }
  if (hwnd_ != hwnd) return WindowSystem::Get().DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    const LRESULT r = OnWindowMessage(message, wParam, lParam);
    hwnd_ = nullptr;
    Manager::DeleteWnd(this);
    OnDestroyMessage(hwnd);
    return r;
  }
  return OnWindowMessage(message, wParam, lParam);
}

// ---- Modal loop -----------------------------------------------------------------------------------

int MWindow::ShowModal(int command) {
  auto& ws = WindowSystem::Get();
  if (hwnd_ == nullptr || !ws.IsWindow(hwnd_)) return -1;
  const HWND self = hwnd_;
  const HWND owner = ws.GetParent(self);
  ShowWindow(command);
  if (owner != nullptr) ws.EnableWindow(owner, false);
  int result = 0;
  bool quit = false;
  WPARAM quit_code = 0;
  MSG msg;
  while (ws.IsWindow(self)) {
    if (!ws.GetMessageW(&msg)) {
      quit = true;
      quit_code = msg.wParam;
      break;
    }
    if (msg.message == WM_CLOSE && msg.hwnd == self) {
      result = static_cast<int>(msg.wParam);
      if (owner != nullptr) {
        ws.EnableWindow(owner, true);
        ws.SetFocus(owner);
      }
    }
    WindowProcTarget* target = TargetOf(msg);
    if (target != nullptr && target->PreTranslate(&msg)) continue;
    ws.DispatchMessageW(msg);
  }
  if (owner != nullptr && ws.IsWindow(owner)) {
    ws.EnableWindow(owner, true);
    ws.SetFocus(owner);
  }
  if (quit) ws.PostQuitMessage(static_cast<int>(quit_code));
  return result;
}

// ---- Window operations ----------------------------------------------------------------------------

bool MWindow::DestroyWindow() { return hwnd_ != nullptr && WindowSystem::Get().DestroyWindow(hwnd_); }

bool MWindow::CenterWindow(HWND reference) {
  auto& ws = WindowSystem::Get();
  if (hwnd_ == nullptr || !ws.IsWindow(hwnd_)) return false;
  const MRect rect = GetWindowRect();
  const int w = rect.Width();
  const int h = rect.Height();
  HWND ref = reference != nullptr ? reference : ws.GetParent(hwnd_);
  int x, y;
  if ((GetStyle() & WS_CHILD) && ref != nullptr) {
    MRect parent_client;
    ws.GetClientRect(ref, &parent_client);
    x = (parent_client.Width() - w) / 2;
    y = (parent_client.Height() - h) / 2;
  } else {
    const MRect work = ws.GetBackend().GetWorkArea(rect);
    MRect centre = work;
    if (ref != nullptr && ws.IsWindowVisible(ref) && !ws.IsIconic(ref)) ws.GetWindowRect(ref, &centre);
    x = centre.left + (centre.Width() - w) / 2;
    y = centre.top + (centre.Height() - h) / 2;
    // Stay on the work area: right and bottom first, so that a window larger than the work
    // area is pinned to its left and top edges.
    if (x + w > work.right) x = work.right - w;
    if (y + h > work.bottom) y = work.bottom - h;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
  }
  return ws.SetWindowPos(hwnd_, MRect::FromXYWH(x, y, w, h),
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MWindow::BringToTop() {
  auto& ws = WindowSystem::Get();
  if (hwnd_ == nullptr || !ws.IsWindow(hwnd_)) return;
  ws.GetBackend().RaiseNativeWindow(hwnd_);
  ws.ShowWindow(hwnd_, ws.IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
  ws.SetFocus(hwnd_);
}

bool MWindow::SetIcon(int resource_id) {
  auto& ws = WindowSystem::Get();
  if (hwnd_ == nullptr || !ws.IsWindow(hwnd_)) return false;
  static const int kProgramModule = 0;
  const void* module = Manager::GetInstance() ? Manager::GetInstance() : &kProgramModule;
  auto image = MRender::LoadImageFromIDResource(resource_id, L"ICON", module);
  if (!image) image = MRender::LoadImageFromIDResource(resource_id, L"PNG", module);
  if (!image) return false;
  return ws.SetIcon(hwnd_, image->Surface());
}

uint32_t MWindow::GetStyle() const { return hwnd_ ? WindowSystem::Get().GetStyle(hwnd_) : 0; }
uint32_t MWindow::GetExStyle() const { return hwnd_ ? WindowSystem::Get().GetExStyle(hwnd_) : 0; }

bool MWindow::ModifyStyle(uint32_t remove, uint32_t add, UINT flags) {
  auto& ws = WindowSystem::Get();
  if (hwnd_ == nullptr || !ws.SetStyle(hwnd_, (ws.GetStyle(hwnd_) & ~remove) | add)) return false;
  if (flags) ws.SetWindowPos(hwnd_, MRect(), flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

bool MWindow::ModifyExStyle(uint32_t remove, uint32_t add, UINT flags) {
  auto& ws = WindowSystem::Get();
  if (hwnd_ == nullptr || !ws.SetExStyle(hwnd_, (ws.GetExStyle(hwnd_) & ~remove) | add)) return false;
  if (flags) ws.SetWindowPos(hwnd_, MRect(), flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

MRect MWindow::GetClientRect() const {
  MRect r;
  if (hwnd_) WindowSystem::Get().GetClientRect(hwnd_, &r);
  return r;
}

MRect MWindow::GetWindowRect() const {
  MRect r;
  if (hwnd_) WindowSystem::Get().GetWindowRect(hwnd_, &r);
  return r;
}

bool MWindow::SetWindowTextW(const std::wstring& text) {
  return hwnd_ && WindowSystem::Get().SetWindowTextW(hwnd_, text);
}

std::wstring MWindow::GetWindowTextW() const {
  return hwnd_ ? WindowSystem::Get().GetWindowTextW(hwnd_) : std::wstring();
}

int MWindow::GetWindowTextLengthW() const {
  if (hwnd_ == nullptr || !WindowSystem::Get().IsWindow(hwnd_)) return -1;
  return static_cast<int>(GetWindowTextW().size());
}

bool MWindow::EnableWindow(bool enable) { return hwnd_ && WindowSystem::Get().EnableWindow(hwnd_, enable); }
bool MWindow::IsWindowEnabled() const { return hwnd_ && WindowSystem::Get().IsWindowEnabled(hwnd_); }
bool MWindow::IsWindowVisible() const { return hwnd_ && WindowSystem::Get().IsWindowVisible(hwnd_); }
bool MWindow::IsIconic() const { return hwnd_ && WindowSystem::Get().IsIconic(hwnd_); }

bool MWindow::InvalidateRect(const MRect* rect, bool erase) {
  return hwnd_ && WindowSystem::Get().InvalidateRect(hwnd_, rect, erase);
}

void MWindow::SetCapture() {
  if (hwnd_) WindowSystem::Get().SetCapture(hwnd_);
}

void MWindow::ReleaseCapture() {
  if (hwnd_ && WindowSystem::Get().GetCapture() == hwnd_) WindowSystem::Get().ReleaseCapture();
}

HWND MWindow::SetFocus() {
  return hwnd_ && WindowSystem::Get().IsWindow(hwnd_) ? WindowSystem::Get().SetFocus(hwnd_) : nullptr;
}

bool MWindow::SetTimer(uintptr_t id, unsigned ms) { return hwnd_ && WindowSystem::Get().SetTimer(hwnd_, id, ms); }
bool MWindow::KillTimer(uintptr_t id) { return hwnd_ && WindowSystem::Get().KillTimer(hwnd_, id); }

bool MWindow::ClientToScreen(MPoint* p) const { return hwnd_ && WindowSystem::Get().ClientToScreen(hwnd_, p); }
bool MWindow::ScreenToClient(MPoint* p) const { return hwnd_ && WindowSystem::Get().ScreenToClient(hwnd_, p); }

bool MWindow::ClientToScreen(MRect* r) const {
  if (r == nullptr) return false;
  MPoint a = r->TopLeft(), b = r->BottomRight();
  if (!ClientToScreen(&a) || !ClientToScreen(&b)) return false;
  *r = MRect(a.x, a.y, b.x, b.y);
  return true;
}

bool MWindow::ScreenToClient(MRect* r) const {
  if (r == nullptr) return false;
  MPoint a = r->TopLeft(), b = r->BottomRight();
  if (!ScreenToClient(&a) || !ScreenToClient(&b)) return false;
  *r = MRect(a.x, a.y, b.x, b.y);
  return true;
}

bool MWindow::SetWindowPos(const MRect& rect, UINT flags) {
  return hwnd_ && WindowSystem::Get().SetWindowPos(hwnd_, rect, flags);
}

bool MWindow::MoveWindow(int x, int y, int width, int height, bool repaint) {
  return MoveWindow(MRect::FromXYWH(x, y, width, height), repaint);
}

bool MWindow::MoveWindow(const MRect& rect, bool repaint) {
  if (!SetWindowPos(rect, SWP_NOZORDER | SWP_NOACTIVATE)) return false;
  if (repaint) InvalidateRect(nullptr, false);
  return true;
}

LRESULT MWindow::SendMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
  return hwnd_ ? WindowSystem::Get().SendMessageW(hwnd_, message, wParam, lParam) : 0;
}

bool MWindow::PostMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
  return hwnd_ && WindowSystem::Get().PostMessageW(hwnd_, message, wParam, lParam);
}
