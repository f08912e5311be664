// MRender drawing: nine-grids, transitions, fills, placement, colour conventions.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "render_test_util.h"
#include "tessel/core/colour.h"
#include "tessel/core/render.h"

using render_test::Alpha;
using render_test::NewSurface;
using render_test::Pixel;

namespace {

// An image made of 3 x 3 opaque blocks with the given column widths and row
// heights; block (row r, column c) has colour 0xFF000000 | (r*3+c+1) * 0x1C1C1C
// varied per channel so that every block differs.
uint32_t BlockColour(int r, int c, int variant = 0) {
  const uint32_t k = static_cast<uint32_t>(r * 3 + c + 1);
  return 0xFF000000u | ((k * 25) << 16) | (((9 - k) * 25) << 8) | (variant ? 0xC0 : 0x20);
}

std::unique_ptr<MImage> BlockImage(std::vector<int> cols, std::vector<int> rows, int variants = 1) {
  int w = 0, h = 0;
  for (int c : cols) w += c;
  for (int r : rows) h += r;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w * variants, h);
  cairo_t* cr = cairo_create(s);
  for (int v = 0; v < variants; ++v) {
    int y = 0;
    for (int r = 0; r < 3; ++r) {
      int x = v * w;
      for (int c = 0; c < 3; ++c) {
        SetSourceArgb(cr, BlockColour(r, c, v));
        cairo_rectangle(cr, x, y, cols[c], rows[r]);
        cairo_fill(cr);
        x += cols[c];
      }
      y += rows[r];
    }
  }
  cairo_destroy(cr);
  return std::make_unique<MImage>(std::vector<cairo_surface_t*>{s}, std::vector<int>{0});
}

// Checks every pixel of the destination rectangle (L, T, W, H) against the piece
// it belongs to, with border widths l, t, r, b.
void ExpectNineGrid(cairo_surface_t* s, MRect d, int l, int t, int r, int b, int variant) {
  int bad = 0;
  for (int y = d.top; y < d.bottom; ++y) {
    for (int x = d.left; x < d.right; ++x) {
      const int col = x < d.left + l ? 0 : (x >= d.right - r ? 2 : 1);
      const int row = y < d.top + t ? 0 : (y >= d.bottom - b ? 2 : 1);
      if (Pixel(s, x, y) != BlockColour(row, col, variant) && ++bad < 5)
        ADD_FAILURE() << "pixel " << x << "," << y << " = " << std::hex << Pixel(s, x, y)
                      << " want " << BlockColour(row, col, variant);
    }
  }
  EXPECT_EQ(bad, 0);
}

}  // namespace

TEST(RenderNineGrid, PiecesLandWhereTheTableSays) {
  auto image = BlockImage({10, 10, 10}, {10, 10, 10});
  cairo_surface_t* s = NewSurface(130, 110);
  cairo_t* cr = cairo_create(s);
  const MRect d(5, 7, 125, 97);  // 120 x 90
  MRender::DrawImageFrame(cr, image.get(), d, 0, 0, 30, 30, 10);
  cairo_destroy(cr);
  ExpectNineGrid(s, d, 10, 10, 10, 10, 0);
  // Nothing outside the destination.
  EXPECT_EQ(Pixel(s, 4, 50), 0u);
  EXPECT_EQ(Pixel(s, 125, 50), 0u);
  EXPECT_EQ(Pixel(s, 60, 6), 0u);
  EXPECT_EQ(Pixel(s, 60, 97), 0u);
  cairo_surface_destroy(s);
}

TEST(RenderNineGrid, StatePictureChosenBySourceRectangle) {
  auto image = BlockImage({6, 4, 6}, {6, 4, 6}, 2);  // two 16 x 16 state pictures
  cairo_surface_t* s = NewSurface(80, 40);
  cairo_t* cr = cairo_create(s);
  const MRect d(0, 0, 80, 40);
  MRender::DrawImageFrame(cr, image.get(), d, 16, 0, 16, 16, 6);
  cairo_destroy(cr);
  ExpectNineGrid(s, d, 6, 6, 6, 6, 1);
  cairo_surface_destroy(s);
}

TEST(RenderNineGrid, MidUsesFourBorderWidths) {
  auto image = BlockImage({5, 7, 9}, {3, 6, 8});
  cairo_surface_t* s = NewSurface(70, 50);
  cairo_t* cr = cairo_create(s);
  const MRect d(2, 3, 66, 47);
  MRender::DrawImageFrameMID(cr, image.get(), d, 0, 0, 21, 17, 5, 3, 9, 8);
  cairo_destroy(cr);
  ExpectNineGrid(s, d, 5, 3, 9, 8, 0);
  cairo_surface_destroy(s);
}

