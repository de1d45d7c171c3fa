#include "utilities/archived_name.h"

#include <algorithm>
#include <cctype>

#include "core/cp1252.h"
#include "core/os_file.h"
#include "core/record_file.h"
#include "core/settings.h"
#include "core/text_helpers.h"

namespace vantrel::utilities {

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A byte no file name may hold: a control byte or one Windows refuses in names.
bool IsRefusedByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|';
}

// The root of name ("c:", "\\server" or "/") and where its first component starts; nothing
// for a relative name or a server without a name.
std::optional<std::size_t> SplitRoot(const std::string& name, std::string& root) {
  const bool driveLetter = name.size() >= 3 && std::isalpha(static_cast<unsigned char>(name[0])) &&
                           name[1] == ':' && IsSeparator(name[2]);
  if (driveLetter) {
    root = name.substr(0, 2);
    return 3;
  }
  if (name.size() >= 2 && name[0] == '\\' && name[1] == '\\') {
    const std::size_t end = name.find_first_of("\\/", 2);
    if (end == std::string::npos || end == 2) return std::nullopt;
    root = name.substr(0, end);
    return end + 1;
  }
  if (name[0] == '/') {
    root = "/";
    return 1;
  }
  return std::nullopt;
}

}  // namespace

std::string PathToText(const fs::path& path) { return Utf8ToCp1252(os::Utf8Of(path)); }

std::string ArchivedNameOf(const fs::path& file) {
  std::error_code error;
  fs::path full = fs::absolute(file, error).lexically_normal();
  std::string text = PathToText(full);
#ifdef _WIN32
  std::replace(text.begin(), text.end(), '/', '\\');
#endif
  return LowerAscii(text);
}

std::optional<ArchivedPath> ParseArchivedName(const std::string& name) {
  if (name.empty() || std::any_of(name.begin(), name.end(), IsRefusedByte)) return std::nullopt;
  ArchivedPath result;
  const auto start = SplitRoot(name, result.root);
  if (!start) return std::nullopt;
  for (std::size_t at = *start; at <= name.size();) {
    std::size_t end = name.find_first_of("\\/", at);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(at, end - at);
    if (!part.empty()) {
      if (part == "." || part == ".." || part.find(':') != std::string::npos) return std::nullopt;
      result.components.push_back(part);
    }
    at = end + 1;
  }
  if (result.components.empty() || IsSeparator(name.back())) return std::nullopt;
  return result;
}

std::optional<fs::path> NativePathOf(const ArchivedPath& path) {
  fs::path result;
#ifdef _WIN32
  if (path.root == "/") return std::nullopt;
  result = os::PathFromUtf8(Cp1252ToUtf8(path.root + "\\"));
#else
  if (path.root != "/") return std::nullopt;
  result = fs::path("/");
#endif
  for (const std::string& part : path.components) result /= FolderPath(part);
  return result;
}

std::optional<fs::path> RestoreTargetOf(const ArchivedPath& path, const fs::path& folder,
                                        bool fullPath) {
  if (folder.empty()) {
    auto native = NativePathOf(path);
    if (!native) return std::nullopt;
    return ResolvePath(*native);
  }
  if (!fullPath) return ResolvePath(folder / FolderPath(path.components.back()));
  fs::path target = folder;
  for (const std::string& part : path.components) target /= FolderPath(part);
  return ResolvePath(target);
}

}  // namespace vantrel::utilities
