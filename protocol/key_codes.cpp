#include "protocol/key_codes.h"

namespace {

struct VkUsage {
  int vk;
  int usage;
};

// Codes that do not follow one of the contiguous runs handled in VkToHidUsage.
constexpr VkUsage kSingles[] = {
    {48, 39},                                                       // 0
    {13, 40},  {27, 41},  {8, 42},    {9, 43},   {32, 44},          // Enter Esc Backspace Tab Space
    {189, 45}, {187, 46}, {219, 47},  {221, 48}, {220, 49},         // - = [ ] backslash
    {666, 50},                                                      // non-US # (never a real VK)
    {186, 51}, {222, 52}, {192, 53},  {188, 54}, {190, 55}, {191, 56},  // ; ' ` , . /
    {20, 57},                                                       // Caps Lock
    {44, 70},  {145, 71}, {19, 72},                                 // Print Screen, Scroll Lock, Pause
    {45, 73},  {36, 74},  {33, 75},   {46, 76},  {35, 77},  {34, 78},   // Ins Home PgUp Del End PgDn
    {39, 79},  {37, 80},  {40, 81},   {38, 82},                     // Right Left Down Up
    {144, 83},                                                      // Num Lock
    {111, 84}, {106, 85}, {109, 86},  {107, 87}, {108, 88},         // keypad / * - + Enter
    {96, 98},  {110, 99},                                           // keypad 0 .
    {226, 100},                                                     // key next to left Shift
    {93, 101},                                                      // Application
    {162, 224}, {160, 225}, {164, 226}, {91, 227},                  // left Ctrl Shift Alt Win
    {163, 228}, {161, 229}, {165, 230}, {92, 231},                  // right Ctrl Shift Alt Win
    {254, 175},                                                     // Fn
    {136, 136}, {137, 137}, {138, 138}, {139, 139},
    {173, 235}, {174, 233}, {175, 234},                             // Mute, Volume Down, Volume Up
    {176, 239}, {177, 237}, {178, 236}, {179, 238},                 // Next, Previous, Stop, Play/Pause
    {166, 243}, {167, 244}, {168, 246}, {169, 245},                 // Browser Back Forward Refresh Stop
    {170, 247}, {171, 248}, {172, 241},                             // Browser Search Favorites Home
    {180, 240}, {181, 232}, {182, 249}, {183, 242},                 // Mail, Media Select, App 1, App 2
};

}  // namespace

int VkToHidUsage(int vk) {
  if (vk >= 65 && vk <= 90) return vk - 61;     // A-Z
  if (vk >= 49 && vk <= 57) return vk - 19;     // 1-9
  if (vk >= 112 && vk <= 123) return vk - 54;   // F1-F12
  if (vk >= 124 && vk <= 135) return vk - 20;   // F13-F24
  if (vk >= 97 && vk <= 105) return vk - 8;     // keypad 1-9
  for (const VkUsage& e : kSingles)
    if (e.vk == vk) return e.usage;
  return 0;
}
