#include "app/keyboard_worker.h"

#include "app/task_codes.h"
#include "protocol/command_family.h"

namespace {

// The families whose live colours are drawn on the keyboard picture.
bool StreamsLiveColours(int deviceType) {
  CommandFamily family = CommandFamilyFor(deviceType);
  return family == CommandFamily::Opcode || family == CommandFamily::Framed;
}

}  // namespace

KeyboardWorker::KeyboardWorker(WorkerTaskQueue& queue, TaskTable& tasks, DeviceMonitor& monitor,
                               ConnectionView& view, Clock* clock)
    : queue_(queue),
      tasks_(tasks),
      monitor_(monitor),
      view_(view),
      clock_(clock ? clock : &SteadyClock::Instance()) {
  tasks_.Register(TASK_STARTUP, [this] { Startup(); });
  tasks_.Register(TASK_DEVICE_ARRIVED, [this] { monitor_.RefreshDevice(); });
  tasks_.Register(TASK_DEVICE_REMOVED, [this] { monitor_.RefreshDevice(); });
}

KeyboardWorker::~KeyboardWorker() {
  // The thread calls into this object: it has to leave before the members go.
  Stop();
}

void KeyboardWorker::SetLiveLightingHook(std::function<void()> hook) {
  std::lock_guard guard(hookLock_);
  liveLightingHook_ = std::move(hook);
}

void KeyboardWorker::SetStartupHook(std::function<void()> hook) {
  std::lock_guard guard(hookLock_);
  startupHook_ = std::move(hook);
}

void KeyboardWorker::Startup() {
  if (startedUp_.exchange(true)) return;  // once per run of the program
  monitor_.RefreshDevice();
  std::function<void()> hook;
  {
    std::lock_guard guard(hookLock_);
    hook = startupHook_;
  }
  if (hook) hook();
}

void KeyboardWorker::Cycle() {
  std::optional<int> front = queue_.BeginFront();
  if (!front) {
    IdleWork();
    return;
  }
  const int code = *front;
  if (TaskRunsWithoutDevice(code)) tasks_.Run(code);

  const ConnectionState state = monitor_.State();
  if (state.interfaceFound && state.keyboardPresent) {
    if (TaskNeedsDevice(code)) RunDeviceTask(code);
    queue_.PopFront();
    return;
  }
  // No keyboard to talk to: a device task is dropped and its wait dialog closed.
  queue_.PopFront();
  queue_.EndWaitDialog();
}

void KeyboardWorker::RunDeviceTask(int code) {
  view_.EnableMainWindow(false);
  tasks_.Run(code);
  queue_.EndWaitDialog();
  clock_->SleepMs(kAfterDeviceTaskPauseMs);
  view_.EnableMainWindow(true);
}

void KeyboardWorker::IdleWork() {
  if (!monitor_.State().interfaceFound) return;
  if (view_.MainWindowVisible() && view_.CurrentTab() == kTabLighting &&
      StreamsLiveColours(monitor_.DeviceType())) {
    std::function<void()> hook;
    {
      std::lock_guard guard(hookLock_);
      hook = liveLightingHook_;
    }
    if (hook) hook();
  }
  monitor_.StatusPoll();
}
