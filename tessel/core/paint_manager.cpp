// Paint manager: life, control lists and painting.
#include "tessel/core/paint_manager.h"

#include <sys/stat.h>

#include <algorithm>

#include "tessel/core/backend/window_system.h"
#include "tessel/core/control_factory.h"
#include "tessel/core/manager.h"
#include "tessel/core/mcontrol.h"
#include "tessel/core/render.h"
#include "tessel/core/text_utf.h"
#include "tessel/core/tooltip_wnd.h"

PaintManager::PaintManager() = default;

PaintManager::~PaintManager() {
  KillMTimer();
  DestroyData();
  ClearAllControls();  // controls added before the window existed
  tooltip_wnd_.reset();
  if (frame_) cairo_surface_destroy(frame_);
  if (drag_bitmap_) cairo_surface_destroy(drag_bitmap_);
}

bool PaintManager::HasWindow() const { return hwnd_ != nullptr && WindowSystem::Get().IsWindow(hwnd_); }

void PaintManager::Init(HWND hwnd, MObject* owner, MDialog* dialog) {
  if (!WindowSystem::Get().IsWindow(hwnd)) return;
  hwnd_ = hwnd;
  owner_ = owner;
  dialog_ = dialog;
  const std::wstring font = TesselProgramFolder() + L"font/SourceHanSansCN-Regular.otf";
  struct stat st;
  if (stat(Utf8FromWide(font).c_str(), &st) == 0 && S_ISREG(st.st_mode))
    fonts_.AddTempFont(L"SourceHanSansCN-Regular", font);
  initialised_ = 1;
  scroll_v_id_ = 102;
  scroll_h_id_ = 101;
  fonts_.AddGDITempFont(kTesselFontResourceId);
  // Controls created before the window learn it now.
  for (MControl* c : GetAreas()) c->SetManager(this);
  for (MControl* c : GetControls()) c->SetManager(this);
}

void PaintManager::DestroyData() {
  if (!initialised_) return;
  back_image_.reset();
  KillMTimer();
  ClearTimers();
  if (HasWindow()) {
    auto& ws = WindowSystem::Get();
    for (uintptr_t id : {WindowTimers::kCaretBlink, WindowTimers::kMessageHold,
                         WindowTimers::kMessageFade, WindowTimers::kProgress})
      ws.KillTimer(hwnd_, id);
    if (captured_) ws.ReleaseCapture();
  }
  captured_ = pressing_ = 0;
  ClearAllControls();
  {
    std::lock_guard guard(fast_lock_);
    fast_controls_.clear();
  }
  images_.ClearImgResInfo();
  fonts_.ClearTempFont();
  hover_ = focus_ = caret_owner_ = nullptr;
  tooltip_wnd_.reset();
  initialised_ = 0;
}

void PaintManager::OnDestroyMessage(HWND hwnd) {
  if (hwnd == hwnd_) DestroyData();
}

// ---- Controls ---------------------------------------------------------------------------------

MControl* PaintManager::Attach(MControl* control, unsigned kind) {
  if (control == nullptr) return nullptr;
  if (kind == kControlKindArea) {
    std::lock_guard guard(area_lock_);
    areas_.push_back(control);
  } else {
    std::lock_guard guard(control_lock_);
    controls_.push_back(control);
  }
  control->SetManager(this);
  return control;
}

MControl* PaintManager::CreateControl(const std::wstring& class_name, unsigned id,
                                      const MRect& rect, const std::wstring& text, int visible,
                                      int enabled) {
  return Attach(ControlFactory::Create(ControlFactory::kTopLevel, class_name, owner_, id, rect,
                                       text, visible, enabled),
                kControlKindControl);
}

MControl* PaintManager::CreateArea(const std::wstring& class_name, unsigned id, const MRect& rect,
                                   const std::wstring& text, int visible, int enabled) {
  return Attach(ControlFactory::Create(ControlFactory::kTopLevel, class_name, owner_, id, rect,
                                       text, visible, enabled),
                kControlKindArea);
}

MControl* PaintManager::AddControl(MControl* control, unsigned kind) {
  if (control == nullptr || (kind != kControlKindArea && kind != kControlKindControl)) return nullptr;
  if (control->GetParantObject() == nullptr) control->SetParent(owner_);
  return Attach(control, kind);
}

MControl* PaintManager::GetControl(unsigned id) const {
  for (MControl* c : GetControls()) {
    if (c->GetControlID() == id) return c;
    if (MControl* found = c->GetControl(id)) return found;
  }
  for (MControl* c : GetAreas()) {
    if (c->GetControlID() == id) return c;
    if (MControl* found = c->GetControl(id)) return found;
  }
  return nullptr;
}

std::vector<MControl*> PaintManager::GetControls() const {
  std::lock_guard guard(control_lock_);
  return controls_;
}

