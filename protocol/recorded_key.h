#pragma once
// Turns the key presses and releases that arrive while a macro is being recorded
// into recorded events: virtual-key code, display name, and whether the press is an
// auto-repeat of a key already held (which the recorder drops).
#include <optional>
#include <set>
#include <string>

enum RecordedKeyKind {
  kRecordedRepeat = 0,  // auto-repeated press of a held key
  kRecordedKey = 2,     // a press or a release
};

struct RecordedKey {
  int kind = kRecordedKey;
  bool released = false;
  int vk = 0;
  std::wstring name;
};

class RecordedKeyDecoder {
 public:
  // One key event from the window system (scancode as SDL reports it). Nothing for
  // a key without a virtual-key code.
  std::optional<RecordedKey> Decode(int scancode, bool released);
  // Forgets the held keys (recording stopped, focus lost).
  void Reset() { held_.clear(); }
  bool IsHeld(int vk) const { return held_.count(vk) != 0; }

 private:
  std::set<int> held_;
};

// Display name of a recorded key: the media and browser key names, else VkKeyName.
// vk may change (generic modifiers become left-hand ones).
std::wstring RecordedKeyName(int* vk);
