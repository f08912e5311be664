#include "tessel/core/control_factory.h"

#include <map>
#include <mutex>

#include "tessel/core/carea.h"

namespace {

struct TableEntry {
  const wchar_t* name;
  unsigned scopes;
};

constexpr unsigned kBoth = ControlFactory::kTopLevel | ControlFactory::kPanel;
constexpr unsigned kTop = ControlFactory::kTopLevel;
constexpr unsigned kPanelOnly = ControlFactory::kPanel;

// The class table: the names each factory knows.
constexpr TableEntry kTable[] = {
    {L"MText", kBoth},           {L"MPicture", kBoth},       {L"CPhotoFrame", kBoth},
    {L"CSliderPicture", kBoth},  {L"CGifPicture", kBoth},    {L"MProgress", kBoth},
    {L"MSlider", kBoth},         {L"MLevelCtrl", kBoth},     {L"MButton", kBoth},
    {L"CImageButton", kBoth},    {L"CTextButton", kBoth},    {L"CCheckButton", kBoth},
    {L"CRadioButton", kBoth},    {L"CColorButton", kBoth},   {L"MSpinButton", kBoth},
    {L"CSpinButton", kBoth},     {L"CSwitchButton", kBoth},  {L"CIconButton", kBoth},
    {L"CTimerButton", kBoth},    {L"CHelpButton", kBoth},    {L"MEdit", kBoth},
    {L"MRichEdit", kBoth},       {L"MEditEx", kBoth},        {L"MComboBox", kBoth},
    {L"MTabCtrl", kBoth},        {L"MTabLayout", kBoth},     {L"MListBox", kBoth},
    {L"MPalette", kBoth},        {L"CColorPalette", kBoth},  {L"CColorSelect", kBoth},
    {L"CirclePalette", kBoth},   {L"MenuItem", kBoth},       {L"KeyboardCtrl", kBoth},
    {L"CDeviceCtrl", kBoth},     {L"CComboBoxList", kTop},   {L"BatteryCtrl", kTop},
    {L"KeyFuncControl", kPanelOnly}, {L"DListBox", kPanelOnly}, {L"CRecordList", kPanelOnly},
    {L"UpgradeButton", kPanelOnly},  {L"DownloadButton", kPanelOnly},
    {L"KeyLayerButton", kPanelOnly},
};

struct Registry {
  std::mutex lock;
  std::map<std::wstring, ControlCreator, std::less<>> creators;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry();  // outlives every static registrar
  return *registry;
}

MControl* CreateArea(MObject* parent, unsigned id, const MRect& rect, const std::wstring&,
                     int visible, int enabled) {
  return new CArea(parent, id, rect, visible, enabled);
}

}  // namespace

unsigned ControlFactory::AllowedScopes(std::wstring_view name) {
  if (name == L"CArea") return kBoth;
  for (const auto& e : kTable)
    if (name == e.name) return e.scopes;
  return 0;
}

bool ControlFactory::Register(std::wstring_view name, ControlCreator creator) {
  if (creator == nullptr || name == L"CArea" || AllowedScopes(name) == 0) return false;
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  r.creators[std::wstring(name)] = creator;
  return true;
}

bool ControlFactory::Unregister(std::wstring_view name) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  auto it = r.creators.find(name);
  if (it == r.creators.end()) return false;
  r.creators.erase(it);
  return true;
}

bool ControlFactory::IsRegistered(std::wstring_view name) {
  if (name == L"CArea") return true;
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  return r.creators.find(name) != r.creators.end();
}

std::vector<std::wstring> ControlFactory::TableNames() {
  std::vector<std::wstring> names;
  for (const auto& e : kTable) names.emplace_back(e.name);
  return names;
}

MControl* ControlFactory::Create(Scope scope, std::wstring_view name, MObject* parent,
                                 unsigned id, const MRect& rect, const std::wstring& text,
                                 int visible, int enabled) {
  if (name.empty()) return nullptr;
  if (name == L"CArea") return CreateArea(parent, id, rect, text, visible, enabled);
  if ((AllowedScopes(name) & scope) == 0) return nullptr;
  ControlCreator creator = nullptr;
  {
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    auto it = r.creators.find(name);
    if (it != r.creators.end()) creator = it->second;
  }
  if (creator == nullptr) return nullptr;
  return creator(parent, id, rect, text, visible, enabled);
}
