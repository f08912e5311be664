// Paint manager: window timers, the fast timer, tooltip, message and progress overlay, caret.
#include <algorithm>

#include "tessel/core/backend/window_system.h"
#include "tessel/core/manager.h"
#include "tessel/core/mcontrol.h"
#include "tessel/core/mcontrol_font.h"
#include "tessel/core/paint_manager.h"
#include "tessel/core/render.h"
#include "tessel/core/tooltip_wnd.h"

namespace {
constexpr unsigned kCaretBlinkMs = 530;
constexpr unsigned kMessageHoldMs = 3000;
constexpr unsigned kFadeStepMs = 50;
constexpr unsigned kProgressStepMs = 10;
}  // namespace

// ---- Window timers ----------------------------------------------------------------------------

int PaintManager::SetTimer(MControl* control, unsigned key, unsigned milliseconds) {
  if (!HasWindow()) return 0;
  return timers_.Set(hwnd_, control, key, milliseconds);
}

void PaintManager::KillTimer(MControl* control, unsigned key) { timers_.Kill(control, key); }

void PaintManager::KillTimer(MControl* control) { timers_.Kill(control); }

void PaintManager::ClearTimers() { timers_.Clear(); }

void PaintManager::OnTimer(uintptr_t id) {
  auto& ws = WindowSystem::Get();
  switch (id) {
    case WindowTimers::kCaretBlink:
      InvalidateRect(caret_rect_, 0);
      caret_phase_ ^= 1;
      return;
    case WindowTimers::kMessageHold:
      ws.KillTimer(hwnd_, WindowTimers::kMessageHold);
      ws.SetTimer(hwnd_, WindowTimers::kMessageFade, kFadeStepMs);
      return;
    case WindowTimers::kMessageFade:
      message_alpha_ -= 10;
      if (message_alpha_ < 20) {
        // Gone: the overlay is ready for the next message or progress run.
        message_alpha_ = 0;
        progress_shown_ = 0;
        progress_target_ = 0;
        ws.KillTimer(hwnd_, WindowTimers::kMessageFade);
        Invalidate();
      }
      InvalidateRect(message_rect_, 0);
      return;
    case WindowTimers::kProgress:
      progress_shown_ += 2;
      if (progress_shown_ >= progress_target_) {
        progress_shown_ = std::max(progress_target_, 0);
        ws.KillTimer(hwnd_, WindowTimers::kProgress);
      }
      InvalidateRect(message_rect_, 0);
      if (progress_shown_ >= 100) ws.SetTimer(hwnd_, WindowTimers::kMessageFade, kFadeStepMs);
      return;
    default:
      break;
  }
  ControlDispatchScope scope;
  const std::vector<MControl*> due = timers_.ControlsFor(hwnd_, id);
  for (MControl* c : due) {
    // A control killed or removed by an earlier tick of this round is skipped.
    const std::vector<MControl*> still = timers_.ControlsFor(hwnd_, id);
    if (std::find(still.begin(), still.end(), c) != still.end()) c->OnTimer();
  }
}

// ---- Fast timer -------------------------------------------------------------------------------

unsigned PaintManager::SetMTimer(unsigned milliseconds) {
  if (fast_timer_id_ != 0) RKTimer::KillTimer(fast_timer_id_);
  fast_timer_id_ = RKTimer::SetTimer(milliseconds);
  return fast_timer_id_;
}

void PaintManager::KillMTimer(unsigned id) {
  RKTimer::KillTimer(id);
  if (id == fast_timer_id_) fast_timer_id_ = 0;
}

void PaintManager::KillMTimer() {
  RKTimer::KillTimer();
  fast_timer_id_ = 0;
}

void PaintManager::AddMTimer(MControl* control) {
  if (control == nullptr) return;
  std::lock_guard guard(fast_lock_);
  fast_controls_.push_back(control);
}

void PaintManager::DeleteFSTimer(MControl* control) {
  std::lock_guard guard(fast_lock_);
  fast_controls_.erase(std::remove(fast_controls_.begin(), fast_controls_.end(), control),
                       fast_controls_.end());
}

// Runs on the timer thread: controls only change state and ask for a redraw.
void PaintManager::OnMTimer(unsigned id) {
  if (id != fast_timer_id_) return;
  ControlDispatchScope scope;
  std::lock_guard guard(fast_lock_);
  for (MControl* c : fast_controls_)
    if (c->IsRunTimer() && c->IsVisible() && c->IsParentVisible()) c->OnTimer();
}

// ---- Tooltip ----------------------------------------------------------------------------------

void PaintManager::SetTooltip(const std::wstring& text, const MRect& rect) {
  if (text.empty()) {
    tooltip_active_ = false;
    if (tooltip_wnd_) tooltip_wnd_->Hide();
    return;
  }
  tooltip_text_ = text;
  tooltip_rect_ = rect;
  tooltip_active_ = true;
  if (!HasWindow()) return;
  if (!tooltip_wnd_) tooltip_wnd_ = std::make_unique<MTooltipWnd>(hwnd_);
  MPoint at(rect.left, rect.bottom + 2);
  WindowSystem::Get().ClientToScreen(hwnd_, &at);
  tooltip_wnd_->Show(text, at);
}

void PaintManager::ClearTooltip() {
  tooltip_text_.clear();
  tooltip_active_ = false;
  tooltip_owner_ = 0;
  if (tooltip_wnd_) tooltip_wnd_->Hide();
}

