#include "tools/skingen/skin_set.h"

#include <dirent.h>

#include <algorithm>

#include "tools/skingen/canvas.h"
#include "tools/skingen/gif_writer.h"
#include "tools/skingen/keyboard_picture.h"
#include "tools/skingen/painters.h"
#include "tools/skingen/program_icon.h"

namespace skingen {

namespace {

std::vector<std::string> LayoutFiles(const std::string& folder, std::vector<std::string>* errors) {
  std::vector<std::string> files;
  DIR* dir = opendir(folder.c_str());
  if (!dir) {
    errors->push_back(folder + ": cannot open the layout folder");
    return files;
  }
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".xml") == 0) files.push_back(folder + "/" + name);
  }
  closedir(dir);
  std::sort(files.begin(), files.end());
  return files;
}

// Every size of the program icon side by side, for the contact sheet.
cairo_surface_t* DrawIconStrip() {
  int width = 0;
  for (int size : kIconSizes) width += size + 8;
  cairo_surface_t* strip = NewSurface(width, kIconSizes[std::size(kIconSizes) - 1]);
  cairo_t* cr = cairo_create(strip);
  int x = 0;
  for (int size : kIconSizes) {
    cairo_surface_t* icon = DrawProgramIcon(size);
    cairo_set_source_surface(cr, icon, x, 0);
    cairo_paint(cr);
    cairo_surface_destroy(icon);
    x += size + 8;
  }
  cairo_destroy(cr);
  return strip;
}

}  // namespace

SkinSet::~SkinSet() {
  for (auto& picture : pictures_) cairo_surface_destroy(picture.surface);
}

void SkinSet::Add(std::string name, cairo_surface_t* surface, bool in_theme) {
  pictures_.push_back({std::move(name), surface, in_theme});
}

bool SkinSet::Render(const std::string& layouts_folder, std::vector<std::string>* errors) {
  const std::size_t errors_before = errors->size();
  const PainterTable& painters = AllPainters();
  for (const SkinImage& image : kSkinImages) {
    auto painter = painters.find(image.name);
    if (painter == painters.end()) {
      errors->push_back(std::string(image.name) + ": no painter");
      continue;
    }
    cairo_surface_t* surface = NewSurface(image.Width(), image.Height());
    cairo_t* cr = cairo_create(surface);
    painter->second(cr, image);
    cairo_destroy(cr);
    Add(image.name, surface, true);
  }
  for (const std::string& path : LayoutFiles(layouts_folder, errors)) {
    LayoutPicture layout;
    std::string error;
    if (!ReadLayoutPicture(path, &layout, &error)) {
      errors->push_back(path + ": " + error);
      continue;
    }
    const bool taken = std::any_of(pictures_.begin(), pictures_.end(),
                                   [&](const NamedSurface& p) { return p.name == layout.image; });
    if (taken) {
      errors->push_back(path + ": picture name \"" + layout.image + "\" is already used");
      continue;
    }
    Add(layout.image, DrawKeyboardPicture(layout), true);
  }
  Add(std::string(kLoadingGif) + " (frame 0)", DrawLoadingFrame(kLoadingGifSize, kLoadingGifFrames, 0), false);
  Add(std::string(kProgramIcon) + " sizes", DrawIconStrip(), false);
  return errors->size() == errors_before;
}

bool SkinSet::Write(const std::string& program_folder, std::vector<std::string>* errors) const {
  const std::size_t errors_before = errors->size();
  const std::string theme = program_folder + "/" + kThemeFolder + "/";
  for (const NamedSurface& picture : pictures_) {
    if (picture.in_theme && !WritePng(picture.surface, theme + picture.name))
      errors->push_back(theme + picture.name + ": cannot write");
  }
  if (!WriteLoadingGif(theme + kLoadingGif, kLoadingGifSize, kLoadingGifFrames))
    errors->push_back(theme + kLoadingGif + ": cannot write");
  if (!WriteIco(program_folder + "/" + kProgramIcon, kIconSizes))
    errors->push_back(program_folder + "/" + kProgramIcon + ": cannot write");
  cairo_surface_t* desktop = DrawProgramIcon(256);
  if (!WritePng(desktop, program_folder + "/" + kDesktopIcon))
    errors->push_back(program_folder + "/" + kDesktopIcon + ": cannot write");
  cairo_surface_destroy(desktop);
  return errors->size() == errors_before;
}

}  // namespace skingen
