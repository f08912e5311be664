#pragma once
// One PNG showing every generated picture with its name, for reviewing the look.
#include <string>

#include "tools/skingen/skin_set.h"

namespace skingen {

// Large pictures are scaled down to fit a tile; small ones are also shown
// enlarged (nearest neighbour) beside their 1:1 picture. False on failure.
bool WriteContactSheet(const SkinSet& skins, const std::string& path);

}  // namespace skingen
