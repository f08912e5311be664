// The SDL back end on a real X server (Xvfb under `make test`): a dialog with a few controls
// is driven with xdotool (move, click, double click, drag, typing), its picture is saved as
// an artefact and checked, and messages from another thread and modal results come back.
#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "tessel/core/backend/sdl_backend.h"
#include "window_test_support.h"

using namespace window_test;
using control_test::Probe;

namespace {

using Clock = std::chrono::steady_clock;

class SdlWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == 0) GTEST_SKIP() << "no DISPLAY";
    WindowSystem::Get().Reset();
    auto b = std::make_unique<SdlBackend>();
    if (!b->IsReady()) GTEST_SKIP() << "SDL video unavailable: " << SDL_GetError();
    sdl = b.get();
    WindowSystem::Get().SetBackend(std::move(b));
  }
  void TearDown() override { WindowSystem::Get().Reset(); }

  // Dispatches messages until the condition holds or the time is up.
  bool PumpUntil(const std::function<bool()>& done, int ms = 3000) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) {
      WindowSystem::Get().PumpPending();
      if (done && done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done ? done() : true;
  }
  // Runs xdotool while the UI thread keeps dispatching (a window drag reads the live pointer).
  void Xdo(const std::string& args) {
    std::atomic<bool> finished{false};
    std::thread t([&] {
      const std::string cmd = "xdotool " + args + " >/dev/null 2>&1";
      EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
      finished = true;
    });
    PumpUntil([&] { return finished.load(); }, 10000);
    t.join();
    PumpUntil(nullptr, 150);
  }

  SdlBackend* sdl = nullptr;
};

std::vector<unsigned> Codes(const std::vector<Note>& notes, unsigned id) {
  std::vector<unsigned> out;
  for (const Note& n : notes)
    if (n.id == id) out.push_back(n.code);
  return out;
}

uint32_t BmpPixel(SDL_Surface* s, int x, int y) {
  uint32_t p = 0;
  const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
  std::memcpy(&p, row + x * s->format->BytesPerPixel, s->format->BytesPerPixel);
  Uint8 r, g, b;
  SDL_GetRGB(p, s->format, &r, &g, &b);
  return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}

TEST_F(SdlWindowTest, DialogDrivenByXdotoolReceivesNotificationsInOrder) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xdotool";
  RecordingDialog dlg;
  dlg.on_init = [](RecordingDialog& d) {
    Probe* button = d.AddProbe(10, MRect(20, 20, 120, 60));
    button->SetDblClk(1);
    button->SetNotifyDblClk(1);
    Probe* second = d.AddProbe(11, MRect(140, 20, 240, 60));
    second->green = 1.0;
    second->red = 0.0;
    Probe* third = d.AddProbe(12, MRect(20, 100, 240, 160));
    third->blue = 1.0;
    third->red = 0.0;
  };
  HWND h = dlg.Create(nullptr, L"SdlDialog", WS_POPUP, 0, MRect(200, 150, 520, 390));
  ASSERT_NE(h, nullptr);
  dlg.ShowWindow(SW_SHOW);
  ASSERT_TRUE(PumpUntil([&] { return dlg.paint_manager.GetPaintCount() > 0; }));
  PumpUntil(nullptr, 300);

  Xdo("mousemove 250 180");
  Xdo("click 1");
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  Xdo("mousemove 370 180 click 1");
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  Xdo("mousemove 250 180 click --repeat 2 --delay 80 1");
  PumpUntil([&] { return Codes(dlg.notes, 10).size() >= 6; });
  EXPECT_EQ(Codes(dlg.notes, 10), (std::vector<unsigned>{1, 2, 1, 2, FSN_DBLCLK, 2}));
  EXPECT_EQ(Codes(dlg.notes, 11), (std::vector<unsigned>{1, 2}));

  // Typing reaches the dialog as characters (the click above gave it the keyboard focus,
  // even if a window of another test took it meanwhile).
  Xdo("mousemove 480 350 click 1");
  Xdo("type --delay 30 hi");
  PumpUntil([&] { return dlg.chars.size() >= 2; });
  EXPECT_EQ(dlg.chars, L"hi");

  // The painted controls and a message overlay, saved from the window surface as an artefact.
  dlg.SetMessage(L"Saved 已保存", MRect(20, 180, 240, 230));
  const unsigned painted = dlg.paint_manager.GetPaintCount();
  ASSERT_TRUE(PumpUntil([&] { return dlg.paint_manager.GetPaintCount() > painted; }));
  const std::string shot = std::string(VANTOR_PROGRAM_DIR) + "/../tests/window_sdl_dialog.bmp";
  ASSERT_TRUE(sdl->SaveWindowSurface(h, shot.c_str()));
  SDL_Surface* s = SDL_LoadBMP(shot.c_str());
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(BmpPixel(s, 70, 40), 0xFF0000u);
  EXPECT_EQ(BmpPixel(s, 190, 40), 0x00FF00u);
  EXPECT_EQ(BmpPixel(s, 100, 130), 0x0000FFu);
  EXPECT_EQ(BmpPixel(s, 300, 200), 0x090D13u);
  EXPECT_EQ(BmpPixel(s, 0, 0), 0x10A8FDu);
  EXPECT_EQ(BmpPixel(s, 23, 183), 0xFEFEFEu);
  SDL_FreeSurface(s);

  // A drag on a free spot moves the window with the pointer.
  Xdo("mousemove 480 350");
  Xdo("mousedown 1");
  Xdo("mousemove 530 390");
  Xdo("mousemove 580 410");
  Xdo("mouseup 1");
  PumpUntil([&] { return dlg.GetWindowRect().left == 300; }, 1000);
  EXPECT_EQ(dlg.GetWindowRect().TopLeft(), MPoint(300, 210));
  int x = 0, y = 0;
  SDL_GetWindowPosition(sdl->GetSdlWindow(h), &x, &y);
  EXPECT_EQ(MPoint(x, y), MPoint(300, 210));
  EXPECT_TRUE(Codes(dlg.notes, 12).empty());
}

class WorkerDialog : public RecordingDialog {
 public:
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER + 5) {
      thread = std::this_thread::get_id();
      DoYes();
    }
    if (message == WM_USER + 6) return 77;
    return RecordingDialog::OnWindowMessage(message, wParam, lParam);
  }
  std::thread::id thread;
};

TEST_F(SdlWindowTest, WorkerPostAndSendReachTheModalDialogOnTheUIThread) {
  WorkerDialog dlg;
  HWND h = dlg.Create(nullptr, L"Worker", WS_POPUP, 0, MRect(50, 50, 250, 150));
  ASSERT_NE(h, nullptr);
  std::atomic<LRESULT> answer{0};
  std::thread worker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    answer = WindowSystem::Get().SendMessageW(h, WM_USER + 6, 0, 0);
    WindowSystem::Get().PostMessageW(h, WM_USER + 5, 0, 0);
  });
  const auto start = Clock::now();
  const int result = dlg.ShowModal();
  worker.join();
  EXPECT_EQ(result, IDYES);
  EXPECT_EQ(answer.load(), 77);
  EXPECT_EQ(dlg.thread, std::this_thread::get_id());
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
