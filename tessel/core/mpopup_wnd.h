#pragma once
// MPopupWnd: a transient skinned popup (menus, drop-down lists). Unlike a dialog it is a
// tool window, cannot be dragged by its background, and closes as soon as it loses
// activation. Its notifications can be passed to a parent object.
#include "tessel/core/export.h"
#include "tessel/core/mwindow_skin.h"

class TESSEL_API MPopupWnd : public MSkinWindow {
 public:
  MPopupWnd();
  ~MPopupWnd() override;

  int OnInitDialog() override;
  int PreTranslateMessage(const MSG* msg) override { return 0; }
  void OnDestroyMessage(HWND hwnd) override;
  int OnCreate(void* create_data) override;
  int OnNcActivate(int active) override;
  int OnWindowPosChanged() override;
  int OnSize(WPARAM type, int width, int height) override;

  virtual MObject* GetParent() const { return parent_object_; }
  void SetParent(MObject* parent) { parent_object_ = parent; }
  // Posts WM_CLOSE.
  virtual void CloseWindow();
  // The parent object's OnBaseMessage with id 0; 0 without a parent.
  LRESULT SendMessageToParent(unsigned code, WPARAM wParam, LPARAM lParam);

 protected:
  MObject* parent_object_ = nullptr;
};
