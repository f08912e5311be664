#include "tessel/core/mpopup_wnd.h"

MPopupWnd::MPopupWnd() { colour_key_ = 0xF1F1F1; }

MPopupWnd::~MPopupWnd() {
  if (hwnd_ != nullptr) DestroyWindow();
}

int MPopupWnd::OnInitDialog() {
  paint_manager.Init(hwnd_, this, nullptr);
  paint_manager.EnableWndDrag(0);
  client_rect_ = GetClientRect();
  InitUI(client_rect_);
  return 1;
}

void MPopupWnd::OnDestroyMessage(HWND hwnd) {
  if (hwnd == paint_manager.GetPaintWnd()) paint_manager.DestroyData();
  PostNcDestroy();
}

int MPopupWnd::OnCreate(void* create_data) {
  MSkinWindow::OnCreate(create_data);
  if (hwnd_ != nullptr) WindowSystem::Get().SetExStyle(hwnd_, WS_EX_TOOLWINDOW);
  return 1;
}

int MPopupWnd::OnNcActivate(int active) {
  if (!active) PostMessageW(WM_CLOSE, 0, 0);
  return 0;
}

int MPopupWnd::OnWindowPosChanged() {
  paint_manager.OnWindowPosChanged();
  const MRect c = GetClientRect();
  OnSize(SIZE_RESTORED, c.Width(), c.Height());
  return 1;
}

int MPopupWnd::OnSize(WPARAM, int, int) {
  client_rect_ = GetClientRect();
  UISize(client_rect_);
  InvalidateRect(&client_rect_, false);
  return 1;
}

void MPopupWnd::CloseWindow() { PostMessageW(WM_CLOSE, 0, 0); }

LRESULT MPopupWnd::SendMessageToParent(unsigned code, WPARAM wParam, LPARAM lParam) {
  return parent_object_ != nullptr ? parent_object_->OnBaseMessage(0, code, wParam, lParam) : 0;
}
