#pragma once
// The windowless control: a rectangle with state flags, two owned child lists (decorations
// drawn below the control, interactive children drawn above it), input routing down the
// tree, notifications and redraw requests up the tree, and a per-control drawing cache.
#include <cairo.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "tessel/core/control_host.h"
#include "tessel/core/export.h"
#include "tessel/core/geometry.h"
#include "tessel/core/messages.h"
#include "tessel/core/mobject.h"

// Places a part inside the span from a to b. mode 0: a + value (b - value with the
// far-end flag); mode 1: the middle plus value (minus value with the flag); mode 2:
// value percent of the span, not past b; any other mode 0.
struct FS_POSITION_ITEM {
  int mode = 0;
  int from_far_end = 0;
  float value = 0.0f;
};
TESSEL_API int PositionItem2Value(const FS_POSITION_ITEM& item, int a, int b);

// Cursor names accepted by MControl::SetCursorEx (compared by content).
TESSEL_API extern const wchar_t* const kCursorArrow;  // "arrow"
TESSEL_API extern const wchar_t* const kCursorWait;   // "wait"
TESSEL_API extern const wchar_t* const kCursorCross;  // "cross"
TESSEL_API extern const wchar_t* const kCursorSizeWE; // "sizewe"
TESSEL_API extern const wchar_t* const kCursorSizeNS; // "sizens"
TESSEL_API extern const wchar_t* const kCursorHand;   // "hand"
TESSEL_API extern const wchar_t* const kCursorHelp;   // "help"

// Held by every routing entry (mouse, key, scroll, timer, window message, drawing). A
// control removed while any such call is running on any thread is unlinked at once but
// destroyed only when the calls have unwound, so a control may remove itself (or its
// container may remove it) from inside its own notification. The paint manager wraps its
// own routing in one too.
class TESSEL_API ControlDispatchScope {
 public:
  ControlDispatchScope();
  ~ControlDispatchScope();
  ControlDispatchScope(const ControlDispatchScope&) = delete;
  ControlDispatchScope& operator=(const ControlDispatchScope&) = delete;
  // Destroys the removed controls this thread left behind, when no routing is running.
  static void FlushDeferred();
  // Number of removed controls still waiting to be destroyed (all threads).
  static size_t PendingCount();
};

class TESSEL_API MControl : public MObject {
 public:
  MControl(MObject* parent, unsigned id, const MRect& rect, int visible = 1, int enabled = 1,
           int response = 1);
  ~MControl() override;

  // MObject: "FSControl" unless a class overrides it.
  const wchar_t* GetClassNameW() const override;

