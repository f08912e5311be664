#include "tessel/core/backend/sdl_backend.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "tessel/core/text_utf.h"

namespace {

WPARAM ButtonFlags(Uint32 state) {
  WPARAM f = 0;
  if (state & SDL_BUTTON_LMASK) f |= MK_LBUTTON;
  if (state & SDL_BUTTON_RMASK) f |= MK_RBUTTON;
  if (state & SDL_BUTTON_MMASK) f |= MK_MBUTTON;
  const SDL_Keymod mod = SDL_GetModState();
  if (mod & KMOD_SHIFT) f |= MK_SHIFT;
  if (mod & KMOD_CTRL) f |= MK_CONTROL;
  return f;
}

}  // namespace

int VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
    return 0x70 + (scancode - SDL_SCANCODE_F1);
  if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
    return 0x61 + (scancode - SDL_SCANCODE_KP_1);
  switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_KP_0: return 0x60;
    case SDLK_CAPSLOCK: return 0x14;
    case SDLK_LGUI: return 0x5B;
    case SDLK_RGUI: return 0x5C;
    case SDLK_MINUS: return 0xBD;
    case SDLK_EQUALS: return 0xBB;
    case SDLK_COMMA: return 0xBC;
    case SDLK_PERIOD: return 0xBE;
    case SDLK_SLASH: return 0xBF;
    case SDLK_SEMICOLON: return 0xBA;
    case SDLK_QUOTE: return 0xDE;
    case SDLK_LEFTBRACKET: return 0xDB;
    case SDLK_RIGHTBRACKET: return 0xDD;
    case SDLK_BACKSLASH: return 0xDC;
    case SDLK_BACKQUOTE: return 0xC0;
    default: return 0;
  }
}

SdlBackend::SdlBackend() {
  // The window surface goes straight to X11 (shared memory images). Otherwise SDL puts it
  // behind an OpenGL texture, which on a software GL (Xvfb, virtual machines) costs ~10 ms
  // per present even for a small rectangle.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_TIME, "500");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
  // Text input stays on (SDL's default) so that typing arrives as WM_CHAR; a program that
  // wants the input method off calls WindowSystem::SetTextInput.
  SDL_StartTextInput();
  wake_event_ = SDL_RegisterEvents(1);
  SDL_DisplayMode mode;
  if (SDL_GetCurrentDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0)
    frame_interval_ = std::max(1, 1000 / mode.refresh_rate);
  ready_ = true;
}

