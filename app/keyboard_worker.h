#pragma once
// The worker thread: every 16 ms it takes one task code from the queue and runs its routine,
// or, with nothing queued and a keyboard interface present, drives the live lighting preview
// and the status poll. Device tasks run only while the keyboard answers; otherwise they are
// dropped and their wait dialog is closed.
//
// Without a keyboard the idle cycle does nothing and the thread sleeps until the next one.
#include <atomic>
#include <functional>
#include <mutex>

#include "app/task_table.h"
#include "app/thread_basic.h"
#include "app/worker_task_queue.h"
#include "device/clock.h"
#include "device/connection_view.h"
#include "device/device_monitor.h"

// The pause after a device task, before the main window is enabled again.
inline constexpr int kAfterDeviceTaskPauseMs = 100;

class KeyboardWorker : public CThreadBasic {
 public:
  // Registers the device routines (tasks 1, 2, 3) in `tasks`. Everything must outlive the
  // worker; the clock times the pause after device tasks.
  KeyboardWorker(WorkerTaskQueue& queue, TaskTable& tasks, DeviceMonitor& monitor,
                 ConnectionView& view, Clock* clock = &SteadyClock::Instance());
  ~KeyboardWorker() override;

  // Draws the live music or screen colours; called on idle cycles while the lighting page
  // is shown for a family that streams them. The hook checks the current mode's caps.
  void SetLiveLightingHook(std::function<void()> hook);
  // The rest of the start-up task after the first discovery (the music capture).
  void SetStartupHook(std::function<void()> hook);

  // One cycle; Run() calls it on the worker thread, tests call it directly.
  void Cycle();

 protected:
  void Run() override { Cycle(); }

 private:
  void Startup();
  void RunDeviceTask(int code);
  void IdleWork();

  WorkerTaskQueue& queue_;
  TaskTable& tasks_;
  DeviceMonitor& monitor_;
  ConnectionView& view_;
  Clock* clock_;

  std::mutex hookLock_;
  std::function<void()> liveLightingHook_;
  std::function<void()> startupHook_;
  std::atomic<bool> startedUp_{false};
};
