#pragma once
// Creation of controls by class name. The class table fixes which names may be created at
// the top level of a window and which inside a panel; each control class registers its
// constructor under its name when the library loads. A name outside the table, or one whose
// class has not registered, creates nothing. "CArea" is always available.
#include <string>
#include <string_view>
#include <vector>

#include "tessel/core/export.h"
#include "tessel/core/geometry.h"

class MControl;
class MObject;

// Builds one control: parent, id, rectangle, text, visible, enabled.
using ControlCreator = MControl* (*)(MObject* parent, unsigned id, const MRect& rect,
                                     const std::wstring& text, int visible, int enabled);

class TESSEL_API ControlFactory {
 public:
  ControlFactory() = delete;

  // Where a control is created: at the top level of a window (the paint manager's
  // factory) or inside a panel.
  enum Scope : unsigned { kTopLevel = 1, kPanel = 2 };

  // The scopes (bits of Scope) in which the class table allows the name; 0 = unknown name.
  static unsigned AllowedScopes(std::wstring_view name);
  // Registers (or replaces) the constructor of a class of the table. Answers false for a
  // name outside the table, "CArea" (built in) or a null creator.
  static bool Register(std::wstring_view name, ControlCreator creator);
  static bool Unregister(std::wstring_view name);
  static bool IsRegistered(std::wstring_view name);
  // Every name of the table, in table order.
  static std::vector<std::wstring> TableNames();

  // Builds the control, unlisted: null for an empty name, a name the scope does not allow,
  // or a class not registered yet. The container then attaches and lists it.
  static MControl* Create(Scope scope, std::wstring_view name, MObject* parent, unsigned id,
                          const MRect& rect, const std::wstring& text, int visible, int enabled);
};

// Registers a class at load time: `static ControlRegistrar reg(L"MButton", &CreateButton);`
struct TESSEL_API ControlRegistrar {
  ControlRegistrar(std::wstring_view name, ControlCreator creator) {
    ControlFactory::Register(name, creator);
  }
};
