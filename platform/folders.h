#pragma once
// The program folder (where the executable and its files lie) and the per-user data folder.
#include <string>

// Folder of the executable, with a trailing slash.
std::wstring GetProgramFolder();
// Folder of the executable, without the trailing slash.
std::wstring GetProgramFolderNoSlash();
// $XDG_DATA_HOME (default ~/.local/share) + "/<display name> Files/", with a trailing slash.
std::wstring GetDataFolder();
// Creates the folder and every missing parent; true when it exists afterwards.
bool EnsureDirectory(const std::wstring& path);
