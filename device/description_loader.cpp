#include "device/description_loader.h"

#include <climits>
#include <cstdint>

#include "device/description_loader_values.h"
#include "xml/xml_document.h"

namespace {

constexpr int kStartupDeviceType = 301;
constexpr int kPicturePages[] = {kPageKeys, kPageLighting, kPageSettings};

// Tab index of the main window for each page bit.
struct TabBit {
  int tab;
  int bit;
};
constexpr TabBit kTabBits[] = {{1, kPageKeys}, {2, kPageMacros}, {3, kPageLighting}, {7, kPageSettings}};

int Dec(const XmlDocument& doc, const wchar_t* name) { return ParseDecimalValue(doc.GetAttribute(name)); }
int Hex(const XmlDocument& doc, const wchar_t* name) { return ParseHexValue(doc.GetAttribute(name)); }
bool IsOne(const XmlDocument& doc, const wchar_t* name) { return Dec(doc, name) == 1; }

bool IsFramedFamily(int device_type) { return device_type >= 300 && device_type <= 399; }

// A layout name names a file inside layouts/; anything that could leave it is refused.
bool IsPlainFileName(const std::wstring& name) {
  return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"/\\") == std::wstring::npos &&
         name.find(L'\0') == std::wstring::npos;
}

int SaturatedSum(int a, int b) {
  int64_t v = int64_t{a} + b;
  return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

}  // namespace

bool LoadWellFormedXml(XmlDocument& doc, const std::wstring& path) {
  if (!doc.Load(path)) return false;
  // Load only reports whether the file could be read; parsing the same text again
  // answers whether it is well-formed.
  const std::wstring text = doc.GetDocument();
  return doc.SetDocument(text.c_str());
}

DescriptionLoader::DescriptionLoader(KeyboardModel& model, std::wstring programFolder, ModelLoadObserver* observer)
    : model_(model), folder_(std::move(programFolder)), observer_(observer ? observer : &fallback_) {
  while (folder_.size() > 1 && (folder_.back() == L'/' || folder_.back() == L'\\')) folder_.pop_back();
}

std::wstring DescriptionLoader::ConfigPath() const { return folder_ + L"/config.xml"; }

std::wstring DescriptionLoader::LayoutPath(const std::wstring& layoutName) const {
  return folder_ + L"/layouts/" + layoutName + L".xml";
}

void DescriptionLoader::LoadDeviceList() {
  model_.keyboards.clear();
  model_.deviceModes.clear();

  XmlDocument doc;
  if (LoadWellFormedXml(doc, ConfigPath()) && doc.FindElement(L"config")) {
    doc.IntoElement();
    if (doc.FindElement(L"device.info")) {
      doc.IntoElement();
      while (doc.FindElement(L"keyboard")) ReadKeyboard(doc);
      doc.OutOfElement();
    }
    if (doc.FindElement(L"software")) ReadSoftware(doc);
  }

  LoadLayout(kStartupDeviceType);
  observer_->RegisterDeviceNotifications();
}

void DescriptionLoader::ReadKeyboard(XmlDocument& doc) {
  DeviceModeEntry entry;
  entry.productName = doc.GetAttribute(L"name");
  entry.device_type = Dec(doc, L"device_type");
  entry.deviceInfo = doc.GetAttribute(L"device_info");
  model_.keyboards.push_back(entry);
  observer_->AddDevice(entry.productName, entry.device_type);

  // Each identity starts from the keyboard's entry; later modes overwrite the
  // mode fields of the same record.
  doc.IntoElement();
  while (doc.FindElement(L"mode")) {
    entry.mode = Dec(doc, L"value");
    entry.desc = doc.GetAttribute(L"desc");
    entry.vid = Hex(doc, L"vid");
    entry.pid = Hex(doc, L"pid");
    entry.rev = Hex(doc, L"rev");
    entry.productName = doc.GetAttribute(L"product_name");
    entry.hidInterface = doc.GetAttribute(L"hid_interface");
    model_.deviceModes.push_back(entry);
    observer_->AddInterfaceFilter(entry);
  }
  doc.OutOfElement();
}

void DescriptionLoader::ReadSoftware(XmlDocument& doc) {
  model_.softwareName = doc.GetAttribute(L"name");
  model_.softwareVersion = doc.GetAttribute(L"version");
  observer_->ShowSoftwareVersion(model_.softwareVersion);
  doc.IntoElement();
  if (doc.FindElement(L"website")) model_.websiteUrl = doc.GetAttribute(L"url");
  if (doc.FindElement(L"store")) model_.storeUrl = doc.GetAttribute(L"url");
  if (doc.FindElement(L"upgrade")) model_.upgradeUrl = doc.GetAttribute(L"url");
  if (doc.FindElement(L"copyright")) {
    model_.copyrightInfo = doc.GetAttribute(L"info");
    observer_->ShowCopyright(model_.copyrightInfo);
  }
  doc.OutOfElement();
}

bool DescriptionLoader::LoadLayout(int device_type) {
  model_.firmwareUrl.clear();
  model_.dongleUrl.clear();

  model_.layoutName.clear();
  model_.modelName.clear();
  for (const DeviceModeEntry& kb : model_.keyboards) {
    if (kb.device_type == device_type) {
      model_.layoutName = kb.deviceInfo;
      model_.modelName = kb.productName;
      break;
    }
  }
  model_.device_type = device_type;
  observer_->OpenModelDatabase(model_.modelName);
  model_.maxMacroEvents = IsFramedFamily(device_type) ? kFramedMaxMacroEvents : kDefaultMaxMacroEvents;

  XmlDocument doc;
  if (!IsPlainFileName(model_.layoutName) || !LoadWellFormedXml(doc, LayoutPath(model_.layoutName)) ||
      !doc.FindElement(L"device.info"))
    return false;

  doc.IntoElement();
  if (doc.FindElement(L"menu")) ReadMenu(doc);
  if (doc.FindElement(L"function")) model_.sleepTimeAvailable = IsOne(doc, L"sleep_time");
  if (doc.FindElement(L"firmware")) ReadFirmware(doc);
  if (doc.FindElement(L"light")) ReadLight(doc);

  ClearKeys();
  if (doc.FindElement(L"Keyboard")) {
    ReadPicture(doc);
    doc.IntoElement();
    if (doc.FindElement(L"KeyItems")) {
      doc.IntoElement();
      while (doc.FindElement(L"key")) ReadKey(doc);
      doc.OutOfElement();
    }
    doc.OutOfElement();
  }
  return true;
}

