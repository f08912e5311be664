#include "device/clock.h"

#include <chrono>
#include <thread>

namespace {
using Steady = std::chrono::steady_clock;
}

int64_t SteadyClock::NowUs() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(Steady::now().time_since_epoch())
      .count();
}

void SteadyClock::SleepMs(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SteadyClock::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                            int64_t deadlineUs) {
  cv.wait_until(lock, Steady::time_point(std::chrono::microseconds(deadlineUs)));
}

SteadyClock& SteadyClock::Instance() {
  static SteadyClock clock;
  return clock;
}

void FakeClock::SleepMs(int ms) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    pauses_.push_back(ms);
  }
  if (ms > 0) nowUs_ += int64_t{ms} * 1000;
}

void FakeClock::WaitUntil(std::condition_variable&, std::unique_lock<std::mutex>&,
                          int64_t deadlineUs) {
  int64_t now = nowUs_.load();
  while (now < deadlineUs && !nowUs_.compare_exchange_weak(now, deadlineUs)) {
  }
}

std::vector<int> FakeClock::Pauses() const {
  std::lock_guard<std::mutex> guard(lock_);
  return pauses_;
}

void FakeClock::ClearPauses() {
  std::lock_guard<std::mutex> guard(lock_);
  pauses_.clear();
}

int64_t FakeClock::TotalPauseMs() const {
  std::lock_guard<std::mutex> guard(lock_);
  int64_t total = 0;
  for (int p : pauses_) total += p;
  return total;
}
