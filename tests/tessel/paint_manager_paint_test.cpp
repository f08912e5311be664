// Painting of the paint manager on the headless back end: background and border, controls,
// the repaint region of a redraw request, layered frames and the frame cap.
#include <gtest/gtest.h>

#include "window_test_support.h"

using namespace window_test;
using control_test::Probe;

namespace {

class PaintTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    hwnd = dlg.Create(nullptr, L"Paint", WS_POPUP, 0, MRect(0, 0, 300, 200));
    a = dlg.AddProbe(1, MRect(20, 20, 120, 80));
    b = dlg.AddProbe(2, MRect(100, 60, 160, 120));  // above a, overlapping it
    c = dlg.AddProbe(3, MRect(200, 20, 260, 80));   // apart
    b->red = 0.0;
    b->green = 1.0;
    c->red = 0.0;
    c->blue = 1.0;
    dlg.ShowWindow(SW_SHOW);
    Pump();
  }
  void TearDown() override {
    dlg.DestroyWindow();
    HeadlessTest::TearDown();
  }
  HeadlessBackend::WindowState State() {
    HeadlessBackend::WindowState s;
    backend->GetWindowState(hwnd, &s);
    if (s.frame) cairo_surface_destroy(s.frame);
    return s;
  }
  RecordingDialog dlg;
  HWND hwnd = nullptr;
  Probe *a = nullptr, *b = nullptr, *c = nullptr;
};

TEST_F(PaintTest, FirstPaintShowsBorderBackgroundAndControlsInListOrder) {
  EXPECT_EQ(backend->PixelAt(hwnd, 0, 0), 0xFF10A8FDu);      // frame colour 0xFDA810
  EXPECT_EQ(backend->PixelAt(hwnd, 50, 150), 0xFF090D13u);   // back colour 0x130D09
  EXPECT_EQ(backend->PixelAt(hwnd, 30, 30), 0xFFFF0000u);    // a
  EXPECT_EQ(backend->PixelAt(hwnd, 110, 70), 0xFF00FF00u);   // b drawn over a
  EXPECT_EQ(backend->PixelAt(hwnd, 210, 30), 0xFF0000FFu);   // c
  EXPECT_EQ(State().last_present, MRect(0, 0, 300, 200));
}

TEST_F(PaintTest, RedrawRequestRepaintsTheControlAndWhatLiesAboveIt) {
  const int a0 = a->builds, b0 = b->builds, c0 = c->builds;
  a->UpdateControl(1);
  EXPECT_EQ(b->GetUpdate(), 0);  // above a: rebuilt too
  EXPECT_EQ(c->GetUpdate(), 1);
  Pump();
  EXPECT_EQ(State().last_present, MRect(20, 20, 160, 120));
  EXPECT_EQ(a->builds, a0 + 1);
  EXPECT_EQ(b->builds, b0 + 1);
  EXPECT_EQ(c->builds, c0);
  // A request of the topmost control touches nothing below it.
  b->UpdateControl(1);
  EXPECT_EQ(a->GetUpdate(), 1);
  Pump();
  EXPECT_EQ(State().last_present, b->GetRect());
  EXPECT_EQ(backend->PixelAt(hwnd, 110, 70), 0xFF00FF00u);
}

TEST_F(PaintTest, HiddenControlLeavesBackgroundBehind) {
  c->SetVisible(0);
  Pump();
  EXPECT_EQ(backend->PixelAt(hwnd, 210, 30), 0xFF090D13u);
}

TEST_F(PaintTest, LayeredWindowRepaintsWholeFrameWithAlpha) {
  dlg.SetLayeredWindow(1);
  Pump();
  a->UpdateControl(1);
  Pump();
  const auto s = State();
  EXPECT_TRUE(s.per_pixel_alpha);
  EXPECT_EQ(s.last_present, MRect(0, 0, 300, 200));
  EXPECT_EQ(backend->PixelAt(hwnd, 50, 150) >> 24, 254u);
  EXPECT_TRUE(WindowSystem::Get().GetExStyle(hwnd) & WS_EX_LAYERED);
}

TEST_F(PaintTest, FramesAreCappedWithoutBlocking) {
  backend->SetFrameInterval(16);
  backend->AdvanceClock(16);  // one frame since the first paint
  const unsigned before = dlg.paint_manager.GetPaintCount();
  a->UpdateControl(1);
  Pump();
  EXPECT_EQ(dlg.paint_manager.GetPaintCount(), before + 1);
  c->UpdateControl(1);
  // Input is still handled while the next frame waits for its slot.
  backend->KeyDown(hwnd, 'A');
  EXPECT_GE(Pump(), 1);
  EXPECT_EQ(dlg.paint_manager.GetPaintCount(), before + 1);
  backend->AdvanceClock(16);
  Pump();
  EXPECT_EQ(dlg.paint_manager.GetPaintCount(), before + 2);
}

TEST_F(PaintTest, GenerateBitmapDrawsOneControlTinted) {
  cairo_surface_t* s = dlg.paint_manager.GenerateBitmap(c, c->GetRect(), 0x80FFFFFF);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(cairo_image_surface_get_width(s), 60);
  const uint32_t p = *reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
  EXPECT_EQ(p >> 24, 0xFFu);
  EXPECT_GT((p >> 16) & 0xFF, 0x70u);  // white blended over blue
  cairo_surface_destroy(s);
}

}  // namespace
