#pragma once
// One painter per skin image of the manifest. A painter draws the whole image
// (all its state cells) onto a transparent surface of the manifest's size.
#include <map>
#include <string>

#include "tools/skingen/canvas.h"

namespace skingen {

using Painter = void (*)(cairo_t* cr, const SkinImage& image);
using PainterTable = std::map<std::string, Painter>;

void AddFramePainters(PainterTable& table);    // window frame, tabs, battery, device list
void AddControlPainters(PainterTable& table);  // buttons, edits, sliders, scroll bars, tips
void AddLightingPainters(PainterTable& table); // direction and colour buttons, colour wheel
void AddIconPainters(PainterTable& table);     // image buttons and key function icons

// The brand mark (the logo's "V"), also used by the program icon.
void PaintBrandMark(cairo_t* cr, double x, double y, double size);

// Every painter, keyed by the manifest's file name.
const PainterTable& AllPainters();

}  // namespace skingen
