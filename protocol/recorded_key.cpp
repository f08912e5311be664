#include "protocol/recorded_key.h"

#include "protocol/key_names.h"
#include "protocol/sdl_scancode_map.h"

std::wstring RecordedKeyName(int* vk) {
  std::wstring media = MediaKeyName(*vk);
  if (!media.empty()) return media;
  VkName named = VkKeyName(*vk);
  *vk = named.vk;
  return named.name;
}

std::optional<RecordedKey> RecordedKeyDecoder::Decode(int scancode, bool released) {
  int vk = ScancodeToVk(scancode);
  if (vk == 0) return std::nullopt;

  RecordedKey key;
  key.released = released;
  key.name = RecordedKeyName(&vk);
  key.vk = vk;
  if (released) {
    held_.erase(vk);
  } else if (!held_.insert(vk).second) {
    key.kind = kRecordedRepeat;
  }
  return key;
}
