#pragma once
// Whole-file reads and crash-safe whole-file writes.
#include <sys/types.h>

#include <string>
#include <string_view>

enum class FileReadStatus { kOk, kMissing, kError };

// Reads the whole file into `out`. kMissing when it does not exist, kError when it
// exists but cannot be read (permissions, a folder, an I/O error).
FileReadStatus ReadWholeFile(const std::string& path, std::string* out);

// Replaces the file with `data` through a temporary file in the same folder that is
// flushed to disk and renamed over it, so the old contents stay whole when the write
// fails (full disk, crash). False, with the old file untouched, on any failure.
bool WriteFileAtomically(const std::string& path, std::string_view data, mode_t mode);
