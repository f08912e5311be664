#include "app/task_table.h"

#include "app/task_codes.h"

namespace {

struct TaskName {
  int code;
  const char* name;
};

// TASK_SWITCH_DEVICE has no routine: the code is removed without effect.
constexpr TaskName kTasks[] = {
    {TASK_STARTUP, "TASK_STARTUP"},
    {TASK_DEVICE_ARRIVED, "TASK_REFRESH_DEVICE"},
    {TASK_DEVICE_REMOVED, "TASK_REFRESH_DEVICE"},
    {TASK_LOAD_PAGES, "TASK_LOAD_PAGES"},
    {TASK_SEND_KEYS, "TASK_SEND_KEYS"},
    {TASK_CLEAR_DELETED_MACRO, "TASK_CLEAR_DELETED_MACRO"},
    {TASK_RESEND_ALL_KEYS, "TASK_RESEND_ALL_KEYS"},
    {TASK_SEND_LIGHT, "TASK_SEND_LIGHT"},
    {TASK_SEND_KEY_COLOURS, "TASK_SEND_KEY_COLOURS"},
    {TASK_FACTORY_RESET, "TASK_FACTORY_RESET"},
    {TASK_CHECK_SOFTWARE, "TASK_CHECK_SOFTWARE"},
    {TASK_CHECK_FIRMWARE, "TASK_CHECK_FIRMWARE"},
    {TASK_CHECK_DONGLE, "TASK_CHECK_DONGLE"},
    {TASK_UPDATE_SOFTWARE, "TASK_UPDATE_SOFTWARE"},
    {TASK_UPDATE_FIRMWARE, "TASK_UPDATE_FIRMWARE"},
    {TASK_UPDATE_DONGLE, "TASK_UPDATE_DONGLE"},
};

}  // namespace

bool TaskTable::Known(int code) { return Name(code)[0] != '\0'; }

const char* TaskTable::Name(int code) {
  for (const TaskName& task : kTasks) {
    if (task.code == code) return task.name;
  }
  return "";
}

bool TaskTable::Register(int code, TaskRoutine routine) {
  if (!Known(code)) return false;
  std::lock_guard guard(lock_);
  if (routine) {
    routines_[code] = std::move(routine);
  } else {
    routines_.erase(code);
  }
  return true;
}

bool TaskTable::HasRoutine(int code) const {
  std::lock_guard guard(lock_);
  return routines_.count(code) != 0;
}

bool TaskTable::Run(int code) const {
  TaskRoutine routine;
  {
    std::lock_guard guard(lock_);
    auto it = routines_.find(code);
    if (it == routines_.end()) return false;
    routine = it->second;
  }
  routine();
  return true;
}
