#include "tessel/core/mwindow_skin.h"

namespace {
MPoint PointOf(LPARAM lParam) { return MPoint(LParamX(lParam), LParamY(lParam)); }
}  // namespace

MSkinWindow::MSkinWindow() { paint_manager.SetOwnerObject(this); }

// The window goes while the paint manager and the subclass's handlers still exist.
MSkinWindow::~MSkinWindow() {
  if (hwnd_ != nullptr) DestroyWindow();
}

LRESULT MSkinWindow::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const unsigned flags = static_cast<unsigned>(wParam);
  switch (message) {
    case WM_CREATE: OnCreate(reinterpret_cast<void*>(lParam)); break;
    case WM_DESTROY: OnDestroy(); break;
    case WM_SIZE: OnSize(wParam, static_cast<int>(LowWord(lParam)), static_cast<int>(HighWord(lParam))); break;
    case WM_PAINT: OnPaint(); break;
    case WM_CLOSE: OnClose(); break;
    case WM_ERASEBKGND: return 1;
    case WM_WINDOWPOSCHANGING: OnWindowPosChanging(); break;
    case WM_WINDOWPOSCHANGED: OnWindowPosChanged(); break;
    case WM_NCACTIVATE: OnNcActivate(static_cast<int>(wParam)); break;
    case WM_TIMER: OnTimer(static_cast<uintptr_t>(wParam)); break;
    case WM_MOUSEMOVE: OnMouseMove(flags, PointOf(lParam)); break;
    case WM_MOUSEWHEEL: OnMouseWheel(LowWord(wParam), WheelDelta(wParam), PointOf(lParam)); break;
    case WM_LBUTTONDOWN: OnLButtonDown(flags, PointOf(lParam)); break;
    case WM_LBUTTONUP: OnLButtonUp(flags, PointOf(lParam)); break;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(flags, PointOf(lParam)); break;
    case WM_RBUTTONDOWN: OnRButtonDown(flags, PointOf(lParam)); break;
    case WM_RBUTTONUP: OnRButtonUp(flags, PointOf(lParam)); break;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(flags, PointOf(lParam)); break;
    case WM_MOUSEHOVER: OnMouseHover(flags, PointOf(lParam)); break;
    case WM_MOUSELEAVE: OnMouseLeave(); break;
    case WM_KEYDOWN: OnKeyDown(static_cast<int>(wParam), static_cast<int>(lParam & 0xFFFF), static_cast<int>(lParam)); break;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); break;
    case WM_NCPAINT: OnNcPaint(); break;
    case WM_NCCALCSIZE: OnNcCalcSize(); break;
    case WM_NCHITTEST: OnNcHitTest(PointOf(lParam)); break;
    case WM_TESSEL_ENDDIALOG: return OnUserCloseWindow(wParam, lParam);
    default: break;
  }
  if (paint_manager.OnWindowMessage(message, wParam, lParam) != 0) return 1;
  return DefaultProc(message, wParam, lParam);
}

LRESULT MSkinWindow::OnUserCloseWindow(WPARAM wParam, LPARAM lParam) {
  PostMessageW(WM_CLOSE, wParam, lParam);
  return 1;
}

int MSkinWindow::OnCreate(void*) {
  // No caption, no sizing frame, clip children and siblings.
  if (hwnd_ != nullptr) WindowSystem::Get().SetStyle(hwnd_, (GetStyle() & 0xFF3BFFFFu) | 0x06000008u);
  return 1;
}

int MSkinWindow::OnSize(WPARAM type, int, int) {
  if (type != SIZE_MINIMIZED && !IsIconic()) SetupBackTranslucent();
  client_rect_ = GetClientRect();
  if (client_rect_.Width() > 1 && client_rect_.Height() > 1) UISize(client_rect_);
  InvalidateRect(&client_rect_, false);
  return 1;
}

void MSkinWindow::SetupBackTranslucent() {
  auto& ws = WindowSystem::Get();
  if (hwnd_ == nullptr) return;
  if (constant_alpha_ != 255) ws.SetLayeredAttributes(hwnd_, 0, constant_alpha_, LWA_ALPHA);
  else if (colour_key_ != 0xFFFFFF) ws.SetLayeredAttributes(hwnd_, colour_key_, 255, LWA_COLORKEY);
}

LRESULT MSkinWindow::OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) {
  return OnMessage(id, code, wParam, lParam);
}

int MSkinWindow::OnControlUpdate(const MRect& rect, int redraw, MControl* control) {
  return paint_manager.OnControlUpdate(rect, redraw, control);
}

MControl* MSkinWindow::CreateControl(const std::wstring& class_name, unsigned id, const MRect& rect,
                                     const std::wstring& text, int visible, int enabled) {
  return paint_manager.CreateControl(class_name, id, rect, text, visible, enabled);
}

MControl* MSkinWindow::CreateArea(const std::wstring& class_name, unsigned id, const MRect& rect,
                                  const std::wstring& text, int visible, int enabled) {
  return paint_manager.CreateArea(class_name, id, rect, text, visible, enabled);
}
