#include "core/settings.h"

#include "core/cp1252.h"
#include "core/ini_file.h"
#include "core/os_file.h"
#include "core/text_helpers.h"

namespace vantrel {

std::filesystem::path FolderPath(const std::string& cp1252Name) {
  return os::PathFromUtf8(Cp1252ToUtf8(cp1252Name));
}

std::filesystem::path Settings::exerciseFolder() const {
  return programFolder / FolderPath(exercise);
}

std::filesystem::path Settings::exerciseFile(const std::string& name) const {
  return exerciseFolder() / FolderPath(name);
}

Settings LoadSettings(const std::filesystem::path& programFolder) {
  const IniFile ini = IniFile::Load(programFolder / kSettingsFileName);
  Settings settings;
  settings.programFolder = programFolder;
  settings.entity = ini.Value(kSectionFile, kKeyEntity, settings.entity);
  settings.shortName = ini.Value(kSectionFile, kKeyShortName, settings.shortName);
  settings.exercise = ini.Value(kSectionFile, kKeyExercise, "");
  settings.exercise1 = ini.Value(kSectionFile, kKeyExercise1, "");
  settings.exercise2 = ini.Value(kSectionFile, kKeyExercise2, "");
  settings.spare = ini.Value(kSectionFile, kKeySpare, "");
  return settings;
}

void SetExerciseKeys(IniFile& ini, const Settings& settings) {
  ini.SetValue(kSectionFile, kKeyEntity, settings.entity);
  ini.SetValue(kSectionFile, "sigle", settings.shortName);
  ini.SetValue(kSectionFile, "exercice", settings.exercise);
  ini.SetValue(kSectionFile, kKeyExercise1, settings.exercise1);
  ini.SetValue(kSectionFile, kKeyExercise2, settings.exercise2);
}

UpdateSwitch LoadUpdateSwitch(const std::filesystem::path& programFolder) {
  const IniFile ini = IniFile::Load(programFolder / kSettingsFileName);
  UpdateSwitch value;
  value.switchedOff = ReadIniBool(ini.Value(kSectionUpdate, kKeyNoCheck, ""));
  if (auto date = TryParseDate(ini.Value(kSectionUpdate, kKeyNoCheckDate, ""))) value.since = *date;
  return value;
}

void WriteSetting(const std::filesystem::path& programFolder, const std::string& section,
                  const std::string& key, const std::string& value) {
  IniFile ini = IniFile::Load(programFolder / kSettingsFileName);
  ini.SetValue(section, key, value);
  ini.Save();
}

bool SwitchOffExpired(const UpdateSwitch& value, Date today) {
  return value.switchedOff && today.Serial() - value.since.Serial() > 30;
}

bool ReadIniBool(const std::string& text) {
  const std::string trimmed = Trim(text);
  std::size_t at = (!trimmed.empty() && (trimmed[0] == '-' || trimmed[0] == '+')) ? 1 : 0;
  if (at == trimmed.size()) return false;
  bool nonZero = false;
  for (; at < trimmed.size(); ++at) {
    const char c = trimmed[at];
    if (c < '0' || c > '9') return false;
    if (c != '0') nonZero = true;
  }
  return nonZero;
}

bool UpdateCheckSwitchedOff(const std::filesystem::path& programFolder, Date today) {
  const UpdateSwitch state = LoadUpdateSwitch(programFolder);
  if (!SwitchOffExpired(state, today)) return state.switchedOff;
  WriteSetting(programFolder, kSectionUpdate, kKeyNoCheck, "0");
  return false;
}

bool ToggleUpdateCheck(const std::filesystem::path& programFolder, bool switchedOff, Date today) {
  IniFile ini = IniFile::Load(programFolder / kSettingsFileName);
  const bool off = !switchedOff;
  if (off) ini.SetValue(kSectionUpdate, kKeyNoCheckDate, FormatDate(today));
  ini.SetValue(kSectionUpdate, kKeyNoCheck, off ? "1" : "0");
  ini.Save();
  return off;
}

}  // namespace vantrel
