#include "tessel/core/tooltip_wnd.h"

#include <algorithm>

#include "tessel/core/manager.h"
#include "tessel/core/render.h"

namespace {
constexpr int kMaxWidth = 256;
constexpr int kPadding = 4;
MFont TipFont() {
  MFont f;
  f.face = Manager::GetFontName();
  f.size = 12;
  return f;
}
}  // namespace

MTooltipWnd::MTooltipWnd(HWND owner) : owner_(owner) {}

MTooltipWnd::~MTooltipWnd() {
  if (hwnd_ != nullptr) WindowSystem::Get().DestroyWindow(hwnd_);
  if (frame_) cairo_surface_destroy(frame_);
}

void MTooltipWnd::Show(const std::wstring& text, MPoint screen) {
  auto& ws = WindowSystem::Get();
  text_ = text;
  const MSize size = MRender::GetTextBounds(text, TipFont(), kMaxWidth - 2 * kPadding);
  const MRect rect = MRect::FromXYWH(screen.x, screen.y, std::min(kMaxWidth, size.cx + 2 * kPadding),
                                     size.cy + 2 * kPadding);
  if (hwnd_ == nullptr || !ws.IsWindow(hwnd_)) {
    WindowCreateParams p;
    p.class_name = L"tooltips_class32";
    p.style = WS_POPUP;
    p.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    p.rect = rect;
    p.parent = ws.IsWindow(owner_) ? owner_ : nullptr;
    hwnd_ = ws.CreateWindowExW(p, this);
    if (hwnd_ == nullptr) return;
  } else {
    ws.SetWindowPos(hwnd_, rect, SWP_NOACTIVATE | SWP_NOZORDER);
  }
  ws.InvalidateRect(hwnd_, nullptr, false);
  ws.ShowWindow(hwnd_, SW_SHOWNA);
}

void MTooltipWnd::Hide() {
  if (hwnd_ != nullptr) WindowSystem::Get().ShowWindow(hwnd_, SW_HIDE);
}

LRESULT MTooltipWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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

void MTooltipWnd::Paint() {
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
  cairo_t* cr = cairo_create(frame_);
  MRender::DrawColor(cr, client, 0xFF808080);
  MRender::DrawColor(cr, client.Inflate(-1, -1), 0xFFFFFFFF);
  MRender::DrawTextW(cr, text_, client.Inflate(-kPadding, -kPadding), 0xFF202020, TipFont(),
                     MDT_LEFT | MDT_WORDBREAK);
  cairo_destroy(cr);
  ws.Present(hwnd_, frame_, &client, 1, false);
  ws.EndPaint(hwnd_);
}