TEST(RenderNineGrid, NullAndDegenerateInputsDrawNothing) {
  auto image = BlockImage({4, 4, 4}, {4, 4, 4});
  cairo_surface_t* s = NewSurface(20, 20);
  cairo_t* cr = cairo_create(s);
  MRender::DrawImageFrame(cr, nullptr, MRect(0, 0, 20, 20), 0, 0, 12, 12, 4);
  MRender::DrawImageFrame(nullptr, image.get(), MRect(0, 0, 20, 20), 0, 0, 12, 12, 4);
  MRender::DrawImageFrame(cr, image.get(), MRect(10, 10, 10, 10), 0, 0, 12, 12, 4);
  MRender::DrawImageFrame(cr, image.get(), MRect(0, 0, 20, 20), 500, 500, 12, 12, 4);
  MRender::DrawImage(cr, nullptr, MRect(0, 0, 5, 5));
  // Source rectangles and borders whose far edge lies beyond the int range (a broken skin).
  MRender::DrawImage(cr, image.get(), MRect(0, 0, 20, 20), 1, 0, INT_MAX, 4);
  MRender::DrawImage(cr, image.get(), MRect(0, 0, 20, 20), 0, 1, 4, INT_MAX);
  MRender::DrawImageFrame(cr, image.get(), MRect(0, 0, 20, 20), 0, 0, 12, 12, INT_MAX);
  EXPECT_EQ(image->GetPiece(1, 0, INT_MAX, 4), nullptr);
  EXPECT_EQ(image->GetPiece(0, INT_MAX, 4, 4), nullptr);
  cairo_destroy(cr);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(Pixel(s, x, y), 0u);
  cairo_surface_destroy(s);
}

TEST(RenderTransition, VerticalZeroToHundredGoesFromOpaqueToTransparent) {
  constexpr int n = 256;
  cairo_surface_t* src = NewSurface(8, n, 0x000000);
  cairo_surface_t* dst = NewSurface(8, n);  // transparent
  cairo_t* cr = cairo_create(dst);
  MRender::DrawVerticalTransition(cr, src, MRect(0, 0, 8, n), MRect(0, 0, 8, n), 0, 100);
  cairo_destroy(cr);
  EXPECT_EQ(Alpha(dst, 3, 0), 255u);
  EXPECT_EQ(Alpha(dst, 3, n - 1), 0u);
  for (int y = 1; y < n; ++y) ASSERT_LE(Alpha(dst, 3, y), Alpha(dst, 3, y - 1)) << y;
  // Every pixel of a row has the row's alpha.
  for (int x = 0; x < 8; ++x) EXPECT_EQ(Alpha(dst, x, 100), Alpha(dst, 0, 100));
  cairo_surface_destroy(src);
  cairo_surface_destroy(dst);
}

TEST(RenderTransition, BlendsSourceOverDestination) {
  cairo_surface_t* src = NewSurface(4, 100, 0x000000);
  cairo_surface_t* dst = NewSurface(4, 100, 0xFFFFFF);
  cairo_t* cr = cairo_create(dst);
  MRender::DrawVerticalTransition(cr, src, MRect(0, 0, 4, 100), MRect(0, 0, 4, 100), 100, 0);
  cairo_destroy(cr);
  // a = 100: the first row keeps the white destination; towards the end black.
  EXPECT_EQ(Pixel(dst, 0, 0), 0xFFFFFFFFu);
  EXPECT_LT(Pixel(dst, 0, 99) & 0xFF, 5u);
  cairo_surface_destroy(src);
  cairo_surface_destroy(dst);
}

TEST(RenderTransition, AlphaArithmetic) {
  // a = b = 80 (CArea's default) is a uniform blend with alpha 51.
  for (int i = 0; i < 40; ++i) EXPECT_EQ(MRender::TransitionAlpha(i, 40, 80, 80), 51);
  EXPECT_EQ(MRender::TransitionAlpha(0, 256, 0, 100), 255);
  EXPECT_EQ(MRender::TransitionAlpha(255, 256, 0, 100), 0);  // int(0.996)
  EXPECT_EQ(MRender::TransitionAlpha(0, 100, 100, 0), 0);
  EXPECT_EQ(MRender::TransitionAlpha(0, 10, 20, 50), 204);  // opacity 80 %
  EXPECT_EQ(MRender::TransitionAlpha(0, 10, 50, 20), 127);  // int(127.5)
  EXPECT_EQ(MRender::TransitionAlpha(3, 0, 0, 100), 0);     // no rows
}

