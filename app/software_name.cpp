#include "app/software_name.h"

#include "platform/folders.h"
#include "tessel/core/manager.h"
#include "xml/xml_document.h"

bool ReadSoftwareName() {
  XmlDocument document;
  if (!document.Load(GetProgramFolderNoSlash() + L"/config.xml") || !document.IsWellFormed()) {
    return false;
  }
  if (!document.FindElement(L"config") || !document.IntoElement() ||
      !document.FindElement(L"software")) {
    return false;
  }
  // An empty name would leave the settings, data and socket names without a stem.
  const std::wstring name = document.GetAttribute(L"name");
  if (name.empty()) return false;
  Manager::SetDeviceName(name);
  return true;
}
