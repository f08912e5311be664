#pragma once
// RKTimer: the fast animation timer. Every timer of every RKTimer in the process runs on one
// timer thread with a steady clock; each tick calls OnMTimer(id) (and OnMTimer(id, name) for
// application timers) on that thread. After KillTimer returns, no tick of that timer runs
// any more (unless KillTimer is called from inside the tick itself).
#include <string>

#include "tessel/core/export.h"

class TESSEL_API RKTimer {
 public:
  RKTimer();
  virtual ~RKTimer();
  RKTimer(const RKTimer&) = delete;
  RKTimer& operator=(const RKTimer&) = delete;

  virtual void OnMTimer(unsigned id, const std::wstring& name) {}
  virtual void OnMTimer(unsigned id) {}

  // Starts a periodic timer; answers its id (never 0), or 0 for a period of 0.
  unsigned SetTimer(unsigned milliseconds, const std::wstring& name = L"", bool application = false);
  bool KillTimer(unsigned id);
  bool KillTimer(const std::wstring& name);
  // Every timer of this object.
  void KillTimer();
  bool GetTimerIsRun(unsigned id) const;
  bool GetTimerIsRun(const std::wstring& name) const;
  std::wstring GetTimerName(unsigned id) const;
  bool IsAppTimer(unsigned id) const;
  // The object that owns a timer id (null when none).
  static RKTimer* GetFSTimer(unsigned id);
};
