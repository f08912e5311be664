#include "tessel/core/window_timers.h"

#include <algorithm>

#include "tessel/core/backend/window_system.h"

// Ids run 0..239 from the counter. Ids the manager reserves and ids still held by an entry
// are skipped, so two entries never share (and reset) one native timer.
uintptr_t WindowTimers::NextId() {
  for (int tries = 0; tries < 240; ++tries) {
    counter_ = (counter_ + 1) % 240;
    const uintptr_t id = counter_;
    if (IsReserved(id)) continue;
    const bool used = std::any_of(entries_.begin(), entries_.end(),
                                  [id](const Entry& e) { return e.native_id == id; });
    if (!used) return id;
  }
  return UINTPTR_MAX;
}

int WindowTimers::Set(HWND hwnd, MControl* control, unsigned key, unsigned milliseconds) {
  if (control == nullptr) return 0;
  std::lock_guard guard(lock_);
  for (Entry& e : entries_) {
    if (e.control != control || e.key != key || e.hwnd != hwnd) continue;
    if (!e.killed) return 0;
    if (!WindowSystem::Get().SetTimer(hwnd, e.native_id, milliseconds)) return 0;
    e.killed = false;
    return 1;
  }
  const uintptr_t id = NextId();
  if (id == UINTPTR_MAX || !WindowSystem::Get().SetTimer(hwnd, id, milliseconds)) return 0;
  entries_.push_back({hwnd, key, id, false, control});
  return 1;
}

void WindowTimers::Kill(MControl* control, unsigned key) {
  std::lock_guard guard(lock_);
  for (Entry& e : entries_) {
    if (e.control != control || e.key != key || e.killed) continue;
    WindowSystem::Get().KillTimer(e.hwnd, e.native_id);
    e.killed = true;
  }
}

void WindowTimers::Kill(MControl* control) {
  std::lock_guard guard(lock_);
  for (Entry& e : entries_)
    if (e.control == control && !e.killed) WindowSystem::Get().KillTimer(e.hwnd, e.native_id);
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                [control](const Entry& e) { return e.control == control; }),
                 entries_.end());
}

void WindowTimers::Clear() {
  std::lock_guard guard(lock_);
  for (Entry& e : entries_)
    if (!e.killed) WindowSystem::Get().KillTimer(e.hwnd, e.native_id);
  entries_.clear();
}

std::vector<MControl*> WindowTimers::ControlsFor(HWND hwnd, uintptr_t id) const {
  std::lock_guard guard(lock_);
  std::vector<MControl*> out;
  for (const Entry& e : entries_)
    if (e.hwnd == hwnd && e.native_id == id && !e.killed) out.push_back(e.control);
  return out;
}

size_t WindowTimers::Size() const {
  std::lock_guard guard(lock_);
  return entries_.size();
}
