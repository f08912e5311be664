#pragma once
// All generated pictures in memory: the manifest's skins, the keyboard picture
// of each layout, a frame of the busy animation and the program icon.
#include <cairo.h>

#include <string>
#include <vector>

namespace skingen {

struct NamedSurface {
  std::string name;  // path below the theme folder, or a label for the sheet
  cairo_surface_t* surface = nullptr;
  bool in_theme = true;  // false for pictures that are not theme files (sheet only)
};

class SkinSet {
 public:
  SkinSet() = default;
  SkinSet(const SkinSet&) = delete;
  SkinSet& operator=(const SkinSet&) = delete;
  ~SkinSet();

  // Paints every manifest image and the keyboard picture of every *.xml layout
  // in the folder (sorted by file name). Problems are appended to `errors`;
  // answers false when there was any.
  bool Render(const std::string& layouts_folder, std::vector<std::string>* errors);

  // Writes the theme files, "loading.gif" and the program icons below the
  // program folder. False when any write failed (listed in `errors`).
  bool Write(const std::string& program_folder, std::vector<std::string>* errors) const;

  const std::vector<NamedSurface>& Pictures() const { return pictures_; }

 private:
  void Add(std::string name, cairo_surface_t* surface, bool in_theme);
  std::vector<NamedSurface> pictures_;
};

}  // namespace skingen
