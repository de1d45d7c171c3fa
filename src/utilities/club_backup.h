#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "utilities/backup_file.h"

namespace vantrel::utilities {

// The archive of a club's data on a drive: root + "SvgVantrel.bck".
inline constexpr char kArchiveFileName[] = "SvgVantrel.bck";
// The folder of the program folder the first restore pass writes to.
inline constexpr char kTempFolderName[] = "Temp";

// The patterns of a club backup (Windows-1252): program folder + "*.ini", then program
// folder + name + "\*.*" (or "/*.*") for every plain folder of the program folder, in the
// order of their lower-case names. A folder whose name starts with ".", a symbolic link, a
// read-only folder (no write permission for its owner) or a hidden one is left out; its own
// sub-folders are never included.
std::vector<std::string> ClubBackupPatterns(const std::filesystem::path& programFolder);

// Deletes the ledger files "0000.dbp" to "9999.dbp" (any letter case) of the exercise folder
// programFolder / exercise when it holds a member file "joueur.dbp". exercise must be one
// plain folder name (no separator, not "." or ".."), else nothing is deleted. Returns the
// number of files deleted.
int DeleteLedgers(const std::filesystem::path& programFolder, const std::string& exercise);

// Where the files of an archive go on this computer. The archived settings file
// "vantrel.ini" nearest to a root marks the archived program folder (an archive without one
// takes the deepest folder common to all its files); every archived path below it maps to
// the same relative place below the current program folder, whatever the system the
// archive was made on. A path outside it maps nowhere.
class ProgramFolderMap {
 public:
  explicit ProgramFolderMap(std::filesystem::path programFolder);

  // Learns one archived name (every name of the archive, in order).
  void observe(const std::string& archivedName);
  // The target of an archived name below the current program folder (existing files and
  // folders matched without regard to case), or nothing when it lies outside.
  std::optional<std::filesystem::path> map(const std::string& archivedName) const;
  // The archived program folder's components, when known.
  std::optional<ArchivedPath> archivedProgramFolder() const;

 private:
  std::filesystem::path m_programFolder;
  std::optional<ArchivedPath> m_settingsFolder;
  std::optional<ArchivedPath> m_common;
};

// Backs up the program folder into archive (Windows-1252 path) with the club's settings:
// title "Vantrel", all files, level 9, single volume.
bool BackupClub(TBackupFile& backup, const std::filesystem::path& programFolder,
                const std::string& archive);

// The restore of a club archive, in two passes:
// 1. every file into program folder + "Temp" under its file name alone (of several
//    "vantrel.ini" the one nearest to a root wins), which also proves that the whole archive
//    reads;
// 2. the exercise named by the archived settings file ("Fichier"/"Exercice") loses its
//    ledgers (DeleteLedgers), then every file goes back to its place below the program
//    folder (ProgramFolderMap); files outside it are not written and are listed in outside.
// Throws ArchiveError for an unreadable header or a section without signature.
struct ClubRestore {
  enum class Outcome { kRestored, kFirstPassFailed, kSecondPassFailed };
  Outcome outcome = Outcome::kRestored;
  std::string exercise;  // the archived current exercise
  int ledgersDeleted = 0;
  std::vector<std::string> outside;  // archived names not written
  int filesWritten = 0;
};
ClubRestore RestoreClub(TBackupFile& backup, const std::string& archive,
                        const std::filesystem::path& programFolder);

}  // namespace vantrel::utilities
