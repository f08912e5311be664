#pragma once
// Links between the font store and the text renderer inside libtessel.

// Fonts were added or the language changed: the renderer's font map rereads
// fontconfig and every cached layout is dropped.
void TesselRenderFontsChanged();
// The Pango language tag for a Windows language id (2052 zh-cn, 1041 ja, 1049 ru,
// else en).
const char* TesselPangoLanguageForLcid(int lcid);
