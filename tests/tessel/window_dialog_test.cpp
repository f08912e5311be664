// Dialogs and windows on the headless back end: modal results, nested modal loops, quit,
// centring, size handling, class lookup, popups, shadows and cross-thread messages.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tessel/core/manager.h"
#include "tessel/core/mpopup_wnd.h"
#include "window_test_support.h"

using namespace window_test;

namespace {

using DialogTest = HeadlessTest;

struct CloseCase {
  const char* name;
  void (MDialog::*close)();
  int result;
};

class ModalResultTest : public HeadlessTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ModalResultTest, ShowModalAnswersTheClosingResult) {
  RecordingDialog dlg;
  ASSERT_NE(dlg.Create(nullptr, L"Result", WS_POPUP, 0, MRect(0, 0, 200, 100)), nullptr);
  backend->SetIdleHook([&] { (dlg.*GetParam().close)(); });
  EXPECT_EQ(dlg.ShowModal(), GetParam().result);
  EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
  EXPECT_EQ(dlg.ShowModal(), -1);
}

INSTANTIATE_TEST_SUITE_P(Close, ModalResultTest,
                         ::testing::Values(CloseCase{"ok", &MDialog::DoOK, IDOK},
                                           CloseCase{"cancel", &MDialog::DoCancel, IDCANCEL},
                                           CloseCase{"close", &MDialog::DoClose, IDCANCEL},
                                           CloseCase{"yes", &MDialog::DoYes, IDYES},
                                           CloseCase{"no", &MDialog::DoNo, IDNO}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, NestedModalDialogsReturnToTheirCallersAndReEnableOwners) {
  RecordingDialog main_dlg, outer, inner;
  HWND main_hwnd = main_dlg.Create(nullptr, L"Main", WS_POPUP, 0, MRect(0, 0, 600, 400));
  main_dlg.ShowWindow(SW_SHOW);
  HWND outer_hwnd = outer.Create(main_hwnd, L"Outer", WS_POPUP, 0, MRect(50, 50, 350, 250));
  int inner_result = -100;
  bool outer_disabled_during_inner = false, main_disabled_during_inner = false;
  int step = 0;
  backend->SetIdleHook([&] {
    switch (step++) {
      case 0:  // inside the outer loop: open the inner dialog modally
        inner.Create(outer_hwnd, L"Inner", WS_POPUP, 0, MRect(100, 100, 300, 200));
        inner_result = inner.ShowModal();
        break;
      case 1:  // inside the inner loop
        outer_disabled_during_inner = !WindowSystem::Get().IsWindowEnabled(outer_hwnd);
        main_disabled_during_inner = !WindowSystem::Get().IsWindowEnabled(main_hwnd);
        inner.DoNo();
        break;
      default:  // back in the outer loop
        outer.DoYes();
        break;
    }
  });
  const int outer_result = outer.ShowModal();
  EXPECT_EQ(inner_result, IDNO);
  EXPECT_EQ(outer_result, IDYES);
  EXPECT_TRUE(outer_disabled_during_inner);
  EXPECT_TRUE(main_disabled_during_inner);
  EXPECT_TRUE(WindowSystem::Get().IsWindowEnabled(main_hwnd));
  EXPECT_EQ(WindowSystem::Get().GetActiveWindow(), main_hwnd);
}

TEST_F(DialogTest, QuitDuringModalLoopEndsItAndReachesTheOuterLoop) {
  RecordingDialog dlg;
  dlg.Create(nullptr, L"Quit", WS_POPUP, 0, MRect(0, 0, 200, 100));
  backend->SetIdleHook([] { WindowSystem::Get().PostQuitMessage(5); });
  EXPECT_EQ(dlg.ShowModal(), 0);
  backend->SetIdleHook(nullptr);
  MSG msg;
  ASSERT_TRUE(WindowSystem::Get().PeekMessageW(&msg));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 5u);
}

struct CentreCase {
  const char* name;
  MRect window;
  bool reference_visible;
  MPoint expected;
};

class CentreTest : public HeadlessTest, public ::testing::WithParamInterface<CentreCase> {};

