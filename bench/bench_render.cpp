// Drawing a 1280 x 720 window with MRender (goals: warm full repaint under 4 ms
// median, one button's rebuild under 0.2 ms).
//
// The scene is what the main window paints: a full-window nine-grid background,
// 100 skinned buttons (a state picture of the skin stretched as a nine-grid, and a
// centred title) and 50 labels. As in the control model, each control
// draws its picture into its own cache surface, which a repaint copies onto the
// window's off-screen surface; the off-screen surface is then copied to the
// "screen" surface as OnPaint does.
//
//  BM_BareCairoFillAndBlit    the floor: fill the off-screen surface, copy it out
//  BM_WarmFullRepaint         background + 150 cached control pictures + copy out
//  BM_FullRepaintCachesRebuilt every control picture rebuilt, text layouts warm
//  BM_FullRepaintColdText      every control picture rebuilt and the text layout
//                              cache dropped first (the first paint of a window)
//  BM_SingleButtonRebuild      one button's picture rebuilt and copied to the window
//  BM_DirectFullRepaint        the whole scene drawn straight onto the surface,
//                              without control caches
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tessel/core/image.h"
#include "tessel/core/render.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

struct Control {
  MRect rect;
  std::wstring title;
  bool button = false;
  int state = 0;
  cairo_surface_t* cache = nullptr;
  cairo_t* cache_cr = nullptr;
};

// Writes a skin picture: `count` state pictures side by side, each a framed box.
void WriteSkin(const std::filesystem::path& path, int w, int h, int count) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w * count, h);
  cairo_t* cr = cairo_create(s);
  for (int i = 0; i < count; ++i) {
    MRender::DrawRoundRectange(cr, i * w + 0.5, 0.5, w - 1, h - 1, 6, 0xFF10A8FD, 1, true,
                               0xFF1A1F26 + static_cast<ARGB>(i * 0x080808));
  }
  cairo_destroy(cr);
  cairo_surface_write_to_png(s, path.c_str());
  cairo_surface_destroy(s);
}

class Scene {
 public:
  Scene() {
    char tmpl[] = "/tmp/bench_render_XXXXXX";
    folder_ = mkdtemp(tmpl);
    std::filesystem::create_directories(folder_ / "skins" / "theme1");
    WriteSkin(folder_ / "skins" / "theme1" / "bk.png", 64, 64, 1);
    WriteSkin(folder_ / "skins" / "theme1" / "btn.png", 48, 32, 4);
    SetTesselProgramFolder(folder_.wstring());
    background_ = cache_.AddImgResInfo(L"bk.png", 1);
    button_ = cache_.AddImgResInfo(L"btn.png", 4);
    surface_ = MRender::CreateARGB32Bitmap(kWidth, kHeight);
    cr_ = MRender::CreateCompatibleDC(surface_);
    screen_ = MRender::CreateARGB32Bitmap(kWidth, kHeight);
    screen_cr_ = MRender::CreateCompatibleDC(screen_);
    font_.size = 14;
    // 100 buttons in a 10 x 10 grid, 50 labels in two columns on the right.
    for (int i = 0; i < 100; ++i) {
      Control c;
      c.rect = MRect::FromXYWH(20 + (i % 10) * 88, 20 + (i / 10) * 64, 80, 36);
      c.title = L"Button " + std::to_wstring(i + 1);
      c.button = true;
      c.state = i % 4;
      controls_.push_back(c);
    }
    for (int i = 0; i < 50; ++i) {
      Control c;
      c.rect = MRect::FromXYWH(920 + (i % 2) * 180, 20 + (i / 2) * 27, 170, 24);
      c.title = L"Label " + std::to_wstring(i + 1) + L": lighting";
      controls_.push_back(c);
    }
    for (Control& c : controls_) {
      c.cache = MRender::CreateARGB32Bitmap(c.rect.Width(), c.rect.Height());
      c.cache_cr = MRender::CreateCompatibleDC(c.cache);
    }
    RebuildAll();
  }

