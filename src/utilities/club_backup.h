#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "utilities/backup_file.h"

namespace vantrel::utilities {

// The archive of a club's data on a drive: root + "SvgVantrel.bck".
inline constexpr char kArchiveFileName[] = "SvgVantrel.bck";
// The folder of the program folder the first restore pass writes to.
inline constexpr char kTempFolderName[] = "Temp";

// Club data, by name: what a club backup saves and a club restore writes, letters compared
// without regard to case. In the program folder itself the settings files "*.ini"; in one
// of its folders (an exercise, "Temp") the masks of ClubDataMasks: the member file and the
// accounting files, ledgers and cup files ("*.dbp"), the member file's copy of the last
// reset ("joueur.dbp.bak"), page extracts and result files ("*.chi", "*.chr"), registrant
// lists and event data ("*.qug", "*.pag", "*.quc", "*.pac", "*.qud", "*.pad"), and the
// documents the screens export or read there ("*.txt", "*.csv", "*.htm", "*.html",
// "*.pdf"), and the settings file a restore leaves in "Temp" ("vantrel.ini"). Anything else (the
// program, a library, a plug-in, a staging file) is none.
inline constexpr char kSettingsMask[] = "*.ini";
const std::vector<std::string>& ClubDataMasks();
// True for a file name (Windows-1252) that ClubDataMasks selects.
bool IsClubDataName(const std::string& fileName);

// The patterns of a club backup (Windows-1252): program folder + "*.ini", then for every
// plain folder of the program folder, in the order of their lower-case names, program
// folder + name + "\" (or "/") + each mask of ClubDataMasks. A folder whose name starts
// with ".", a symbolic link, a read-only folder (no write permission for its owner) or a
// hidden one is left out; its own sub-folders are never included.
std::vector<std::string> ClubBackupPatterns(const std::filesystem::path& programFolder);

// Deletes the ledger files "0000.dbp" to "9999.dbp" (any letter case) of the exercise folder
// programFolder / exercise when it holds a member file "joueur.dbp". exercise must be one
// plain folder name (no separator, not "." or ".."), else nothing is deleted. Returns the
// number of files deleted.
int DeleteLedgers(const std::filesystem::path& programFolder, const std::string& exercise);

// Where the files of an archive go on this computer. The archived settings file
// "vantrel.ini" nearest to a root marks the archived program folder (an archive without one
// takes the deepest folder common to all its files); an archived path below it maps to the
// same relative place below the current program folder, whatever the system the archive was
// made on, when it is club data by name: a settings file ("*.ini") directly in the program
// folder, or a file directly inside one of its folders that IsClubDataName takes. Every
// other path (the program, a library, a plug-in, a template, a file deeper down, anything
// outside) maps nowhere.
class ProgramFolderMap {
 public:
  explicit ProgramFolderMap(std::filesystem::path programFolder);

  // Learns one archived name (every name of the archive, in order).
  void observe(const std::string& archivedName);
  // The target of an archived name below the current program folder (existing files and
  // folders matched without regard to case), or nothing when it is no club data.
  std::optional<std::filesystem::path> map(const std::string& archivedName) const;
  // The archived program folder's components, when known.
  std::optional<ArchivedPath> archivedProgramFolder() const;
  // True once a settings file "vantrel.ini" was observed.
  bool hasSettingsFile() const { return m_settingsFolder.has_value(); }
  // True for the settings file of the archived program folder itself.
  bool isProgramSettingsFile(const std::string& archivedName) const;

