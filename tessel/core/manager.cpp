#include "tessel/core/manager.h"

#include <algorithm>

#include "tessel/core/backend/window_system.h"
#include "tessel/core/mwindow.h"

namespace {

struct ManagerState {
  std::mutex lock;
  void* instance = nullptr;
  std::wstring device_name = L"Vantor";
  std::wstring font_name = L"SourceHanSansCN-Regular";
  int font_width = 14;
  std::vector<MWindow*> windows;
};

ManagerState& State() {
  static ManagerState state;
  return state;
}

}  // namespace

void Manager::SetInstance(void* instance) {
  std::lock_guard guard(State().lock);
  State().instance = instance;
}

void* Manager::GetInstance() {
  std::lock_guard guard(State().lock);
  return State().instance;
}

void Manager::SetDeviceName(const std::wstring& name) {
  std::lock_guard guard(State().lock);
  State().device_name = name;
}

std::wstring Manager::GetDeviceName() {
  std::lock_guard guard(State().lock);
  return State().device_name;
}

void Manager::SetFont(const std::wstring& face, int size) {
  std::lock_guard guard(State().lock);
  State().font_name = face;
  State().font_width = size;
}

void Manager::SetFontName(const std::wstring& face) {
  std::lock_guard guard(State().lock);
  State().font_name = face;
}

std::wstring Manager::GetFontName() {
  std::lock_guard guard(State().lock);
  return State().font_name;
}

int Manager::GetFontWidth() {
  std::lock_guard guard(State().lock);
  return State().font_width;
}

std::wstring Manager::GetTheme() { return L"theme1/"; }

uint32_t Manager::GetSelectColor() { return 0xFF10A8FD; }

void Manager::AddWnd(MWindow* window) {
  std::lock_guard guard(State().lock);
  auto& windows = State().windows;
  if (window && std::find(windows.begin(), windows.end(), window) == windows.end()) {
    windows.push_back(window);
  }
}

void Manager::DeleteWnd(MWindow* window) {
  std::lock_guard guard(State().lock);
  auto& windows = State().windows;
  windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

std::vector<MWindow*> Manager::Windows() {
  std::lock_guard guard(State().lock);
  return State().windows;
}

bool Manager::IsLiveWindow(const MWindow* window) {
  std::lock_guard guard(State().lock);
  const auto& windows = State().windows;
  return std::find(windows.begin(), windows.end(), window) != windows.end();
}

bool Manager::PreTranslateKeyState(bool alt_down, bool f4_down) { return alt_down && f4_down; }

int Manager::MessageLoop() {
  auto& ws = WindowSystem::Get();
  MSG msg;
  while (ws.GetMessageW(&msg)) {
    if (PreTranslateKeyState(ws.IsKeyDown(VK_MENU), ws.IsKeyDown(VK_F4))) continue;
    WindowProcTarget* target = ws.GetTarget(msg.hwnd);
    if (target != nullptr && target->PreTranslate(&msg)) continue;
    ws.DispatchMessageW(msg);
  }
  return static_cast<int>(msg.wParam);
}

MWindow* Manager::FindWnd(const wchar_t* class_name, const wchar_t* text) {
  for (MWindow* w : Windows()) {
    if (w->GetSafeHwnd() == nullptr) continue;
    if (class_name != nullptr && std::wstring(w->GetWindowClassName()) != class_name) continue;
    if (text != nullptr && w->GetWindowTextW() != text) continue;
    return w;
  }
  return nullptr;
}
