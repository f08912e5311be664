#include "protocol/sdl_scancode_map.h"

namespace {

struct ScanVk {
  int scancode;
  int vk;
};

// Scancodes outside the contiguous runs handled in ScancodeToVk.
constexpr ScanVk kSingles[] = {
    {39, '0'},
    {40, 13},  {41, 27},  {42, 8},   {43, 9},   {44, 32},                    // Enter Esc Backspace Tab Space
    {45, 189}, {46, 187}, {47, 219}, {48, 221}, {49, 220},                   // - = [ ] backslash
    {50, 220},                                                               // non-US #: the backslash VK
    {51, 186}, {52, 222}, {53, 192}, {54, 188}, {55, 190}, {56, 191},        // ; ' ` , . /
    {57, 20},                                                                // Caps Lock
    {70, 44},  {71, 145}, {72, 19},                                          // PrtSc ScrLk Pause
    {73, 45},  {74, 36},  {75, 33},  {76, 46},  {77, 35},  {78, 34},         // Ins Home PgUp Del End PgDn
    {79, 39},  {80, 37},  {81, 40},  {82, 38},                               // Right Left Down Up
    {83, 144},                                                               // Num Lock
    {84, 111}, {85, 106}, {86, 109}, {87, 107}, {kScancodeKeypadEnter, 108}, // keypad / * - + Enter
    {kScancodeKeypad0, 96}, {kScancodeKeypadPeriod, 110},                    // keypad 0 .
    {100, 226},                                                              // key next to left Shift
    {101, 93},                                                               // Application
    {116, 43},  {117, 47}, {119, 41},                                        // Execute Help Select
    {127, 173}, {128, 175}, {129, 174},                                      // Mute, Volume Up, Volume Down
    {224, 162}, {kScancodeLeftShift, 160}, {226, 164}, {227, 91},            // left Ctrl Shift Alt GUI
    {228, 163}, {229, 161}, {230, 165}, {231, 92},                           // right Ctrl Shift Alt GUI
    {kScancodeAudioNext, 176}, {259, 177}, {260, 178}, {261, 179},           // Next Prev Stop Play
    {262, 173},                                                              // Audio Mute
    {263, 181}, {264, 172}, {265, 180}, {266, 183}, {267, 182},              // Media WWW Mail Calc Computer
    {268, 170}, {269, 172}, {270, 166}, {271, 167}, {272, 169}, {273, 168},  // Search Home Back Fwd Stop Refresh
    {kScancodeAcBookmarks, 171},                                             // Bookmarks
};

}  // namespace

int ScancodeToVk(int scancode) {
  if (scancode >= 4 && scancode <= 29) return 'A' + scancode - 4;
  if (scancode >= 30 && scancode <= 38) return '1' + scancode - 30;
  if (scancode >= 58 && scancode <= 69) return 112 + scancode - 58;    // F1-F12
  if (scancode >= 104 && scancode <= 115) return 124 + scancode - 104;  // F13-F24
  if (scancode >= kScancodeKeypad1 && scancode <= 97) return 97 + scancode - kScancodeKeypad1;
  for (const ScanVk& e : kSingles)
    if (e.scancode == scancode) return e.vk;
  return 0;
}