TEST_P(CentreTest, CentresOnReferenceOrWorkAreaAndStaysInside) {
  const CentreCase& c = GetParam();
  backend->SetWorkArea(MRect(0, 0, 1920, 1040));
  RecordingDialog owner, dlg;
  HWND o = owner.Create(nullptr, L"Owner", WS_POPUP, 0, MRect(1500, 800, 1900, 1000));
  if (c.reference_visible) owner.ShowWindow(SW_SHOW);
  dlg.Create(o, L"Centred", WS_POPUP, 0, c.window);
  ASSERT_TRUE(dlg.CenterWindow());
  EXPECT_EQ(dlg.GetWindowRect().TopLeft(), c.expected);
  EXPECT_EQ(dlg.GetWindowRect().Size(), c.window.Size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CentreTest,
    ::testing::Values(
        CentreCase{"work_area", MRect(0, 0, 800, 600), false, MPoint(560, 220)},
        CentreCase{"on_owner_clamped", MRect(0, 0, 800, 600), true, MPoint(1120, 440)},
        CentreCase{"on_owner", MRect(0, 0, 200, 100), true, MPoint(1600, 850)},
        CentreCase{"larger_than_work_area", MRect(0, 0, 2000, 1200), false, MPoint(0, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, InitUIOnceAndUISizeOnlyForClientAreasAboveOnePixel) {
  RecordingDialog dlg;
  dlg.Create(nullptr, L"Size", WS_POPUP, 0, MRect(0, 0, 300, 200));
  EXPECT_EQ(dlg.init_calls, 1);
  const int before = dlg.size_calls;
  dlg.MoveWindow(0, 0, 1, 1);
  EXPECT_EQ(dlg.size_calls, before);
  dlg.MoveWindow(0, 0, 2, 1);
  EXPECT_EQ(dlg.size_calls, before);
  dlg.MoveWindow(0, 0, 400, 250);
  EXPECT_EQ(dlg.size_calls, before + 1);
  EXPECT_EQ(dlg.last_size, MRect(0, 0, 400, 250));
}

class SuperclassedDialog : public RecordingDialog {
 public:
  const wchar_t* GetSuperClassName() const override { return L"NoSuchClass"; }
};

TEST_F(DialogTest, WindowOperationsWithoutWindowAnswerNothing) {
  SuperclassedDialog broken;
  EXPECT_EQ(broken.Create(nullptr), nullptr);
  EXPECT_EQ(broken.ShowModal(), -1);
  EXPECT_EQ(broken.GetWindowTextLengthW(), -1);
  EXPECT_FALSE(broken.CenterWindow());
  EXPECT_FALSE(broken.PostMessageW(WM_USER, 0, 0));
  broken.DoOK();
  EXPECT_EQ(broken.paint_manager.SetTimer(nullptr, 1, 10), 0);
}

TEST_F(DialogTest, WindowsAreFoundByClassAndTitle) {
  RecordingDialog box, wait;
  HWND b = box.Create(nullptr, L"MessageBox", WS_POPUP, 0, MRect(0, 0, 100, 100));
  HWND w = wait.Create(nullptr, L"WaitDlg", WS_POPUP, 0, MRect(0, 0, 100, 100));
  auto& ws = WindowSystem::Get();
  EXPECT_EQ(ws.FindWindowW(L"TesselClient", L"MessageBox"), b);
  EXPECT_EQ(ws.FindWindowW(L"TesselClient", L"WaitDlg"), w);
  EXPECT_EQ(ws.FindWindowW(L"TesselClient", L"Menu Window"), nullptr);
  EXPECT_TRUE(Manager::IsLiveWindow(&box));
  EXPECT_EQ(Manager::FindWnd(L"TesselClient", L"WaitDlg"), &wait);
  EXPECT_EQ(Manager::FindWnd(L"ShadowWnd", L"WaitDlg"), nullptr);
  ws.PostMessageW(b, WM_CLOSE, 2, 0);
  Pump();
  EXPECT_FALSE(ws.IsWindow(b));
  EXPECT_FALSE(Manager::IsLiveWindow(&box));
  EXPECT_EQ(ws.FindWindowW(L"TesselClient", L"MessageBox"), nullptr);
  EXPECT_EQ(Manager::FindWnd(nullptr, L"MessageBox"), nullptr);
}

class EditSuperclass : public RecordingDialog {
 public:
  const wchar_t* GetSuperClassName() const override { return L"EDIT"; }
  const wchar_t* GetWindowClassName() const override { return L"TesselEdit"; }
};

TEST_F(DialogTest, SuperclassOfAnExistingClassIsCreated) {
  EditSuperclass edit;
  HWND h = edit.Create(nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(WindowSystem::Get().GetClassNameW(h), L"TesselEdit");
  EXPECT_EQ(edit.GetWindowRect(), MRect(0, 0, 800, 600));
}

class RecordingPopup : public MPopupWnd {
 public:
  void UISize(const MRect&) override { ++size_calls; }
  int size_calls = 0;
};

TEST_F(DialogTest, PopupIsAToolWindowAndClosesWhenItLosesActivation) {
  RecordingDialog dlg;
  HWND d = dlg.Create(nullptr, L"Owner", WS_POPUP, 0, MRect(0, 0, 400, 300));
  dlg.ShowWindow(SW_SHOW);
  RecordingPopup popup;
  HWND p = popup.Create(d, L"Menu Window", WS_POPUP, 0, MRect(10, 10, 110, 210));
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(popup.GetExStyle() & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(popup.paint_manager.IsWndDragEnabled());
  popup.ShowWindow(SW_SHOW);
  Pump();
  EXPECT_EQ(WindowSystem::Get().GetActiveWindow(), p);
  backend->Activate(d, true);  // the user clicks the dialog
  Pump();
  EXPECT_FALSE(WindowSystem::Get().IsWindow(p));
  EXPECT_TRUE(WindowSystem::Get().IsWindow(d));
}

TEST_F(DialogTest, ShadowParametersOutOfRangeChangeNothing) {
  RecordingDialog dlg;
  dlg.Create(nullptr, L"Shadowed", WS_POPUP, 0, MRect(100, 100, 300, 200));
  dlg.ShowWindow(SW_SHOW);
  ASSERT_TRUE(dlg.CreateShadow(true));
  EXPECT_TRUE(dlg.SetSize(10));
  EXPECT_FALSE(dlg.SetSize(36));
  EXPECT_FALSE(dlg.SetSize(-36));
  EXPECT_FALSE(dlg.SetSharpness(-1));
  EXPECT_FALSE(dlg.SetSharpness(36));
  EXPECT_FALSE(dlg.SetDarkness(256));
  EXPECT_FALSE(dlg.SetPosition(0, 36));
  EXPECT_TRUE(dlg.SetPosition(3, 4));
  EXPECT_EQ(dlg.GetShadow().GetSize(), 10);
  EXPECT_EQ(dlg.GetShadow().GetSharpness(), 5);
  EXPECT_EQ(dlg.GetShadow().GetDarkness(), 150);
  // The shadow follows the window, offset and grown by size + sharpness.
  dlg.MoveWindow(200, 150, 200, 100);
  Pump();
  MRect shadow;
  WindowSystem::Get().GetWindowRect(dlg.GetShadow().GetHwnd(), &shadow);
  EXPECT_EQ(shadow, MRect(188, 139, 418, 269));
  // The ramp falls from the darkness to nothing.
  const MShadow& s = dlg.GetShadow();
  EXPECT_EQ(s.AlphaAt(0), 150);
  EXPECT_GT(s.AlphaAt(5), s.AlphaAt(10));
  EXPECT_EQ(s.AlphaAt(15), 0);
  HeadlessBackend::WindowState st;
  ASSERT_TRUE(backend->GetWindowState(dlg.GetShadow().GetHwnd(), &st));
  EXPECT_TRUE(st.per_pixel_alpha);
  if (st.frame) cairo_surface_destroy(st.frame);
}

class ThreadDialog : public RecordingDialog {
 public:
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER + 5 || message == WM_USER + 6) threads.push_back(std::this_thread::get_id());
    if (message == WM_USER + 6) return 42;
    return RecordingDialog::OnWindowMessage(message, wParam, lParam);
  }
  std::vector<std::thread::id> threads;
};

TEST_F(DialogTest, MessagesFromOtherThreadsArriveOnTheUIThread) {
  ThreadDialog dlg;
  HWND h = dlg.Create(nullptr, L"Threads", WS_POPUP, 0, MRect(0, 0, 200, 100));
  std::atomic<LRESULT> answer{0};
  std::thread worker([&] {
    WindowSystem::Get().PostMessageW(h, WM_USER + 5, 0, 0);
    answer = WindowSystem::Get().SendMessageW(h, WM_USER + 6, 0, 0);
    WindowSystem::Get().PostMessageW(h, WM_TESSEL_ENDDIALOG, IDOK, 0);
  });
  backend->SetIdleHook([] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
  EXPECT_EQ(dlg.ShowModal(), IDOK);
  worker.join();
  EXPECT_EQ(answer.load(), 42);
  ASSERT_EQ(dlg.threads.size(), 2u);
  for (auto id : dlg.threads) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST_F(DialogTest, SendFromAnotherThreadToAWindowThatGoesAwayAnswersZero) {
  RecordingDialog dlg;
  HWND h = dlg.Create(nullptr, L"Gone", WS_POPUP, 0, MRect(0, 0, 200, 100));
  std::atomic<bool> sent{false};
  std::thread worker([&] {
    sent = true;
    EXPECT_EQ(WindowSystem::Get().SendMessageW(h, WM_USER + 9, 0, 0), 0);
  });
  while (!sent) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  dlg.DestroyWindow();
  worker.join();
  EXPECT_TRUE(dlg.user_messages.empty());
}

TEST_F(DialogTest, MessageLoopDropsMessagesWhileAltAndF4AreHeld) {
  RecordingDialog dlg;
  HWND h = dlg.Create(nullptr, L"Loop", WS_POPUP, 0, MRect(0, 0, 200, 100));
  dlg.ShowWindow(SW_SHOW);
  backend->KeyDown(h, VK_MENU);
  backend->KeyDown(h, VK_F4);
  Pump();
  auto& ws = WindowSystem::Get();
  ws.PostMessageW(h, WM_USER + 7, 0, 0);
  ws.PostQuitMessage(3);
  EXPECT_EQ(Manager::MessageLoop(), 3);
  EXPECT_TRUE(dlg.user_messages.empty());
  EXPECT_TRUE(ws.IsWindow(h));
  backend->KeyUp(h, VK_F4);
  backend->KeyUp(h, VK_MENU);
  Pump();
  ws.PostMessageW(h, WM_USER + 7, 0, 0);
  ws.PostQuitMessage(0);
  EXPECT_EQ(Manager::MessageLoop(), 0);
  EXPECT_EQ(dlg.user_messages, (std::vector<UINT>{WM_USER + 7}));
}

}  // namespace
