// Drawing through the per-control cache, drawing order and the translucent area.
#include <gtest/gtest.h>

#include <cairo.h>

#include <memory>

#include "control_test_support.h"
#include "tessel/core/carea.h"
#include "tessel/core/mpanel.h"

using namespace control_test;

namespace {

struct Canvas {
  cairo_surface_t* surface;
  cairo_t* cr;
  Canvas(int w, int h, double r, double g, double b, double a) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cr = cairo_create(surface);
    cairo_set_source_rgba(cr, r, g, b, a);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  }
  ~Canvas() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  // The premultiplied pixel word at (x, y).
  uint32_t Pixel(int x, int y) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
  }
};

}  // namespace

TEST(ControlDraw, CacheIsRebuiltOnlyWhenInvalid) {
  RecordingParent parent;
  RecordingHost host;
  MPanel root(&parent, 100, MRect(0, 0, 100, 100));
  root.SetManager(&host);
  auto* a = new Probe(&root, 5, MRect(10, 10, 40, 40));
  auto* b = new Probe(&root, 6, MRect(30, 30, 60, 60));   // later, overlaps a
  auto* c = new Probe(&root, 7, MRect(70, 70, 90, 90));   // later, apart
  root.AddControl(a);
  root.AddControl(b);
  root.AddControl(c);
  Canvas canvas(100, 100, 0, 0, 0, 1);
  const MRect all(0, 0, 100, 100);

  root.Draw(canvas.cr, all);
  EXPECT_EQ(a->builds, 1);
  EXPECT_EQ(b->builds, 1);
  EXPECT_EQ(c->builds, 1);
  EXPECT_EQ(a->GetUpdate(), 1);
  root.Draw(canvas.cr, all);
  root.Draw(canvas.cr, all);
  EXPECT_EQ(a->builds, 1);
  EXPECT_EQ(a->GetCacheBuildCount(), 1u);
  EXPECT_EQ(b->builds, 1);

  // a asks for a redraw: a and the later overlapping b are rebuilt, c is not.
  a->UpdateControl(1);
  EXPECT_EQ(a->GetUpdate(), 0);
  EXPECT_EQ(b->GetUpdate(), 0);
  EXPECT_EQ(c->GetUpdate(), 1);
  root.Draw(canvas.cr, all);
  EXPECT_EQ(a->builds, 2);
  EXPECT_EQ(b->builds, 2);
  EXPECT_EQ(c->builds, 1);

  // A request without redraw repaints from the cache.
  c->UpdateControl(0);
  root.Draw(canvas.cr, all);
  EXPECT_EQ(c->builds, 1);

  // SetUpdate(0) on the container forces every child meeting it to rebuild.
  root.SetUpdate(0, 0);
  root.Draw(canvas.cr, all);
  EXPECT_EQ(a->builds, 3);
  EXPECT_EQ(b->builds, 3);
  EXPECT_EQ(c->builds, 2);

  // A paint rectangle that misses a control does not draw it at all.
  a->SetUpdate(0, 0);
  root.Draw(canvas.cr, MRect(70, 70, 80, 80));
  EXPECT_EQ(a->builds, 3);
  // A new size rebuilds.
  c->SetRect(MRect(70, 70, 95, 95));
  root.Draw(canvas.cr, all);
  EXPECT_EQ(c->builds, 3);
  EXPECT_EQ(cairo_image_surface_get_width(c->GetCacheSurface()), 25);
}

TEST(ControlDraw, LaterChildrenAreDrawnOnTopAndInvisibleOnesNotAtAll) {
  RecordingParent parent;
  MPanel root(&parent, 100, MRect(0, 0, 100, 100));
  auto* a = new Probe(&root, 5, MRect(10, 10, 60, 60));
  auto* b = new Probe(&root, 6, MRect(40, 40, 90, 90));
  a->red = 1, a->green = 0, a->blue = 0;
  b->red = 0, b->green = 0, b->blue = 1;
  root.AddControl(a);
  root.AddControl(b);
  Canvas canvas(100, 100, 0, 0, 0, 1);
  root.Draw(canvas.cr, MRect(0, 0, 100, 100));
  EXPECT_EQ(canvas.Pixel(20, 20), 0xFFFF0000u);
  EXPECT_EQ(canvas.Pixel(50, 50), 0xFF0000FFu);  // overlap: b on top
  EXPECT_EQ(canvas.Pixel(95, 95), 0xFF000000u);
  b->SetControlVisible(0);
  Canvas second(100, 100, 0, 0, 0, 1);
  root.Draw(second.cr, MRect(0, 0, 100, 100));
  EXPECT_EQ(second.Pixel(50, 50), 0xFFFF0000u);
  EXPECT_EQ(b->builds, 1);
  // An invisible container draws nothing.
  root.SetControlVisible(0);
  Canvas third(100, 100, 0, 0, 0, 1);
  root.Draw(third.cr, MRect(0, 0, 100, 100));
  EXPECT_EQ(third.Pixel(20, 20), 0xFF000000u);
}

