#pragma once
// What dialogs and popups share: a window that is also the object above its top-level
// controls, owns a paint manager, and turns its messages into virtual handlers before the
// paint manager's own handling. Handler answers are not used: a subclass sees every message
// first but cannot stop the toolkit's handling of it.
#include <string>
#include <vector>

#include "tessel/core/export.h"
#include "tessel/core/mobject.h"
#include "tessel/core/mwindow.h"
#include "tessel/core/paint_manager.h"

class TESSEL_API MSkinWindow : public MWindow, public MObject {
 public:
  MSkinWindow();
  ~MSkinWindow() override;

  PaintManager paint_manager;

  // ---- Window side --------------------------------------------------------------------------------
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual void InitUI(const MRect& client) {}
  virtual void UISize(const MRect& client) {}
  virtual LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) { return 0; }
  // Posts WM_CLOSE with the same values; answers 1.
  virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
  virtual int OnCreate(void* create_data);
  virtual int OnSize(WPARAM type, int width, int height);
  virtual int OnMouseMove(unsigned flags, MPoint point) { return 0; }
  virtual int OnMouseLeave() { return 0; }
  virtual int OnMouseHover(unsigned flags, MPoint point) { return 0; }
  virtual int OnMouseWheel(unsigned flags, int delta, MPoint screen) { return 0; }
  virtual int OnLButtonDown(unsigned flags, MPoint point) { return 0; }
  virtual int OnLButtonUp(unsigned flags, MPoint point) { return 0; }
  virtual int OnLButtonDblClk(unsigned flags, MPoint point) { return 0; }
  virtual int OnRButtonDown(unsigned flags, MPoint point) { return 0; }
  virtual int OnRButtonUp(unsigned flags, MPoint point) { return 0; }
  virtual int OnRButtonDblClk(unsigned flags, MPoint point) { return 0; }
  virtual int OnKeyDown(int key, int repeat, int flags) { return 0; }
  virtual int OnNcHitTest(MPoint point) { return 0; }
  virtual int OnGetMinMaxInfo(MINMAXINFO* info) { return 0; }
  virtual int OnNcCalcSize() { return 0; }
  virtual int OnNcActivate(int active) { return 0; }
  virtual int OnWindowPosChanging() { return 1; }
  virtual int OnWindowPosChanged() { return 1; }
  virtual int OnPaint() { return 0; }
  virtual void OnTimer(uintptr_t id) {}
  virtual int OnNcPaint() { return 0; }
  virtual int OnClose() { return 1; }
  virtual int OnDestroy() { return 0; }
  virtual int PostNcDestroy() { return 0; }

  // ---- Object side --------------------------------------------------------------------------------
  LRESULT OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
  int OnControlUpdate(const MRect& rect, int redraw, MControl* control) override;

  // ---- Controls and looks -------------------------------------------------------------------------
  MControl* CreateControl(const std::wstring& class_name, unsigned id, const MRect& rect,
                          const std::wstring& text = L"", int visible = 1, int enabled = 1);
  MControl* CreateArea(const std::wstring& class_name, unsigned id, const MRect& rect,
                       const std::wstring& text = L"", int visible = 1, int enabled = 1);
  MControl* GetControl(unsigned id) const { return paint_manager.GetControl(id); }
  std::vector<MControl*> GetControls() const { return paint_manager.GetControls(); }
  int LoadBKImage(const std::wstring& file_name) { return paint_manager.LoadBKImage(file_name); }
  int LoadBKImage(int id, const std::wstring& type) { return paint_manager.LoadBKImage(id, type); }
  void SetBackMode(enumBackMode mode, int corner) { paint_manager.SetBackMode(mode, corner); }
  void SetScrollResID(int vertical, int horizontal) { paint_manager.SetScrollResID(vertical, horizontal); }
  void SetLayeredWindow(int on) { paint_manager.SetLayeredWindow(on); }
  // A constant alpha other than 255 makes the window translucent; else a colour key other
  // than 0xFFFFFF is recorded as its transparent colour.
  void SetupBackTranslucent();
  void SetColorKey(COLORREF key) { colour_key_ = key; }
  void SetConstantAlpha(uint8_t alpha) { constant_alpha_ = alpha; }
  // The client rectangle as of the last size change.
  MRect GetStoredClientRect() const { return client_rect_; }

 protected:
  MRect client_rect_;
  COLORREF colour_key_ = 0xFFFFFF;
  uint8_t constant_alpha_ = 255;
};