TEST(RenderTransition, HorizontalRunsByColumns) {
  cairo_surface_t* src = NewSurface(200, 3, 0x000000);
  cairo_surface_t* dst = NewSurface(200, 3);
  cairo_t* cr = cairo_create(dst);
  MRender::DrawHorizontalTransition(cr, src, MRect(0, 0, 200, 3), MRect(0, 0, 200, 3), 0, 100);
  cairo_destroy(cr);
  EXPECT_EQ(Alpha(dst, 0, 1), 255u);
  EXPECT_LE(Alpha(dst, 199, 1), 2u);
  EXPECT_EQ(Alpha(dst, 100, 0), Alpha(dst, 100, 2));
  cairo_surface_destroy(src);
  cairo_surface_destroy(dst);
}

TEST(RenderTransition, ARunLongerThanCairoCanMaskDrawsNothing) {
  cairo_surface_t* src = NewSurface(8, 8, 0x000000);
  cairo_surface_t* dst = NewSurface(8, 8);
  cairo_t* cr = cairo_create(dst);
  MRender::DrawVerticalTransition(cr, src, MRect(0, 0, 8, 40000), MRect(0, 0, 8, 8), 0, 100);
  MRender::DrawHorizontalTransition(cr, src, MRect(0, 0, 40000, 8), MRect(0, 0, 8, 8), 0, 100);
  MRender::DrawRightBottomTransition(cr, src, MRect(0, 0, 40000, 40000), 40000);
  cairo_destroy(cr);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(Pixel(dst, x, y), 0u);
  cairo_surface_destroy(src);
  cairo_surface_destroy(dst);
}

TEST(RenderTransition, RightBottomCornerFades) {
  cairo_surface_t* src = NewSurface(40, 40, 0x000000);
  cairo_surface_t* dst = NewSurface(40, 40);
  cairo_t* cr = cairo_create(dst);
  MRender::DrawRightBottomTransition(cr, src, MRect(0, 0, 40, 40), 20);
  cairo_destroy(cr);
  EXPECT_EQ(Alpha(dst, 20, 20), 255u);  // corner's (0, 0)
  EXPECT_EQ(Alpha(dst, 39, 39), 0u);    // farther than n
  EXPECT_EQ(Alpha(dst, 5, 5), 0u);      // outside the corner: untouched
  EXPECT_GT(Alpha(dst, 25, 20), Alpha(dst, 30, 20));
  cairo_surface_destroy(src);
  cairo_surface_destroy(dst);
}

TEST(RenderFill, GradientColoursAndMeanAlpha) {
  cairo_surface_t* s = NewSurface(10, 100);
  cairo_t* cr = cairo_create(s);
  MRender::DrawGradient(cr, MRect(0, 0, 10, 100), 0xFFFF0000, 0xFF0000FF, true, 64);
  cairo_destroy(cr);
  EXPECT_GT(ArgbRed(Pixel(s, 5, 0)), 240);
  EXPECT_GT(ArgbBlue(Pixel(s, 5, 99)), 240);
  EXPECT_EQ(Pixel(s, 0, 50), Pixel(s, 9, 50));
  cairo_surface_destroy(s);

  s = NewSurface(10, 10);
  cr = cairo_create(s);
  MRender::DrawGradient(cr, MRect(0, 0, 10, 10), 0x00FF0000, 0x000000FF, false, 8);
  EXPECT_EQ(Pixel(s, 5, 5), 0u);  // mean alpha 0: nothing
  MRender::DrawGradient(cr, MRect(0, 0, 10, 10), 0xFFFFFFFF, 0x00FFFFFF, false, 8);
  cairo_destroy(cr);
  EXPECT_NEAR(static_cast<int>(Alpha(s, 5, 5)), 127, 1);
  cairo_surface_destroy(s);
}

TEST(RenderFill, DrawColorNeedsAlpha) {
  cairo_surface_t* s = NewSurface(10, 10);
  cairo_t* cr = cairo_create(s);
  MRender::DrawColor(cr, MRect(0, 0, 10, 10), 0x00FFFFFF);
  EXPECT_EQ(Pixel(s, 5, 5), 0u);
  MRender::DrawColor(cr, MRect(0, 0, 10, 10), 0xFF10A8FD);
  cairo_destroy(cr);
  EXPECT_EQ(Pixel(s, 5, 5), 0xFF10A8FDu);
  cairo_surface_destroy(s);
}

TEST(RenderFill, CheckAlphaColor) {
  static_assert(MRender::CheckAlphaColor(0xFF000000u) == 0xFF000001u);
  EXPECT_EQ(MRender::CheckAlphaColor(0xFF000000u), 0xFF000001u);
  EXPECT_EQ(MRender::CheckAlphaColor(0x00000000u), 0x00000001u);
  for (uint32_t c : {0x12345678u, 0xFF000001u, 0x00FFFFFFu, 0x80010000u, 0xFF000100u})
    EXPECT_EQ(MRender::CheckAlphaColor(c), c);
}