std::vector<MControl*> PaintManager::GetAreas() const {
  std::lock_guard guard(area_lock_);
  return areas_;
}

bool PaintManager::RemoveControl(MControl* control) {
  if (control == nullptr) return false;
  bool found = false;
  {
    std::lock_guard guard(control_lock_);
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it != controls_.end()) {
      controls_.erase(it);
      found = true;
    }
  }
  if (!found) {
    std::lock_guard guard(area_lock_);
    auto it = std::find(areas_.begin(), areas_.end(), control);
    if (it != areas_.end()) {
      areas_.erase(it);
      found = true;
    }
  }
  if (!found) return false;
  const MRect rect = control->GetRect();
  OnControlDestroyed(control);
  MControl::DestroyControl(control);
  if (initialised_) InvalidateRect(rect, 0);
  return true;
}

void PaintManager::ClearControls() {
  std::vector<MControl*> doomed;
  {
    std::lock_guard guard(control_lock_);
    doomed.swap(controls_);
  }
  for (MControl* c : doomed) {
    OnControlDestroyed(c);
    MControl::DestroyControl(c);
  }
}

void PaintManager::ClearAreaControls() {
  std::vector<MControl*> doomed;
  {
    std::lock_guard guard(area_lock_);
    doomed.swap(areas_);
  }
  for (MControl* c : doomed) {
    OnControlDestroyed(c);
    MControl::DestroyControl(c);
  }
}

void PaintManager::ClearAllControls() {
  ClearAreaControls();
  ClearControls();
}

// Forgets every pointer to a control that leaves the window (itself or a descendant).
void PaintManager::OnControlDestroyed(MControl* control) {
  if (control == nullptr) return;
  if (hover_ == control) hover_ = nullptr;
  if (focus_ == control) focus_ = nullptr;
  if (caret_owner_ == control) caret_owner_ = nullptr;
  if (tooltip_owner_ != 0 && tooltip_owner_ == control->GetControlID()) ClearTooltip();
  timers_.Kill(control);
  DeleteFSTimer(control);
  // Its descendants leave with it.
  for (MControl* c : control->GetAreas()) OnControlDestroyed(c);
  for (MControl* c : control->GetControls()) OnControlDestroyed(c);
}

ImgResInfo* PaintManager::AddImgResInfo(const std::wstring& name, int count) {
  return images_.AddImgResInfo(name, count);
}

ImgResInfo* PaintManager::AddImgResInfo(int id, const std::wstring& type, int count,
                                        bool from_program) {
  return images_.AddImgResInfo(id, type, count, from_program);
}

// ---- Painting -----------------------------------------------------------------------------------

MRect PaintManager::GetClientRect() const {
  MRect r;
  WindowSystem::Get().GetClientRect(hwnd_, &r);
  return r;
}

MRect PaintManager::GetWindowRect() const {
  MRect r;
  WindowSystem::Get().GetWindowRect(hwnd_, &r);
  return r;
}

MSize PaintManager::GetClientSize() const { return GetClientRect().Size(); }

void PaintManager::Invalidate() {
  if (HasWindow()) WindowSystem::Get().InvalidateRect(hwnd_, nullptr, false);
}

void PaintManager::InvalidateRect(const MRect& rect, int erase) {
  if (!HasWindow()) return;
  if (layered_) WindowSystem::Get().InvalidateRect(hwnd_, nullptr, true);
  else WindowSystem::Get().InvalidateRect(hwnd_, &rect, erase != 0);
}

int PaintManager::OnControlUpdate(const MRect& rect, int redraw, MControl* control) {
  if (control == nullptr) return 0;
  if (redraw) control->SetUpdate(0, back_colour_);
  if (!initialised_) return 0;
  // Controls drawn above the requester inside the rectangle must be drawn again too.
  MRect region = rect;
  bool after = false;
  auto walk = [&](const std::vector<MControl*>& list) {
    for (MControl* c : list) {
      if (c == control) {
        after = true;
        continue;
      }
      if (!after || !c->IsVisible() || !c->GetRect().Intersects(rect)) continue;
      c->SetUpdate(0, back_colour_);
      region = region.Union(c->GetRect());
    }
  };
  walk(GetAreas());
  walk(GetControls());
  if (layered_) WindowSystem::Get().InvalidateRect(hwnd_, nullptr, true);
  else WindowSystem::Get().InvalidateRect(hwnd_, &region, false);
  return 1;
}

void PaintManager::SetBackColor(COLORREF back, COLORREF frame) {
  back_colour_ = back;
  frame_colour_ = frame;
  Invalidate();
}

void PaintManager::SetBackMode(int mode, int corner) {
  back_mode_ = mode;
  back_corner_ = corner;
  Invalidate();
}