HWND PaintManager::GetToolTipWnd() const { return tooltip_wnd_ ? tooltip_wnd_->GetHwnd() : nullptr; }

// ---- Message and progress overlay -------------------------------------------------------------

void PaintManager::SetMessage(const std::wstring& text, const MRect& rect, int level) {
  auto& ws = WindowSystem::Get();
  ws.KillTimer(hwnd_, WindowTimers::kMessageHold);
  ws.KillTimer(hwnd_, WindowTimers::kMessageFade);
  const MRect old = message_rect_;
  message_alpha_ = 255;
  message_text_ = text;
  message_rect_ = rect;
  message_level_ = level;
  progress_shown_ = 0;
  progress_target_ = 0;
  InvalidateRect(old.Union(rect), 0);
  ws.SetTimer(hwnd_, WindowTimers::kMessageHold, kMessageHoldMs);
}

void PaintManager::SetProgress(int target, const std::wstring& text, const MRect& rect, int level) {
  if (target == progress_target_) return;
  auto& ws = WindowSystem::Get();
  if (target < 5) ws.KillTimer(hwnd_, WindowTimers::kMessageFade);
  message_alpha_ = 255;
  message_text_ = text;
  message_level_ = level;
  progress_target_ = target;
  const MRect old = message_rect_;
  if (rect.IsEmpty()) {
    const MRect c = GetClientRect();
    message_rect_ = MRect(c.left, c.bottom - 60, c.right, c.bottom - 2);
  } else {
    message_rect_ = rect;
  }
  InvalidateRect(old.Union(message_rect_), 0);
  if (target - progress_shown_ < 6) {
    progress_shown_ = target;
    if (progress_shown_ > 99) ws.SetTimer(hwnd_, WindowTimers::kMessageFade, kFadeStepMs);
  } else {
    ws.SetTimer(hwnd_, WindowTimers::kProgress, kProgressStepMs);
  }
}

void PaintManager::DrawMessageOverlay(cairo_t* cr) {
  if (message_alpha_ <= 10 || message_text_.empty()) return;
  const uint8_t a = static_cast<uint8_t>(std::clamp(message_alpha_, 0, 255));
  const MRect r = message_rect_;
  MRender::DrawColor(cr, r, ArgbFromColorRef(0xE6E6E6, a));
  MRender::DrawColor(cr, r.Inflate(-2, -2), ArgbFromColorRef(0xFEFEFE, a));
  MFont font;
  font.face = Manager::GetFontName();
  font.size = 12;
  const ARGB text = ArgbFromColorRef(0x050505, a);
  const bool progress = progress_target_ > 0 || progress_shown_ > 0;
  if (!progress) {
    MRender::DrawTextW(cr, message_text_, MRect::FromXYWH(r.left + 5, r.top + 5, 190, 50), text,
                       font, MDT_LEFT | MDT_VCENTER | MDT_WORDBREAK);
    return;
  }
  MRender::DrawTextW(cr, message_text_, MRect::FromXYWH(r.left + 5, r.top + 5, r.Width() - 10, 30),
                     text, font, MDT_CENTER | MDT_VCENTER | MDT_SINGLELINE);
  MRender::DrawColor(cr, MRect(r.left + 10, r.bottom - 15, r.right - 20, r.bottom - 14), 0xC8C8C8C8);
  const int bar = progress_shown_ * (r.Width() - 20) / 100;
  MRender::DrawColor(cr, MRect::FromXYWH(r.left + 10, r.bottom - 16, bar, 3), 0xFEFFE100);
}

// ---- Caret ------------------------------------------------------------------------------------

void PaintManager::CreateCaret(int width, int height) {
  caret_rect_ = MRect::FromXYWH(caret_rect_.left, caret_rect_.top, width, height);
}

void PaintManager::SetCaretPos(MControl* owner, int x, int y) {
  const MRect old = caret_rect_;
  caret_rect_ = MRect::FromXYWH(x, y, old.Width(), old.Height());
  caret_owner_ = owner;
  InvalidateRect(old, 0);
  InvalidateRect(caret_rect_, 0);
}

void PaintManager::ShowCaret(int on) {
  auto& ws = WindowSystem::Get();
  if (on) {
    caret_shown_ = 1;
    caret_phase_ = 1;
    ws.SetTimer(hwnd_, WindowTimers::kCaretBlink, kCaretBlinkMs);
  } else {
    caret_shown_ = 0;
    ws.KillTimer(hwnd_, WindowTimers::kCaretBlink);
  }
  InvalidateRect(caret_rect_, 0);
}

void PaintManager::DrawCaret(cairo_t* cr, const MRect&) {
  if (caret_owner_ == nullptr || !caret_shown_) return;
  if (!caret_owner_->IsFocused() || WindowSystem::Get().GetFocus() != hwnd_) {
    WindowSystem::Get().KillTimer(hwnd_, WindowTimers::kCaretBlink);
    caret_shown_ = 0;
    return;
  }
  if (!caret_phase_) return;
  ARGB colour = 0xFF000000;
  if (auto* f = dynamic_cast<MControlFont*>(caret_owner_)) colour = f->GetTextColor();
  MRender::DrawColor(cr, caret_rect_, (colour & 0x00FFFFFF) | 0xFE000000);
}
