#pragma once
// The toolkit's process-wide settings. All state is class-wide; there are no instances.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "tessel/core/export.h"

class MWindow;

class TESSEL_API Manager {
 public:
  Manager() = delete;

  static void SetInstance(void* instance);
  static void* GetInstance();

  static void SetDeviceName(const std::wstring& name);
  static std::wstring GetDeviceName();

  static void SetFont(const std::wstring& face, int size);
  static void SetFontName(const std::wstring& face);
  static std::wstring GetFontName();
  static int GetFontWidth();

  // The skin theme folder; always "theme1/" whatever has been set.
  static std::wstring GetTheme();
  // Accent colour for selected items, ARGB.
  static uint32_t GetSelectColor();

  static void AddWnd(MWindow* window);
  static void DeleteWnd(MWindow* window);
  static std::vector<MWindow*> Windows();
  static bool IsLiveWindow(const MWindow* window);
  // The first live window whose class name and window text match (null matches any).
  static MWindow* FindWnd(const wchar_t* class_name, const wchar_t* text);

  // Alt+F4 handling of the message loop: true (consumed) while both keys are held.
  static bool PreTranslateKeyState(bool alt_down, bool f4_down);
  // The application's message loop: takes messages until WM_QUIT (answering its code), gives
  // each window's PreTranslateMessage its turn and dispatches the rest; while Alt and F4 are
  // both held nothing is dispatched.
  static int MessageLoop();
};
