#include "tessel/core/mobject.h"

#include <cwchar>

MObject::~MObject() = default;

int MObject::IsClass(const wchar_t* name) const {
  const wchar_t* own = GetClassNameW();
  if (name == nullptr || own == nullptr) return 0;
  return std::wcscmp(own, name) == 0 ? 1 : 0;
}

const wchar_t* MObject::GetClassNameW() const { return nullptr; }

const void* MObject::GetObjectClass() const { return nullptr; }

const wchar_t* MObject::BaseObjectClassName() const { return nullptr; }

LRESULT MObject::OnBaseMessage(unsigned, unsigned, WPARAM, LPARAM) { return 0; }

int MObject::OnControlUpdate(const MRect&, int, MControl*) { return 0; }
