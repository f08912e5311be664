#pragma once
// The worker's task list and the wait dialog pointer, shared by the UI thread (which
// appends and replaces the dialog) and the worker (which reads the front, removes it and
// ends the dialog). One lock guards both and is held only for the list operation itself,
// never while a task runs.
#include <deque>
#include <mutex>
#include <optional>

class WaitDialogHandle {
 public:
  virtual ~WaitDialogHandle() = default;
  // Ends the dialog as if OK had been pressed.
  virtual void DoOK() = 0;
};

class WorkerTaskQueue {
 public:
  void Append(int code);
  // Appends unless the same code is already waiting to be started; answers whether it
  // appended. A task that is already running does not count: its routine may have read the
  // state before the caller's change, so the change needs a run of its own.
  bool AppendIfIdle(int code);
  std::optional<int> Front() const;
  // The worker takes the front code to run it; from now on it counts as running.
  std::optional<int> BeginFront();
  // Removes the front code once its task has finished.
  void PopFront();
  // Codes of `code` that wait to be started.
  size_t Waiting(int code) const;
  bool Empty() const;
  size_t Size() const;

  // The wait dialog that the UI thread opened for the queued work, if any.
  void SetWaitDialog(WaitDialogHandle* dialog);
  // Ends and forgets the wait dialog; nothing happens when none is open.
  void EndWaitDialog();

 private:
  mutable std::mutex lock_;
  std::deque<int> codes_;
  bool frontStarted_ = false;  // the front code's routine is running
  WaitDialogHandle* waitDialog_ = nullptr;
};
