#pragma once
// The per-control window timers of one paint manager: each (control, key) pair owns a native
// timer id of the window. A killed entry is kept so that setting it again re-arms the same id.
#include <cstdint>
#include <mutex>
#include <vector>

#include "tessel/core/export.h"
#include "tessel/core/native_messages.h"

class MControl;

class TESSEL_API WindowTimers {
 public:
  // Timer ids the paint manager keeps for itself.
  static constexpr uintptr_t kCaretBlink = 6553;
  static constexpr uintptr_t kMessageHold = 66;
  static constexpr uintptr_t kMessageFade = 88;
  static constexpr uintptr_t kProgress = 99;
  static bool IsReserved(uintptr_t id) {
    return id == kCaretBlink || id == kMessageHold || id == kMessageFade || id == kProgress;
  }

  // 1 when the timer was armed (new, or re-armed after a kill); 0 when it is already running
  // or the window refused it.
  int Set(HWND hwnd, MControl* control, unsigned key, unsigned milliseconds);
  // Stops the native timer and keeps the entry for a later re-arm.
  void Kill(MControl* control, unsigned key);
  // Stops and forgets every entry of the control.
  void Kill(MControl* control);
  // Stops and forgets every entry.
  void Clear();
  // The controls whose running entries on this window use the native id.
  std::vector<MControl*> ControlsFor(HWND hwnd, uintptr_t id) const;
  size_t Size() const;

 private:
  struct Entry {
    HWND hwnd;
    unsigned key;
    uintptr_t native_id;
    bool killed;
    MControl* control;
  };
  uintptr_t NextId();

  mutable std::mutex lock_;
  std::vector<Entry> entries_;
  unsigned counter_ = 4096;
};
