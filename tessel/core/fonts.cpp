#include "tessel/core/fonts.h"

#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

#include <atomic>
#include <vector>

#include "tessel/core/manager.h"
#include "tessel/core/render_internal.h"
#include "tessel/core/text_utf.h"

namespace {

struct FontRegistry {
  std::mutex lock;
  std::map<std::wstring, MFontFamily> added;           // face -> family of an added file
  std::map<std::wstring, std::pair<std::string, int>> installed;  // face -> family, weight ("" = none)
  std::map<std::wstring, std::pair<std::string, int>> family_lists;
};

FontRegistry& Registry() {
  static FontRegistry r;
  return r;
}

std::atomic<int> g_language{1033};

// fontconfig weight -> CSS weight.
int CssWeight(int fc_weight) {
  if (fc_weight >= FC_WEIGHT_BLACK) return 900;
  if (fc_weight >= FC_WEIGHT_EXTRABOLD) return 800;
  if (fc_weight >= FC_WEIGHT_BOLD) return 700;
  if (fc_weight >= FC_WEIGHT_DEMIBOLD) return 600;
  if (fc_weight >= FC_WEIGHT_MEDIUM) return 500;
  if (fc_weight >= FC_WEIGHT_REGULAR) return 400;
  if (fc_weight >= FC_WEIGHT_LIGHT) return 300;
  return 200;
}

// First font of the installed fonts matching `object` == value (a string
// property); answers its family and weight.
bool FindInstalled(const char* object, const std::string& value, std::string* family, int* weight,
                   std::string* file = nullptr, int want_weight = -1) {
  FcPattern* pat = FcPatternCreate();
  FcPatternAddString(pat, object, reinterpret_cast<const FcChar8*>(value.c_str()));
  FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, FC_WEIGHT, FC_FILE, nullptr);
  FcFontSet* fs = FcFontList(nullptr, pat, os);
  bool found = false;
  if (fs) {
    int best = -1, best_score = 1 << 30;
    for (int i = 0; i < fs->nfont; ++i) {
      int w = FC_WEIGHT_REGULAR;
      FcPatternGetInteger(fs->fonts[i], FC_WEIGHT, 0, &w);
      const int css = CssWeight(w);
      const int score = std::abs(css - (want_weight < 0 ? 400 : want_weight));
      if (score < best_score) {
        best_score = score;
        best = i;
      }
    }
    if (best >= 0) {
      FcChar8* fam = nullptr;
      // A family named by `value` is preferred when the object is the family.
      if (FcPatternGetString(fs->fonts[best], FC_FAMILY, 0, &fam) == FcResultMatch) {
        *family = reinterpret_cast<const char*>(fam);
        if (std::string(object) == FC_FAMILY) *family = value;
        int w = FC_WEIGHT_REGULAR;
        FcPatternGetInteger(fs->fonts[best], FC_WEIGHT, 0, &w);
        *weight = CssWeight(w);
        FcChar8* f = nullptr;
        if (file && FcPatternGetString(fs->fonts[best], FC_FILE, 0, &f) == FcResultMatch)
          *file = reinterpret_cast<const char*>(f);
        found = true;
      }
    }
    FcFontSetDestroy(fs);
  }
  FcObjectSetDestroy(os);
  FcPatternDestroy(pat);
  return found;
}

// Installed fonts that stand for the toolkit's faces.
struct Alias {
  const wchar_t* face;
  std::vector<const char*> families;
  int weight;
};

const std::vector<Alias>& Aliases() {
  static const std::vector<Alias> aliases = {
      {L"SourceHanSansCN-Regular",
       {"Source Han Sans CN", "Source Han Sans SC", "Noto Sans CJK SC", "Noto Sans SC"},
       400},
      {L"Source Han Sans CN",
       {"Source Han Sans CN", "Source Han Sans SC", "Noto Sans CJK SC", "Noto Sans SC"},
       400},
      {L"Open Sans Semibold", {"Open Sans"}, 600},
  };
  return aliases;
}

std::string InstalledUncached(const std::wstring& face, int* weight) {
  std::string family;
  int w = 400;
  for (const Alias& a : Aliases()) {
    if (face == a.face) {
      for (const char* fam : a.families) {
        if (FindInstalled(FC_FAMILY, fam, &family, &w, nullptr, a.weight)) {
          *weight = a.weight;
          return family;
        }
      }
    }
  }
  const std::string utf8 = Utf8FromWide(face);
  if (utf8.empty()) return {};
  if (FindInstalled(FC_FAMILY, utf8, &family, &w)) {
    *weight = 400;
    return family;
  }
  if (FindInstalled(FC_FULLNAME, utf8, &family, &w) ||
      FindInstalled(FC_POSTSCRIPT_NAME, utf8, &family, &w)) {
    *weight = w;
    return family;
  }
  return {};
}

}  // namespace

