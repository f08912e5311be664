#pragma once
// The toolkit's message numbers, kept as the Windows values so that `OnWindowMessage`
// handlers keep their shape on every platform, plus the notification codes controls
// send up through `OnBaseMessage` and the key-modifier values of key routing.
#include <cstdint>

#if defined(_WIN32)
#include <windows.h>
#else

// Message parameters: pointer sized, as on Windows.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT = unsigned int;

// Window messages.
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_ACTIVATEAPP = 0x001C;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_MOUSEACTIVATE = 0x0021;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
inline constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_NCCREATE = 0x0081;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCCALCSIZE = 0x0083;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCPAINT = 0x0085;
inline constexpr UINT WM_NCACTIVATE = 0x0086;
inline constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_IME_STARTCOMPOSITION = 0x010D;
inline constexpr UINT WM_IME_ENDCOMPOSITION = 0x010E;
inline constexpr UINT WM_IME_COMPOSITION = 0x010F;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT WM_CTLCOLOREDIT = 0x0133;
inline constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
inline constexpr UINT STM_SETIMAGE = 0x0172;
inline constexpr UINT WM_MOUSEFIRST = 0x0200;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_MOUSEHWHEEL = 0x020E;
inline constexpr UINT WM_MOUSELAST = 0x020E;
inline constexpr UINT WM_DEVICECHANGE = 0x0219;
inline constexpr UINT WM_DROPFILES = 0x0233;
inline constexpr UINT WM_MOUSEHOVER = 0x02A1;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT WM_USER = 0x0400;

// Offset added to WM_COMMAND and WM_CTLCOLOR* when they are reflected back to a child window.
inline constexpr UINT OCM_BASE = WM_USER + 0x1C00;

// Hit-test value of the caption (dragging the window).
inline constexpr int HTCAPTION = 2;

// Mouse button and key-state flags of mouse messages (wParam).
inline constexpr unsigned MK_LBUTTON = 0x0001;
inline constexpr unsigned MK_RBUTTON = 0x0002;
inline constexpr unsigned MK_SHIFT = 0x0004;
inline constexpr unsigned MK_CONTROL = 0x0008;
inline constexpr unsigned MK_MBUTTON = 0x0010;

// Mouse wheel notch.
inline constexpr int WHEEL_DELTA = 120;

// Dialog results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Virtual-key codes used by the toolkit.
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21;
inline constexpr int VK_NEXT = 0x22;
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_INSERT = 0x2D;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_F4 = 0x73;

#endif  // !_WIN32

// Private message that ends a dialog; wParam carries the result (IDOK, IDCANCEL, ...).
inline constexpr UINT WM_TESSEL_ENDDIALOG = WM_USER + 66;  // 0x442
// A reflected message is the original number plus this offset.
inline constexpr UINT TESSEL_REFLECT_OFFSET = 0x2000;

// Modifier values passed to key routing and compared with a control's hot-key modifiers:
// the bitwise OR of these for the keys held down (Ctrl alone 0x11, Shift alone 0x10,
// Alt alone 0x12, none 0). They are the keys' own virtual-key codes, so combinations overlap.
inline constexpr int kModCtrl = 0x11;
inline constexpr int kModShift = 0x10;
inline constexpr int kModAlt = 0x12;

// Builds the modifiers value from the state of the three keys.
constexpr int KeyModifiers(bool ctrl, bool shift, bool alt) {
  return (ctrl ? kModCtrl : 0) | (shift ? kModShift : 0) | (alt ? kModAlt : 0);
}

// Notification codes a control reports to its parent through OnBaseMessage
// (id of the control, code, wParam, lParam). Each sending class gives them their detail.
enum ControlNotify : unsigned {
  FSN_LBUTTONDOWN = 1,       // left button went down on the control / item chosen
  FSN_CLICK = 2,             // left button released on the control: the click
  FSN_DBLCLK = 3,            // double click (wParam button flags or index, lParam point or 0)
  FSN_RCLICK = 5,            // right button released on an item
  FSN_CHECKCHANGE = 7,       // check state changed by the keyboard or a menu press
  FSN_POSCHANGE = 8,         // scroll thumb or slider moved (wParam new position)
  FSN_TABPRESS = 9,          // tab or inner button pressed
  FSN_KEYDOWN = 14,          // a key press reached the control (wParam key, lParam modifiers)
  FSN_TEXTCHANGE = 26,       // edit text changed by typing
  FSN_COLORPICK = 27,        // colour picked or hovered (lParam colour)
  FSN_SPINCHANGE = 28,       // spin value changed
  FSN_EDITCLOSE = 29,        // in-place editor closed
  FSN_EDITOPEN = 30,         // in-place editor opened
  FSN_INNERBUTTONUP = 31,    // inner button released
};

// Kinds of CreateControl: decoration (area list) or interactive child (control list).
inline constexpr unsigned kControlKindArea = 0;
inline constexpr unsigned kControlKindControl = 1;