  ~Scene() {
    for (Control& c : controls_) {
      cairo_destroy(c.cache_cr);
      cairo_surface_destroy(c.cache);
    }
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
    cairo_destroy(screen_cr_);
    cairo_surface_destroy(screen_);
    cache_.ClearImgResInfo();
    SetTesselProgramFolder(L"");
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  bool Ok() const { return background_ && button_; }

  // A control's picture into its own cache (origin at the control's top-left).
  void Rebuild(Control& c) {
    cairo_t* cr = c.cache_cr;
    const MRect local(0, 0, c.rect.Width(), c.rect.Height());
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_restore(cr);
    DrawControl(cr, c, local);
  }

  void RebuildAll() {
    for (Control& c : controls_) Rebuild(c);
  }

  void DrawControl(cairo_t* cr, const Control& c, MRect at) {
    if (c.button) {
      MRender::DrawImageFrame(cr, button_->image, at, c.state * button_->frame_width, 0,
                              button_->frame_width, button_->frame_height, 6);
      MRender::DrawTextW(cr, c.title, at, 0xFFFFFFFF, font_, MDT_CENTER | MDT_VCENTER | MDT_SINGLELINE);
    } else {
      MRender::DrawTextW(cr, c.title, at, 0xFFB4B4B4, font_, MDT_LEFT | MDT_VCENTER | MDT_SINGLELINE);
    }
  }

  void Background(cairo_t* cr) {
    MRender::DrawImageFrame(cr, background_->image, MRect(0, 0, kWidth, kHeight), 0, 0,
                            background_->frame_width, background_->frame_height, 8);
  }

  void CopyToScreen() { MRender::BitBlt(screen_cr_, MRect(0, 0, kWidth, kHeight), surface_, 0, 0); }

  // A full repaint through the control caches.
  void Repaint() {
    Background(cr_);
    for (const Control& c : controls_) MRender::BitBlt(cr_, c.rect, c.cache, 0, 0, 255);
    CopyToScreen();
  }

  // The whole scene straight onto the off-screen surface.
  void DirectRepaint() {
    Background(cr_);
    for (const Control& c : controls_) DrawControl(cr_, c, c.rect);
    CopyToScreen();
  }

  void BareFillAndBlit() {
    MRender::FillSolidRect(cr_, MRect(0, 0, kWidth, kHeight), 0x130D09);
    CopyToScreen();
  }

  void SingleButton(int i) {
    Control& c = controls_[static_cast<size_t>(i) % 100];
    c.state = (c.state + 1) % 4;
    Rebuild(c);
    MRender::BitBlt(cr_, c.rect, c.cache, 0, 0, 255);
  }

  void Flush() { cairo_surface_flush(screen_); }

 private:
  std::filesystem::path folder_;
  MImageCache cache_;
  ImgResInfo* background_ = nullptr;
  ImgResInfo* button_ = nullptr;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  cairo_surface_t* screen_ = nullptr;
  cairo_t* screen_cr_ = nullptr;
  MFont font_;
  std::vector<Control> controls_;
};

Scene& TheScene() {
  static Scene* scene = new Scene();
  return *scene;
}

void BM_BareCairoFillAndBlit(benchmark::State& state) {
  Scene& s = TheScene();
  for (auto _ : state) {
    s.BareFillAndBlit();
    s.Flush();
  }
}

void BM_WarmFullRepaint(benchmark::State& state) {
  Scene& s = TheScene();
  if (!s.Ok()) state.SkipWithError("skin pictures did not load");
  s.Repaint();
  for (auto _ : state) {
    s.Repaint();
    s.Flush();
  }
}

void BM_FullRepaintCachesRebuilt(benchmark::State& state) {
  Scene& s = TheScene();
  for (auto _ : state) {
    s.RebuildAll();
    s.Repaint();
    s.Flush();
  }
}

void BM_FullRepaintColdText(benchmark::State& state) {
  Scene& s = TheScene();
  for (auto _ : state) {
    MRender::ClearTextCache();
    s.RebuildAll();
    s.Repaint();
    s.Flush();
  }
}

void BM_SingleButtonRebuild(benchmark::State& state) {
  Scene& s = TheScene();
  int i = 0;
  for (auto _ : state) {
    s.SingleButton(i++);
    s.Flush();
  }
}

void BM_DirectFullRepaint(benchmark::State& state) {
  Scene& s = TheScene();
  for (auto _ : state) {
    s.DirectRepaint();
    s.Flush();
  }
}

#define RENDER_BENCH(fn, unit) \
  BENCHMARK(fn)->Unit(unit)->Repetitions(5)->ReportAggregatesOnly(true)

RENDER_BENCH(BM_BareCairoFillAndBlit, benchmark::kMillisecond);
RENDER_BENCH(BM_WarmFullRepaint, benchmark::kMillisecond);
RENDER_BENCH(BM_FullRepaintCachesRebuilt, benchmark::kMillisecond);
RENDER_BENCH(BM_FullRepaintColdText, benchmark::kMillisecond);
RENDER_BENCH(BM_SingleButtonRebuild, benchmark::kMicrosecond);
RENDER_BENCH(BM_DirectFullRepaint, benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
