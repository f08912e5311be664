#pragma once
// Readers for the attribute values of the description files. None of them fails:
// text that is not a number reads as 0, and out-of-range numbers saturate.
#include <string>

#include "device/keyboard_model.h"

// Leading blanks, an optional sign, decimal digits; stops at the first other character.
int ParseDecimalValue(const std::wstring& text);
// Hexadecimal digits with or without a leading "0x"/"0X"; stops at the first other character.
int ParseHexValue(const std::wstring& text);
// "R?C" or "R?CC": a one-digit row, a separator, a one- or two-digit column.
// False (and row/col -1) when the text has no such shape.
bool ParseRowCol(const std::wstring& text, int* row, int* col);
// "x#y#w#h" -> (x, y, x + w, y + h); missing parts read as 0.
KeyRect ParseKeyRect(const std::wstring& text);
