#pragma once
// The look of the generated keyboard pictures, shared with the skin test: a flat
// plate, each key's rectangle filled with the darker skirt colour and its top face
// inset inside it. The label sits at the face's top-left, so the key's centre
// shows the plain face colour.
#include <cstdint>

namespace skingen::keyboard_style {

inline constexpr std::uint32_t kPlate = 0x0E141D;
inline constexpr std::uint32_t kCaseLine = 0x27324A;
inline constexpr std::uint32_t kKeySkirt = 0x222C3B;
inline constexpr std::uint32_t kKeyFace = 0x2E3A4D;
inline constexpr std::uint32_t kLabel = 0xD2DBE6;
// Face inset from the key rectangle's edges.
inline constexpr int kFaceLeft = 3, kFaceTop = 2, kFaceRight = 3, kFaceBottom = 5;
inline constexpr double kLabelSize = 11;        // words ("Caps", "Space")
inline constexpr double kSymbolLabelSize = 13;  // single characters

}  // namespace skingen::keyboard_style
