#pragma once
// The paint manager of one toolkit window: its top-level controls, painting of the client
// area off-screen and showing it (plain or with per-pixel alpha), input routing with hover,
// focus and capture, per-control window timers, the fast animation timer, the tooltip, the
// transient message and progress overlay and the caret.
#include <cairo.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tessel/core/colour.h"
#include "tessel/core/control_host.h"
#include "tessel/core/export.h"
#include "tessel/core/fast_timer.h"
#include "tessel/core/fonts.h"
#include "tessel/core/geometry.h"
#include "tessel/core/image.h"
#include "tessel/core/native_messages.h"
#include "tessel/core/window_timers.h"

class MControl;
class MDialog;
class MObject;
class MTooltipWnd;

// Background picture placement: its own size at the origin, or a nine-grid frame.
enum enumBackMode { BACK_MODE_NATURAL = 0, BACK_MODE_FRAME = 1 };

class TESSEL_API PaintManager : public RKTimer, public ControlHost {
 public:
  PaintManager();
  ~PaintManager() override;

  // ---- Life -------------------------------------------------------------------------------------
  // Nothing unless the window exists. owner: the object above the top-level controls (a dialog
  // or popup); dialog: the dialog itself when there is one.
  void Init(HWND hwnd, MObject* owner, MDialog* dialog = nullptr);
  // Stops every timer, destroys every control, frees images and fonts.
  void DestroyData();
  void OnDestroyMessage(HWND hwnd);
  int IsInitialised() const { return initialised_; }

  // ---- Controls -----------------------------------------------------------------------------------
  MControl* CreateControl(const std::wstring& class_name, unsigned id, const MRect& rect,
                          const std::wstring& text = L"", int visible = 1, int enabled = 1);
  MControl* CreateArea(const std::wstring& class_name, unsigned id, const MRect& rect,
                       const std::wstring& text = L"", int visible = 1, int enabled = 1);
  // Takes ownership of a control built by its constructor (kind 0 area list, 1 control list).
  MControl* AddControl(MControl* control, unsigned kind = kControlKindControl);
  MControl* GetControl(unsigned id) const;
  std::vector<MControl*> GetControls() const;
  std::vector<MControl*> GetAreas() const;
  // Unlinks and destroys a top-level control; false when it is not one.
  bool RemoveControl(MControl* control);
  void ClearControls();
  void ClearAreaControls();
  void ClearAllControls();
  MDialog* GetMDialog() const { return dialog_; }
  MObject* GetOwnerObject() const { return owner_; }
  // The object above the top-level controls, before Init (controls created early get it).
  void SetOwnerObject(MObject* owner) { owner_ = owner; }

  // ---- Painting -----------------------------------------------------------------------------------
  void Invalidate();
  void InvalidateRect(const MRect& rect, int erase) override;
  int OnControlUpdate(const MRect& rect, int redraw, MControl* control) override;
  int OnPaint();
  // Draws areas, then controls, clipped to the rectangle.
  void DrawControl(cairo_t* cr, const MRect& rect);
  void DrawBackImage(cairo_t* cr);
  // The control drawn into a new surface of the rectangle's size, tinted when the colour
  // carries alpha. The caller owns it.
  cairo_surface_t* GenerateBitmap(MControl* control, const MRect& rect, ARGB colour);
  cairo_surface_t* GetDropBitmap(MControl* control, const MRect& rect);
  HWND GetPaintWnd() const { return hwnd_; }
  MRect GetClientRect() const;
  MRect GetWindowRect() const;
  MSize GetClientSize() const;
  void SetBackColor(COLORREF back, COLORREF frame);
  COLORREF GetBackColor() const { return back_colour_; }
  void SetBackMode(int mode, int corner);
  int LoadBKImage(const std::wstring& file_name);
  int LoadBKImage(int resource_id, const std::wstring& resource_type);
  void SetLayeredWindow(int on);
  bool IsLayered() const override { return layered_ != 0; }
  void SetDefaultEnabledColor(COLORREF colour) { disabled_text_colour_ = colour; }
  unsigned GetDefaultEnabledColor() const override { return disabled_text_colour_; }
  void SetScrollResID(int vertical, int horizontal);
  int GetScrollVID() const override { return scroll_v_id_; }
  int GetScrollHID() const override { return scroll_h_id_; }
  // The last painted frame (client size), owned by the manager; null before the first paint.
  cairo_surface_t* GetFrame() const { return frame_; }
  unsigned GetPaintCount() const { return paints_; }

