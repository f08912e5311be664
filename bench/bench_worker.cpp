// The worker thread's CPU use while idle, on the real clock: the simulated keyboard is
// connected (or absent), nothing is queued, and the worker runs its 16 ms cycle with the
// status poll (a 10 ms read of unsolicited reports per cycle, the status request every 5 s).
// Goal: under 1 % of one core.
//
//  BM_WorkerIdleConnected   a cable keyboard of the framed family, found by the start-up task
//  BM_WorkerIdleNoKeyboard  no keyboard: the idle cycle has nothing to do
//
// Counters: worker_cpu_pct is the worker thread's CPU time (pthread CPU clock) over the
// measured wall time, in % of one core; process_cpu_pct the same for the whole process
// (getrusage RUSAGE_SELF, the benchmark's main thread only sleeps); cycles per second.
// The measured period is VANTOR_BENCH_WORKER_SECONDS (default 20; 60 is the goal's window).
#include <benchmark/benchmark.h>
#include <pthread.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <thread>

#include "app/keyboard_worker.h"
#include "app/task_codes.h"
#include "device/description_loader.h"
#include "emulator/emulator_backend.h"
#include "emulator/shipped_identity.h"
#include "tessel/core/text_utf.h"

namespace {

class SilentView : public ConnectionView {
 public:
  void ShowConnectionIcon(const std::wstring&) override {}
  void ShowTitleText(int) override {}
  void ShowStatusText(int) override {}
  void ShowDevicePicture(const std::wstring&) override {}
  void SetTabBarVisible(bool) override {}
  void SetPagesVisible(bool) override {}
  void SelectTab(int) override {}
  void LayOutPagesFor(int) override {}
  void ClearDeviceStates() override {}
  void SetDeviceState(int, int) override {}
  void SetBatteryLevel(int) override {}
  void EnableMainWindow(bool) override {}
  bool MainWindowVisible() const override { return true; }
  int CurrentTab() const override { return kTabKeys; }
};

// The worker, with a note of its own thread so that its CPU clock can be read.
class MeasuredWorker : public KeyboardWorker {
 public:
  using KeyboardWorker::KeyboardWorker;
  ~MeasuredWorker() override { Stop(); }
  std::atomic<bool> seen{false};
  std::atomic<long> cycles{0};
  pthread_t thread{};

 protected:
  void Run() override {
    if (!seen.load()) {
      thread = pthread_self();
      seen = true;
    }
    ++cycles;
    KeyboardWorker::Run();
  }
};

double ThreadCpuSeconds(pthread_t thread) {
  clockid_t id;
  if (pthread_getcpuclockid(thread, &id) != 0) return 0;
  timespec ts{};
  clock_gettime(id, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& tv) { return tv.tv_sec + tv.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

int MeasuredSeconds() {
  const char* text = std::getenv("VANTOR_BENCH_WORKER_SECONDS");
  int seconds = text ? std::atoi(text) : 0;
  return seconds > 0 ? seconds : 20;
}

void RunIdleWorker(benchmark::State& state, bool withKeyboard) {
  auto bus = std::make_shared<SimulatedBus>();
  bus->Journal().SetRecording(false);
  KeyboardHid hid(std::make_shared<EmulatorBackend>(bus));
  SilentView view;
  WorkerTaskQueue queue;
  TaskTable tasks;
  DeviceMonitor monitor(hid, view, [&](int code) { queue.Append(code); });
  monitor.SetDriveLister([] { return std::vector<UpdateDrive>{}; });
  KeyboardModel model;
  DescriptionLoader(model, WideFromUtf8(VANTOR_SOURCE_DIR "/data"), nullptr).LoadDeviceList();
  for (const DeviceModeEntry& entry : model.deviceModes) monitor.AddIdentity(entry);
  if (withKeyboard) PlugShipped(*bus, 301, SimConnection::Cable);

  MeasuredWorker worker(queue, tasks, monitor, view);
  queue.Append(TASK_STARTUP);
  worker.Start();
  // Let the start-up task and the tasks after the connection run (15, 16, 5: 100 ms each).
  while (!worker.seen.load() || !queue.Empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  if (withKeyboard && !monitor.State().keyboardPresent) state.SkipWithError("keyboard not found");

  for (auto _ : state) {
    const auto wallStart = std::chrono::steady_clock::now();
    const double threadStart = ThreadCpuSeconds(worker.thread);
    const double processStart = ProcessCpuSeconds();
    const long cyclesStart = worker.cycles.load();
    std::this_thread::sleep_for(std::chrono::seconds(MeasuredSeconds()));
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    state.SetIterationTime(wall);
    state.counters["worker_cpu_pct"] = 100.0 * (ThreadCpuSeconds(worker.thread) - threadStart) / wall;
    state.counters["process_cpu_pct"] = 100.0 * (ProcessCpuSeconds() - processStart) / wall;
    state.counters["cycles_per_s"] = (worker.cycles.load() - cyclesStart) / wall;
  }
  worker.Stop();
}

void BM_WorkerIdleConnected(benchmark::State& state) { RunIdleWorker(state, true); }
void BM_WorkerIdleNoKeyboard(benchmark::State& state) { RunIdleWorker(state, false); }

BENCHMARK(BM_WorkerIdleConnected)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_WorkerIdleNoKeyboard)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
