#pragma once
// What a control asks of the window it lives in: repaint, focus, capture, tooltips,
// cursors and timers. The paint manager of a window implements it; tests use a
// recording implementation. Every operation has a harmless default so that an
// implementation overrides only what it provides.
#include <string>

#include "tessel/core/export.h"
#include "tessel/core/geometry.h"

class MControl;
struct ImgResInfo;

// System cursors a control may ask for (SetCursorEx names them).
enum class CursorKind { kArrow, kWait, kCross, kSizeWE, kSizeNS, kHand, kHelp };

class TESSEL_API ControlHost {
 public:
  virtual ~ControlHost() = default;

  // Painting. InvalidateRect marks part of the window for repainting (the whole window,
  // with erase, when the window is layered).
  virtual void InvalidateRect(const MRect& rect, int erase) {}
  virtual bool IsLayered() const { return false; }
  // Redraw request of a top-level control (the dialog forwards its OnControlUpdate here).
  virtual int OnControlUpdate(const MRect& rect, int redraw, MControl* control) { return 0; }

  // Keyboard focus. SetFocusControl gives the old control SetControlFocus(0) and the new
  // one SetControlFocus(1); null takes the focus away.
  virtual MControl* GetFocusControl() const { return nullptr; }
  virtual void SetFocusControl(MControl* control) {}

  // Mouse capture of the window.
  virtual void SetCapture() {}
  virtual void ReleaseCapture() {}

  // Window tooltip: the text shown at a rectangle and the id of the control that owns it.
  virtual void SetTooltip(const std::wstring& text, const MRect& rect) {}
  virtual void ClearTooltip() {}
  virtual void SetTooltipCtrlID(unsigned id) {}
  virtual unsigned GetTooltipCtrlID() const { return 0; }

  // Shows a system cursor now.
  virtual void SetCursor(CursorKind kind) {}

  // Per-control window timers (key chosen by the control); answers 1 when armed.
  virtual int SetTimer(MControl* control, unsigned key, unsigned milliseconds) { return 0; }
  virtual void KillTimer(MControl* control, unsigned key) {}
  virtual void KillTimer(MControl* control) {}
  // The window's fast animation timer: registered controls get OnTimer on each tick.
  virtual void AddMTimer(MControl* control) {}
  virtual void DeleteFSTimer(MControl* control) {}

  // The window's image cache (null without one): a skin file with its picture count, or a
  // resource image of the program (from_program) or of the toolkit.
  virtual ImgResInfo* AddImgResInfo(const std::wstring& name, int count) { return nullptr; }
  virtual ImgResInfo* AddImgResInfo(int id, const std::wstring& type, int count,
                                    bool from_program) {
    return nullptr;
  }

  // Text colour of disabled text controls (COLORREF).
  virtual unsigned GetDefaultEnabledColor() const { return 0x808080; }
  // Resource ids of the scroll bar skins (0 = use the skin files).
  virtual int GetScrollVID() const { return 0; }
  virtual int GetScrollHID() const { return 0; }

  // A control is leaving the window (removed or destroyed): forget every pointer to it
  // (hover, focus, timers, tooltip owner, caret owner).
  virtual void OnControlDestroyed(MControl* control) {}
};
