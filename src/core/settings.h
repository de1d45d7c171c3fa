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

class IniFile;

// Sets "Entité", "sigle", "exercice", "Exercice1" and "bilan" of section "Fichier" of ini
// from settings; the caller sets any other key and saves.
void SetExerciseKeys(IniFile& ini, const Settings& settings);

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

// A boolean of the settings file, written as an integer: any whole number other than 0 is
// true; "0", an empty text or a text that is no whole number is false.
bool ReadIniBool(const std::string& text);

// The start-up reading of the version-check switch: true when the check stays off today.
// An expired switch-off is cleared in the file ("NoValide" = "0") first. Throws Error
// "Impossible de créer le fichier %s" when that write fails.
bool UpdateCheckSwitchedOff(const std::filesystem::path& programFolder, Date today);

// "Ne Pas Vérifier la mise à jour" clicked while the check is switchedOff (or on): switching
// off writes "Date" = today and "NoValide" = "1", switching on "NoValide" = "0", in one
// rewrite of the file. Returns the new state; throws Error "Impossible de créer le fichier %s"
// when the file cannot be written, which then keeps its old state.
bool ToggleUpdateCheck(const std::filesystem::path& programFolder, bool switchedOff, Date today);

// A folder name of the settings file (Windows-1252 bytes) as a path of this system.
std::filesystem::path FolderPath(const std::string& cp1252Name);

}  // namespace vantrel
