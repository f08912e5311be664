// Input routing of the paint manager on the headless back end: window drag, wheel, focus
// order, key routing, notifications and controls that vanish while handling input.
#include <gtest/gtest.h>

#include "tessel/core/mpanel.h"
#include "tessel/core/mscroll.h"
#include "window_test_support.h"

using namespace window_test;
using control_test::Probe;

namespace {

class RoutingTest : public HeadlessTest {
 protected:
  HWND Open(RecordingDialog& dlg, MRect rect = MRect(100, 100, 500, 400)) {
    HWND h = dlg.Create(nullptr, L"Routing", WS_POPUP, 0, rect);
    dlg.ShowWindow(SW_SHOW);
    Pump();
    return h;
  }
};

struct DragCase {
  const char* name;
  int drag_on;
  MPoint press;     // client point pressed
  MPoint expected;  // window's top-left after dragging the pointer by (50, 30)
  int probe_downs;
};

class WindowDragTest : public RoutingTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(WindowDragTest, PressOnFreeSpotMovesWindowOnlyWhenDragIsOn) {
  const DragCase& c = GetParam();
  RecordingDialog dlg;
  HWND h = Open(dlg);
  Probe* probe = dlg.AddProbe(5, MRect(200, 200, 260, 240));
  dlg.EnableWndDrag(c.drag_on);
  backend->MouseMove(h, c.press.x, c.press.y);
  backend->LButtonDown(h, c.press.x, c.press.y);
  Pump();
  backend->MoveCursorTo(MPoint(100 + c.press.x + 50, 100 + c.press.y + 30));
  Pump();
  backend->LButtonUpAt(MPoint(100 + c.press.x + 50, 100 + c.press.y + 30));
  Pump();
  EXPECT_EQ(dlg.GetWindowRect().TopLeft(), c.expected);
  EXPECT_EQ(probe->downs, c.probe_downs);
  EXPECT_FALSE(WindowSystem::Get().IsDragging());
  EXPECT_EQ(WindowSystem::Get().GetCapture(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowDragTest,
    ::testing::Values(DragCase{"free_spot_drag_on", 1, MPoint(10, 10), MPoint(150, 130), 0},
                      DragCase{"free_spot_drag_off", 0, MPoint(10, 10), MPoint(100, 100), 0},
                      DragCase{"on_control", 1, MPoint(210, 210), MPoint(100, 100), 1}),
    [](const auto& info) { return std::string(info.param.name); });

class WheelTest : public RoutingTest, public ::testing::WithParamInterface<bool> {};

TEST_P(WheelTest, ThreeNotchesScrollThreeStepsWithOrWithoutHover) {
  const bool hover_first = GetParam();
  RecordingDialog dlg;
  HWND h = Open(dlg);
  // Something else listed first that does not scroll.
  dlg.AddProbe(9, MRect(0, 0, 10, 10));
  auto* panel = new MPanel(&dlg, 7, MRect(20, 20, 220, 220));
  dlg.paint_manager.AddControl(panel);
  panel->SetVirtualHeight(2000);
  const int step = panel->GetScrollVertical()->GetScrollStep();
  ASSERT_GT(step, 0);
  if (hover_first) {
    backend->MouseMove(h, 100, 100);
    Pump();
    ASSERT_EQ(dlg.paint_manager.GetHoverControl(), panel);
  }
  backend->Wheel(h, 100, 100, -3 * WHEEL_DELTA);
  Pump();
  EXPECT_EQ(panel->GetScrollVertical()->GetScrollCurrentPos(), 3 * step);
  backend->Wheel(h, 100, 100, 2 * WHEEL_DELTA);
  Pump();
  EXPECT_EQ(panel->GetScrollVertical()->GetScrollCurrentPos(), step);
}

INSTANTIATE_TEST_SUITE_P(Hover, WheelTest, ::testing::Bool());

TEST_F(RoutingTest, TabMovesFocusForwardShiftTabBackCtrlTabNowhere) {
  RecordingDialog dlg;
  HWND h = Open(dlg);
  Probe* a = dlg.AddProbe(1, MRect(10, 10, 50, 30));
  Probe* skipped = dlg.AddProbe(2, MRect(60, 10, 100, 30));
  Probe* b = dlg.AddProbe(3, MRect(110, 10, 150, 30));
  Probe* c = dlg.AddProbe(4, MRect(160, 10, 200, 30));
  a->SetTabStop(1);
  b->SetTabStop(1);
  c->SetTabStop(1);
  skipped->SetTabStop(0);
  auto& pm = dlg.paint_manager;
  auto press = [&](std::initializer_list<int> held, int key) {
    for (int k : held) backend->KeyDown(h, k);
    backend->KeyDown(h, key);
    backend->KeyUp(h, key);
    for (int k : held) backend->KeyUp(h, k);
    Pump();
  };
  press({}, VK_TAB);
  EXPECT_EQ(pm.GetFocusControl(), a);
  press({}, VK_TAB);
  EXPECT_EQ(pm.GetFocusControl(), b);
  press({}, VK_TAB);
  EXPECT_EQ(pm.GetFocusControl(), c);
  press({VK_SHIFT}, VK_TAB);
  EXPECT_EQ(pm.GetFocusControl(), b);
  press({VK_SHIFT}, VK_TAB);
  EXPECT_EQ(pm.GetFocusControl(), a);
  press({VK_CONTROL}, VK_TAB);
  EXPECT_EQ(pm.GetFocusControl(), a);
  EXPECT_TRUE(a->IsFocused());
  EXPECT_FALSE(b->IsFocused());
}

TEST_F(RoutingTest, KeysGoToHoverFirstThenListUntilConsumed) {
  RecordingDialog dlg;
  HWND h = Open(dlg);
  std::vector<std::string> log;
  dlg.AddProbe(1, MRect(10, 10, 50, 30), &log);
  Probe* hot = dlg.AddProbe(2, MRect(60, 10, 100, 30), &log);
  dlg.AddProbe(3, MRect(110, 10, 150, 30), &log);
  hot->SetHotKey('K', 0);
  backend->KeyDown(h, 'K');
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"c1:key75", "c2:key75!"}));
  log.clear();
  backend->MouseMove(h, 120, 20);
  Pump();
  log.clear();
  backend->KeyDown(h, 'K');
  Pump();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "c3:key75");
}