SdlBackend::~SdlBackend() {
  if (!ready_) return;
  for (auto& [h, w] : windows_) SDL_DestroyWindow(w);
  for (auto& [k, c] : cursors_) SDL_FreeCursor(c);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

SDL_Window* SdlBackend::GetSdlWindow(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : it->second;
}

HWND SdlBackend::FromId(Uint32 id) const {
  auto it = by_id_.find(id);
  return it == by_id_.end() ? nullptr : it->second;
}

bool SdlBackend::CreateNativeWindow(HWND hwnd, const NativeWindowSpec& spec) {
  if (!ready_) return false;
  Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
  if (spec.tool) flags |= SDL_WINDOW_UTILITY | SDL_WINDOW_SKIP_TASKBAR;
  if (spec.popup_menu) flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
  if (spec.tooltip) flags |= SDL_WINDOW_TOOLTIP | SDL_WINDOW_SKIP_TASKBAR;
  if (spec.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  const std::string title = Utf8FromWide(spec.title);
  SDL_Window* w = SDL_CreateWindow(title.c_str(), spec.rect.left, spec.rect.top,
                                   std::max(1, spec.rect.Width()), std::max(1, spec.rect.Height()),
                                   flags);
  if (w == nullptr) return false;
  windows_[hwnd] = w;
  by_id_[SDL_GetWindowID(w)] = hwnd;
  return true;
}

void SdlBackend::DestroyNativeWindow(HWND hwnd) {
  SDL_Window* w = GetSdlWindow(hwnd);
  if (w == nullptr) return;
  by_id_.erase(SDL_GetWindowID(w));
  windows_.erase(hwnd);
  grab_wanted_.erase(hwnd);
  SDL_DestroyWindow(w);
}

void SdlBackend::ShowNativeWindow(HWND hwnd, bool show, bool activate) {
  SDL_Window* w = GetSdlWindow(hwnd);
  if (w == nullptr) return;
  if (!show) {
    SDL_HideWindow(w);
    return;
  }
  SDL_ShowWindow(w);
  if (activate) SDL_RaiseWindow(w);
}

void SdlBackend::MoveNativeWindow(HWND hwnd, const MRect& rect) {
  SDL_Window* w = GetSdlWindow(hwnd);
  if (w == nullptr) return;
  int x, y, cw, ch;
  SDL_GetWindowPosition(w, &x, &y);
  SDL_GetWindowSize(w, &cw, &ch);
  if (x != rect.left || y != rect.top) SDL_SetWindowPosition(w, rect.left, rect.top);
  if (cw != rect.Width() || ch != rect.Height())
    SDL_SetWindowSize(w, std::max(1, rect.Width()), std::max(1, rect.Height()));
}

void SdlBackend::SetNativeTitle(HWND hwnd, const std::wstring& title) {
  if (SDL_Window* w = GetSdlWindow(hwnd)) SDL_SetWindowTitle(w, Utf8FromWide(title).c_str());
}

void SdlBackend::SetNativeTopmost(HWND hwnd, bool on) {
  if (SDL_Window* w = GetSdlWindow(hwnd)) SDL_SetWindowAlwaysOnTop(w, on ? SDL_TRUE : SDL_FALSE);
}

void SdlBackend::SetNativeOpacity(HWND hwnd, uint8_t alpha) {
  // Needs a compositing manager; without one SDL answers an error and the window stays opaque.
  if (SDL_Window* w = GetSdlWindow(hwnd)) SDL_SetWindowOpacity(w, alpha / 255.0f);
}

void SdlBackend::SetNativeIcon(HWND hwnd, cairo_surface_t* icon) {
  SDL_Window* w = GetSdlWindow(hwnd);
  if (w == nullptr || icon == nullptr) return;
  cairo_surface_flush(icon);
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(
      cairo_image_surface_get_data(icon), cairo_image_surface_get_width(icon),
      cairo_image_surface_get_height(icon), 32, cairo_image_surface_get_stride(icon),
      SDL_PIXELFORMAT_ARGB8888);
  if (s == nullptr) return;
  SDL_SetWindowIcon(w, s);
  SDL_FreeSurface(s);
}

void SdlBackend::RaiseNativeWindow(HWND hwnd) {
  if (SDL_Window* w = GetSdlWindow(hwnd)) SDL_RaiseWindow(w);
}

void SdlBackend::MinimiseNativeWindow(HWND hwnd, bool minimise) {
  if (SDL_Window* w = GetSdlWindow(hwnd)) {
    if (minimise) SDL_MinimizeWindow(w);
    else SDL_RestoreWindow(w);
  }
}

void SdlBackend::SetNativeFocus(HWND hwnd) {
  SDL_Window* w = GetSdlWindow(hwnd);
  if (w == nullptr || !(SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN)) return;
  if (SDL_GetWindowFlags(w) & (SDL_WINDOW_TOOLTIP | SDL_WINDOW_POPUP_MENU)) return;
  if (SDL_GetKeyboardFocus() != w) SDL_SetWindowInputFocus(w);
}

void SdlBackend::SetNativeCapture(HWND, bool on) { SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }

void SdlBackend::SetNativeCursor(CursorKind kind) {
  static const SDL_SystemCursor map[] = {SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_WAIT,
                                         SDL_SYSTEM_CURSOR_CROSSHAIR, SDL_SYSTEM_CURSOR_SIZEWE,
                                         SDL_SYSTEM_CURSOR_SIZENS, SDL_SYSTEM_CURSOR_HAND,
                                         SDL_SYSTEM_CURSOR_ARROW};
  const int k = static_cast<int>(kind);
  if (k < 0 || k > 6) return;
  SDL_Cursor*& c = cursors_[k];
  if (c == nullptr) c = SDL_CreateSystemCursor(map[k]);
  if (c != nullptr && SDL_GetCursor() != c) SDL_SetCursor(c);
}

void SdlBackend::SetNativeKeyboardGrab(HWND hwnd, bool on) {
  SDL_Window* w = GetSdlWindow(hwnd);
  if (w == nullptr) return;
  grab_wanted_[hwnd] = on;
  // A grab works only once the window has the input focus; it is applied when the focus comes.
  if (!on || SDL_GetKeyboardFocus() == w) SDL_SetWindowKeyboardGrab(w, on ? SDL_TRUE : SDL_FALSE);
}

void SdlBackend::SetNativeTextInput(HWND, bool on) {
  if (on) SDL_StartTextInput();
  else SDL_StopTextInput();
}

bool SdlBackend::Present(HWND hwnd, cairo_surface_t* frame, const MRect* rects, int count, bool) {
  SDL_Window* w = GetSdlWindow(hwnd);
  if (w == nullptr || frame == nullptr) return false;
  SDL_Surface* screen = SDL_GetWindowSurface(w);
  if (screen == nullptr) return false;
  cairo_surface_flush(frame);
  const int fw = cairo_image_surface_get_width(frame);
  const int fh = cairo_image_surface_get_height(frame);
  const int ss = cairo_image_surface_get_stride(frame);
  const uint8_t* src = cairo_image_surface_get_data(frame);
  const MRect bounds(0, 0, std::min(fw, screen->w), std::min(fh, screen->h));
  const bool same_layout = screen->format->BytesPerPixel == 4 && screen->format->Rmask == 0x00FF0000 &&
                           screen->format->Gmask == 0x0000FF00 && screen->format->Bmask == 0x000000FF;
  SDL_Rect sdl_rects[64];
  int n = 0;
  MRect all;
  if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);
  for (int i = 0; i < count; ++i) {
    const MRect r = rects[i].Intersect(bounds);
    if (r.IsEmpty()) continue;
    all = all.Union(r);
    if (same_layout) {
      uint8_t* dst = static_cast<uint8_t*>(screen->pixels);
      for (int y = r.top; y < r.bottom; ++y)
        std::memcpy(dst + y * screen->pitch + r.left * 4, src + y * ss + r.left * 4, r.Width() * 4);
    } else {
      SDL_ConvertPixels(r.Width(), r.Height(), SDL_PIXELFORMAT_ARGB8888, src + r.top * ss + r.left * 4,
                        ss, screen->format->format,
                        static_cast<uint8_t*>(screen->pixels) + r.top * screen->pitch +
                            r.left * screen->format->BytesPerPixel,
                        screen->pitch);
    }
    if (n < 64) sdl_rects[n++] = SDL_Rect{r.left, r.top, r.Width(), r.Height()};
  }
  if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
  if (n == 0) return false;
  if (count > 64) {
    sdl_rects[0] = SDL_Rect{all.left, all.top, all.Width(), all.Height()};
    n = 1;
  }
  return SDL_UpdateWindowSurfaceRects(w, sdl_rects, n) == 0;
}

bool SdlBackend::SaveWindowSurface(HWND hwnd, const char* path) const {
  SDL_Window* w = GetSdlWindow(hwnd);
  if (w == nullptr) return false;
  SDL_Surface* screen = SDL_GetWindowSurface(w);
  return screen != nullptr && SDL_SaveBMP(screen, path) == 0;
}

MRect SdlBackend::GetWorkArea(const MRect& near) {
  const int displays = std::max(1, SDL_GetNumVideoDisplays());
  int best = 0;
  long best_area = -1;
  for (int i = 0; i < displays; ++i) {
    SDL_Rect b;
    if (SDL_GetDisplayBounds(i, &b) != 0) continue;
    const MRect d = MRect::FromXYWH(b.x, b.y, b.w, b.h);
    const MRect common = d.Intersect(near);
    const long area = static_cast<long>(common.Width()) * common.Height();
    if (area > best_area) {
      best_area = area;
      best = i;
    }
  }
  SDL_Rect u;
  if (SDL_GetDisplayUsableBounds(best, &u) != 0) return MRect(0, 0, 1920, 1080);
  return MRect::FromXYWH(u.x, u.y, u.w, u.h);
}

MPoint SdlBackend::GetCursorPos() {
  int x = 0, y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  return MPoint(x, y);
}

int64_t SdlBackend::NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start_)
      .count();
}

