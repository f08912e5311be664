#pragma once
// The wait dialog's busy animation as a looping GIF, written with giflib.
#include <cairo.h>

#include <string>

namespace skingen {

// Frame `index` of the spinner: a ring of dots whose bright head moves one step
// per frame, every pixel a blend of the panel colour and the accent.
cairo_surface_t* DrawLoadingFrame(int size, int frames, int index);

// Writes all frames (5/100 s each, looping forever) to the path. False on failure.
bool WriteLoadingGif(const std::string& path, int size, int frames);

}  // namespace skingen
