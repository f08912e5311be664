#include "tools/skingen/painters.h"

namespace skingen {

const PainterTable& AllPainters() {
  static const PainterTable table = [] {
    PainterTable t;
    AddFramePainters(t);
    AddControlPainters(t);
    AddLightingPainters(t);
    AddIconPainters(t);
    return t;
  }();
  return table;
}

}  // namespace skingen
