#include "app/worker_task_queue.h"

void WorkerTaskQueue::Append(int code) {
  std::lock_guard guard(lock_);
  codes_.push_back(code);
}

bool WorkerTaskQueue::AppendIfIdle(int code) {
  std::lock_guard guard(lock_);
  for (size_t i = frontStarted_ ? 1 : 0; i < codes_.size(); ++i) {
    if (codes_[i] == code) return false;
  }
  codes_.push_back(code);
  return true;
}

std::optional<int> WorkerTaskQueue::BeginFront() {
  std::lock_guard guard(lock_);
  if (codes_.empty()) return std::nullopt;
  frontStarted_ = true;
  return codes_.front();
}

size_t WorkerTaskQueue::Waiting(int code) const {
  std::lock_guard guard(lock_);
  size_t count = 0;
  for (size_t i = frontStarted_ ? 1 : 0; i < codes_.size(); ++i) count += codes_[i] == code;
  return count;
}

std::optional<int> WorkerTaskQueue::Front() const {
  std::lock_guard guard(lock_);
  if (codes_.empty()) return std::nullopt;
  return codes_.front();
}

void WorkerTaskQueue::PopFront() {
  std::lock_guard guard(lock_);
  if (!codes_.empty()) codes_.pop_front();
  frontStarted_ = false;
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
