#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::utilities {

// True when name matches the wildcard mask ("*" any run, "?" one byte), A-Z compared without
// regard to case; "*.*" matches every name, with or without a dot.
bool MatchesMask(const std::string& name, const std::string& mask);

// A backup pattern taken apart: "c:\club\*.ini /s" is folder "c:\club\", mask "*.ini",
// recursive. "/s" counts after a blank, or directly on a "\" path; a pattern without a
// folder has folder ".".
struct BackupPattern {
  std::string folder;
  std::string mask;
  bool recursive = false;
};
BackupPattern SplitPattern(const std::string& pattern);

// Files matching one backup pattern: a path with "*" and "?" in its last component,
// optionally followed by "/s" for its sub-folders too, depth first, sub-folders before the
// folder's own files. Letters A-Z are compared without regard to case; only regular files
// are taken (no folder, no symbolic link).
std::vector<std::filesystem::path> MatchPattern(const std::string& pattern);

}  // namespace vantrel::utilities
