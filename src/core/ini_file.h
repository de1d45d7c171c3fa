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
//
// The file is written in Windows-1252. A file a text editor saved in UTF-8 reads as well:
// with a leading byte-order mark, or valid UTF-8 beyond ASCII (IsUtf8Text), it is decoded
// into Windows-1252 (DecodeSettingsBytes); the next write stores it in Windows-1252.
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

// The bytes of a settings file as Windows-1252: a leading UTF-8 byte-order mark is skipped,
// and a file marked so or valid UTF-8 beyond ASCII goes through DecodeExternalText (a
// character Windows-1252 lacks becomes "?"); any other file is already Windows-1252.
std::string DecodeSettingsBytes(std::string bytes);

}  // namespace vantrel
