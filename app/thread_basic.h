#pragma once
// A background thread that calls Run() every `interval` milliseconds until stopped.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class CThreadBasic {
 public:
  CThreadBasic() = default;
  virtual ~CThreadBasic();
  CThreadBasic(const CThreadBasic&) = delete;
  CThreadBasic& operator=(const CThreadBasic&) = delete;

  // Starts the thread with a 16 ms interval, looping. Answers false when it already runs.
  bool Start();
  // Asks the thread to leave and waits at most `timeout` for it; answers whether it left.
  bool Stop(std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));
  bool IsRunning() const;

  void SetLooping(bool looping) { looping_ = looping; }
  int Interval() const { return intervalMs_; }
  std::chrono::steady_clock::time_point StartTime() const { return startTime_; }

 protected:
  // One cycle of the thread's work.
  virtual void Run() = 0;

 private:
  void ThreadProc();

  mutable std::mutex lock_;
  std::condition_variable wake_;  // cuts the pause short when stopping
  std::condition_variable done_;
  bool running_ = false;
  bool finished_ = true;
  bool looping_ = true;
  int intervalMs_ = 16;
  std::chrono::steady_clock::time_point startTime_{};
  std::thread thread_;
};
