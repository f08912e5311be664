#pragma once
// A container with a virtual content size and two scroll bars (ids 1 and 2); creates its
// children by class name and passes every notification of its children up unchanged.
#include <string>
#include <string_view>

#include "tessel/core/export.h"
#include "tessel/core/mcontrol_font.h"
#include "tessel/core/mscroll.h"

class TESSEL_API MPanel : public MControlFont {
 public:
  // Panel-like classes take visible only.
  MPanel(MObject* parent, unsigned id, const MRect& rect, int visible = 1);
  ~MPanel() override;

  // ---- Creation by class name (the panel column of the class table) ------------------------
  // kind 0 = area list, 1 = control list, any other kind: created but unlisted and unowned.
  MControl* CreateControl(unsigned kind, MObject* parent, std::wstring_view class_name,
                          unsigned id, const MRect& rect, const std::wstring& text, int visible,
                          int enabled);
  // Kind 1 with the panel as parent.
  MControl* CreateControl(std::wstring_view class_name, unsigned id, const MRect& rect,
                          const std::wstring& text = L"", int visible = 1, int enabled = 1);
  // Kind 0 with the panel as parent.
  MControl* CreateArea(std::wstring_view class_name, unsigned id, const MRect& rect,
                       const std::wstring& text = L"", int visible = 1, int enabled = 1);
  virtual int OnControlKeyUp(int key, int repeat, int modifiers);

  // ---- Overrides ----------------------------------------------------------------------------
  LRESULT OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
  int OnControlUpdate(const MRect& rect, int redraw, MControl* control) override;
  void InitControl(ControlHost* manager) override;
  void DrawControl(cairo_t* cr, const MRect& paint) override;
  void DrawSubControls(cairo_t* cr, const MRect& paint) override;
  int OnMousePointChange(MPoint& point) override;
  int OnControlScroll(int type, unsigned direction, MPoint point) override;
  void SetControlRect(const MRect& rect) override;
  void SetControlEnabled(int enabled) override;
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  int OnKeyUp(int key, int repeat, int modifiers) override;

  // ---- Scrolling ----------------------------------------------------------------------------
  void SetVirtualHeight(int height);
  void SetVirtualWidth(int width);
  int GetVirtualHeight() const { return virtual_height_; }
  int GetVirtualWidth() const { return virtual_width_; }
  void SetEnableScroll(int on);
  int GetEnableScroll() const { return enable_scroll_; }
  CScrollVertical* GetScrollVertical() const { return vscroll_; }
  CScrollHorizontal* GetScrollHorizontal() const { return hscroll_; }
  int IsInitialised() const { return initialised_; }
  // The content is taller (wider) than the panel.
  bool IsContentTaller() const { return virtual_height_ > rect_.Height(); }
  bool IsContentWider() const { return virtual_width_ > rect_.Width(); }
  // The current scroll offset of the content, in pixels.
  MPoint GetScrollOffset() const;

 protected:
  // Places the scroll bars along the right and bottom edges and shows each one only while
  // scrolling is on and the content exceeds the panel in its direction.
  void LayoutScrollBars();
  // For derived panels that draw a scrolled content: the children (scroll bars excepted)
  // moved by the scroll offset and clipped to the panel, then the scroll bars.
  void DrawScrolledChildren(cairo_t* cr, const MRect& paint);

  int reserved7_ = 0;
  int initialised_ = 0;
  int enable_scroll_ = 1;
  CScrollVertical* vscroll_ = nullptr;
  CScrollHorizontal* hscroll_ = nullptr;
  int scroll_thickness_ = 7;
  int virtual_height_ = 0;
  int virtual_width_ = 0;
  int reserved8_[2] = {0, 0};
};
