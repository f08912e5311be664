#include "app/thread_basic.h"

CThreadBasic::~CThreadBasic() {
  // A thread still inside Run() must not outlive the object it runs on.
  {
    std::lock_guard guard(lock_);
    running_ = false;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool CThreadBasic::Start() {
  std::lock_guard guard(lock_);
  if (running_ || !finished_) return false;
  if (thread_.joinable()) thread_.join();  // a previous run that has already finished
  intervalMs_ = 16;
  startTime_ = std::chrono::steady_clock::now();
  running_ = true;
  finished_ = false;
  thread_ = std::thread([this] { ThreadProc(); });
  return true;
}

void CThreadBasic::ThreadProc() {
  const bool looping = looping_;
  if (looping) {
    std::unique_lock guard(lock_);
    while (running_) {
      guard.unlock();
      Run();
      guard.lock();
      wake_.wait_for(guard, std::chrono::milliseconds(intervalMs_), [this] { return !running_; });
    }
  } else {
    Run();
  }
  std::lock_guard guard(lock_);
  finished_ = true;
  done_.notify_all();
}

bool CThreadBasic::Stop(std::chrono::milliseconds timeout) {
  std::unique_lock guard(lock_);
  running_ = false;
  wake_.notify_all();
  const bool left = done_.wait_for(guard, timeout, [this] { return finished_; });
  if (left && thread_.joinable()) {
    guard.unlock();
    thread_.join();
  }
  return left;
}

bool CThreadBasic::IsRunning() const {
  std::lock_guard guard(lock_);
  return running_;
}