  // ---- Input and focus ----------------------------------------------------------------------------
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
  int PreTranslateMessage(const MSG* msg);
  int OnMouseMove(unsigned flags, MPoint point);
  int OnMouseLeave();
  int OnMouseHover(unsigned flags, MPoint point);
  int OnMouseWheel(unsigned flags, int delta, MPoint screen_point);
  int OnLButtonDown(unsigned flags, MPoint point);
  int OnLButtonUp(unsigned flags, MPoint point);
  int OnLButtonDblClk(unsigned flags, MPoint point);
  int OnRButtonDown(unsigned flags, MPoint point);
  int OnRButtonUp(unsigned flags, MPoint point);
  int OnRButtonDblClk(unsigned flags, MPoint point);
  int OnKeyDown(int key);
  int OnKeyUp(int key);
  int OnNcActivate(int active);
  int OnGetMinMaxInfo(MSize* min_track, MSize* max_track);
  int OnWindowPosChanged();
  MControl* GetFocusControl() const override { return focus_; }
  void SetFocusControl(MControl* control) override;
  MControl* GetHoverControl() const { return hover_; }
  MControl* GetNextFocusableControl();
  MControl* GetPrevFocusableControl();
  void SetCapture() override;
  void ReleaseCapture() override;
  int IsCaptured() const { return captured_; }
  void EnableWndDrag(int on) { window_drag_ = on; }
  int IsWndDragEnabled() const { return window_drag_; }
  void SetCaptionRect(const MRect& rect) { caption_rect_ = rect; }
  MRect GetCaptionRect() const { return caption_rect_; }
  void SetWindowMaxSize(MSize size) { max_size_ = size; }
  void SetWindowMixSize(MSize size) { min_size_ = size; }
  MSize GetWindowMinSize() const { return min_size_; }
  MSize GetWindowManSize() const { return max_size_; }
  int IsActive() const { return active_; }
  void SetCursor(CursorKind kind) override;
  // Both deliver to the window at once, on this thread.
  LRESULT SendMessageW(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT PostMessageW(UINT message, WPARAM wParam, LPARAM lParam);

  // ---- Timers -------------------------------------------------------------------------------------
  int SetTimer(MControl* control, unsigned key, unsigned milliseconds) override;
  void KillTimer(MControl* control, unsigned key) override;
  void KillTimer(MControl* control) override;
  void ClearTimers();
  unsigned SetMTimer(unsigned milliseconds);
  void KillMTimer(unsigned id);
  void KillMTimer();
  void AddMTimer(MControl* control) override;
  void DeleteFSTimer(MControl* control) override;
  void OnTimer(uintptr_t id);
  void OnMTimer(unsigned id) override;
  using RKTimer::OnMTimer;
  unsigned GetFastTimerId() const { return fast_timer_id_; }
  size_t GetWindowTimerCount() const { return timers_.Size(); }

  // ---- Overlays -----------------------------------------------------------------------------------
  void SetTooltip(const std::wstring& text, const MRect& rect) override;
  void ClearTooltip() override;
  void SetTooltipCtrlID(unsigned id) override { tooltip_owner_ = id; }
  unsigned GetTooltipCtrlID() const override { return tooltip_owner_; }
  HWND GetToolTipWnd() const;
  const std::wstring& GetTooltipText() const { return tooltip_text_; }
  bool IsTooltipActive() const { return tooltip_active_; }
  void SetMessage(const std::wstring& text, const MRect& rect, int level);
  void SetProgress(int target, const std::wstring& text, const MRect& rect, int level);
  int GetMessageAlpha() const { return message_alpha_; }
  int GetProgressShown() const { return progress_shown_; }
  int GetProgressTarget() const { return progress_target_; }
  MRect GetMessageRect() const { return message_rect_; }
  const std::wstring& GetMessageText() const { return message_text_; }
  void CreateCaret(int width, int height);
  void SetCaretPos(MControl* owner, int x, int y);
  void ShowCaret(int on);
  MControl* GetCurrentCaretObject() const { return caret_owner_; }
  MRect GetCaretRect() const { return caret_rect_; }
  int IsCaretVisible() const { return caret_shown_ && caret_phase_; }
  void DrawCaret(cairo_t* cr, const MRect& rect);

  // ---- Resources ----------------------------------------------------------------------------------
  ImgResInfo* AddImgResInfo(const std::wstring& name, int count) override;
  ImgResInfo* AddImgResInfo(int id, const std::wstring& type, int count, bool from_program) override;
  MFontStore& GetFontStore() { return fonts_; }
  void OnControlDestroyed(MControl* control) override;

 private:
  MControl* Attach(MControl* control, unsigned kind);
  void DrawMessageOverlay(cairo_t* cr);
  void EndPressOnDeactivate();
  bool HasWindow() const;
  void ForgetControl(MControl* control);

  HWND hwnd_ = nullptr;
  MObject* owner_ = nullptr;
  MDialog* dialog_ = nullptr;
  int initialised_ = 0;

  mutable std::recursive_mutex area_lock_;
  mutable std::recursive_mutex control_lock_;
  mutable std::mutex fast_lock_;
  std::vector<MControl*> areas_;
  std::vector<MControl*> controls_;
  std::vector<MControl*> fast_controls_;
  WindowTimers timers_;

  MControl* hover_ = nullptr;
  MControl* focus_ = nullptr;
  int captured_ = 0;
  int pressing_ = 0;
  int tracking_ = 0;
  int left_dblclk_ = 0;
  int right_dblclk_ = 0;
  int active_ = 0;
  int drag_armed_ = 0;
  cairo_surface_t* drag_bitmap_ = nullptr;

  COLORREF back_colour_ = 0x130D09;
  COLORREF frame_colour_ = 0xFDA810;
  std::unique_ptr<MImage> back_image_;
  int back_mode_ = 0;
  int back_corner_ = 4;
  int layered_ = 0;
  int window_drag_ = 1;
  MRect caption_rect_;
  MSize min_size_;
  MSize max_size_;
  COLORREF disabled_text_colour_ = 0x808080;
  int scroll_v_id_ = 102;
  int scroll_h_id_ = 101;

  std::unique_ptr<MTooltipWnd> tooltip_wnd_;
  unsigned tooltip_owner_ = 0;
  std::wstring tooltip_text_;
  MRect tooltip_rect_;
  bool tooltip_active_ = false;

  std::wstring message_text_;
  MRect message_rect_;
  int message_level_ = 0;
  int message_alpha_ = 0;
  int progress_shown_ = 0;
  int progress_target_ = 0;

  MRect caret_rect_;
  MControl* caret_owner_ = nullptr;
  int caret_shown_ = 0;
  int caret_phase_ = 0;

  unsigned fast_timer_id_ = 0;
  MImageCache images_;
  MFontStore fonts_;
  cairo_surface_t* frame_ = nullptr;
  unsigned paints_ = 0;
};
