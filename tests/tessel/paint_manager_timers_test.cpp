// Window timers, the message and progress overlay on the manual clock, and the fast timer.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "window_test_support.h"

using namespace window_test;
using control_test::Probe;

namespace {

class TimersTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    hwnd = dlg.Create(nullptr, L"Timers", WS_POPUP, 0, MRect(0, 0, 400, 300));
    dlg.ShowWindow(SW_SHOW);
    Pump();
  }
  void TearDown() override {
    dlg.DestroyWindow();
    HeadlessTest::TearDown();
  }
  RecordingDialog dlg;
  HWND hwnd = nullptr;
};

TEST_F(TimersTest, SetTimerAnswersOneThenZeroThenOneAfterKill) {
  Probe* p = dlg.AddProbe(1, MRect(10, 10, 50, 50));
  auto& pm = dlg.paint_manager;
  EXPECT_EQ(pm.SetTimer(p, 3, 100), 1);
  EXPECT_EQ(pm.SetTimer(p, 3, 100), 0);
  Advance(350);
  EXPECT_EQ(p->ticks, 3);
  pm.KillTimer(p, 3);
  Advance(300);
  EXPECT_EQ(p->ticks, 3);
  EXPECT_EQ(pm.SetTimer(p, 3, 50), 1);
  Advance(100);
  EXPECT_EQ(p->ticks, 5);
  // Another key of the same control is a timer of its own.
  EXPECT_EQ(pm.SetTimer(p, 4, 100), 1);
  EXPECT_EQ(pm.GetWindowTimerCount(), 2u);
}

TEST_F(TimersTest, TimersOfRemovedControlsAndDestroyedWindowsAreIgnored) {
  Probe* p = dlg.AddProbe(1, MRect(10, 10, 50, 50));
  Probe* q = dlg.AddProbe(2, MRect(60, 10, 90, 50));
  auto& pm = dlg.paint_manager;
  ASSERT_EQ(pm.SetTimer(p, 1, 20), 1);
  ASSERT_EQ(pm.SetTimer(q, 1, 20), 1);
  pm.RemoveControl(p);
  Advance(100);
  EXPECT_GE(q->ticks, 4);
  EXPECT_EQ(pm.GetWindowTimerCount(), 1u);
  // Messages and timers queued for a window that is gone come to nothing.
  WindowSystem::Get().PostMessageW(hwnd, WM_TIMER, 17, 0);
  WindowSystem::Get().PostMessageW(hwnd, WM_USER + 3, 0, 0);
  dlg.DestroyWindow();
  EXPECT_FALSE(WindowSystem::Get().PostMessageW(hwnd, WM_USER + 3, 0, 0));
  EXPECT_EQ(WindowSystem::Get().SendMessageW(hwnd, WM_USER + 3, 0, 0), 0);
  Advance(100);
  EXPECT_TRUE(dlg.user_messages.empty());
  EXPECT_EQ(pm.SetTimer(q, 1, 20), 0);
}

TEST_F(TimersTest, MessageStaysOpaqueThreeSecondsThenFadesOut) {
  dlg.SetMessage(L"Saved", MRect(), MSG_LEVEL_INFO);
  const MRect box = dlg.paint_manager.GetMessageRect();
  EXPECT_EQ(box, MRect(100, 240, 300, 298));
  Pump();
  const uint32_t background = backend->PixelAt(hwnd, 50, 150);
  EXPECT_EQ(backend->PixelAt(hwnd, box.left + 3, box.top + 3) & 0xFFFFFF, 0xFEFEFEu);
  Advance(2990);
  EXPECT_EQ(dlg.paint_manager.GetMessageAlpha(), 255);
  Advance(1100);  // 3000 + 22 fade steps of 50 ms
  EXPECT_GT(dlg.paint_manager.GetMessageAlpha(), 10);
  Advance(210);  // 1.3 s after the hold ended
  EXPECT_EQ(dlg.paint_manager.GetMessageAlpha(), 0);
  EXPECT_EQ(backend->PixelAt(hwnd, box.left + 3, box.top + 3), background);
}

TEST_F(TimersTest, ProgressAnimatesInFiftyStepsThenFades) {
  auto& pm = dlg.paint_manager;
  dlg.SetProgress(100, L"Uploading");
  EXPECT_EQ(pm.GetMessageRect(), MRect(0, 240, 400, 298));
  EXPECT_EQ(pm.GetProgressShown(), 0);
  Advance(250, 10);
  EXPECT_EQ(pm.GetProgressShown(), 50);
  Advance(240, 10);
  EXPECT_EQ(pm.GetProgressShown(), 98);
  Advance(10, 10);
  EXPECT_EQ(pm.GetProgressShown(), 100);
  EXPECT_EQ(pm.GetMessageAlpha(), 255);
  Advance(1300, 50);
  EXPECT_EQ(pm.GetMessageAlpha(), 0);
  // A new run can start once the overlay is gone.
  dlg.SetProgress(100, L"Again");
  EXPECT_EQ(pm.GetMessageAlpha(), 255);
}

TEST_F(TimersTest, SmallProgressStepsShowAtOnce) {
  auto& pm = dlg.paint_manager;
  dlg.SetProgress(4, L"x");
  EXPECT_EQ(pm.GetProgressShown(), 4);
  dlg.SetProgress(9, L"x");
  EXPECT_EQ(pm.GetProgressShown(), 9);
  dlg.SetProgress(30, L"x");
  EXPECT_EQ(pm.GetProgressShown(), 9);
  Advance(200, 10);
  EXPECT_EQ(pm.GetProgressShown(), 30);
}

TEST_F(TimersTest, FastTimerTicksVisibleRunningControlsOnItsThread) {
  Probe* running = dlg.AddProbe(1, MRect(10, 10, 50, 50));
  Probe* hidden = dlg.AddProbe(2, MRect(60, 10, 90, 50));
  Probe* idle = dlg.AddProbe(3, MRect(100, 10, 130, 50));
  running->SetRunTimer(1);
  hidden->SetRunTimer(1);
  hidden->SetVisible(0);
  running->AddMTimer();
  hidden->AddMTimer();
  idle->AddMTimer();
  const unsigned id = dlg.SetMTimer(10);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(RKTimer::GetFSTimer(id), &dlg.paint_manager);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (running->ticks < 5 && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  dlg.KillMTimer(id);
  EXPECT_GE(running->ticks, 5);
  EXPECT_EQ(hidden->ticks, 0);
  EXPECT_EQ(idle->ticks, 0);
  EXPECT_EQ(RKTimer::GetFSTimer(id), nullptr);
  const int after_kill = running->ticks;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(running->ticks, after_kill);
}

TEST_F(TimersTest, CaretBlinksOnlyWhileItsOwnerHasTheFocus) {
  Probe* p = dlg.AddProbe(1, MRect(10, 10, 100, 40));
  auto& pm = dlg.paint_manager;
  pm.SetFocusControl(p);
  pm.CreateCaret(2, 16);
  pm.SetCaretPos(p, 20, 15);
  pm.ShowCaret(1);
  Pump();
  EXPECT_TRUE(pm.IsCaretVisible());
  Advance(540);
  EXPECT_FALSE(pm.IsCaretVisible());
  Advance(530);
  EXPECT_TRUE(pm.IsCaretVisible());
  pm.SetFocusControl(nullptr);
  pm.Invalidate();
  Pump();
  Advance(1100);
  EXPECT_FALSE(pm.IsCaretVisible());
}

}  // namespace
