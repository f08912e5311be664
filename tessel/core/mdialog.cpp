#include "tessel/core/mdialog.h"

#include "tessel/core/mcontrol.h"

MDialog::MDialog() = default;

MDialog::~MDialog() {
  shadow_.Destroy();
  if (hwnd_ != nullptr) DestroyWindow();
}

const wchar_t* MDialog::GetClassNameW() const { return L"MDialog"; }

int MDialog::OnInitDialog() {
  paint_manager.Init(hwnd_, this, this);
  client_rect_ = GetClientRect();
  InitUI(client_rect_);
  return 1;
}

void MDialog::OnDestroyMessage(HWND hwnd) {
  if (hwnd == paint_manager.GetPaintWnd()) paint_manager.DestroyData();
  PostNcDestroy();
}

int MDialog::PreTranslateMessage(const MSG* msg) { return paint_manager.PreTranslateMessage(msg); }

LRESULT MDialog::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The shadow keeps in step with the window.
  if (message == WM_MOVE || message == WM_SIZE || message == WM_SHOWWINDOW) {
    const LRESULT r = MSkinWindow::OnWindowMessage(message, wParam, lParam);
    shadow_.Follow();
    return r;
  }
  return MSkinWindow::OnWindowMessage(message, wParam, lParam);
}

MPoint MDialog::GetAirBladderPoint(MControl* control, int type) {
  if (control == nullptr) return MPoint(0, 0);
  const MRect r = control->GetRect();
  MPoint p(type == 0 ? r.left : type == 1 ? (r.left + r.right) / 2 : r.right, r.bottom);
  ClientToScreen(&p);
  return p;
}

void MDialog::OnMinimize() { ShowWindow(SW_MINIMIZE); }

void MDialog::OnMaximize() {
  ShowWindow(hwnd_ != nullptr && WindowSystem::Get().IsZoomed(hwnd_) ? SW_RESTORE : SW_MAXIMIZE);
}

void MDialog::SetMessage(const std::wstring& text, const MRect& rect, MsgLevel level) {
  MRect box = rect;
  if (box.IsEmpty()) {
    const MRect c = GetClientRect();
    const int mid = c.Width() / 2;
    box = MRect(mid - 100, c.bottom - 60, mid + 100, c.bottom - 2).Offset(0, message_offset_);
  }
  paint_manager.SetMessage(text, box, level);
}

void MDialog::SetProgress(int percent, const std::wstring& text, const MRect& rect) {
  paint_manager.SetProgress(percent, text, rect, 0);
}

int MDialog::SetAirBladderMsg(const std::wstring& text, MPoint screen, AIRBLADDER_TYPE) {
  if (screen.x == 0 || screen.y == 0) return 0;
  air_bladder_text_ = text;
  return 1;
}

void MDialog::DoOK() { PostMessageW(WM_TESSEL_ENDDIALOG, IDOK, 0); }
void MDialog::DoCancel() { PostMessageW(WM_TESSEL_ENDDIALOG, IDCANCEL, 0); }
void MDialog::DoClose() { PostMessageW(WM_TESSEL_ENDDIALOG, IDCANCEL, 0); }
void MDialog::DoYes() { PostMessageW(WM_TESSEL_ENDDIALOG, IDYES, 0); }
void MDialog::DoNo() { PostMessageW(WM_TESSEL_ENDDIALOG, IDNO, 0); }

bool MDialog::CreateShadow(bool show, bool force) {
  return hwnd_ != nullptr && shadow_.Create(hwnd_, show, force);
}
