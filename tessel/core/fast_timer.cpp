#include "tessel/core/fast_timer.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

struct Entry {
  RKTimer* owner;
  std::wstring name;
  bool application;
  Clock::duration period;
  Clock::time_point due;
};

// The one timer thread of the process, started with the first timer.
class TimerThread {
 public:
  static TimerThread& Get() {
    static TimerThread* t = new TimerThread();  // never destroyed: ticks may run at exit
    return *t;
  }

  unsigned Add(RKTimer* owner, unsigned ms, const std::wstring& name, bool app) {
    std::lock_guard guard(lock_);
    const unsigned id = next_id_++;
    const auto period = std::chrono::milliseconds(ms);
    entries_[id] = {owner, name, app, period, Clock::now() + period};
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    wake_.notify_all();
    return id;
  }

  template <typename Pred>
  bool Remove(Pred pred) {
    std::unique_lock guard(lock_);
    bool any = false;
    for (auto it = entries_.begin(); it != entries_.end();) {
      if (pred(it->first, it->second)) {
        // Wait for a tick of this timer that is running on the timer thread.
        if (std::this_thread::get_id() != thread_.get_id()) {
          const unsigned id = it->first;
          idle_.wait(guard, [&] { return firing_ != id; });
        }
        it = entries_.erase(it);
        any = true;
      } else {
        ++it;
      }
    }
    return any;
  }

  template <typename Fn>
  auto With(Fn fn) const {
    std::lock_guard guard(lock_);
    return fn(entries_);
  }

 private:
  void Run() {
    std::unique_lock guard(lock_);
    for (;;) {
      if (entries_.empty()) {
        wake_.wait(guard);
        continue;
      }
      auto next = Clock::time_point::max();
      for (auto& [id, e] : entries_) next = std::min(next, e.due);
      if (Clock::now() < next) {
        wake_.wait_until(guard, next);
        continue;
      }
      const auto now = Clock::now();
      unsigned due_id = 0;
      for (auto& [id, e] : entries_) {
        if (e.due <= now) {
          due_id = id;
          break;
        }
      }
      if (due_id == 0) continue;
      Entry& e = entries_[due_id];
      e.due += e.period;
      if (e.due < now) e.due = now + e.period;  // fell behind: skip ticks, never burst
      RKTimer* owner = e.owner;
      const std::wstring name = e.name;
      const bool app = e.application;
      firing_ = due_id;
      guard.unlock();
      owner->OnMTimer(due_id);
      if (app) owner->OnMTimer(due_id, name);
      guard.lock();
      firing_ = 0;
      idle_.notify_all();
    }
  }

  mutable std::mutex lock_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::map<unsigned, Entry> entries_;
  unsigned next_id_ = 1;
  unsigned firing_ = 0;
  std::thread thread_;
};

}  // namespace

RKTimer::RKTimer() = default;

RKTimer::~RKTimer() { KillTimer(); }

unsigned RKTimer::SetTimer(unsigned milliseconds, const std::wstring& name, bool application) {
  if (milliseconds == 0) return 0;
  return TimerThread::Get().Add(this, milliseconds, name, application);
}

bool RKTimer::KillTimer(unsigned id) {
  return TimerThread::Get().Remove(
      [&](unsigned i, const Entry& e) { return i == id && e.owner == this; });
}

bool RKTimer::KillTimer(const std::wstring& name) {
  return TimerThread::Get().Remove(
      [&](unsigned, const Entry& e) { return e.owner == this && e.name == name; });
}

void RKTimer::KillTimer() {
  TimerThread::Get().Remove([&](unsigned, const Entry& e) { return e.owner == this; });
}

bool RKTimer::GetTimerIsRun(unsigned id) const {
  return TimerThread::Get().With([&](const std::map<unsigned, Entry>& m) {
    auto it = m.find(id);
    return it != m.end() && it->second.owner == this;
  });
}

bool RKTimer::GetTimerIsRun(const std::wstring& name) const {
  return TimerThread::Get().With([&](const std::map<unsigned, Entry>& m) {
    for (auto& [id, e] : m)
      if (e.owner == this && e.name == name) return true;
    return false;
  });
}

std::wstring RKTimer::GetTimerName(unsigned id) const {
  return TimerThread::Get().With([&](const std::map<unsigned, Entry>& m) {
    auto it = m.find(id);
    return it != m.end() && it->second.owner == this ? it->second.name : std::wstring();
  });
}

bool RKTimer::IsAppTimer(unsigned id) const {
  return TimerThread::Get().With([&](const std::map<unsigned, Entry>& m) {
    auto it = m.find(id);
    return it != m.end() && it->second.owner == this && it->second.application;
  });
}

RKTimer* RKTimer::GetFSTimer(unsigned id) {
  return TimerThread::Get().With([&](const std::map<unsigned, Entry>& m) -> RKTimer* {
    auto it = m.find(id);
    return it == m.end() ? nullptr : it->second.owner;
  });
}
