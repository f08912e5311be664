#pragma once
// Recording doubles for the control tests: a window host, a parent object and a probe control.
#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "tessel/core/control_host.h"
#include "tessel/core/mcontrol.h"
#include "tessel/core/mobject.h"

namespace control_test {

struct Notification {
  unsigned id;
  unsigned code;
  WPARAM wparam;
  LPARAM lparam;
};

struct UpdateRequest {
  MRect rect;
  int redraw;
  MControl* control;
};

// The object above the top-level controls: records what reaches it.
class RecordingParent : public MObject {
 public:
  LRESULT OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override {
    notes.push_back({id, code, wParam, lParam});
    if (on_message) on_message(id, code);
    return 0;
  }
  int OnControlUpdate(const MRect& rect, int redraw, MControl* control) override {
    updates.push_back({rect, redraw, control});
    return 1;
  }
  std::vector<Notification> notes;
  std::vector<UpdateRequest> updates;
  std::function<void(unsigned id, unsigned code)> on_message;
};

class RecordingHost : public ControlHost {
 public:
  void InvalidateRect(const MRect& rect, int erase) override { invalidated.push_back(rect); }
  MControl* GetFocusControl() const override { return focus; }
  void SetFocusControl(MControl* control) override {
    if (control == focus) return;
    if (focus != nullptr) focus->SetControlFocus(0);
    focus = control;
    if (focus != nullptr) focus->SetControlFocus(1);
    ++focus_changes;
  }
  void SetTooltip(const std::wstring& text, const MRect& rect) override { tooltip = text; }
  void ClearTooltip() override {
    tooltip.clear();
    tooltip_owner = 0;
  }
  void SetTooltipCtrlID(unsigned id) override { tooltip_owner = id; }
  unsigned GetTooltipCtrlID() const override { return tooltip_owner; }
  void SetCursor(CursorKind kind) override { cursors.push_back(kind); }
  void AddMTimer(MControl* control) override { fast_timer.push_back(control); }
  void OnControlDestroyed(MControl* control) override {
    destroyed.push_back(control);
    if (focus == control) focus = nullptr;
  }

  MControl* focus = nullptr;
  int focus_changes = 0;
  std::vector<MRect> invalidated;
  std::wstring tooltip;
  unsigned tooltip_owner = 0;
  std::vector<CursorKind> cursors;
  std::vector<MControl*> fast_timer;
  std::vector<MControl*> destroyed;
};

// A control that logs every handler call as text and behaves like a simple button:
// code 1 on a press, code 2 on a release.
class Probe : public MControl {
 public:
  Probe(MObject* parent, unsigned id, const MRect& rect, std::vector<std::string>* log = nullptr)
      : MControl(parent, id, rect, 1, 1, 1), log_(log) {}

  void DrawControl(cairo_t* cr, const MRect& paint) override { DrawThroughCache(cr, paint); }
  void BuildCache(cairo_t* cache, cairo_t*) override {
    ++builds;
    cairo_set_source_rgba(cache, red, green, blue, 1.0);
    cairo_paint(cache);
  }
  int OnControlMouseMove(unsigned, MPoint p) override {
    Log("move", p);
    return consume_move;
  }
  int OnControlLButtonDown(unsigned, MPoint p) override {
    Log("down", p);
    ++downs;
    SendMessageW(1, 0, 0);
    return 1;
  }
  int OnControlLButtonUp(unsigned, MPoint p) override {
    Log("up", p);
    SendMessageW(2, 0, 0);
    return 1;
  }
  int OnControlLButtonDblClk(unsigned, MPoint p) override {
    Log("dblclk", p);
    ++dblclks;
    return 1;
  }
  int OnControlRButtonDown(unsigned, MPoint p) override {
    Log("rdown", p);
    return 1;
  }
  int OnControlScroll(int, unsigned direction, MPoint p) override {
    Log(direction ? "scroll-down" : "scroll-up", p);
    return consume_scroll;
  }
  int OnControlKeyDown(int key, int repeat, int modifiers) override {
    const int hot = MControl::OnControlKeyDown(key, repeat, modifiers);
    if (log_) log_->push_back(Name() + ":key" + std::to_string(key) + (hot ? "!" : ""));
    keys.push_back(key);
    return hot;
  }
  int OnControlTimer() override {
    ++ticks;
    return 1;
  }

  std::string Name() const { return "c" + std::to_string(GetControlID()); }

  int downs = 0;
  int dblclks = 0;
  int ticks = 0;
  int builds = 0;
  int consume_move = 1;
  int consume_scroll = 0;
  std::vector<int> keys;
  double red = 1.0, green = 0.0, blue = 0.0;

 private:
  void Log(const char* what, MPoint p) {
    if (log_)
      log_->push_back(Name() + ":" + what + "@" + std::to_string(p.x) + "," + std::to_string(p.y));
  }
  std::vector<std::string>* log_;
};

}  // namespace control_test
