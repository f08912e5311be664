// The window path through the SDL back end (under Xvfb with `make bench`): a 1280 x 720
// dialog with 150 controls. Measured: a redraw request of one control until its frame is on
// the screen, a full repaint (cached control pictures, and with every picture rebuilt), and
// the CPU an idle shown dialog uses while its message loop blocks.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tessel/core/backend/sdl_backend.h"
#include "tessel/core/backend/window_system.h"
#include "tessel/core/manager.h"
#include "tessel/core/mcontrol.h"
#include "tessel/core/mdialog.h"
#include "tessel/core/render.h"

namespace {

using Clock = std::chrono::steady_clock;

// A skinned-looking button: gradient, frame and a label, drawn through the control cache.
class BenchButton : public MControl {
 public:
  BenchButton(MObject* parent, unsigned id, const MRect& rect)
      : MControl(parent, id, rect), label_(L"Key " + std::to_wstring(id)) {}
  void DrawControl(cairo_t* cr, const MRect& paint) override { DrawThroughCache(cr, paint); }

 protected:
  void BuildCache(cairo_t* cache, cairo_t*) override {
    const MRect r(0, 0, rect_.Width(), rect_.Height());
    const uint32_t tint = (id_ * 2654435761u) & 0x3F3F3F;
    MRender::DrawGradient(cache, r, 0xFF303848u | tint, 0xFF181C24u, true, 16);
    MRender::DrawRectangle(cache, r, 0xFF10A8FD);
    MFont font;
    font.size = 12;
    MRender::DrawTextW(cache, label_, r, 0xFFFFFFFF, font, MDT_CENTER | MDT_VCENTER | MDT_SINGLELINE);
  }

 private:
  std::wstring label_;
};

class BenchDialog : public MDialog {
 public:
  void InitUI(const MRect&) override {
    for (int i = 0; i < 150; ++i) {
      const int col = i % 15, row = i / 15;
      auto* b = new BenchButton(this, 100 + i, MRect::FromXYWH(10 + col * 84, 10 + row * 70, 80, 62));
      paint_manager.AddControl(b);
      buttons.push_back(b);
    }
  }
  std::vector<BenchButton*> buttons;
};

struct Scene {
  SdlBackend* sdl = nullptr;
  std::unique_ptr<BenchDialog> dlg;
  bool ok = false;
};

void PumpUntilPainted(BenchDialog& dlg, unsigned count) {
  auto& ws = WindowSystem::Get();
  const auto until = Clock::now() + std::chrono::seconds(2);
  while (dlg.paint_manager.GetPaintCount() <= count && Clock::now() < until) {
    if (ws.PumpPending() == 0) std::this_thread::yield();
  }
}

Scene& GetScene() {
  static Scene scene;
  static bool tried = false;
  if (tried) return scene;
  tried = true;
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == 0) return scene;
  auto backend = std::make_unique<SdlBackend>();
  if (!backend->IsReady()) return scene;
  scene.sdl = backend.get();
  WindowSystem::Get().SetBackend(std::move(backend));
  scene.dlg = std::make_unique<BenchDialog>();
  if (scene.dlg->Create(nullptr, L"Bench", WS_POPUP, 0, MRect(0, 0, 1280, 720)) == nullptr) return scene;
  scene.dlg->ShowWindow(SW_SHOW);
  PumpUntilPainted(*scene.dlg, 0);
  // Let the first exposures settle.
  const auto until = Clock::now() + std::chrono::milliseconds(300);
  while (Clock::now() < until) WindowSystem::Get().PumpPending();
  scene.ok = true;
  return scene;
}

// Waits (untimed) until the next frame may be shown, then times `request` until the frame
// it caused is on the screen.
template <typename Request>
void TimeFrames(benchmark::State& state, Request request) {
  Scene& scene = GetScene();
  if (!scene.ok) {
    state.SkipWithError("no display: run under scripts/with-test-services");
    return;
  }
  BenchDialog& dlg = *scene.dlg;
  auto& ws = WindowSystem::Get();
  int i = 0;
  for (auto _ : state) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ws.GetBackend().FrameIntervalMs() + 1));
    ws.PumpPending();
    const unsigned before = dlg.paint_manager.GetPaintCount();
    const auto start = Clock::now();
    request(dlg, i++);
    PumpUntilPainted(dlg, before);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
}

void BM_OneControlUpdate(benchmark::State& state) {
  TimeFrames(state, [](BenchDialog& dlg, int i) { dlg.buttons[(i * 37) % 150]->UpdateControl(1); });
}
BENCHMARK(BM_OneControlUpdate)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_FullRepaintCached(benchmark::State& state) {
  TimeFrames(state, [](BenchDialog& dlg, int) { dlg.paint_manager.Invalidate(); });
}
BENCHMARK(BM_FullRepaintCached)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_FullRepaintRebuilt(benchmark::State& state) {
  TimeFrames(state, [](BenchDialog& dlg, int) {
    for (MControl* c : dlg.paint_manager.GetControls()) c->SetUpdate(0, 0);
    dlg.paint_manager.Invalidate();
  });
}
BENCHMARK(BM_FullRepaintRebuilt)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The shown dialog with nothing animating: the message loop blocks in SDL_WaitEventTimeout.
void BM_IdleDialogCpu(benchmark::State& state) {
  Scene& scene = GetScene();
  if (!scene.ok) {
    state.SkipWithError("no display: run under scripts/with-test-services");
    return;
  }
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    const double cpu0 = CpuSeconds();
    const auto t0 = Clock::now();
    std::thread stopper([] {
      std::this_thread::sleep_for(std::chrono::seconds(3));
      WindowSystem::Get().PostQuitMessage(0);
    });
    Manager::MessageLoop();
    stopper.join();
    cpu += CpuSeconds() - cpu0;
    wall += std::chrono::duration<double>(Clock::now() - t0).count();
  }
  state.counters["cpu_ms"] = cpu * 1000.0;
  state.counters["wall_ms"] = wall * 1000.0;
  state.counters["cpu_percent"] = wall > 0 ? 100.0 * cpu / wall : 0;
}
BENCHMARK(BM_IdleDialogCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
