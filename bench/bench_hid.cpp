// One live colour frame of the framed family sent to the simulated keyboard: the 600-byte
// colour table filled, its six FR_LIVE_COLOURS reports built and written through
// KeyboardHid (goal: under 50 microseconds of our own work per frame).
//
//  BM_LiveFrameBuildAndSend   table fill + report build + six writes + keyboard decode
//  BM_LiveFrameBuild          table fill + report build only
//  BM_LiveFrameSendPrebuilt   the six writes of a frame built once
//  BM_LiveFrameWithJournal    as the first, with the simulated keyboard's journal kept
//
// The simulated keyboard stands in for the device: a real write's USB time is not ours.
// items_per_second is frames per second.
#include <benchmark/benchmark.h>

#include <memory>

#include "device/clock.h"
#include "device/keyboard_hid.h"
#include "emulator/emulator_backend.h"
#include "emulator/simulated_bus.h"
#include "protocol/commands_framed.h"

namespace {

struct Link {
  explicit Link(bool journal) {
    bus->Journal().SetRecording(journal);
    keyboard = bus->PlugNew(301, SimConnection::Cable);
    HidInterfaceEntry entry;
    entry.path = keyboard->PathOf(1);
    entry.handle = backend->Open(entry.path);
    entry.deviceType = 301;
    entry.mode = kModeCable;
    entry.connected = true;
    hid.AppendInterface(std::move(entry));
    hid.SetInitialised(true);
  }
  FakeClock clock;
  std::shared_ptr<SimulatedBus> bus = std::make_shared<SimulatedBus>(&clock);
  std::shared_ptr<EmulatorBackend> backend = std::make_shared<EmulatorBackend>(bus);
  KeyboardHid hid{backend, &clock};
  std::shared_ptr<SimulatedDevice> keyboard;
};

// The key colours of one animation step, as the lighting effects produce them.
void FillTable(ColourTable& table, uint32_t step) {
  for (int i = 0; i < COLOUR_TABLE_ENTRIES; ++i) {
    uint32_t v = step * 7 + static_cast<uint32_t>(i) * 13;
    table.Set(i, (v & 0xFF) | ((v * 3 & 0xFF) << 8) | ((v * 5 & 0xFF) << 16));
  }
}

void BM_LiveFrameBuildAndSend(benchmark::State& state) {
  Link link(false);
  ColourTable table;
  uint32_t step = 0;
  for (auto _ : state) {
    FillTable(table, step++);
    bool ok = link.hid.SendSequence(FrLiveColours(table));
    benchmark::DoNotOptimize(ok);
  }
  if (link.keyboard->Keyboard()->State().liveFrames != static_cast<int>(state.iterations())) {
    state.SkipWithError("frames were lost");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LiveFrameBuildAndSend);

void BM_LiveFrameBuild(benchmark::State& state) {
  ColourTable table;
  uint32_t step = 0;
  for (auto _ : state) {
    FillTable(table, step++);
    ReportSequence reports = FrLiveColours(table);
    benchmark::DoNotOptimize(reports.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LiveFrameBuild);

void BM_LiveFrameSendPrebuilt(benchmark::State& state) {
  Link link(false);
  ColourTable table;
  FillTable(table, 1);
  const ReportSequence reports = FrLiveColours(table);
  for (auto _ : state) {
    bool ok = link.hid.SendSequence(reports);
    benchmark::DoNotOptimize(ok);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LiveFrameSendPrebuilt);

void BM_LiveFrameWithJournal(benchmark::State& state) {
  Link link(true);
  ColourTable table;
  uint32_t step = 0;
  for (auto _ : state) {
    FillTable(table, step++);
    link.hid.SendSequence(FrLiveColours(table));
    if ((step & 0x3FF) == 0) link.bus->Journal().Clear();  // bounded memory
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LiveFrameWithJournal);

}  // namespace

BENCHMARK_MAIN();
