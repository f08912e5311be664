#pragma once
// Time as the device layer sees it: a monotonic clock and the pauses that the command
// protocol prescribes between reports. Injected so that tests can check the exact pause
// sequence without waiting it out.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic time in microseconds (origin unspecified).
  virtual int64_t NowUs() const = 0;
  // A protocol pause of the calling thread.
  virtual void SleepMs(int ms) = 0;
  // Blocks on `cv` (with `lock` held by the caller) until notified or until `deadlineUs`
  // on this clock. A virtual clock does not block: it moves its time to the deadline.
  // Callers re-check their condition afterwards, as with any condition variable.
  virtual void WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                         int64_t deadlineUs) = 0;
  // Milliseconds, for tick-count style callers.
  int64_t NowMs() const { return NowUs() / 1000; }
};

// The steady system clock; sleeps really sleep.
class SteadyClock final : public Clock {
 public:
  int64_t NowUs() const override;
  void SleepMs(int ms) override;
  void WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                 int64_t deadlineUs) override;
  // The process-wide instance.
  static SteadyClock& Instance();
};

// A virtual clock for tests: time stands still except when someone sleeps or waits.
// Every SleepMs is recorded in order; waits (read time-outs) advance time without being
// recorded as pauses.
class FakeClock final : public Clock {
 public:
  explicit FakeClock(int64_t startUs = 1'000'000) : nowUs_(startUs) {}
  int64_t NowUs() const override { return nowUs_.load(); }
  void SleepMs(int ms) override;
  void WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                 int64_t deadlineUs) override;

  // Moves time forward without recording a pause.
  void AdvanceUs(int64_t us) { nowUs_ += us; }
  std::vector<int> Pauses() const;
  void ClearPauses();
  // Sum of all recorded pauses in milliseconds.
  int64_t TotalPauseMs() const;

 private:
  std::atomic<int64_t> nowUs_;
  mutable std::mutex lock_;
  std::vector<int> pauses_;
};