void SdlBackend::Wake() {
  if (!ready_) return;
  SDL_Event e{};
  e.type = wake_event_;
  SDL_PushEvent(&e);
}

void SdlBackend::WaitEvents(int timeout_ms, BackendSink& sink) {
  if (!ready_) return;
  SDL_Event e;
  int got = timeout_ms == 0 ? SDL_PollEvent(&e)
            : timeout_ms < 0 ? SDL_WaitEvent(&e)
                             : SDL_WaitEventTimeout(&e, timeout_ms);
  while (got) {
    Translate(e, sink);
    got = SDL_PollEvent(&e);
  }
}

void SdlBackend::Translate(const SDL_Event& e, BackendSink& sink) {
  switch (e.type) {
    case SDL_MOUSEMOTION: {
      HWND h = FromId(e.motion.windowID);
      if (h) sink.OnNativeMessage(h, WM_MOUSEMOVE, ButtonFlags(e.motion.state),
                                  MakeLParam(e.motion.x, e.motion.y));
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      HWND h = FromId(e.button.windowID);
      if (!h) break;
      const bool down = e.type == SDL_MOUSEBUTTONDOWN;
      // Click to focus: a bare X server has no window manager to do it.
      SDL_Window* w = GetSdlWindow(h);
      if (down && SDL_GetKeyboardFocus() != w &&
          !(SDL_GetWindowFlags(w) & (SDL_WINDOW_TOOLTIP | SDL_WINDOW_POPUP_MENU)))
        SDL_SetWindowInputFocus(w);
      const bool dbl = down && e.button.clicks >= 2 && e.button.clicks % 2 == 0;
      UINT m = 0;
      if (e.button.button == SDL_BUTTON_LEFT)
        m = dbl ? WM_LBUTTONDBLCLK : down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
      else if (e.button.button == SDL_BUTTON_RIGHT)
        m = dbl ? WM_RBUTTONDBLCLK : down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
      else if (e.button.button == SDL_BUTTON_MIDDLE)
        m = dbl ? WM_MBUTTONDBLCLK : down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
      if (m) sink.OnNativeMessage(h, m, ButtonFlags(SDL_GetMouseState(nullptr, nullptr)),
                                  MakeLParam(e.button.x, e.button.y));
      break;
    }
    case SDL_MOUSEWHEEL: {
      HWND h = FromId(e.wheel.windowID);
      if (!h || e.wheel.y == 0) break;
      int y = e.wheel.y;
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
      const MPoint p = GetCursorPos();
      sink.OnNativeMessage(h, WM_MOUSEWHEEL,
                           MakeWParam(static_cast<unsigned>(ButtonFlags(SDL_GetMouseState(nullptr, nullptr))),
                                      static_cast<unsigned>(y * WHEEL_DELTA)),
                           MakeLParam(p.x, p.y));
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      HWND h = FromId(e.key.windowID);
      const int vk = VirtualKeyFromSdl(e.key.keysym.sym, e.key.keysym.scancode);
      if (!h || vk == 0) break;
      const bool alt = (SDL_GetModState() & KMOD_ALT) != 0 || vk == VK_MENU;
      const bool down = e.type == SDL_KEYDOWN;
      const UINT m = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
      LPARAM lp = 1 | (static_cast<LPARAM>(e.key.keysym.scancode & 0xFF) << 16);
      if (e.key.repeat) lp |= 1L << 30;
      if (!down) lp |= 3L << 30;
      sink.OnNativeMessage(h, m, static_cast<WPARAM>(vk), lp);
      break;
    }
    case SDL_TEXTINPUT: {
      HWND h = FromId(e.text.windowID);
      if (!h) break;
      for (wchar_t c : WideFromUtf8(e.text.text))
        sink.OnNativeMessage(h, WM_CHAR, static_cast<WPARAM>(c), 1);
      break;
    }
    case SDL_WINDOWEVENT: {
      HWND h = FromId(e.window.windowID);
      if (!h) break;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_EXPOSED:
          sink.OnNativeExpose(h);
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: {
          SDL_Window* w = GetSdlWindow(h);
          // Without a window manager every shown window gets the focus, tooltips included;
          // a tooltip never takes the activation.
          if (SDL_GetWindowFlags(w) & SDL_WINDOW_TOOLTIP) break;
          auto grab = grab_wanted_.find(h);
          if (grab != grab_wanted_.end() && grab->second) SDL_SetWindowKeyboardGrab(w, SDL_TRUE);
          sink.OnNativeMessage(h, WM_ACTIVATE, WA_ACTIVE, 0);
          break;
        }
        case SDL_WINDOWEVENT_FOCUS_LOST: {
          SDL_Window* now = SDL_GetKeyboardFocus();
          if (now != nullptr && (SDL_GetWindowFlags(now) & SDL_WINDOW_TOOLTIP)) {
            SDL_SetWindowInputFocus(GetSdlWindow(h));  // the tooltip took it: give it back
            break;
          }
          sink.OnNativeMessage(h, WM_ACTIVATE, WA_INACTIVE, 0);
          break;
        }
        case SDL_WINDOWEVENT_LEAVE:
          sink.OnNativeMouseLeave(h);
          break;
        case SDL_WINDOWEVENT_CLOSE:
          sink.OnNativeMessage(h, WM_CLOSE, 0, 0);
          break;
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
          SDL_Window* w = GetSdlWindow(h);
          int x, y, cw, ch;
          SDL_GetWindowPosition(w, &x, &y);
          SDL_GetWindowSize(w, &cw, &ch);
          sink.OnNativeRect(h, MRect::FromXYWH(x, y, cw, ch));
          break;
        }
        default:
          break;
      }
      break;
    }
    default:
      break;
  }
}