int PaintManager::LoadBKImage(const std::wstring& file_name) {
  std::wstring path = file_name;
  if (path.empty()) {
    back_image_.reset();
    return 0;
  }
  if (path[0] != L'/') path = TesselSkinFolder() + path;
  back_image_ = MRender::LoadImageFromFile(path);
  Invalidate();
  return back_image_ ? 1 : 0;
}

int PaintManager::LoadBKImage(int resource_id, const std::wstring& resource_type) {
  static const int kProgramModule = 0;
  back_image_ = MRender::LoadImageFromIDResource(
      resource_id, resource_type,
      Manager::GetInstance() ? Manager::GetInstance() : &kProgramModule);
  Invalidate();
  return back_image_ ? 1 : 0;
}

void PaintManager::SetLayeredWindow(int on) {
  layered_ = on ? 1 : 0;
  if (HasWindow()) {
    auto& ws = WindowSystem::Get();
    const uint32_t ex = ws.GetExStyle(hwnd_);
    ws.SetExStyle(hwnd_, on ? (ex | WS_EX_LAYERED) : (ex & ~WS_EX_LAYERED));
  }
  Invalidate();
}

void PaintManager::SetScrollResID(int vertical, int horizontal) {
  scroll_v_id_ = vertical;
  scroll_h_id_ = horizontal;
}

void PaintManager::DrawBackImage(cairo_t* cr) {
  if (!back_image_) return;
  const int w = back_image_->Width();
  const int h = back_image_->Height();
  if (back_mode_ == BACK_MODE_FRAME)
    MRender::DrawImageFrame(cr, back_image_.get(), GetClientRect(), 0, 0, w, h, back_corner_);
  else
    MRender::DrawImage(cr, back_image_.get(), MRect(0, 0, w, h));
}

void PaintManager::DrawControl(cairo_t* cr, const MRect& rect) {
  ControlDispatchScope scope;
  for (MControl* c : GetAreas())
    if (c->IsVisible()) c->Draw(cr, rect);
  for (MControl* c : GetControls())
    if (c->IsVisible()) c->Draw(cr, rect);
}

int PaintManager::OnPaint() {
  auto& ws = WindowSystem::Get();
  MRect update;
  if (!HasWindow() || !ws.BeginPaint(hwnd_, &update)) return 0;
  if (ws.IsIconic(hwnd_)) {
    ws.EndPaint(hwnd_);
    return 0;
  }
  const MRect client = GetClientRect();
  if (client.IsEmpty()) {
    ws.EndPaint(hwnd_);
    return 0;
  }
  // One back buffer of the client size, kept between paints.
  if (frame_ == nullptr || cairo_image_surface_get_width(frame_) != client.Width() ||
      cairo_image_surface_get_height(frame_) != client.Height()) {
    if (frame_) cairo_surface_destroy(frame_);
    frame_ = MRender::CreateARGB32Bitmap(client.Width(), client.Height());
    update = client;
  }
  if (layered_) update = client;
  cairo_t* cr = cairo_create(frame_);
  cairo_rectangle(cr, update.left, update.top, update.Width(), update.Height());
  cairo_clip(cr);
  if (layered_) {
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  }
  if (back_image_) {
    if (!layered_) {
      cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
      SetSourceColorRef(cr, back_colour_, 255);
      cairo_paint(cr);
      cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    }
    DrawBackImage(cr);
  } else {
    // Alpha 254 marks the painted background of a layered window; a plain window shows
    // the colours exactly.
    const uint8_t alpha = layered_ ? 254 : 255;
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    SetSourceColorRef(cr, frame_colour_, alpha);
    cairo_paint(cr);
    const MRect inner = client.Inflate(-1, -1);
    SetSourceColorRef(cr, back_colour_, alpha);
    cairo_rectangle(cr, inner.left, inner.top, inner.Width(), inner.Height());
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  }
  DrawControl(cr, update);
  DrawCaret(cr, update);
  DrawMessageOverlay(cr);
  cairo_destroy(cr);
  cairo_surface_flush(frame_);
  ws.Present(hwnd_, frame_, &update, 1, layered_ != 0);
  ws.EndPaint(hwnd_);
  ++paints_;
  return 1;
}

cairo_surface_t* PaintManager::GetDropBitmap(MControl* control, const MRect& rect) {
  return GenerateBitmap(control, rect, 0);
}

cairo_surface_t* PaintManager::GenerateBitmap(MControl* control, const MRect& rect, ARGB colour) {
  if (control == nullptr || rect.IsEmpty()) return nullptr;
  cairo_surface_t* s = MRender::CreateARGB32Bitmap(rect.Width(), rect.Height());
  cairo_t* cr = cairo_create(s);
  cairo_translate(cr, -rect.left, -rect.top);
  {
    ControlDispatchScope scope;
    control->Draw(cr, rect);
  }
  if (colour > 0xFFFFFF) {
    cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
    MRender::DrawColor(cr, rect, colour);
  }
  cairo_destroy(cr);
  cairo_surface_flush(s);
  return s;
}
