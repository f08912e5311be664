#pragma once
// What the toolkit's windows need beyond messages.h: the window handle, a queued
// message, show commands, window styles and the lParam/wParam packing helpers. The
// values are the Windows ones so that code written against them keeps its shape.
#include <cstdint>

#include "tessel/core/geometry.h"
#include "tessel/core/messages.h"

#if !defined(_WIN32)

// A window handle: an opaque number handed out by the window system, never reused.
struct HWND__;
using HWND = HWND__*;

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  int64_t time = 0;  // milliseconds of the window system's clock
};

// Show commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// Window styles.
inline constexpr uint32_t WS_OVERLAPPED = 0x00000000;
inline constexpr uint32_t WS_POPUP = 0x80000000;
inline constexpr uint32_t WS_CHILD = 0x40000000;
inline constexpr uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr uint32_t WS_VISIBLE = 0x10000000;
inline constexpr uint32_t WS_DISABLED = 0x08000000;
inline constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;
inline constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
inline constexpr uint32_t WS_MAXIMIZE = 0x01000000;
inline constexpr uint32_t WS_CAPTION = 0x00C00000;
inline constexpr uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr uint32_t WS_EX_TRANSPARENT = 0x00000020;
inline constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr uint32_t WS_EX_LAYERED = 0x00080000;
inline constexpr uint32_t WS_EX_NOACTIVATE = 0x08000000;

// SetWindowPos flags.
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_FRAMECHANGED = 0x0020;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline constexpr UINT SWP_NOOWNERZORDER = 0x0200;

// SetLayeredWindowAttributes flags.
inline constexpr UINT LWA_COLORKEY = 0x1;
inline constexpr UINT LWA_ALPHA = 0x2;

// WM_SIZE types.
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_ACTIVATE states.
inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;

// WM_SETICON kinds.
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;

// WM_GETMINMAXINFO's lParam.
struct MINMAXINFO {
  MPoint ptReserved;
  MPoint ptMaxSize;
  MPoint ptMaxPosition;
  MPoint ptMinTrackSize;
  MPoint ptMaxTrackSize;
};

inline constexpr UINT WM_GETTEXTLENGTH = 0x000E;
inline constexpr UINT WM_CANCELMODE = 0x001F;

#endif  // !_WIN32

// Messages with no Windows counterpart that the toolkit uses for its own machinery.
// A function call marshalled onto the UI thread (lParam points at the call record).
inline constexpr UINT WM_TESSEL_INVOKE = WM_USER + 0x7F00;

constexpr LPARAM MakeLParam(int low, int high) {
  return static_cast<LPARAM>(static_cast<uint32_t>((static_cast<uint32_t>(low) & 0xFFFF) |
                                                   ((static_cast<uint32_t>(high) & 0xFFFF) << 16)));
}
constexpr WPARAM MakeWParam(unsigned low, unsigned high) {
  return static_cast<WPARAM>((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}
// Signed coordinates of a mouse message (GET_X_LPARAM / GET_Y_LPARAM).
constexpr int LParamX(LPARAM lp) { return static_cast<int16_t>(static_cast<uint32_t>(lp) & 0xFFFF); }
constexpr int LParamY(LPARAM lp) {
  return static_cast<int16_t>((static_cast<uint32_t>(lp) >> 16) & 0xFFFF);
}
constexpr unsigned LowWord(uint64_t v) { return static_cast<unsigned>(v & 0xFFFF); }
constexpr unsigned HighWord(uint64_t v) { return static_cast<unsigned>((v >> 16) & 0xFFFF); }
// Wheel delta of WM_MOUSEWHEEL's wParam (GET_WHEEL_DELTA_WPARAM).
constexpr int WheelDelta(WPARAM wp) { return static_cast<int16_t>(HighWord(wp)); }
