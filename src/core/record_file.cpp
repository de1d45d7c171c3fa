#include "core/record_file.h"

#include "core/error.h"
#include "core/os_file.h"
#include "core/text_helpers.h"
#include "core/transaction.h"

namespace vantrel {

namespace fs = std::filesystem;

#ifdef _WIN32
namespace {

// The name of an existing entry of folder as the folder spells it (Windows finds a file in any
// letter case; its own spelling keeps a replaced file's name).
fs::path AsSpelled(const fs::path& path) {
  if (!path.has_filename() || path.filename() == "." || path.filename() == "..") return path;
  const std::string wanted = LowerAscii(os::Utf8Of(path.filename()));
  std::vector<os::FolderEntry> entries;
  os::ListFolder(path.has_parent_path() ? path.parent_path() : fs::path("."), entries);
  for (const os::FolderEntry& entry : entries) {
    if (LowerAscii(os::Utf8Of(entry.name)) == wanted) return path.parent_path() / entry.name;
  }
  return path;
}

}  // namespace
#endif

fs::path ResolvePath(const fs::path& path) {
#ifdef _WIN32
  if (os::Exists(path)) return AsSpelled(path);
#else
  if (os::Exists(path)) return path;
#endif
  fs::path resolved = path.root_path();
  bool matching = true;
  for (const auto& component : path.relative_path()) {
    if (!matching) {
      resolved /= component;
      continue;
    }
    const fs::path exact = resolved.empty() ? component : resolved / component;
    if (os::Exists(exact) || component == "." || component == "..") {
      resolved = exact;
      continue;
    }
    const std::string wanted = LowerAscii(os::Utf8Of(component));
    bool found = false;
    const fs::path folder = resolved.empty() ? fs::path(".") : resolved;
    std::vector<os::FolderEntry> entries;
    os::ListFolder(folder, entries);
    for (const os::FolderEntry& entry : entries) {
      if (LowerAscii(os::Utf8Of(entry.name)) == wanted) {
        resolved = resolved.empty() ? entry.name : resolved / entry.name;
        found = true;
        break;
      }
    }
    if (!found) {
      resolved = exact;
      matching = false;
    }
  }
  return resolved;
}

bool FileExists(const fs::path& path) { return os::IsFile(ResolvePath(path)); }

std::string ReadBytes(const fs::path& path) {
  std::string bytes;
  if (os::ReadWholeFile(ResolvePath(path), bytes)) throw CannotOpenFile(path);
  return bytes;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  FileTransaction transaction;
  transaction.Stage(path, bytes);
  transaction.Commit();
}

Lines SplitLines(const std::string& bytes) {
  Lines lines;
  const std::size_t n = bytes.size();
  std::size_t begin = 0;
  while (begin < n) {
    std::size_t end = bytes.find_first_of("\r\n", begin);
    if (end == std::string::npos) {
      lines.emplace_back(bytes, begin, n - begin);
      break;
    }
    lines.emplace_back(bytes, begin, end - begin);
    if (bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n') ++end;
    begin = end + 1;
  }
  return lines;
}

Lines ReadLines(const fs::path& path) { return SplitLines(ReadBytes(path)); }

Lines ReadLinesIfExists(const fs::path& path) {
  if (!FileExists(path)) return {};
  return ReadLines(path);
}

void WriteLines(const fs::path& path, const Lines& lines) { WriteBytes(path, LinesToBytes(lines)); }

std::string CleanField(std::string field) {
  for (char& c : field) {
    if (c == ';') c = ',';
    if (c == '\r' || c == '\n') c = ' ';
  }
  return field;
}

std::string JoinFields(const std::vector<std::string>& fields) {
  std::string line;
  for (const auto& field : fields) {
    line += CleanField(field);
    line += ';';
  }
  return line;
}

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::string current;
  for (char c : line) {
    if (c == ';') {
      fields.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) fields.push_back(std::move(current));
  return fields;
}

}  // namespace vantrel
