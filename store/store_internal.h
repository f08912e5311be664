#pragma once
// Helpers shared by the operation files of the store; not part of its interface.
#include <sqlite3.h>

#include <string>

#include "store/sqlite_statement.h"
#include "tessel/core/text_utf.h"

namespace store_internal {

// Step results that count as success everywhere.
inline bool IsOk(int rc) { return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE; }

// Wide text is bound as UTF-8 with its byte length.
inline int BindWide(SQLiteStatement& st, int index, const std::wstring& text) {
  const std::string utf8 = Utf8FromWide(text);
  return st.BindText(index, utf8.data(), static_cast<int>(utf8.size()));
}

// A NULL or empty column reads as an empty string.
inline std::wstring ColumnWide(const SQLiteStatement& st, int column) {
  const char* text = st.GetText(column);
  if (!text) return std::wstring();
  return WideFromUtf8(std::string_view(text, static_cast<size_t>(st.GetTextBytes(column))));
}

// Result of a failed insert that reports the SQLite code: negated, so never an id.
inline int FailureCode(int rc) { return rc > 0 ? -rc : (rc == 0 ? -SQLITE_ERROR : rc); }

}  // namespace store_internal