TEST(ControlDraw, AreaDefaultBlendsWhiteAtAlpha51) {
  RecordingParent parent;
  CArea area(&parent, 1, MRect(10, 10, 50, 50));
  // Over opaque black: the colour is 51 / 255 of white.
  Canvas black(64, 64, 0, 0, 0, 1);
  area.Draw(black.cr, MRect(0, 0, 64, 64));
  EXPECT_EQ(black.Pixel(20, 20), 0xFF333333u);
  EXPECT_EQ(black.Pixel(49, 49), 0xFF333333u);
  EXPECT_EQ(black.Pixel(5, 5), 0xFF000000u);  // outside the area
  EXPECT_EQ(black.Pixel(50, 50), 0xFF000000u);
  EXPECT_EQ(area.GetCacheBuildCount(), 1u);

  // Over a transparent surface: alpha 51 of white.
  CArea second(&parent, 2, MRect(0, 0, 8, 8));
  Canvas clear(8, 8, 0, 0, 0, 0);
  second.Draw(clear.cr, MRect(0, 0, 8, 8));
  const uint32_t px = clear.Pixel(3, 3);
  EXPECT_EQ(px >> 24, 51u);
  EXPECT_EQ(px, 0x33333333u);  // premultiplied white at alpha 51
}

TEST(ControlDraw, AreaOpaqueFillAndFrame) {
  RecordingParent parent;
  CArea area(&parent, 1, MRect(0, 0, 10, 10));
  area.SetTransparent(0, 0, 0x0000FF);  // COLORREF red
  EXPECT_EQ(parent.updates.size(), 1u);
  Canvas canvas(10, 10, 0, 0, 0, 0);
  area.Draw(canvas.cr, MRect(0, 0, 10, 10));
  EXPECT_EQ(canvas.Pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(canvas.Pixel(5, 5), 0xFFFF0000u);

  area.SetFrame(1, 0xFF00FF00);
  EXPECT_EQ(area.GetUpdate(), 0);
  area.Draw(canvas.cr, MRect(0, 0, 10, 10));
  EXPECT_EQ(canvas.Pixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(canvas.Pixel(9, 5), 0xFF00FF00u);
  EXPECT_EQ(canvas.Pixel(5, 5), 0xFFFF0000u);
  EXPECT_EQ(area.GetCacheBuildCount(), 2u);
}

TEST(ControlDraw, AreaRampRunsFromStartToEndTransparency) {
  RecordingParent parent;
  CArea area(&parent, 1, MRect(0, 0, 4, 100));
  area.SetTransparent(0, 100, 0xFFFFFF);  // opaque at the top, clear at the bottom
  Canvas canvas(4, 100, 0, 0, 0, 1);
  area.Draw(canvas.cr, MRect(0, 0, 4, 100));
  const uint32_t top = canvas.Pixel(1, 0) & 0xFF;
  const uint32_t bottom = canvas.Pixel(1, 99) & 0xFF;
  EXPECT_GE(top, 250u);
  EXPECT_LE(bottom, 5u);
  EXPECT_GT(canvas.Pixel(1, 30) & 0xFF, canvas.Pixel(1, 60) & 0xFF);
}

TEST(ControlDraw, AreasOfAControlAreDrawnBeneathIt) {
  RecordingParent parent;
  MPanel root(&parent, 100, MRect(0, 0, 20, 20));
  auto* probe = new Probe(&root, 5, MRect(0, 0, 10, 10));
  probe->red = 0, probe->green = 1, probe->blue = 0;
  root.AddControl(probe);
  MControl* area = root.CreateArea(L"CArea", 6, MRect(0, 0, 20, 20));
  ASSERT_NE(area, nullptr);
  static_cast<CArea*>(area)->SetTransparent(0, 0, 0xFF0000);  // COLORREF blue
  Canvas canvas(20, 20, 0, 0, 0, 1);
  root.Draw(canvas.cr, MRect(0, 0, 20, 20));
  EXPECT_EQ(canvas.Pixel(5, 5), 0xFF00FF00u);    // the child over the area
  EXPECT_EQ(canvas.Pixel(15, 15), 0xFF0000FFu);  // the area alone
}

namespace {

// A panel that draws its scrolled content itself, as derived panels do.
class ScrollingPanel : public MPanel {
 public:
  using MPanel::MPanel;
  void DrawSubControls(cairo_t* cr, const MRect& paint) override {
    if (GetEnableScroll() && IsContentTaller())
      DrawScrolledChildren(cr, paint);
    else
      MPanel::DrawSubControls(cr, paint);
  }
};

}  // namespace

TEST(ControlDraw, ScrolledContentIsDrawnMovedAndClipped) {
  RecordingParent parent;
  ScrollingPanel panel(&parent, 100, MRect(0, 0, 20, 20));
  auto* top = new Probe(&panel, 5, MRect(0, 0, 20, 20));
  auto* below = new Probe(&panel, 6, MRect(0, 20, 20, 40));
  top->red = 1, top->green = 0, top->blue = 0;
  below->red = 0, below->green = 1, below->blue = 0;
  panel.AddControl(top);
  panel.AddControl(below);
  panel.SetVirtualHeight(40);
  // Plain MPanel behaviour: with content taller than the panel its children are not drawn.
  {
    MPanel plain(&parent, 1, MRect(0, 0, 20, 20));
    auto* child = new Probe(&plain, 5, MRect(0, 0, 20, 20));
    plain.AddControl(child);
    plain.SetVirtualHeight(40);
    Canvas canvas(20, 30, 0, 0, 0, 1);
    plain.Draw(canvas.cr, MRect(0, 0, 20, 30));
    EXPECT_EQ(child->builds, 0);
  }
  panel.GetScrollVertical()->SetScrollCurrentPos(1000);  // scrolled to the end: 20 pixels
  Canvas canvas(20, 30, 0, 0, 0, 1);
  panel.Draw(canvas.cr, MRect(0, 0, 20, 30));
  EXPECT_EQ(canvas.Pixel(5, 5), 0xFF00FF00u);    // the lower child now at the top
  EXPECT_EQ(canvas.Pixel(5, 25), 0xFF000000u);   // clipped to the panel
}
