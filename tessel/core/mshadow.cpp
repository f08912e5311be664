#include "tessel/core/mshadow.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tessel/core/manager.h"
#include "tessel/core/render.h"

MShadow::MShadow() = default;

MShadow::~MShadow() {
  Destroy();
}

bool MShadow::Create(HWND owner, bool show, bool force) {
  auto& ws = WindowSystem::Get();
  if (!ws.IsWindow(owner)) return false;
  if (hwnd_ != nullptr && ws.IsWindow(hwnd_)) {
    if (!force) return true;
    Destroy();
  }
  owner_ = owner;
  WindowCreateParams p;
  p.class_name = L"ShadowWnd";
  p.style = WS_POPUP;
  p.ex_style = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  p.rect = ShadowRect();
  p.parent = owner;
  hwnd_ = ws.CreateWindowExW(p, this);
  if (hwnd_ == nullptr) return false;
  Show(show);
  return true;
}

void MShadow::Destroy() {
  if (hwnd_ != nullptr) WindowSystem::Get().DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

MRect MShadow::ShadowRect() const {
  MRect owner;
  WindowSystem::Get().GetWindowRect(owner_, &owner);
  const int grow = std::max(0, size_) + sharpness_;
  return owner.Offset(offset_x_, offset_y_).Inflate(grow, grow);
}

int MShadow::AlphaAt(int distance) const {
  if (distance <= 0) return darkness_;
  // The ramp spans the size plus the sharpness; a sharp shadow falls off quickly at its end.
  const int spread = std::max(1, std::max(0, size_) + sharpness_);
  if (distance >= spread) return 0;
  const double t = 1.0 - static_cast<double>(distance) / spread;
  const double softness = 1.0 + (35 - sharpness_) / 17.5;  // 1 (sharp) .. 3 (soft)
  return static_cast<int>(std::lround(darkness_ * std::pow(t, softness)));
}

bool MShadow::SetSize(int size) {
  if (size < -35 || size > 35) return false;
  size_ = size;
  Redraw();
  return true;
}

bool MShadow::SetSharpness(int sharpness) {
  if (sharpness < 0 || sharpness > 35) return false;
  sharpness_ = sharpness;
  Redraw();
  return true;
}

bool MShadow::SetDarkness(int darkness) {
  if (darkness < 0 || darkness > 255) return false;
  darkness_ = darkness;
  Redraw();
  return true;
}

bool MShadow::SetPosition(int x, int y) {
  if (x < -35 || x > 35 || y < -35 || y > 35) return false;
  offset_x_ = x;
  offset_y_ = y;
  Redraw();
  return true;
}

bool MShadow::SetColor(COLORREF colour) {
  colour_ = colour & 0xFFFFFF;
  Redraw();
  return true;
}

bool MShadow::SetImage(const std::wstring& file_name, const MRect& corners) {
  auto image = MRender::LoadImageFromFile(file_name.empty() || file_name[0] == L'/'
                                              ? file_name
                                              : TesselSkinFolder() + file_name);
  if (!image) return false;
  image_ = std::move(image);
  corners_ = corners;
  Redraw();
  return true;
}

bool MShadow::SetImage(int resource_id, const MRect& corners) {
  static const int kProgramModule = 0;
  auto image = MRender::LoadImageFromIDResource(
      resource_id, L"PNG", Manager::GetInstance() ? Manager::GetInstance() : &kProgramModule);
  if (!image) return false;
  image_ = std::move(image);
  corners_ = corners;
  Redraw();
  return true;
}

void MShadow::Show(bool show) {
  shown_ = show;
  if (hwnd_ == nullptr) return;
  Follow();
}

void MShadow::Follow() {
  auto& ws = WindowSystem::Get();
  if (hwnd_ == nullptr || !ws.IsWindow(hwnd_)) return;
  const bool visible = shown_ && ws.IsWindowVisible(owner_) && !ws.IsIconic(owner_);
  if (visible) {
    ws.SetWindowPos(hwnd_, ShadowRect(), SWP_NOACTIVATE | SWP_NOZORDER);
    ws.InvalidateRect(hwnd_, nullptr, true);
    ws.ShowWindow(hwnd_, SW_SHOWNA);
  } else {
    ws.ShowWindow(hwnd_, SW_HIDE);
  }
}

void MShadow::Redraw() {
  if (hwnd_ != nullptr && shown_) Follow();
}

void MShadow::DrawFrame(cairo_surface_t* frame, const MRect& client) {
  if (image_) {
    cairo_t* cr = cairo_create(frame);
    // The skin has transparent parts: start from a clear frame.
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    MRender::DrawImageFrameMID(cr, image_.get(), client, 0, 0, image_->Width(), image_->Height(),
                               corners_.left, corners_.top, corners_.right, corners_.bottom);
    cairo_destroy(cr);
  } else {
    // Premultiplied pixels of the shadow colour, alpha by the distance from the window.
    const int grow = std::max(0, size_) + sharpness_;
    const MRect inner = client.Inflate(-grow, -grow).Inflate(std::min(0, size_), std::min(0, size_));
    cairo_surface_flush(frame);
    uint8_t* data = cairo_image_surface_get_data(frame);
    const int stride = cairo_image_surface_get_stride(frame);
    for (int y = 0; y < client.Height(); ++y) {
      uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
      for (int x = 0; x < client.Width(); ++x) {
        const int dx = std::max({inner.left - x, 0, x - (inner.right - 1)});
        const int dy = std::max({inner.top - y, 0, y - (inner.bottom - 1)});
        const int d = static_cast<int>(std::lround(std::sqrt(double(dx * dx + dy * dy))));
        row[x] = PixelFromArgb(ArgbFromColorRef(colour_, static_cast<uint8_t>(AlphaAt(d))));
      }
    }
    cairo_surface_mark_dirty(frame);
  }
}
