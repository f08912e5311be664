#pragma once
// The worker's routines by task code. The table knows every code the worker takes (1-19);
// the subsystems that own a task register its routine (page loading, key upload, lighting,
// updates, ...). Codes with no routine slot (4, 11, 13, anything unknown) never run: the
// worker just removes them. Registration normally happens before the worker starts, but
// the table is safe to change while it runs.
#include <functional>
#include <map>
#include <mutex>

using TaskRoutine = std::function<void()>;

class TaskTable {
 public:
  // Whether the code has a routine slot at all.
  static bool Known(int code);
  // The code's name ("TASK_SEND_LIGHT"), "" for an unknown code.
  static const char* Name(int code);

  // Sets (or with an empty routine clears) the code's routine; false for a code without a
  // slot.
  bool Register(int code, TaskRoutine routine);
  bool HasRoutine(int code) const;
  // Runs the code's routine on the calling thread; false when it has none.
  bool Run(int code) const;

 private:
  mutable std::mutex lock_;
  std::map<int, TaskRoutine> routines_;
};
