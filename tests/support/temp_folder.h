#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "core/settings.h"

namespace vantrel::testing {

// A fresh temporary folder, removed with everything in it when the object dies.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

// A program folder: "Vantrel.ini" naming entity "Ardevanne", short name "KVR" and exercise
// "2026-2027", and that exercise folder, empty.
class ProgramFolder : public TempFolder {
 public:
  ProgramFolder();

  std::filesystem::path exerciseFolder() const { return path() / "2026-2027"; }
  Settings settings() const { return LoadSettings(path()); }
};

// Whole files as bytes; WriteFile creates missing folders, ReadFile gives "" for none.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

// The names a folder holds, as it spells them (UTF-8), sorted. On Windows names that differ
// only in letter case are one file: tests of letter case look at the names, not at exists().
std::vector<std::string> NamesIn(const std::filesystem::path& folder);

// The bytes of a record file holding lines, each line ended by CR LF.
std::string CrLfBytes(const Lines& lines);

// A relative path written with "/" as this system writes it ("\\" on Windows).
std::string NativeSeparators(std::string text);

}  // namespace vantrel::testing