TEST_F(RoutingTest, ClickAndDoubleClickReachTheDialogInOrder) {
  RecordingDialog dlg;
  HWND h = Open(dlg);
  Probe* p = dlg.AddProbe(11, MRect(20, 20, 120, 60));
  p->SetDblClk(1);
  p->SetNotifyDblClk(1);
  backend->Click(h, 30, 30);
  backend->LButtonDblClk(h, 30, 30);
  backend->LButtonUp(h, 30, 30);
  Pump();
  std::vector<unsigned> codes;
  for (const Note& n : dlg.notes) {
    codes.push_back(n.code);
    EXPECT_EQ(n.id, 11u);
  }
  EXPECT_EQ(codes, (std::vector<unsigned>{1, 2, FSN_DBLCLK, 2}));
  EXPECT_EQ(p->dblclks, 1);
  EXPECT_EQ(dlg.paint_manager.GetFocusControl(), p);
}

TEST_F(RoutingTest, ControlRemovedDuringItsOwnNotificationIsForgotten) {
  RecordingDialog dlg;
  HWND h = Open(dlg);
  Probe* p = dlg.AddProbe(11, MRect(20, 20, 120, 60));
  p->SetTabStop(1);
  EXPECT_EQ(dlg.paint_manager.SetTimer(p, 1, 50), 1);
  dlg.on_message = [](RecordingDialog& d, unsigned id, unsigned code) {
    if (code == 1) d.paint_manager.RemoveControl(d.GetControl(id));
  };
  backend->Click(h, 30, 30);
  backend->Wheel(h, 30, 30, -WHEEL_DELTA);
  backend->KeyDown(h, VK_TAB);
  Pump();
  Advance(200);
  EXPECT_EQ(dlg.GetControl(11), nullptr);
  EXPECT_EQ(dlg.paint_manager.GetHoverControl(), nullptr);
  EXPECT_EQ(dlg.paint_manager.GetFocusControl(), nullptr);
  EXPECT_EQ(dlg.paint_manager.GetWindowTimerCount(), 0u);
  EXPECT_EQ(ControlDispatchScope::PendingCount(), 0u);
}

TEST_F(RoutingTest, DeactivationEndsPressAndHover) {
  RecordingDialog dlg;
  HWND h = Open(dlg);
  std::vector<std::string> log;
  dlg.AddProbe(1, MRect(20, 20, 120, 60), &log);
  backend->MouseMove(h, 30, 30);
  backend->LButtonDown(h, 30, 30);
  Pump();
  ASSERT_TRUE(dlg.paint_manager.IsCaptured());
  log.clear();
  backend->Activate(h, false);
  Pump();
  EXPECT_FALSE(dlg.paint_manager.IsCaptured());
  EXPECT_EQ(dlg.paint_manager.GetHoverControl(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"c1:up@-1,-1"}));
}

TEST_F(RoutingTest, TooltipFollowsTheHoverControl) {
  RecordingDialog dlg;
  HWND h = Open(dlg);
  Probe* p = dlg.AddProbe(21, MRect(20, 20, 120, 60));
  p->SetTooltip(std::wstring(L"Brightness"));
  auto& pm = dlg.paint_manager;
  backend->MouseMove(h, 30, 30);
  Pump();
  EXPECT_EQ(pm.GetTooltipCtrlID(), 21u);
  EXPECT_TRUE(pm.IsTooltipActive());
  HWND tip = pm.GetToolTipWnd();
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(WindowSystem::Get().IsWindowVisible(tip));
  EXPECT_NE(WindowSystem::Get().GetActiveWindow(), tip);  // never takes the activation
  MRect tip_rect;
  WindowSystem::Get().GetWindowRect(tip, &tip_rect);
  EXPECT_EQ(tip_rect.TopLeft(), MPoint(100 + 20, 100 + 62));
  backend->MouseMove(h, 300, 250);
  Pump();
  EXPECT_EQ(pm.GetTooltipCtrlID(), 0u);
  EXPECT_FALSE(WindowSystem::Get().IsWindowVisible(tip));
}

TEST_F(RoutingTest, MinimumAndMaximumSizesBoundTheWindow) {
  RecordingDialog dlg;
  Open(dlg);
  dlg.paint_manager.SetWindowMixSize(MSize(200, 150));
  dlg.paint_manager.SetWindowMaxSize(MSize(800, 0));
  dlg.MoveWindow(0, 0, 100, 100);
  EXPECT_EQ(dlg.GetWindowRect().Size(), MSize(200, 150));
  dlg.MoveWindow(0, 0, 1000, 1000);
  EXPECT_EQ(dlg.GetWindowRect().Size(), MSize(800, 1000));
}

}  // namespace