namespace tessel_fonts {

std::string InstalledFamilyForFace(const std::wstring& face, int* weight) {
  auto& r = Registry();
  std::lock_guard guard(r.lock);
  auto it = r.installed.find(face);
  if (it == r.installed.end()) {
    int w = 400;
    std::string fam = InstalledUncached(face, &w);
    it = r.installed.emplace(face, std::make_pair(fam, w)).first;
  }
  if (weight) *weight = it->second.second;
  return it->second.first;
}

std::string FamilyListForFace(const std::wstring& face, int* weight) {
  auto& r = Registry();
  {
    std::lock_guard guard(r.lock);
    auto it = r.family_lists.find(face);
    if (it != r.family_lists.end()) {
      if (weight) *weight = it->second.second;
      return it->second.first;
    }
  }
  std::string list;
  int w = 400;
  {
    std::lock_guard guard(r.lock);
    auto added = r.added.find(face);
    if (added != r.added.end()) {
      list = added->second.family;
      w = added->second.weight;
    }
  }
  if (list.empty()) list = InstalledFamilyForFace(face, &w);
  if (list.empty()) {
    list = Utf8FromWide(face);
    // Weight words in a face name that is not installed.
    if (face.find(L"Semibold") != std::wstring::npos || face.find(L"SemiBold") != std::wstring::npos)
      w = 600;
    else if (face.find(L"Bold") != std::wstring::npos)
      w = 700;
  }
  list += list.empty() ? "sans-serif" : ",sans-serif";
  std::lock_guard guard(r.lock);
  r.family_lists[face] = {list, w};
  if (weight) *weight = w;
  return list;
}

void RegisterFaceFamily(const std::wstring& face, const MFontFamily& family) {
  {
    auto& r = Registry();
    std::lock_guard guard(r.lock);
    r.added[face] = family;
    r.family_lists.clear();
  }
  TesselRenderFontsChanged();
}

}  // namespace tessel_fonts

// ---------------------------------------------------------------------------
// MFontStore

MFontStore::MFontStore() = default;
MFontStore::~MFontStore() = default;

const MFontFamily* MFontStore::AddTempFont(const std::wstring& face, const std::wstring& path) {
  const std::string file = Utf8FromWide(path);
  struct stat st{};
  if (face.empty() || file.empty() || stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
    return nullptr;
  // The family the file holds (already known to fontconfig when added before).
  std::string family;
  int weight = 400;
  if (!FindInstalled(FC_FILE, file, &family, &weight)) {
    if (!FcConfigAppFontAddFile(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(file.c_str())))
      return nullptr;
    if (!FindInstalled(FC_FILE, file, &family, &weight)) return nullptr;
  }
  auto fam = std::make_unique<MFontFamily>();
  fam->face = face;
  fam->family = family;
  fam->weight = weight;
  fam->file = file;
  tessel_fonts::RegisterFaceFamily(face, *fam);
  std::lock_guard guard(lock_);
  MFontFamily* raw = fam.get();
  families_[face] = std::move(fam);
  return raw;
}

const MFontFamily* MFontStore::AddTempFont(const std::wstring& face, int resource_id) {
  if (resource_id != kTesselFontResourceId) return nullptr;
  std::string family, file;
  int weight = 400;
  if (!FindInstalled(FC_FAMILY, "Open Sans", &family, &weight, &file, 600) || weight != 600)
    return nullptr;
  return AddTempFont(face, WideFromUtf8(file));
}

bool MFontStore::AddGDITempFont(int resource_id) {
  if (resource_id != kTesselFontResourceId) return false;
  int w = 0;
  return !tessel_fonts::InstalledFamilyForFace(L"Open Sans Semibold", &w).empty();
}

const MFontFamily* MFontStore::FindTempFont(const std::wstring& /*face*/) {
  const std::wstring toolkit = Manager::GetFontName();
  {
    std::lock_guard guard(lock_);
    auto it = families_.find(toolkit);
    if (it != families_.end()) return it->second.get();
  }
  int weight = 400;
  std::string family = tessel_fonts::InstalledFamilyForFace(toolkit, &weight);
  if (family.empty()) return nullptr;
  auto fam = std::make_unique<MFontFamily>();
  fam->face = toolkit;
  fam->family = family;
  fam->weight = weight;
  std::lock_guard guard(lock_);
  auto& slot = families_[toolkit];
  if (!slot) slot = std::move(fam);
  return slot.get();
}

void MFontStore::ClearTempFont() {
  std::lock_guard guard(lock_);
  families_.clear();
}

// ---------------------------------------------------------------------------
// Language

void SetTesselTextLanguage(int lcid) {
  if (g_language.exchange(lcid) != lcid) TesselRenderFontsChanged();
}

int GetTesselTextLanguage() { return g_language.load(); }

const char* TesselPangoLanguageForLcid(int lcid) {
  switch (lcid) {
    case 2052: return "zh-cn";
    case 1041: return "ja";
    case 1049: return "ru";
    default: return "en";
  }
}
