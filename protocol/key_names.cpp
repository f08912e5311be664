#include "protocol/key_names.h"

#include "protocol/key_codes.h"

namespace {

struct Named {
  int code;
  const wchar_t* name;
};

constexpr Named kUsageNames[] = {
    {40, L"ENTER"}, {41, L"ESC"},   {42, L"backspace"}, {43, L"TAB"},  {44, L"SPACE"},  {45, L"-_"},
    {46, L"+="},    {47, L"[{"},    {48, L"]}"},        {49, L"\\"},   {51, L";:"},     {52, L"'"},
    {53, L"~`"},    {54, L"<,"},    {55, L">."},        {56, L"/?"},   {57, L"CAPS"},   {70, L"PRTSC"},
    {71, L"SCRLK"}, {72, L"PASE"},  {73, L"INS"},       {74, L"HOME"}, {75, L"PG UP"},  {76, L"DEL"},
    {77, L"END"},   {78, L"PG DN"}, {79, L"RIGHT"},     {80, L"LEFT"}, {81, L"DOWN"},   {82, L"UP"},
    {83, L"NumLock"}, {84, L"/"},   {85, L"*"},         {86, L"-"},    {87, L"+"},      {88, L"Enter"},
    {99, L"."},     {101, L"MENU"}, {175, L"FN"},       {224, L"CTRL"}, {225, L"SHIFT"}, {226, L"ALT"},
    {227, L"WIN"},  {228, L"RCTRL"}, {229, L"RSHIFT"},  {230, L"RALT"},
};

// Names of virtual-key codes outside the letter, digit, keypad-digit and F-key runs.
// The first group replaces what the system's key-name function would say.
constexpr Named kVkNames[] = {
    {19, L"Pause"},      {44, L"Print Screen"}, {91, L"Windows"}, {92, L"RWindows"}, {93, L"Application"},
    {144, L"Num Lock"},  {160, L"Shift"},       {161, L"RShift"}, {162, L"Ctrl"},    {163, L"RCtrl"},
    {164, L"Alt"},       {165, L"RAlt"},
    // Plain names, as an English keyboard layout names the keys.
    {8, L"Backspace"},   {9, L"Tab"},           {13, L"Enter"},   {20, L"Caps Lock"}, {27, L"Esc"},
    {32, L"Space"},      {33, L"Page Up"},      {34, L"Page Down"}, {35, L"End"},     {36, L"Home"},
    {37, L"Left"},       {38, L"Up"},           {39, L"Right"},   {40, L"Down"},      {45, L"Insert"},
    {46, L"Delete"},     {47, L"Help"},         {106, L"Num *"},  {107, L"Num +"},    {108, L"Num Enter"},
    {109, L"Num -"},     {110, L"Num Del"},     {111, L"Num /"},  {145, L"Scroll Lock"},
    {186, L";"},         {187, L"="},           {188, L","},      {189, L"-"},        {190, L"."},
    {191, L"/"},         {192, L"`"},           {219, L"["},      {220, L"\\"},       {221, L"]"},
    {222, L"'"},         {226, L"\\"},
};

constexpr Named kMediaNames[] = {
    {166, L"Web-Backward"}, {167, L"Web-Forward"}, {168, L"Web-Refresh"},  {169, L"Web-Stop"},
    {170, L"Web-Search"},   {171, L"Web-Favorites"}, {172, L"Web-Home"},   {173, L"Vol Mute"},
    {174, L"Vol Down"},     {175, L"Vol Up"},      {176, L"Next Track"},   {177, L"Prev Track"},
    {178, L"Stop"},         {179, L"Play/Pause"},  {180, L"EMail"},        {181, L"Multimedia"},
    {182, L"My Computer"},  {183, L"Calculator"},
};

template <size_t N>
const wchar_t* Find(const Named (&table)[N], int code) {
  for (const Named& e : table)
    if (e.code == code) return e.name;
  return nullptr;
}

std::wstring Digit(int d) { return std::wstring(1, static_cast<wchar_t>(L'0' + d)); }

}  // namespace

std::wstring HidUsageName(int usage) {
  if (usage >= 4 && usage <= 29) return std::wstring(1, static_cast<wchar_t>(L'A' + usage - 4));
  if (usage >= 30 && usage <= 38) return Digit(usage - 29);
  if (usage >= 89 && usage <= 97) return Digit(usage - 88);
  if (usage == 39 || usage == 98) return L"0";
  if (usage >= 58 && usage <= 69) return L"F" + std::to_wstring(usage - 57);
  const wchar_t* name = Find(kUsageNames, usage);
  return name ? name : L"";
}

VkName VkKeyName(int vk) {
  // Generic modifiers are recorded as their left-hand keys.
  if (vk == VK_SHIFT_KEY) vk = VK_LSHIFT_KEY;
  else if (vk == VK_CONTROL_KEY) vk = VK_LCONTROL_KEY;
  else if (vk == VK_MENU_KEY) vk = VK_LMENU_KEY;

  VkName out{vk, L""};
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) out.name.assign(1, static_cast<wchar_t>(vk));
  else if (vk >= 96 && vk <= 105) out.name = L"Num " + Digit(vk - 96);
  else if (vk >= 112 && vk <= 135) out.name = L"F" + std::to_wstring(vk - 111);
  else if (const wchar_t* name = Find(kVkNames, vk)) out.name = name;
  return out;
}

std::wstring MediaKeyName(int vk) {
  const wchar_t* name = Find(kMediaNames, vk);
  return name ? name : L"";
}
