#pragma once
// Root of the toolkit's object model: class identity, notifications from contained
// controls (OnBaseMessage) and their redraw requests (OnControlUpdate).
#include "tessel/core/export.h"
#include "tessel/core/geometry.h"
#include "tessel/core/messages.h"

class MControl;

class TESSEL_API MObject {
 public:
  MObject() = default;
  MObject(const MObject&) = delete;
  MObject& operator=(const MObject&) = delete;
  virtual ~MObject();

  // 1 when GetClassNameW equals name exactly (case-sensitive, whole string), else 0.
  virtual int IsClass(const wchar_t* name) const;
  // The class's name; MObject has none (null).
  virtual const wchar_t* GetClassNameW() const;
  virtual const void* GetObjectClass() const;
  virtual const wchar_t* BaseObjectClassName() const;
  // Notification from a contained control: its id, a code, wParam and lParam.
  virtual LRESULT OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam);
  // A contained control asks to be repainted (redraw: its cached picture is stale).
  virtual int OnControlUpdate(const MRect& rect, int redraw, MControl* control);
};
