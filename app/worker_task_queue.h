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
  // Appends only when nothing is queued or running; answers whether it appended.
  bool AppendIfIdle(int code);
  std::optional<int> Front() const;
  // Removes the front code once its task has finished.
  void PopFront();
  bool Empty() const;
  size_t Size() const;

  // The wait dialog that the UI thread opened for the queued work, if any.
  void SetWaitDialog(WaitDialogHandle* dialog);
  // Ends and forgets the wait dialog; nothing happens when none is open.
  void EndWaitDialog();

 private:
  mutable std::mutex lock_;
  std::deque<int> codes_;
  WaitDialogHandle* waitDialog_ = nullptr;
};