 private:
  std::filesystem::path m_programFolder;
  std::optional<ArchivedPath> m_settingsFolder;
  std::optional<ArchivedPath> m_common;
};

// True when Windows-1252, the archive's name encoding, holds every character of path.
bool IsCp1252Path(const std::filesystem::path& path);

// The outcome of a club backup.
struct ClubBackup {
  enum class Outcome {
    kSaved,
    kArchiveFailed,    // the archive component's error (already handed to OnError)
    kNothingToSave,    // the patterns found no file: nothing was written
    kIncomplete,       // files vanished while the archive was written: the old one is kept
    kUnencodablePath,  // a path Windows-1252 cannot write: nothing was written
    kReplaceFailed,    // the whole new archive could not replace the old one
  };
  Outcome outcome = Outcome::kSaved;
  int listed = 0;    // files the patterns found
  int archived = 0;  // files the archive holds
  int patterns = 0;  // patterns given
  std::vector<std::string> unmatched;  // patterns that found no file
  std::filesystem::path unencodable;
  std::error_code replaceError;
};

// The first words of every failed backup's or restore's message (Windows-1252).
inline constexpr char kBackupFailedText[] =
    "La sauvegarde a \xe9"
    "chou\xe9";
inline constexpr char kRestoreFailedText[] =
    "La restauration a \xe9"
    "chou\xe9";

// "%s" is the path, filled in by the caller in its own encoding.
inline constexpr char kUnencodablePathText[] =
    "Le chemin %s contient des caract\xe8res que l'archive ne sait pas \xe9"
    "crire : rien n'a \xe9t\xe9 sauvegard\xe9.";

// The one backup routine, behind the backup screen (through BackupClub) and
// "vantrel-archive create": packs the files of patterns (Windows-1252, see MatchPattern) into
// archive with the club's settings: title "Vantrel", all files, level 9, single volume.
// Refused before anything is written when a path (the archive's or a found file's) cannot
// be written in Windows-1252 (kUnencodablePath, naming it), or when the patterns find no
// file (kNothingToSave). The archive is written beside its name and renamed over the old
// one only when it holds every file found: a backup that saved fewer files (kIncomplete),
// failed or was cancelled leaves the old archive byte for byte. archived counts the files
// written into the archive.
ClubBackup BackupFiles(TBackupFile& backup, const std::vector<std::string>& patterns,
                       const std::filesystem::path& archive);

// BackupFiles over the program folder's ClubBackupPatterns (archive: Windows-1252 path);
// a program folder Windows-1252 cannot hold is refused first.
ClubBackup BackupClub(TBackupFile& backup, const std::filesystem::path& programFolder,
                      const std::string& archive);

// The French message of a failed club backup (Windows-1252); "" for kSaved and for
// kArchiveFailed, whose error the archive component reports. For kUnencodablePath the
// characters Windows-1252 lacks show as "?": an edge that can show them fills
// kUnencodablePathText itself. programFolder empty: a backup of patterns (BackupFiles).
std::string ClubBackupFailureText(const ClubBackup& result,
                                  const std::filesystem::path& programFolder,
                                  const std::string& archive);

// The system's reason for a failure in French (Windows-1252): "permission refusée",
// "support plein", ...
std::string SystemReasonText(std::error_code error);

// What the user reads of an archive component's error, in French (Windows-1252), naming
// the archive or the file and the system's reason, for example
// "Impossible d'écrire l'archive /media/cle/SvgVantrel.bck : permission refusée".
// restoring tells a restore's file errors from a backup's.
std::string ArchiveErrorText(BackupError code, const std::string& file, std::error_code system,
                             const std::string& archive, bool restoring);
// The same for the last error of backup.
std::string ArchiveErrorText(const TBackupFile& backup, const std::string& archive, bool restoring);

inline constexpr char kNotClubBackupText[] =
    "Cette archive ne contient pas de fichier Vantrel.ini : ce n'est pas une sauvegarde du club.";

// The restore of a club archive:
// 0. the whole archive is read once (every chunk checked) to learn its names; an archive
//    without a settings file is refused (kNotAClubBackup) before anything is written;
// 1. every file of club data (ProgramFolderMap) into program folder + "Temp" under its file
//    name alone, the settings file being the archived program folder's own;
// 2. every file of club data is written beside its place below the program folder
//    ("<name>.<random>.tmp"); when all are written, each file is renamed over its target,
//    then the exercise named by the archived settings file ("Fichier"/"Exercice") loses the
//    ledgers the archive did not replace (as DeleteLedgers; a ledger whose rename failed keeps
//    its old content). A file that cannot be written (its folder cannot be made or
//    written, its target is a folder) fails the pass before any target changes: every
//    staged file is removed and every target keeps its old content.
// Files that are not club data are not written and are listed in outside. Throws
// ArchiveError for an unreadable header or a section without signature.
struct ClubRestore {
  enum class Outcome { kRestored, kFirstPassFailed, kNotAClubBackup, kSecondPassFailed };
  Outcome outcome = Outcome::kRestored;
  std::string exercise;  // the archived current exercise
  int ledgersDeleted = 0;
  std::vector<std::string> outside;  // archived names not written
  int filesWritten = 0;
  // Files of the second pass not restored (their targets, Windows-1252) with the French
  // reason; they kept their old content.
  struct Failure {
    std::string file;
    std::string reason;
  };
  std::vector<Failure> failed;
  // True when the failure came before any target changed.
  bool nothingChanged = false;
};
// The archive, the program folder, "Temp" and every staging file are paths of this system
// from end to end (a program folder named in any script works); only the names stored in
// the archive are Windows-1252 text.
ClubRestore RestoreClub(TBackupFile& backup, const std::filesystem::path& archive,
                        const std::filesystem::path& programFolder);

// The French failure message of a second pass that failed (Windows-1252), naming the files.
std::string ClubRestoreFailureText(const ClubRestore& result);

}  // namespace vantrel::utilities
