#pragma once
// The one pair of conversions between the program's wide text and UTF-8, used at
// every edge where text leaves or enters the program (files, SQLite, Pango, SDL, D-Bus).
#include <string>
#include <string_view>

#include "tessel/core/export.h"

// Invalid or surrogate code points become U+FFFD.
TESSEL_API std::string Utf8FromWide(std::wstring_view text);
// Malformed UTF-8 sequences become U+FFFD; nothing is dropped silently.
TESSEL_API std::wstring WideFromUtf8(std::string_view text);
