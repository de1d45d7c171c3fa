#include "core/ini_file.h"

#include "core/external_text.h"
#include "core/record_file.h"
#include "core/text_helpers.h"

namespace vantrel {
namespace {

// The section name of a "[name]" line.
std::optional<std::string> SectionOf(const std::string& line) {
  const std::string trimmed = Trim(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return std::nullopt;
  return Trim(trimmed.substr(1, trimmed.size() - 2));
}

// Windows-1252 case folding: "ENTITÉ" names the key "Entité".
bool SameName(const std::string& a, const std::string& b) {
  return UpperCp1252(Trim(a)) == UpperCp1252(Trim(b));
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<std::string> KeyOf(const std::string& line) {
  const std::string trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  const auto equals = line.find('=');
  if (equals == std::string::npos) return std::nullopt;
  return Trim(line.substr(0, equals));
}

}  // namespace

std::string DecodeSettingsBytes(std::string bytes) {
  constexpr char kByteOrderMark[] = "\xef\xbb\xbf";
  const bool marked = bytes.rfind(kByteOrderMark, 0) == 0;
  if (marked) bytes.erase(0, 3);
  if (marked || IsUtf8Text(bytes)) return DecodeExternalText(bytes);
  return bytes;
}

IniFile IniFile::Load(const std::filesystem::path& path) {
  IniFile file;
  file.m_path = path;
  file.m_lines = SplitLines(DecodeSettingsBytes(FileExists(path) ? ReadBytes(path) : ""));
  return file;
}

std::optional<std::string> IniFile::Value(const std::string& section,
                                          const std::string& key) const {
  bool inSection = false;
  for (const auto& line : m_lines) {
    if (auto name = SectionOf(line)) {
      inSection = SameName(*name, section);
      continue;
    }
    if (!inSection) continue;
    if (auto name = KeyOf(line); name && SameName(*name, key)) {
      return Trim(line.substr(line.find('=') + 1));
    }
  }
  return std::nullopt;
}

std::string IniFile::Value(const std::string& section, const std::string& key,
                           const std::string& fallback) const {
  return Value(section, key).value_or(fallback);
}

void IniFile::SetValue(const std::string& section, const std::string& key,
                       const std::string& value) {
  const std::string newLine = key + "=" + value;
  bool inSection = false;
  std::optional<std::size_t> sectionEnd;
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    if (auto name = SectionOf(m_lines[i])) {
      inSection = SameName(*name, section);
      if (inSection) sectionEnd = i + 1;
      continue;
    }
    if (!inSection) continue;
    if (auto name = KeyOf(m_lines[i]); name && SameName(*name, key)) {
      m_lines[i] = *name + "=" + value;
      return;
    }
    if (!Trim(m_lines[i]).empty()) sectionEnd = i + 1;
  }
  if (sectionEnd) {
    m_lines.insert(m_lines.begin() + static_cast<long>(*sectionEnd), newLine);
    return;
  }
  m_lines.push_back("[" + section + "]");
  m_lines.push_back(newLine);
}

void IniFile::Save() const { WriteLines(m_path, m_lines); }

}  // namespace vantrel
