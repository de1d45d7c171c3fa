#include "utilities/wildcard.h"

#include <algorithm>

#include "core/os_file.h"
#include "core/record_file.h"
#include "core/settings.h"
#include "core/text_helpers.h"
#include "utilities/archived_name.h"

namespace vantrel::utilities {

namespace fs = std::filesystem;

namespace {

// Entries of a folder sorted by lower-case name, as a Windows folder lists them.
std::vector<os::FolderEntry> SortedEntries(const fs::path& folder) {
  std::vector<os::FolderEntry> entries;
  os::ListFolder(folder, entries);
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return LowerAscii(os::Utf8Of(a.name)) < LowerAscii(os::Utf8Of(b.name));
  });
  return entries;
}

void CollectMatches(const fs::path& folder, const std::string& mask, bool recursive,
                    std::vector<fs::path>& out) {
  const auto entries = SortedEntries(folder);
  if (recursive) {
    for (const auto& entry : entries) {
      if (entry.kind == os::Kind::kFolder && !entry.link) {
        CollectMatches(folder / entry.name, mask, true, out);
      }
    }
  }
  for (const auto& entry : entries) {
    if (entry.link || entry.kind != os::Kind::kFile) continue;
    if (MatchesMask(PathToText(entry.name), mask)) out.push_back(folder / entry.name);
  }
}

}  // namespace

bool MatchesMask(const std::string& name, const std::string& mask) {
  if (mask == "*.*" || mask == "*") return true;
  const std::string n = LowerAscii(name);
  const std::string m = LowerAscii(mask);
  // Iterative wildcard match with one backtracking point.
  std::size_t i = 0, j = 0, star = std::string::npos, mark = 0;
  while (i < n.size()) {
    if (j < m.size() && (m[j] == '?' || m[j] == n[i])) {
      ++i;
      ++j;
    } else if (j < m.size() && m[j] == '*') {
      star = j++;
      mark = i;
    } else if (star != std::string::npos) {
      j = star + 1;
      i = ++mark;
    } else {
      return false;
    }
  }
  while (j < m.size() && m[j] == '*') ++j;
  return j == m.size();
}

BackupPattern SplitPattern(const std::string& pattern) {
  std::string text = Trim(pattern);
  BackupPattern result;
  if (text.size() >= 2 && LowerAscii(text.substr(text.size() - 2)) == "/s") {
    const std::string before = text.substr(0, text.size() - 2);
    const bool afterBlank = !before.empty() && static_cast<unsigned char>(before.back()) <= ' ';
    if (afterBlank || before.find('\\') != std::string::npos) {
      result.recursive = true;
      text = Trim(before);
    }
  }
  const std::size_t cut = text.find_last_of("\\/");
  result.folder = cut == std::string::npos ? "." : text.substr(0, cut + 1);
  result.mask = cut == std::string::npos ? text : text.substr(cut + 1);
  return result;
}

std::vector<fs::path> MatchPattern(const std::string& pattern) {
  const BackupPattern split = SplitPattern(pattern);
  std::vector<fs::path> result;
  if (split.mask.empty()) return result;
#ifndef _WIN32
  if (split.folder.find('\\') != std::string::npos && split.folder.find('/') == std::string::npos) {
    return result;  // a Windows path means nothing here
  }
#endif
  const fs::path folder = ResolvePath(FolderPath(split.folder));
  CollectMatches(folder, split.mask, split.recursive, result);
  return result;
}

}  // namespace vantrel::utilities
