#include "tessel/core/self_painted_window.h"

#include "tessel/core/render.h"

SelfPaintedWindow::~SelfPaintedWindow() {
  if (frame_) cairo_surface_destroy(frame_);
}

LRESULT SelfPaintedWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    Paint();
    return 0;
  }
  if (message == WM_NCDESTROY) {
    hwnd_ = nullptr;
    return 0;
  }
  return WindowSystem::Get().DefWindowProcW(hwnd, message, wParam, lParam);
}

void SelfPaintedWindow::Paint() {
  auto& ws = WindowSystem::Get();
  MRect update;
  if (!ws.BeginPaint(hwnd_, &update)) return;
  MRect client;
  ws.GetClientRect(hwnd_, &client);
  if (client.IsEmpty()) {
    ws.EndPaint(hwnd_);
    return;
  }
  if (frame_ == nullptr || cairo_image_surface_get_width(frame_) != client.Width() ||
      cairo_image_surface_get_height(frame_) != client.Height()) {
    if (frame_) cairo_surface_destroy(frame_);
    frame_ = MRender::CreateARGB32Bitmap(client.Width(), client.Height());
  }
  DrawFrame(frame_, client);
  ws.Present(hwnd_, frame_, &client, 1, Layered());
  ws.EndPaint(hwnd_);
}