void DescriptionLoader::ReadMenu(XmlDocument& doc) {
  int flags = kPageKeys | kPageSettings;
  if (IsOne(doc, L"macro")) flags |= kPageMacros;
  if (IsOne(doc, L"light_mode")) flags |= kPageLighting;
  model_.pageFlags = flags;
  for (const TabBit& t : kTabBits) observer_->SetTabVisible(t.tab, (flags & t.bit) != 0);
}

void DescriptionLoader::ReadFirmware(XmlDocument& doc) {
  model_.firmwareVersion = doc.GetAttribute(L"version");
  model_.firmwareFile = doc.GetAttribute(L"file");
  model_.firmwareUrl = doc.GetAttribute(L"url");
  model_.dongleUrl = doc.GetAttribute(L"dongle_url");
  observer_->SetFirmwareButtonVisible(!model_.firmwareVersion.empty() && !model_.firmwareFile.empty());
}

void DescriptionLoader::ReadLight(XmlDocument& doc) {
  model_.rgbKeyboard = IsOne(doc, L"rgb_keyboard");
  model_.defaultLightMode = Dec(doc, L"default_mode");
  model_.defaultBrightness = Dec(doc, L"default_brightness");
  model_.defaultSpeed = Dec(doc, L"default_speed");
  model_.brightnessMax = Dec(doc, L"brightness_max");
  model_.speedMax = Dec(doc, L"speed_max");
  observer_->SetLightSliderMaxima(model_.brightnessMax, model_.speedMax);

  model_.lightModes.clear();
  model_.lightRecords.clear();
  doc.IntoElement();
  while (doc.FindElement(L"info")) {
    LightModeDescriptor mode;
    mode.name = doc.GetAttribute(L"name");
    mode.mode = Dec(doc, L"mode");
    mode.attribute = Dec(doc, L"attribute");

    LightModeRecord record;
    record.profile = observer_->CurrentProfile();
    record.name = mode.name;
    record.mode = mode.mode;
    record.brightness = model_.defaultBrightness;
    record.speed = model_.defaultSpeed;
    record.config_func = mode.attribute;

    model_.lightModes.push_back(mode);
    model_.lightRecords.push_back(record);
    observer_->LightModeAdded(mode, record);
  }
  doc.OutOfElement();
}

void DescriptionLoader::ClearKeys() {
  model_.keyIndexByCode.clear();
  model_.lightIndexByCode.clear();
  model_.fnLayerDisabled.clear();
  model_.keys.clear();
  model_.rowCount = 0;
  model_.colCount = 0;
  model_.keyMatrix = KeyboardModel::EmptyMatrix();
  for (int page : kPicturePages)
    if (PictureEnabled(page)) observer_->ClearKeyboardPicture(page);
}

void DescriptionLoader::ReadPicture(XmlDocument& doc) {
  const int x = Dec(doc, L"xpos");
  const int y = Dec(doc, L"ypos");
  model_.pictureWidth = Dec(doc, L"width");
  model_.pictureHeight = Dec(doc, L"height");
  model_.pictureRect = {x, y, SaturatedSum(x, model_.pictureWidth), SaturatedSum(y, model_.pictureHeight)};
  model_.pictureImage = doc.GetAttribute(L"image");
  model_.rowCount = Dec(doc, L"row_count");
  model_.colCount = Dec(doc, L"col_count");
  for (int page : kPicturePages)
    if (PictureEnabled(page))
      observer_->SetKeyboardPicture(page, model_.pictureRect, model_.pictureImage, model_.pictureWidth,
                                    model_.pictureHeight);
}

void DescriptionLoader::ReadKey(XmlDocument& doc) {
  LayoutKey key;
  key.code = Hex(doc, L"code");
  key.name = doc.GetAttribute(L"name");
  key.desc = doc.GetAttribute(L"desc");
  key.keyIndex = Dec(doc, L"key_index");
  key.lightIndex = Dec(doc, L"light_index");
  key.icon = doc.GetAttribute(L"icon");
  key.fnLayerDisabled = IsOne(doc, L"fnlayer_disable");
  key.rect = ParseKeyRect(doc.GetAttribute(L"rect"));

  model_.keyIndexByCode[key.code] = key.keyIndex;
  model_.lightIndexByCode[key.code] = key.lightIndex;
  if (key.fnLayerDisabled) model_.fnLayerDisabled[key.code] = 1;

  // Only cells inside the fixed matrix are written; a key placed outside it keeps
  // its maps and picture rectangle but has no matrix cell.
  int row = -1, col = -1;
  if (ParseRowCol(doc.GetAttribute(L"row_col"), &row, &col) && row < kKeyMatrixRows && col < kKeyMatrixCols) {
    key.row = row;
    key.col = col;
    model_.keyMatrix[row][col] = static_cast<uint8_t>(key.code & 0xFF);
  }

  model_.keys.push_back(key);
  for (int page : kPicturePages)
    if (PictureEnabled(page)) observer_->AddPictureKey(page, key);
}
