#include "app/worker_task_queue.h"

void WorkerTaskQueue::Append(int code) {
  std::lock_guard guard(lock_);
  codes_.push_back(code);
}

bool WorkerTaskQueue::AppendIfIdle(int code) {
  std::lock_guard guard(lock_);
  if (!codes_.empty()) return false;
  codes_.push_back(code);
  return true;
}

std::optional<int> WorkerTaskQueue::Front() const {
  std::lock_guard guard(lock_);
  if (codes_.empty()) return std::nullopt;
  return codes_.front();
}

void WorkerTaskQueue::PopFront() {
  std::lock_guard guard(lock_);
  if (!codes_.empty()) codes_.pop_front();
}

bool WorkerTaskQueue::Empty() const {
  std::lock_guard guard(lock_);
  return codes_.empty();
}

size_t WorkerTaskQueue::Size() const {
  std::lock_guard guard(lock_);
  return codes_.size();
}

void WorkerTaskQueue::SetWaitDialog(WaitDialogHandle* dialog) {
  std::lock_guard guard(lock_);
  waitDialog_ = dialog;
}

void WorkerTaskQueue::EndWaitDialog() {
  WaitDialogHandle* dialog;
  {
    std::lock_guard guard(lock_);
    dialog = waitDialog_;
    waitDialog_ = nullptr;
  }
  // Ended outside the lock: the dialog posts to the UI thread, which may be waiting on it.
  if (dialog) dialog->DoOK();
}
