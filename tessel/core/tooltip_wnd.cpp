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

void MTooltipWnd::DrawFrame(cairo_surface_t* frame, const MRect& client) {
  cairo_t* cr = cairo_create(frame);
  MRender::DrawColor(cr, client, 0xFF808080);
  MRender::DrawColor(cr, client.Inflate(-1, -1), 0xFFFFFFFF);
  MRender::DrawTextW(cr, text_, client.Inflate(-kPadding, -kPadding), 0xFF202020, TipFont(),
                     MDT_LEFT | MDT_WORDBREAK);
  cairo_destroy(cr);
}
