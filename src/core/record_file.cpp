#include "core/record_file.h"

#include <fstream>
#include <system_error>

#include "core/error.h"
#include "core/text_helpers.h"
#include "core/transaction.h"

namespace vantrel {

namespace fs = std::filesystem;

fs::path ResolvePath(const fs::path& path) {
  std::error_code error;
  if (fs::exists(path, error)) return path;
  fs::path resolved = path.root_path();
  bool matching = true;
  for (const auto& component : path.relative_path()) {
    if (!matching) {
      resolved /= component;
      continue;
    }
    const fs::path exact = resolved.empty() ? component : resolved / component;
    if (fs::exists(exact, error) || component == "." || component == "..") {
      resolved = exact;
      continue;
    }
    const std::string wanted = LowerAscii(component.string());
    bool found = false;
    const fs::path folder = resolved.empty() ? fs::path(".") : resolved;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      const std::string name = it->path().filename().string();
      if (LowerAscii(name) == wanted) {
        resolved = resolved.empty() ? fs::path(name) : resolved / name;
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

bool FileExists(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(ResolvePath(path), error);
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(ResolvePath(path), std::ios::binary | std::ios::ate);
  if (!in) throw CannotOpenFile(path);
  const std::streamoff size = in.tellg();
  if (size < 0) throw CannotOpenFile(path);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.seekg(0);
  if (size > 0 && !in.read(bytes.data(), size)) throw CannotOpenFile(path);
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
