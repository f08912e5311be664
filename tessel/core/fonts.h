#pragma once
// Private fonts and the text language.
//
// A font file is added to fontconfig as an application font
// (FcConfigAppFontAddFile), which makes it visible to Pango process-wide. Each
// paint manager keeps its own store of face name -> family (MFontStore).
// The toolkit faces "SourceHanSansCN-Regular" and "Open Sans Semibold" fall back
// to installed fonts through fontconfig (Source Han Sans / Noto Sans CJK SC,
// Open Sans at weight 600) when no file was added for them.
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "tessel/core/export.h"

// A font family usable for drawing.
struct MFontFamily {
  std::wstring face;      // the face name it was stored under
  std::string family;     // fontconfig family name (UTF-8)
  int weight = 400;       // CSS-like weight: 400 regular, 600 semibold, 700 bold
  std::string file;       // file it came from; empty for installed fonts
};

// The toolkit's resource id of the font "Open Sans Semibold".
constexpr int kTesselFontResourceId = 106;

class TESSEL_API MFontStore {
 public:
  MFontStore();
  ~MFontStore();
  MFontStore(const MFontStore&) = delete;
  MFontStore& operator=(const MFontStore&) = delete;

  // Adds the font file under the face name; null when the file cannot be added or
  // holds no family.
  const MFontFamily* AddTempFont(const std::wstring& face, const std::wstring& path);
  // The toolkit's font resource (106: Open Sans Semibold, taken from the installed
  // fonts-open-sans files); null for an unknown id or when it is not installed.
  const MFontFamily* AddTempFont(const std::wstring& face, int resource_id);
  // Registering the resource for "GDI" text: the same fonts serve all text here;
  // answers whether the resource is available.
  bool AddGDITempFont(int resource_id);
  // Looks up the toolkit face (Manager::GetFontName), whatever face is asked for:
  // the stored family, else the installed family of that name (stored once), else
  // null.
  const MFontFamily* FindTempFont(const std::wstring& face);
  // Forgets every stored family.
  void ClearTempFont();

 private:
  std::mutex lock_;
  std::map<std::wstring, std::unique_ptr<MFontFamily>> families_;
};

namespace tessel_fonts {
// The Pango family list and weight to draw a face with: an added font of that
// face, else the installed family it stands for, else the face itself, each
// followed by "sans-serif". Weight 400 unless the face says otherwise.
TESSEL_API std::string FamilyListForFace(const std::wstring& face, int* weight);
// An installed fontconfig family for a face (alias table, exact family, full or
// PostScript name), or empty.
TESSEL_API std::string InstalledFamilyForFace(const std::wstring& face, int* weight);
// Process-wide face -> family of added font files.
TESSEL_API void RegisterFaceFamily(const std::wstring& face, const MFontFamily& family);
}  // namespace tessel_fonts

// The language of text shaping, from the user's language id: 2052 zh-cn,
// 1041 ja, 1049 ru, 1033 en (others: en). Chinese needs it, or Pango picks
// Japanese glyph forms. Drops the text layout cache.
TESSEL_API void SetTesselTextLanguage(int lcid);
TESSEL_API int GetTesselTextLanguage();
