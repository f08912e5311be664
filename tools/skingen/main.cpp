// skingen: draws the skins of the dark theme, the keyboard pictures of the
// shipped layouts, the busy animation and the program icons.
//
//   skingen --out <program folder> [--layouts <folder>] [--sheet <file.png>]
//   skingen --sheet <file.png> [--layouts <folder>]
//
// The output depends only on the inputs and the installed fonts: running it twice
// writes byte-identical files.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include "tools/skingen/contact_sheet.h"
#include "tools/skingen/skin_set.h"

#ifndef SKINGEN_DEFAULT_LAYOUTS
#define SKINGEN_DEFAULT_LAYOUTS "data/layouts"
#endif

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: skingen --out <program folder> [--layouts <folder>] [--sheet <file.png>]\n"
               "       skingen --sheet <file.png> [--layouts <folder>]\n");
  return 2;
}

// Drops the font map and the Cairo and fontconfig caches so that a build with
// the leak checker on does not fail on the libraries' process-lifetime caches.
void ReleaseFontCaches() {
  pango_cairo_font_map_set_default(nullptr);
  cairo_debug_reset_static_data();
  FcFini();
}

}  // namespace

int main(int argc, char** argv) {
  std::string out, sheet, layouts = SKINGEN_DEFAULT_LAYOUTS;
  for (int i = 1; i < argc; ++i) {
    const bool has_value = i + 1 < argc;
    if (!std::strcmp(argv[i], "--out") && has_value) out = argv[++i];
    else if (!std::strcmp(argv[i], "--layouts") && has_value) layouts = argv[++i];
    else if (!std::strcmp(argv[i], "--sheet") && has_value) sheet = argv[++i];
    else return Usage();
  }
  if (out.empty() && sheet.empty()) return Usage();

  std::vector<std::string> errors;
  bool ok = true;
  {
    skingen::SkinSet skins;
    ok = skins.Render(layouts, &errors);
    if (!out.empty()) ok = skins.Write(out, &errors) && ok;
    if (!sheet.empty() && !skingen::WriteContactSheet(skins, sheet)) {
      errors.push_back(sheet + ": cannot write the contact sheet");
      ok = false;
    }
  }
  for (const std::string& error : errors) std::fprintf(stderr, "skingen: %s\n", error.c_str());
  ReleaseFontCaches();
  return ok ? 0 : 1;
}
