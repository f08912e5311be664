#pragma once
// Lower-casing of program text that does not depend on the process locale: ASCII,
// Latin-1, Latin Extended-A, Greek, Cyrillic and full-width Latin letters.
#include <string>

wchar_t LowerCaseChar(wchar_t c);
std::wstring LowerCaseText(std::wstring text);