TEST(RenderFill, FillSolidRectTakesColorRef) {
  cairo_surface_t* s = NewSurface(10, 10);
  cairo_t* cr = cairo_create(s);
  MRender::FillSolidRect(cr, MRect(0, 0, 5, 10), MakeColorRef(255, 0, 0));
  MRender::FillSolidRect(cr, 5, 0, 5, 10, 0x130D09);  // the window back colour
  cairo_destroy(cr);
  EXPECT_EQ(Pixel(s, 2, 2), 0xFFFF0000u);
  EXPECT_EQ(Pixel(s, 7, 2), 0xFF090D13u);
  cairo_surface_destroy(s);
}

TEST(RenderFill, ColourConventions) {
  EXPECT_EQ(ArgbFromColorRef(0x130D09), 0xFF090D13u);
  EXPECT_EQ(ArgbFromColorRef(0xFDA810, 0x80), 0x8010A8FDu);
  EXPECT_EQ(ColorRefFromArgb(0xFF10A8FD), 0xFDA810u);
  EXPECT_EQ(MakeColorRef(1, 2, 3), 0x030201u);
  EXPECT_EQ(PixelFromArgb(0x80FF0000), 0x80800000u);
  EXPECT_EQ(ArgbFromPixel(PixelFromArgb(0xFF123456)), 0xFF123456u);
}

TEST(RenderFill, RoundRectangleFillsInsideAndSparesCorners) {
  cairo_surface_t* s = NewSurface(60, 40);
  cairo_t* cr = cairo_create(s);
  MRender::DrawRoundRectange(cr, 0, 0, 60, 40, 2, 0xFFFFFFFF, 1, true, 0xFF00FF00);
  cairo_destroy(cr);
  EXPECT_EQ(Pixel(s, 30, 20), 0xFF00FF00u);
  EXPECT_EQ(Alpha(s, 0, 0), 0u);  // rounded corner
  EXPECT_GT(Alpha(s, 30, 0), 0u);  // top edge stroked
  cairo_surface_destroy(s);
}

TEST(RenderPlacement, GetOriginPoint) {
  EXPECT_EQ(MRender::GetOriginPoint(100, 50, 20, 10, 0, 0), MPoint(0, 0));
  EXPECT_EQ(MRender::GetOriginPoint(100, 50, 20, 10, 1, 4), MPoint(40, 20));
  EXPECT_EQ(MRender::GetOriginPoint(100, 50, 20, 10, 2, 8), MPoint(80, 40));
  EXPECT_EQ(MRender::GetOriginPoint(100, 50, 20, 10, 3, 5), MPoint(0, 0));
  EXPECT_EQ(MRender::GetOriginPoint(MRect(10, 20, 110, 70), 20, 10, 1, 4), MPoint(50, 42));
}

TEST(RenderBitmap, CreateAndBlit) {
  uint32_t* pixels = nullptr;
  cairo_surface_t* a = MRender::CreateARGB32Bitmap(16, 8, &pixels);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixels[0], 0u);
  EXPECT_EQ(MRender::CreateARGB32Bitmap(0, 8, &pixels), nullptr);
  cairo_t* cr = MRender::CreateCompatibleDC(a);
  MRender::FillSolidRect(cr, MRect(0, 0, 16, 8), 0x0000FF);
  cairo_destroy(cr);
  cairo_surface_t* b = MRender::CreateCompatibleBitmap(32, 32);
  cr = MRender::CreateCompatibleDC(b);
  MRender::BitBlt(cr, MRect(4, 4, 12, 8), a, 0, 0);
  MRender::BitBlt(cr, MRect(20, 20, 24, 24), a, 0, 0, 128);
  cairo_destroy(cr);
  EXPECT_EQ(Pixel(b, 4, 4), 0xFFFF0000u);
  EXPECT_EQ(Pixel(b, 11, 7), 0xFFFF0000u);
  EXPECT_EQ(Pixel(b, 12, 4), 0u);
  EXPECT_NEAR(static_cast<int>(Alpha(b, 21, 21)), 128, 1);
  cairo_surface_destroy(a);
  cairo_surface_destroy(b);
}

TEST(RenderGeometry, RectOperations) {
  MRect r(0, 0, 10, 10);
  EXPECT_TRUE(r.Contains(0, 0));
  EXPECT_FALSE(r.Contains(10, 5));
  EXPECT_EQ(r.Intersect(MRect(5, 5, 20, 20)), MRect(5, 5, 10, 10));
  EXPECT_TRUE(r.Intersect(MRect(10, 10, 20, 20)).IsEmpty());
  EXPECT_EQ(r.Union(MRect(5, 5, 20, 20)), MRect(0, 0, 20, 20));
  EXPECT_EQ(MRect::FromXYWH(1, 2, 3, 4), MRect(1, 2, 4, 6));
}