  // ---- Virtual operations ---------------------------------------------------------------
  // Attaches the control (and every child without that manager) to a window.
  virtual void InitControl(ControlHost* manager);
  // True only when visible and the point lies inside the rectangle.
  virtual int PtInRect(MPoint point) const;
  // Draws the control itself onto cr (clipped by the caller); paint is the area being painted.
  virtual void DrawControl(cairo_t* cr, const MRect& paint) = 0;
  // Draws every visible control-list child in list order (later children on top).
  virtual void DrawSubControls(cairo_t* cr, const MRect& paint);
  virtual int IsDraw(MPoint point);
  // Stores the cache-valid flag and passes it to every child meeting this rectangle;
  // SetUpdate(0, ...) forces the cached pictures to be rebuilt.
  virtual void SetUpdate(int flag, uint32_t colour);
  virtual void SetControlFocus(int focus);
  virtual void InitUI(const MRect& rect);
  // Turns a point in the parent's coordinates into this control's content coordinates
  // (a scrolled panel adds its scroll offset). Answers 1 when the point changed.
  virtual int OnMousePointChange(MPoint& point);
  virtual int OnCheckMouseResponse(unsigned flags, MPoint point);
  virtual LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam);
  virtual void SetControlRect(const MRect& rect);
  virtual void SetControlVisible(int visible);
  virtual void SetControlWndVisible(int visible);
  virtual void SetControlEnabled(int enabled);
  virtual int OnControlTimer();
  // Picture for a drag; null = none. The caller owns a returned surface.
  virtual cairo_surface_t* GetControlDropBitmap();
  virtual int OnControlMouseMove(unsigned flags, MPoint point);
  virtual int OnControlSetCursor(unsigned flags, MPoint point);
  virtual int OnControlLButtonDown(unsigned flags, MPoint point);
  virtual int OnControlLButtonUp(unsigned flags, MPoint point);
  virtual int OnControlLButtonDblClk(unsigned flags, MPoint point);
  virtual int OnControlScroll(int type, unsigned direction, MPoint point);
  virtual int OnControlRButtonDown(unsigned flags, MPoint point);
  virtual int OnControlRButtonUp(unsigned flags, MPoint point);
  virtual int OnControlRButtonDblClk(unsigned flags, MPoint point);
  // 1 when the key is this control's hot key with exactly its modifiers.
  virtual int OnControlKeyDown(int key, int repeat, int modifiers);
  virtual void OnPositionChange();
  // Invalidates the control's own rectangle in the window (the argument is ignored).
  virtual void InvalidateRect(const MRect& rect, int erase);

  // ---- Routing, offered by the container above; 1 = consumed ------------------------------
  virtual int OnMouseMove(unsigned flags, MPoint point);
  virtual int OnLButtonDown(unsigned flags, MPoint point);
  virtual int OnLButtonUp(unsigned flags, MPoint point);
  virtual int OnLButtonDblClk(unsigned flags, MPoint point);
  virtual int OnRButtonDown(unsigned flags, MPoint point);
  virtual int OnRButtonUp(unsigned flags, MPoint point);
  virtual int OnRButtonDblClk(unsigned flags, MPoint point);
  virtual int OnScroll(int type, unsigned direction, MPoint point);
  virtual int OnKeyDown(int key, int repeat, int modifiers);
  virtual int OnKeyUp(int key, int repeat, int modifiers);
  virtual int OnTimer();
  // Draws area children meeting this control, the control, then its children.
  virtual void Draw(cairo_t* cr, const MRect& paint);

  // ---- Notifications and redraw requests ------------------------------------------------
  // The parent's OnBaseMessage with this control's id.
  LRESULT SendMessageW(unsigned code, WPARAM wParam, LPARAM lParam);
  // Asks the parent to repaint the control's rectangle (when visible or forced).
  void UpdateControl(int redraw, int force = 0);
  void UpdateControl(const MRect& rect, int redraw, int force = 0);
  // Animating = !still, then a request with redraw 0.
  void UpdateAControl(int still, int force = 0);
  void SetVisible(int visible);
  void SetVisible(int visible, int notify);
  void SetEnabled(int enabled);
  void SetRect(const MRect& rect);
  void SetRect(int x, int y, int width, int height);

  // ---- Tree -----------------------------------------------------------------------------
  MRect GetRect() const { return rect_; }
  unsigned GetControlID() const { return id_; }
  MObject* GetParantObject() const { return parent_; }
  void SetParent(MObject* parent) { parent_ = parent; }
  ControlHost* GetManager() const { return manager_; }
  // Stores the manager, then InitControl.
  void SetManager(ControlHost* manager);
  // Snapshots of the two lists.
  std::vector<MControl*> GetControls() const;
  std::vector<MControl*> GetAreas() const;
  // Takes ownership of a control built by its constructor: kind 0 appends it to the area
  // list, kind 1 to the control list; it gets this control's manager. Answers the control,
  // or null (and deletes nothing) for a null control or any other kind.
  MControl* AddControl(MControl* child, unsigned kind = kControlKindControl);
  // Depth first over the control list, then the area list; null when no control has the id.
  virtual MControl* GetControl(unsigned id) const;
  // Takes the focus away from the child when it holds it, unlinks it and destroys it.
  // Answers false when the control is not a child of this one.
  bool RemoveControl(MControl* child);
  // Destroys every area child, then every control child.
  void RemoveAllControl();
  // Destroys a control now or, while routing runs on any thread, once it has unwound. For
  // owners of controls outside any list (the paint manager's top-level lists); unlink the
  // control and tell the host (OnControlDestroyed) first.
  static void DestroyControl(MControl* control);
  // The container whose list owns this control (null for top-level controls).
  MControl* GetOwnerControl() const { return owner_.load(); }

  // ---- State ----------------------------------------------------------------------------
  int IsVisible() const { return visible_; }
  int IsEnabled() const { return enabled_; }
  // Walks up the parents: "MDialog" answers 1, an invisible control 0, no parent 0.
  int IsParentVisible() const;
  void SetTabStop(int on) { tab_stop_ = on; }
  int IsTabStop() const { return tab_stop_; }
  void SetRresponse(int on) { response_ = on; }
  int GetRresponse() const { return response_; }
  void SetDragDrop(int on) { drag_drop_ = on; }
  int IsDragDrop() const { return drag_drop_; }
  void SetDblClk(int on) { double_click_ = on; }
  int GetDblClk() const { return double_click_; }
  int IsFocused() const { return focused_; }
  // This is the manager's focus control.
  int IsFocusControl() const;
  int IsPressedInside() const { return pressed_inside_; }
  int IsKeyDown() const { return key_down_; }
  void SetKeyDown(int down) { key_down_ = down; }
  void SetHotKey(int key, int modifiers) { hot_key_ = key; hot_key_modifiers_ = modifiers; }
  int GetHotKey() const { return hot_key_; }
  int GetHotKeyModifiers() const { return hot_key_modifiers_; }
  int GetUpdate() const { return cache_valid_; }
  int IsAnimating() const { return animating_; }
  void SetRunTimer(int on) { run_timer_ = on; }
  int IsRunTimer() const { return run_timer_; }
  // Registers the control with its manager's fast timer.
  void AddMTimer();
  int UseImageECM() const { return image_ecm_; }
  void SetImageECM(int on) { image_ecm_ = on; }
  MControl* GetActiveChild() const { return active_child_; }
  void SetHoverTracking(int on) { hover_tracking_ = on; }
  int IsHoverTracking() const { return hover_tracking_; }
  int IsPointerOutside() const { return pointer_outside_; }
  void SetNotifyDblClk(int on) { notify_dblclk_ = on; }
  int GetNotifyDblClk() const { return notify_dblclk_; }
  void SetNotifyKeys(int on) { notify_keys_ = on; }
  int GetNotifyKeys() const { return notify_keys_; }

  // Tooltip text; the two-argument form shows it at once and makes this control its owner.
  void SetTooltip(const std::wstring& text);
  void SetTooltip(const std::wstring& text, const MRect& rect);
  void ClearTooltip();
  const std::wstring& GetTooltip() const { return tooltip_; }
  // One of the kCursor* names; any other name leaves the cursor unchanged.
  void SetCursorEx(const wchar_t* name);
  void SetCursor(CursorKind kind) { cursor_ = kind; has_cursor_ = true; }
  void ClearCursor() { has_cursor_ = false; }
  bool HasCursor() const { return has_cursor_; }
  CursorKind GetCursorKind() const { return cursor_; }
  // The control's drop picture (GetControlDropBitmap).
  cairo_surface_t* GetDropBitmap() { return GetControlDropBitmap(); }

  // ---- Drawing cache --------------------------------------------------------------------
  // Prepares the cache for a rebuild: a new ARGB32 surface when the size changed (else the
  // old one cleared), cache valid set to 1. Answers the context to draw the picture with,
  // in control coordinates (0, 0 is the control's top-left corner); null for an empty size.
  cairo_t* UpdateMemDC(cairo_t* target, int width, int height);
  // The same for the second, animation cache.
  cairo_t* UpdateAnimateDC(cairo_t* target, int width, int height);
  cairo_surface_t* GetCacheSurface() const { return cache_surface_; }
  cairo_surface_t* GetAnimateSurface() const { return animate_surface_; }
  // How many times the cache has been rebuilt.
  unsigned GetCacheBuildCount() const { return cache_builds_; }

 protected:
  // The usual DrawControl: when the cache is invalid, rebuild it with BuildCache, then copy
  // it to the target at the control's rectangle.
  void DrawThroughCache(cairo_t* cr, const MRect& paint);
  // Draws the control's picture into the cache context (control coordinates). target is the
  // surface being painted, for controls that blend with what lies below them.
  virtual void BuildCache(cairo_t* cache, cairo_t* target) {}
  // Copies the cache (or the animation cache) onto cr at the control's rectangle.
  void PaintCache(cairo_t* cr) const;
  void PaintAnimateCache(cairo_t* cr) const;
  // The point a child sees: scroll bars (ids 1 and 2) the unchanged one.
  static MPoint PointForChild(const MControl* child, MPoint unchanged, MPoint changed);
  // Forgets the child as active child and tells the manager about it and its subtree.
  void ForgetChild(MControl* child);
  // Empties both child lists (areas first) and answers what they held.
  std::vector<MControl*> TakeChildren();
  bool IsOwnChild(const MControl* child) const { return child && child->owner_ == this; }

  MObject* parent_ = nullptr;
  ControlHost* manager_ = nullptr;
  unsigned id_ = 0;
  MRect rect_;
  int visible_ = 1;
  int enabled_ = 1;
  int drag_drop_ = 0;
  int response_ = 1;
  int tab_stop_ = 0;
  int reserved1_ = 0;
  int double_click_ = 0;
  int pressed_inside_ = 0;
  int key_down_ = 0;
  int reserved2_ = 0;
  int focused_ = 0;
  int hot_key_ = 0;
  int hot_key_modifiers_ = 0;
  int cache_valid_ = 0;
  int animating_ = 0;
  int run_timer_ = 0;
  int reserved3_ = 0;
  int image_ecm_ = 0;
  std::vector<MControl*> areas_;
  std::vector<MControl*> controls_;
  mutable std::recursive_mutex area_lock_;
  mutable std::recursive_mutex control_lock_;
  MControl* active_child_ = nullptr;
  int cache_width_ = 0;
  int cache_height_ = 0;
  cairo_surface_t* cache_surface_ = nullptr;
  cairo_t* cache_cr_ = nullptr;
  int animate_width_ = 0;
  int animate_height_ = 0;
  cairo_surface_t* animate_surface_ = nullptr;
  cairo_t* animate_cr_ = nullptr;
  std::wstring tooltip_;
  int reserved4_ = 0;
  CursorKind cursor_ = CursorKind::kArrow;
  bool has_cursor_ = false;
  int hover_tracking_ = 0;
  int reserved5_[2] = {0, 0};
  int notify_dblclk_ = 0;
  int notify_keys_ = 0;
  int pointer_outside_ = 1;
  int reserved6_ = 1;

 private:
  void FreeCaches();
  int RouteButtonDown(unsigned flags, MPoint point, bool left);
  int RouteButtonUp(unsigned flags, MPoint point, bool left);
  int RouteDblClk(unsigned flags, MPoint point, bool left);

  std::atomic<MControl*> owner_{nullptr};  // container whose list holds this control
  unsigned cache_builds_ = 0;
};
