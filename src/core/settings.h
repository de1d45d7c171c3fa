#pragma once

#include <filesystem>
#include <string>

#include "core/date.h"

namespace vantrel {

inline constexpr char kSettingsFileName[] = "Vantrel.ini";
inline constexpr char kSectionFile[] = "Fichier";
inline constexpr char kSectionUpdate[] = "MiseAjour";
inline constexpr char kKeyEntity[] = "Entit\xe9";
inline constexpr char kKeyShortName[] = "Sigle";
inline constexpr char kKeyExercise[] = "Exercice";
inline constexpr char kKeyExercise1[] = "Exercice1";
inline constexpr char kKeyExercise2[] = "bilan";
inline constexpr char kKeySpare[] = "resultat";
inline constexpr char kKeyNoCheck[] = "NoValide";
inline constexpr char kKeyNoCheckDate[] = "Date";

// The current settings: the program folder and the six keys of section "Fichier", text as
// Windows-1252 bytes.
struct Settings {
  std::filesystem::path programFolder;
  std::string entity = "Ardevanne";
  std::string shortName = "KVR";
  std::string exercise;
  std::string exercise1;
  std::string exercise2;
  std::string spare;

  std::filesystem::path settingsFile() const { return programFolder / kSettingsFileName; }
  // program folder / exercise: the folder of every data file of the current exercise.
  std::filesystem::path exerciseFolder() const;
  // A file of the current exercise folder.
  std::filesystem::path exerciseFile(const std::string& name) const;
};

// Reads "Vantrel.ini" of programFolder; a missing file or key gives the defaults.
Settings LoadSettings(const std::filesystem::path& programFolder);

// The version-check switch of section "MiseAjour".
struct UpdateSwitch {
  bool switchedOff = false;  // "NoValide"
  Date since;                // "Date", the zero date when missing or unreadable
};

UpdateSwitch LoadUpdateSwitch(const std::filesystem::path& programFolder);

// Writes one key of the settings file, keeping every other line.
void WriteSetting(const std::filesystem::path& programFolder, const std::string& section,
                  const std::string& key, const std::string& value);

// A switch-off lasts 30 days: true when it must be cleared on `today`.
bool SwitchOffExpired(const UpdateSwitch& value, Date today);

// A folder name of the settings file (Windows-1252 bytes) as a path of this system.
std::filesystem::path FolderPath(const std::string& cp1252Name);

}  // namespace vantrel
