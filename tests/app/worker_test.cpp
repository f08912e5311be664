// The worker against the simulated keyboard: the three branches of its cycle, the task
// table, the wait dialog, and stopping.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>

#include "app/keyboard_worker.h"
#include "app/task_codes.h"
#include "device/monitor_rig.h"
#include "emulator/bus_hotplug.h"
#include "protocol/commands_framed.h"

namespace {

struct CountingDialog : WaitDialogHandle {
  std::atomic<int> ended{0};
  void DoOK() override { ++ended; }
};

LightParams Light(int brightness) {
  LightParams light;
  light.mode = 2;
  light.brightness = brightness;
  return light;
}

// The monitor queues into the worker's queue.
struct WorkerRig : MonitorRig {
  WorkerTaskQueue queue;
  TaskTable tasks;
  KeyboardWorker worker{queue, tasks, monitor, view, &clock};

  void Queue(int code) override { queue.Append(code); }

  // Runs cycles until the queue is empty.
  void Drain() {
    for (int i = 0; i < 100 && !queue.Empty(); ++i) worker.Cycle();
  }
  // A cable keyboard found by the start-up task, with the tasks that follow it done.
  std::shared_ptr<SimulatedDevice> ConnectCable() {
    auto cable = Plug(301, SimConnection::Cable);
    queue.Append(TASK_STARTUP);
    Drain();
    return cable;
  }
};

// Waits (up to a generous limit) for a condition another thread makes true.
template <typename Pred>
bool Eventually(Pred pred) {
  for (int i = 0; i < 10000 && !pred(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return pred();
}

TEST(KeyboardWorker, BrightnessChangedThreeTimesDuringASendEndsWithTheLastValue) {
  WorkerRig rig;
  auto cable = rig.ConnectCable();
  std::atomic<int> brightness{1};  // stands for the lighting row in the database
  std::mutex lock;
  std::condition_variable changed;
  bool started = false, release = false;
  int runs = 0;
  rig.tasks.Register(TASK_SEND_LIGHT, [&] {
    const LightParams light = Light(brightness.load());
    {
      std::unique_lock guard(lock);
      ++runs;
      started = true;
      changed.notify_all();
      changed.wait(guard, [&] { return release; });
    }
    rig.hid.Send(FrSetLight(light));
  });
  CountingDialog dialog;
  auto change = [&](int value) {
    brightness = value;
    if (rig.queue.AppendIfIdle(TASK_SEND_LIGHT)) rig.queue.SetWaitDialog(&dialog);
  };

  change(1);
  ASSERT_TRUE(rig.worker.Start());
  {
    std::unique_lock guard(lock);
    ASSERT_TRUE(changed.wait_for(guard, std::chrono::seconds(10), [&] { return started; }));
  }
  for (int value : {2, 3, 4}) change(value);
  EXPECT_EQ(rig.queue.Waiting(TASK_SEND_LIGHT), 1u);
  {
    std::lock_guard guard(lock);
    release = true;
  }
  changed.notify_all();
  ASSERT_TRUE(Eventually([&] { return rig.queue.Empty(); }));
  EXPECT_TRUE(rig.worker.Stop());

  SimLighting lighting = cable->Keyboard()->State().lighting;
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(lighting.commands, 2);
  EXPECT_EQ(lighting.brightness, 4);
  EXPECT_GE(dialog.ended, 1);  // the one wait dialog closes with the first send that ends
  EXPECT_TRUE(rig.view.enabled);
}

TEST(KeyboardWorker, DeviceTaskDisablesTheWindowEndsTheWaitDialogAndPauses) {
  WorkerRig rig;
  auto cable = rig.ConnectCable();
  bool enabledDuringTask = true;
  rig.tasks.Register(TASK_SEND_KEYS, [&] { enabledDuringTask = rig.view.enabled; });
  CountingDialog dialog;
  rig.queue.Append(TASK_SEND_KEYS);
  rig.queue.SetWaitDialog(&dialog);
  rig.clock.ClearPauses();
  rig.worker.Cycle();
  EXPECT_FALSE(enabledDuringTask);
  EXPECT_TRUE(rig.view.enabled);
  EXPECT_EQ(dialog.ended, 1);
  EXPECT_EQ(rig.clock.Pauses(), std::vector<int>{kAfterDeviceTaskPauseMs});
  EXPECT_TRUE(rig.queue.Empty());
}

TEST(KeyboardWorker, UnpluggingWhileALightTaskIsQueuedClosesTheWaitDialog) {
  for (bool removalFirst : {true, false}) {
    SCOPED_TRACE(removalFirst ? "removal queued first" : "light queued first");
    WorkerRig rig;
    auto cable = rig.ConnectCable();
    BusHotplugSource hotplug(rig.bus);
    hotplug.Start([&](DeviceChange event, const std::wstring& path) {
      rig.monitor.OnDeviceChange(event, path);
    });
    int runs = 0;
    rig.tasks.Register(TASK_SEND_LIGHT, [&] {
      ++runs;
      rig.hid.Send(FrSetLight(Light(5)));
    });
    CountingDialog dialog;
    auto queueLight = [&] {
      ASSERT_TRUE(rig.queue.AppendIfIdle(TASK_SEND_LIGHT));
      rig.queue.SetWaitDialog(&dialog);
    };
    const int enables = rig.view.Count("enable");

    if (!removalFirst) queueLight();
    rig.bus->Unplug(cable);
    if (removalFirst) queueLight();
    ASSERT_EQ(rig.queue.Size(), 2u);
    rig.worker.Cycle();
    rig.worker.Cycle();

    EXPECT_TRUE(rig.queue.Empty());
    EXPECT_EQ(dialog.ended, 1);
    EXPECT_EQ(cable->Keyboard()->State().lighting.commands, 0);
    EXPECT_FALSE(rig.monitor.State().interfaceFound);
    // Taken after the refresh, the task is dropped without running or touching the window.
    EXPECT_EQ(runs, removalFirst ? 0 : 1);
    EXPECT_EQ(rig.view.Count("enable") - enables, removalFirst ? 0 : 2);
  }
}

TEST(KeyboardWorker, CodesWithoutRoutineAreRemovedWithoutEffect) {
  for (bool connected : {true, false}) {
    WorkerRig rig;
    if (connected) rig.ConnectCable();
    rig.tasks.Register(TASK_SEND_LIGHT, [] {});
    for (int code : {int{TASK_SWITCH_DEVICE}, 11, 13, 0, 99}) {
      SCOPED_TRACE(code);
      EXPECT_FALSE(rig.tasks.Register(code, [] { FAIL(); }));
      const size_t logged = rig.view.log.size();
      const size_t outputs = rig.bus->Journal().Size();
      rig.clock.ClearPauses();
      rig.queue.Append(code);
      rig.worker.Cycle();
      EXPECT_TRUE(rig.queue.Empty());
      EXPECT_EQ(rig.view.log.size(), logged);
      EXPECT_EQ(rig.bus->Journal().Size(), outputs);
      EXPECT_TRUE(rig.clock.Pauses().empty());
    }
  }
}

TEST(KeyboardWorker, StartupRunsOnceAndRefreshesRunWithoutAKeyboard) {
  WorkerRig rig;
  int hooks = 0;
  rig.worker.SetStartupHook([&] { ++hooks; });
  rig.queue.Append(TASK_STARTUP);
  rig.queue.Append(TASK_STARTUP);
  rig.Drain();
  EXPECT_EQ(hooks, 1);
  EXPECT_EQ(rig.view.Count("title"), 1);
  EXPECT_EQ(rig.view.title, kTextTitleNotConnected);

  rig.Plug(301, SimConnection::Cable);
  rig.queue.Append(TASK_DEVICE_ARRIVED);
  rig.worker.Cycle();
  EXPECT_TRUE(rig.monitor.State().keyboardPresent);
  EXPECT_EQ(rig.queue.Size(), 3u);  // 15, 16 and 5 follow the connection
}

TEST(KeyboardWorker, IdleCycleDrawsLiveColoursOnlyOnTheLightingPageOfStreamingFamilies) {
  struct Case {
    bool visible;
    int tab;
    int deviceType;
    bool drawn;
  };
  const Case cases[] = {{true, 3, 301, true},  {true, 3, 101, true},  {false, 3, 301, false},
                        {true, 1, 301, false}, {true, 3, 201, false}, {true, 3, 400, false}};
  WorkerRig rig;
  rig.ConnectCable();
  int drawn = 0;
  rig.worker.SetLiveLightingHook([&] { ++drawn; });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.deviceType);
    rig.view.visible = c.visible;
    rig.view.tab = c.tab;
    rig.monitor.SetDeviceType(c.deviceType);
    drawn = 0;
    rig.worker.Cycle();
    EXPECT_EQ(drawn, c.drawn ? 1 : 0);
  }

  // No keyboard interface: the idle cycle does nothing at all.
  WorkerRig empty;
  empty.view.visible = true;
  empty.view.tab = 3;
  empty.worker.SetLiveLightingHook([&] { ++drawn; });
  drawn = 0;
  const int64_t before = empty.clock.NowUs();
  empty.worker.Cycle();
  EXPECT_EQ(drawn, 0);
  EXPECT_EQ(empty.clock.NowUs(), before);  // not even a read time-out
}

TEST(KeyboardWorker, StopEndsTheThreadWithinOneSecond) {
  for (bool connected : {false, true}) {
    WorkerRig rig;
    if (connected) rig.ConnectCable();
    ASSERT_TRUE(rig.worker.Start());
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    EXPECT_TRUE(rig.worker.Stop(std::chrono::milliseconds(1000)));
    EXPECT_FALSE(rig.worker.IsRunning());
  }
}

TEST(TaskTable, RoutinesAreRegisteredForKnownCodesOnly) {
  TaskTable table;
  EXPECT_STREQ(TaskTable::Name(TASK_SEND_LIGHT), "TASK_SEND_LIGHT");
  EXPECT_FALSE(table.Run(TASK_SEND_LIGHT));
  int runs = 0;
  EXPECT_TRUE(table.Register(TASK_SEND_LIGHT, [&] { ++runs; }));
  EXPECT_TRUE(table.Run(TASK_SEND_LIGHT));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(table.Register(TASK_SEND_LIGHT, nullptr));
  EXPECT_FALSE(table.HasRoutine(TASK_SEND_LIGHT));
  for (int code = 1; code <= 19; ++code) {
    bool slot = code != TASK_SWITCH_DEVICE && code != 11 && code != 13;
    EXPECT_EQ(TaskTable::Known(code), slot) << code;
  }
}

}  // namespace
