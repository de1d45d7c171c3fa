#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::utilities {

// The names files are archived under, and the paths they come back to.
//
// Archived names are full paths with the letters A-Z lowered, in Windows-1252:
//   on Windows  "c:\club\vantrel\2026-2027\joueur.dbp"
//   elsewhere   "/home/club/vantrel/2026-2027/joueur.dbp"
// The reader accepts both forms on every system ("\" and "/" both separate folders).

// A path of this system as Windows-1252 bytes (the inverse of FolderPath).
std::string PathToText(const std::filesystem::path& path);

// The name a file is archived under: its absolute path, letters A-Z lowered, Windows-1252.
std::string ArchivedNameOf(const std::filesystem::path& file);

// An archived name taken apart: its root ("c:", "/" or "\\server") and its folders and file
// name. Nothing when the name is unusable: empty, a control byte, a "." or ".." component,
// or no file name.
struct ArchivedPath {
  std::string root;
  std::vector<std::string> components;
};
std::optional<ArchivedPath> ParseArchivedName(const std::string& name);

// The archived path as a path of this system: a Windows name with its drive only on
// Windows, a "/" name only elsewhere. Nothing when it means nothing here.
std::optional<std::filesystem::path> NativePathOf(const ArchivedPath& path);

// Where a restore puts an archived file: folder empty, back to its archived path (nothing
// when that means nothing here); otherwise into folder under its file name alone, or with
// fullPath under its folders and file name without the root.
std::optional<std::filesystem::path> RestoreTargetOf(const ArchivedPath& path,
                                                     const std::filesystem::path& folder,
                                                     bool fullPath);

}  // namespace vantrel::utilities
