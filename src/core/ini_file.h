#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

// An INI file of Windows-1252 bytes, kept line by line so that writing a key changes only
// that key's line.
//   [Fichier]
//   Entité=Ardevanne
//   Exercice=2026-2027
// Section and key names are compared without regard to letter case, accented letters
// included (Windows-1252: "ENTITÉ" is "Entité"); blanks around
// names and values are ignored.
class IniFile {
 public:
  // A missing file reads as an empty one.
  static IniFile Load(const std::filesystem::path& path);

  std::optional<std::string> Value(const std::string& section, const std::string& key) const;
  std::string Value(const std::string& section, const std::string& key,
                    const std::string& fallback) const;

  // Replaces the key's value where it stands, or adds the key at the end of its section
  // (the section at the end of the file when it is new).
  void SetValue(const std::string& section, const std::string& key, const std::string& value);

  // Writes the file atomically. Throws Error "Impossible de créer le fichier %s".
  void Save() const;

  const std::vector<std::string>& lines() const { return m_lines; }

 private:
  std::filesystem::path m_path;
  std::vector<std::string> m_lines;
};

}  // namespace vantrel
