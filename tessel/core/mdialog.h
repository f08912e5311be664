#pragma once
// MDialog: the skinned top-level window every dialog of the program derives from. It is the
// object above its top-level controls (their notifications arrive in OnMessage), owns a
// paint manager, and is closed with a result through DoOK / DoCancel / DoClose / DoYes / DoNo.
#include <string>

#include "tessel/core/export.h"
#include "tessel/core/mshadow.h"
#include "tessel/core/mwindow_skin.h"

// Level of a transient message (kept with it; no effect on drawing).
enum MsgLevel { MSG_LEVEL_INFO = 0, MSG_LEVEL_WARNING = 1, MSG_LEVEL_ERROR = 2 };
// Kind of balloon: 4 stays shown, every other kind hides after 5 seconds.
enum AIRBLADDER_TYPE { AIRBLADDER_INFO = 0, AIRBLADDER_WARNING = 1, AIRBLADDER_ERROR = 2,
                       AIRBLADDER_SUCCESS = 3, AIRBLADDER_STAY = 4 };

class TESSEL_API MDialog : public MSkinWindow {
 public:
  MDialog();
  ~MDialog() override;

  // MObject: "MDialog".
  const wchar_t* GetClassNameW() const override;

  // Initialises the paint manager, stores the client rectangle and calls InitUI; answers 1.
  int OnInitDialog() override;
  // The paint manager's data goes with the window, then PostNcDestroy.
  void OnDestroyMessage(HWND hwnd) override;
  // The paint manager's Tab focus handling.
  int PreTranslateMessage(const MSG* msg) override;
  // Screen point under a control: bottom edge at the left (0), centre (1) or right (2).
  virtual MPoint GetAirBladderPoint(MControl* control, int type);
  virtual void OnMinimize();
  virtual void OnMaximize();
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void SetFocusControl(MControl* control) { paint_manager.SetFocusControl(control); }
  void EnableWndDrag(int on) { paint_manager.EnableWndDrag(on); }
  unsigned SetMTimer(unsigned milliseconds) { return paint_manager.SetMTimer(milliseconds); }
  void KillMTimer(unsigned id) { paint_manager.KillMTimer(id); }
  void SetTooltip(const std::wstring& text, const MRect& rect) { paint_manager.SetTooltip(text, rect); }
  void ClearTooltip() { paint_manager.ClearTooltip(); }
  void SetTooltipCtrlID(unsigned id) { paint_manager.SetTooltipCtrlID(id); }
  unsigned GetTooltipCtrlID() const { return paint_manager.GetTooltipCtrlID(); }
  // An empty rectangle means a 200-pixel box centred at the bottom of the client area,
  // moved down by the message offset.
  void SetMessage(const std::wstring& text, const MRect& rect = MRect(), MsgLevel level = MSG_LEVEL_INFO);
  void SetProgress(int percent, const std::wstring& text, const MRect& rect = MRect());
  void SetMessageOffset(int offset) { message_offset_ = offset; }
  // Nothing (0) when either coordinate is 0; the balloon control itself is not part of the
  // core toolkit, so the text and point are only recorded here.
  int SetAirBladderMsg(const std::wstring& text, MPoint screen, AIRBLADDER_TYPE type);
  const std::wstring& GetAirBladderText() const { return air_bladder_text_; }

  // Close with a result: IDOK, IDCANCEL, IDCANCEL, IDYES, IDNO.
  void DoOK();
  void DoCancel();
  void DoClose();
  void DoYes();
  void DoNo();

  // ---- Drop shadow -----------------------------------------------------------------------------------
  bool CreateShadow(bool show, bool force = false);
  bool SetSize(int size) { return shadow_.SetSize(size); }
  bool SetSharpness(int sharpness) { return shadow_.SetSharpness(sharpness); }
  bool SetDarkness(int darkness) { return shadow_.SetDarkness(darkness); }
  bool SetPosition(int x, int y) { return shadow_.SetPosition(x, y); }
  bool SetShadowColor(COLORREF colour) { return shadow_.SetColor(colour); }
  bool SetShadowImage(const std::wstring& file, const MRect& corners) { return shadow_.SetImage(file, corners); }
  bool SetShadowImage(int id, const MRect& corners) { return shadow_.SetImage(id, corners); }
  void SetShadowShow(bool show) { shadow_.Show(show); }
  void SetupRegion() {}
  MShadow& GetShadow() { return shadow_; }

 protected:
  int message_offset_ = 0;
  MShadow shadow_;
  std::wstring air_bladder_text_;
};
