#pragma once
// The colours of the dark theme and the look of the four button states. The
// window background is the toolkit's back colour (COLORREF 0x130D09, that is
// RGB 09 0D 13); the accent is the toolkit's select colour ARGB 0xFF10A8FD.
#include "tools/skingen/canvas.h"

namespace skingen::theme {

inline constexpr Rgb kBackground = 0x090D13;
inline constexpr Rgb kAccent = 0x10A8FD;
inline constexpr Rgb kAccentDeep = 0x0A6FA9;
inline constexpr Rgb kArea = 0x051325;     // CArea colour, COLORREF 0x251305
inline constexpr Rgb kEditBack = 0x061835; // edit background, COLORREF 0x351806
inline constexpr Rgb kPanel = 0x111824;
inline constexpr Rgb kRaised = 0x1A2433;
inline constexpr Rgb kRaisedHover = 0x223550;
inline constexpr Rgb kLine = 0x2C3A4F;
inline constexpr Rgb kText = 0xC8D2DE;
inline constexpr Rgb kTextDim = 0x7D8794;
inline constexpr Rgb kWhite = 0xFFFFFF;
inline constexpr Rgb kDisabledFill = 0x14181E;
inline constexpr Rgb kDisabledLine = 0x262B33;
inline constexpr Rgb kDisabledGlyph = 0x464D57;
inline constexpr Rgb kDanger = 0xE5484D;
inline constexpr Rgb kTipBack = 0x1E86C6;  // light enough for dark text, dark enough for white

// Button states in picture order: 0 normal, 1 pointer over it, 2 pressed, 3 disabled.
struct StateLook {
  Rgb fill_top;
  Rgb fill_bottom;
  Rgb line;
  Rgb glyph;
};

inline StateLook ButtonLook(int state) {
  switch (state & 3) {
    case 1: return {0x27405F, 0x1D3049, kAccent, kWhite};
    case 2: return {0x0B5F90, 0x0C76B3, kAccent, kWhite};
    case 3: return {kDisabledFill, kDisabledFill, kDisabledLine, kDisabledGlyph};
    default: return {0x1E2A3B, 0x172130, kLine, kText};
  }
}

// Glyph colour of flat image buttons (no plate in the normal state).
inline Rgb GlyphColour(int state) {
  switch (state & 3) {
    case 1: return kWhite;
    case 2: return kAccent;
    case 3: return kDisabledGlyph;
    default: return kText;
  }
}

}  // namespace skingen::theme
