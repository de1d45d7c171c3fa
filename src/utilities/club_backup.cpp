#include "utilities/club_backup.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <random>

#include "core/cp1252.h"
#include "core/ini_file.h"
#include "core/os_file.h"
#include "core/record_file.h"
#include "core/settings.h"
#include "core/text_helpers.h"

namespace vantrel::utilities {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr char kSeparator[] = "\\";
#else
constexpr char kSeparator[] = "/";
#endif

bool IsPlainFolder(const os::FolderEntry& entry) {
  if (entry.kind != os::Kind::kFolder || entry.link || entry.hidden || entry.readOnly) return false;
  const std::string name = os::Utf8Of(entry.name);
  return !name.empty() && name[0] != '.';
}

bool SameText(const std::string& a, const std::string& b) { return LowerAscii(a) == LowerAscii(b); }

// True when folder's components start path's components on the same root.
bool IsBelow(const ArchivedPath& path, const ArchivedPath& folder) {
  if (!SameText(path.root, folder.root)) return false;
  if (path.components.size() <= folder.components.size()) return false;
  for (std::size_t i = 0; i < folder.components.size(); ++i) {
    if (!SameText(path.components[i], folder.components[i])) return false;
  }
  return true;
}

ArchivedPath FolderOf(ArchivedPath path) {
  path.components.pop_back();
  return path;
}

bool IsSettingsFile(const ArchivedPath& path) {
  return SameText(path.components.back(), kSettingsFileName);
}

bool SameFolder(const ArchivedPath& a, const ArchivedPath& b) {
  if (!SameText(a.root, b.root) || a.components.size() != b.components.size()) return false;
  for (std::size_t i = 0; i < a.components.size(); ++i) {
    if (!SameText(a.components[i], b.components[i])) return false;
  }
  return true;
}

// A path beside path, renamed over it once its content is whole.
fs::path StagingName(const fs::path& path) {
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%06x.tmp", digits(generator));
  fs::path staged = path;
  staged += suffix;
  return staged;
}

std::string Replace(std::string text, const std::string& what, const std::string& by) {
  const auto at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), by);
  return text;
}

}  // namespace

const std::vector<std::string>& ClubDataMasks() {
  static const std::vector<std::string> masks = {
      "*.dbp", "joueur.dbp.bak", "*.chi", "*.chr", "*.qug", "*.pag",  "*.quc", "*.pac",
      "*.qud", "*.pad",          "*.txt", "*.csv", "*.htm", "*.html", "*.pdf", "vantrel.ini",
  };
  return masks;
}

bool IsClubDataName(const std::string& fileName) {
  const auto& masks = ClubDataMasks();
  return std::any_of(masks.begin(), masks.end(),
                     [&](const std::string& mask) { return MatchesMask(fileName, mask); });
}

std::vector<std::string> ClubBackupPatterns(const fs::path& programFolder) {
  std::string folder = PathToText(programFolder);
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += kSeparator;
  std::vector<std::string> patterns{folder + kSettingsMask};
  std::vector<std::string> names;
  std::vector<os::FolderEntry> entries;
  os::ListFolder(programFolder, entries);
  for (const os::FolderEntry& entry : entries) {
    if (IsPlainFolder(entry)) names.push_back(PathToText(entry.name));
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return LowerAscii(a) < LowerAscii(b);
  });
  for (const std::string& name : names) {
    for (const std::string& mask : ClubDataMasks()) {
      patterns.push_back(folder + name + kSeparator + mask);
    }
  }
  return patterns;
}

namespace {

// The ledger files DeleteLedgers deletes.
std::vector<fs::path> LedgersOf(const fs::path& programFolder, const std::string& exercise) {
  if (exercise.empty() || exercise == "." || exercise == ".." ||
      exercise.find_first_of("\\/:") != std::string::npos) {
    return {};
  }
  const fs::path folder = ResolvePath(programFolder / FolderPath(exercise));
  if (!FileExists(folder / "joueur.dbp")) return {};
  std::vector<fs::path> ledgers;
  std::vector<os::FolderEntry> entries;
  os::ListFolder(folder, entries);
  for (const os::FolderEntry& entry : entries) {
    const std::string name = LowerAscii(os::Utf8Of(entry.name));
    const bool ledger =
        name.size() == 8 && name.substr(4) == ".dbp" &&
        std::all_of(name.begin(), name.begin() + 4, [](char c) { return c >= '0' && c <= '9'; });
    if (ledger && entry.kind == os::Kind::kFile) ledgers.push_back(folder / entry.name);
  }
  return ledgers;
}

bool SamePath(const fs::path& a, const fs::path& b) {
  return LowerAscii(os::Utf8Of(a.lexically_normal())) ==
         LowerAscii(os::Utf8Of(b.lexically_normal()));
}

}  // namespace

int DeleteLedgers(const fs::path& programFolder, const std::string& exercise) {
  int deleted = 0;
  for (const fs::path& ledger : LedgersOf(programFolder, exercise)) {
    if (!os::RemoveFile(ledger)) ++deleted;
  }
  return deleted;
}

ProgramFolderMap::ProgramFolderMap(fs::path programFolder)
    : m_programFolder(std::move(programFolder)) {}

void ProgramFolderMap::observe(const std::string& archivedName) {
  const auto path = ParseArchivedName(archivedName);
  if (!path) return;
  const ArchivedPath folder = FolderOf(*path);
  if (IsSettingsFile(*path) &&
      (!m_settingsFolder || folder.components.size() < m_settingsFolder->components.size())) {
    m_settingsFolder = folder;
  }
  if (!m_common) {
    m_common = folder;
    return;
  }
  if (!SameText(m_common->root, folder.root)) {
    m_common->root.clear();
    m_common->components.clear();
    return;
  }
  std::size_t shared = 0;
  while (shared < m_common->components.size() && shared < folder.components.size() &&
         SameText(m_common->components[shared], folder.components[shared])) {
    ++shared;
  }
  m_common->components.resize(shared);
}

std::optional<ArchivedPath> ProgramFolderMap::archivedProgramFolder() const {
  if (m_settingsFolder) return m_settingsFolder;
  if (m_common && !m_common->root.empty()) return m_common;
  return std::nullopt;
}

bool ProgramFolderMap::isProgramSettingsFile(const std::string& archivedName) const {
  const auto path = ParseArchivedName(archivedName);
  return path && m_settingsFolder && IsSettingsFile(*path) &&
         SameFolder(FolderOf(*path), *m_settingsFolder);
}

std::optional<fs::path> ProgramFolderMap::map(const std::string& archivedName) const {
  const auto folder = archivedProgramFolder();
  const auto path = ParseArchivedName(archivedName);
  if (!folder || !path || !IsBelow(*path, *folder)) return std::nullopt;
  // Club data only, by name: "*.ini" at the root, or club data directly inside one folder.
  const std::size_t depth = path->components.size() - folder->components.size();
  const std::string& name = path->components.back();
  const bool club = depth == 1   ? MatchesMask(name, kSettingsMask)
                    : depth == 2 ? IsClubDataName(name)
                                 : false;
  if (!club) return std::nullopt;
  fs::path target = m_programFolder;
  for (std::size_t i = folder->components.size(); i < path->components.size(); ++i) {
    target /= FolderPath(path->components[i]);
  }
  return ResolvePath(target);
}

bool IsCp1252Path(const fs::path& path) {
  const std::string bytes = os::Utf8Of(path);
  return Cp1252ToUtf8(Utf8ToCp1252(bytes)) == bytes;
}

std::string SystemReasonText(std::error_code error) {
  if (!error) return "cause inconnue";
  if (error.category() == std::generic_category() || error.category() == std::system_category()) {
    switch (error.default_error_condition().value()) {
      case EACCES:
      case EPERM:
        return "permission refus\xe9"
               "e";
      case ENOENT:
        return "dossier ou fichier introuvable";
      case ENOSPC:
        return "plus de place sur le support";
#ifdef EDQUOT
      case EDQUOT:
        return "quota du disque d\xe9pass\xe9";
#endif
      case EROFS:
        return "support en lecture seule";
      case EISDIR:
        return "c'est un dossier";
      case ENOTDIR:
        return "un \xe9l\xe9ment du chemin n'est pas un dossier";
      case EIO:
        return "erreur d'entr\xe9"
               "e-sortie du support";
      case ENAMETOOLONG:
        return "nom trop long";
      case EBUSY:
      case ETXTBSY:
        return "fichier en cours d'utilisation";
      case ENODEV:
      case ENXIO:
        return "support absent";
      case EEXIST:
        return "le fichier existe d\xe9j\xe0";
      default:
        break;
    }
  }
  return "erreur syst\xe8me " + std::to_string(error.value());
}

std::string ArchiveErrorText(BackupError code, const std::string& file, std::error_code system,
                             const std::string& archive, bool restoring) {
  const std::string reason = SystemReasonText(system);
  switch (code) {
    case BackupError::kNone:
      return "";
    case BackupError::kCannotWriteArchive:
      return "Impossible d'\xe9"
             "crire l'archive " +
             archive + " : " + reason;
    case BackupError::kCannotReadArchive:
      // A volume awaited: "SvgVantrel.002" is missing or unreadable.
      if (!file.empty()) {
        return "Impossible de lire le volume " + file + " de l'archive " + archive + " : " + reason;
      }
      if (!system) return "Impossible de lire l'archive " + archive + " : en-t\xeate illisible";
      return "Impossible de lire l'archive " + archive + " : " + reason;
    case BackupError::kCannotReadFile:
      if (file.empty()) {
        return "L'archive " + archive +
               " est endommag\xe9"
               "e ou incompl\xe8te";
      }
      if (restoring) return "Impossible de restaurer le fichier " + file + " : " + reason;
      return "Impossible de lire le fichier " + file + " : " + reason;
    case BackupError::kInvalidArchiveType:
      return "L'archive " + archive + " n'est pas une archive de sauvegarde valide";
    case BackupError::kCompressionError:
      return "Erreur de compression dans l'archive " + archive;
    case BackupError::kCannotCreateFileIdList:
      return "Impossible de cr\xe9"
             "er le fichier temporaire de la liste des fichiers : " +
             reason;
  }
  return ErrorText(code);
}

std::string ArchiveErrorText(const TBackupFile& backup, const std::string& archive,
                             bool restoring) {
  if (backup.lastError() == BackupError::kCannotReadFile && !backup.refusedName().empty()) {
    return "L'archive " + archive +
           " contient un nom de fichier refus\xe9 : " + backup.refusedName();
  }
  return ArchiveErrorText(backup.lastError(), backup.errorFile(), backup.systemError(), archive,
                          restoring);
}

ClubBackup BackupFiles(TBackupFile& backup, const std::vector<std::string>& patterns,
                       const fs::path& archive) {
  ClubBackup result;
  result.patterns = static_cast<int>(patterns.size());
  if (!IsCp1252Path(archive)) {
    result.outcome = ClubBackup::Outcome::kUnencodablePath;
    result.unencodable = archive;
    return result;
  }
  // Every name is checked before the archive component folds two unencodable names into one.
  for (const std::string& pattern : patterns) {
    const std::vector<fs::path> files = MatchPattern(pattern);
    if (files.empty()) result.unmatched.push_back(pattern);
    for (const fs::path& file : files) {
      if (!IsCp1252Path(file)) {
        result.outcome = ClubBackup::Outcome::kUnencodablePath;
        result.unencodable = file;
        return result;
      }
      ++result.listed;
    }
  }
  if (result.listed == 0) {
    result.outcome = ClubBackup::Outcome::kNothingToSave;
    return result;
  }

  backup.setBackupTitle("Vantrel");
  backup.setBackupMode(BackupMode::bmAll);
  backup.setSetArchiveFlag(false);
  backup.setCompressionLevel(CompressionLevel::clMax);
  backup.setMaxSize(0);
  backup.setSaveFileID(false);
  // Written under another name, the new archive replaces the old one only when it is whole.
  const std::string archiveText = PathToText(archive);
  const fs::path staged = StagingName(archive);
  backup.setReplacedArchive(archiveText);
  struct Remover {
    fs::path path;
    ~Remover() {
      if (!path.empty()) os::DiscardFile(path);
    }
  } remover{staged};
  const bool written = backup.Backup(patterns, PathToText(staged));
  backup.setReplacedArchive("");
  result.listed = static_cast<int>(backup.fileList().size());
  result.archived = backup.filesArchived();
  if (!written) {
    result.outcome = ClubBackup::Outcome::kArchiveFailed;
    return result;
  }
  if (result.archived == 0) {
    result.outcome = ClubBackup::Outcome::kNothingToSave;
    return result;
  }
  if (result.archived < result.listed) {
    result.outcome = ClubBackup::Outcome::kIncomplete;
    return result;
  }
  const std::error_code error = os::RenameOver(staged, archive);
  if (error) {
    result.outcome = ClubBackup::Outcome::kReplaceFailed;
    result.replaceError = error;
    return result;
  }
  remover.path.clear();
  return result;
}

ClubBackup BackupClub(TBackupFile& backup, const fs::path& programFolder,
                      const std::string& archive) {
  if (!IsCp1252Path(programFolder)) {
    ClubBackup result;
    result.outcome = ClubBackup::Outcome::kUnencodablePath;
    result.unencodable = programFolder;
    return result;
  }
  return BackupFiles(backup, ClubBackupPatterns(programFolder), FolderPath(archive));
}

std::string ClubBackupFailureText(const ClubBackup& result, const fs::path& programFolder,
                                  const std::string& archive) {
  switch (result.outcome) {
    case ClubBackup::Outcome::kNothingToSave:
      if (!programFolder.empty()) {
        return "Aucun fichier \xe0 sauvegarder dans " + PathToText(programFolder) +
               " : rien n'a \xe9t\xe9 sauvegard\xe9.";
      }
      if (result.patterns == 0) {
        return std::string(kBackupFailedText) +
               " : aucun motif de fichiers n'est donn\xe9, rien n'a \xe9t\xe9 sauvegard\xe9 "
               "dans " +
               archive + ".";
      }
      return std::string(kBackupFailedText) +
             " : aucun fichier ne correspond aux motifs, rien n'a \xe9t\xe9 sauvegard\xe9 dans " +
             archive + ".";
    case ClubBackup::Outcome::kIncomplete:
      return std::string(kBackupFailedText) + " : seuls " + std::to_string(result.archived) +
             " fichier(s) sur " + std::to_string(result.listed) +
             " ont pu \xeatre lus. L'ancienne archive est conserv\xe9"
             "e.";
    case ClubBackup::Outcome::kReplaceFailed:
      return ArchiveErrorText(BackupError::kCannotWriteArchive, "", result.replaceError, archive,
                              false);
    case ClubBackup::Outcome::kUnencodablePath:
      return Replace(kUnencodablePathText, "%s", PathToText(result.unencodable));
    case ClubBackup::Outcome::kSaved:
    case ClubBackup::Outcome::kArchiveFailed:
      break;
  }
  return "";
}

namespace {

// The files of the second pass, staged beside their targets until every one is written.
class StagedRestore {
 public:
  ~StagedRestore() { rollBack(); }

  // The staging name of target, or nothing (with the reason in failed) when target cannot be
  // written: it is a folder, or its folder cannot be made.
  std::optional<fs::path> stage(const fs::path& target, std::vector<ClubRestore::Failure>& failed) {
    if (os::IsFolder(target)) {
      failed.push_back(
          {PathToText(target), SystemReasonText(std::make_error_code(std::errc::is_a_directory))});
      return std::nullopt;
    }
    const fs::path folder = target.parent_path();
    std::vector<fs::path> missing;
    for (fs::path up = folder; !up.empty() && !os::Exists(up); up = up.parent_path()) {
      missing.push_back(up);
      if (up == up.parent_path()) break;
    }
    std::error_code made = os::CreateFolders(folder);
    m_createdFolders.insert(m_createdFolders.end(), missing.begin(), missing.end());
    if (!os::IsFolder(folder)) {
      if (!made) made = std::make_error_code(std::errc::not_a_directory);
      failed.push_back({PathToText(target), SystemReasonText(made)});
      return std::nullopt;
    }
    const fs::path staged = StagingName(target);
    m_files.push_back({staged, target});
    return staged;
  }

  // Renames every staged file over its target; a file that cannot be renamed keeps its old
  // content and is listed in failed. Returns the number of files put in place, whose targets
  // are added to placed.
  int commit(std::vector<ClubRestore::Failure>& failed, std::vector<fs::path>& placed) {
    int done = 0;
    for (const auto& [staged, target] : m_files) {
      if (!os::Exists(staged)) continue;  // skipped by the archive (file-ID list)
      const std::error_code error = os::RenameOver(staged, target);
      if (error) {
        failed.push_back({PathToText(target), SystemReasonText(error)});
        os::DiscardFile(staged);
      } else {
        placed.push_back(target);
        ++done;
      }
    }
    m_files.clear();
    m_createdFolders.clear();
    return done;
  }

  // The target of a staged file's name (Windows-1252), or the name itself.
  std::string targetText(const std::string& stagedText) const {
    for (const auto& [staged, target] : m_files) {
      if (PathToText(staged) == stagedText) return PathToText(target);
    }
    return stagedText;
  }

  // Removes every staged file and the folders made for them.
  void rollBack() {
    for (const auto& file : m_files) os::DiscardFile(file.first);
    m_files.clear();
    for (const fs::path& folder : m_createdFolders) os::RemoveEmptyFolder(folder);
    m_createdFolders.clear();
  }

 private:
  std::vector<std::pair<fs::path, fs::path>> m_files;  // staged, target
  std::vector<fs::path> m_createdFolders;              // deepest first, per target
};

// Puts back the events RestoreClub sets for its two passes.
class RestoreEventsGuard {
 public:
  explicit RestoreEventsGuard(TBackupFile& backup)
      : m_backup(backup),
        m_file(backup.OnRestoreFile),
        m_path(backup.OnRestorePath),
        m_error(backup.OnError) {}
  ~RestoreEventsGuard() {
    m_backup.OnRestoreFile = m_file;
    m_backup.OnRestorePath = m_path;
    m_backup.OnError = m_error;
  }
  RestoreEventsGuard(const RestoreEventsGuard&) = delete;
  RestoreEventsGuard& operator=(const RestoreEventsGuard&) = delete;

 private:
  TBackupFile& m_backup;
  TBackupFile::RestoreFileEvent m_file;
  TBackupFile::RestorePathEvent m_path;
  TBackupFile::ErrorEvent m_error;
};

// The first pass: reads the whole archive (which proves it whole and tells what it holds),
// then restores the program's settings file alone into "Temp" and reads its exercise.
// Outcome kRestored when the second pass may follow.
ClubRestore::Outcome ReadArchivedSettings(TBackupFile& backup, const fs::path& archive,
                                          const fs::path& programFolder, ProgramFolderMap& map,
                                          std::string& exercise) {
  const auto entries = backup.ListArchive(archive);
  if (!entries) return ClubRestore::Outcome::kFirstPassFailed;
  for (const auto& entry : *entries) map.observe(entry.name);
  if (!map.hasSettingsFile()) return ClubRestore::Outcome::kNotAClubBackup;

  const fs::path temp = ResolvePath(programFolder / kTempFolderName);
  os::CreateFolders(temp);
  backup.OnRestorePath = [&](fs::path&, bool& restore, std::uint32_t) {
    const std::string& name = backup.entryName();
    if (!map.map(name) ||
        (IsSettingsFile(*ParseArchivedName(name)) && !map.isProgramSettingsFile(name))) {
      restore = false;
    }
  };
  if (!backup.RestoreArchive(archive, temp)) return ClubRestore::Outcome::kFirstPassFailed;
  const IniFile settings = IniFile::Load(temp / kSettingsFileName);
  exercise = Trim(settings.Value(kSectionFile, kKeyExercise, ""));
  return ClubRestore::Outcome::kRestored;
}

// The exercise's ledgers go once the restored files are in place: a ledger of the archive
// replaces its old one by the rename, and one whose rename fails keeps its old content
// rather than vanishing. Only the ledgers the archive does not hold are removed. Returns
// the number of ledgers replaced or removed.
int RemoveOldLedgers(const std::vector<fs::path>& ledgers, const std::vector<fs::path>& placed,
                     const std::vector<ClubRestore::Failure>& failed) {
  int gone = 0;
  for (const fs::path& ledger : ledgers) {
    const bool replaced = std::any_of(placed.begin(), placed.end(),
                                      [&](const fs::path& file) { return SamePath(file, ledger); });
    const bool kept =
        std::any_of(failed.begin(), failed.end(), [&](const ClubRestore::Failure& failure) {
          return failure.file == PathToText(ledger);
        });
    if (replaced || (!kept && !os::RemoveFile(ledger))) ++gone;
  }
  return gone;
}

}  // namespace

ClubRestore RestoreClub(TBackupFile& backup, const fs::path& archive,
                        const fs::path& programFolder) {
  RestoreEventsGuard guard(backup);
  backup.OnRestoreFile = nullptr;
  backup.setRestoreFullPath(false);
  backup.setRestoreMode(RestoreMode::rmAll);

  ClubRestore result;
  ProgramFolderMap map(programFolder);
  result.outcome = ReadArchivedSettings(backup, archive, programFolder, map, result.exercise);
  if (result.outcome != ClubRestore::Outcome::kRestored) return result;

  StagedRestore staging;
  // The component would name a staging file: the failure is told with its target (failed).
  backup.OnError = nullptr;
  backup.OnRestorePath = [&](fs::path& target, bool& restore, std::uint32_t) {
    const auto where = map.map(backup.entryName());
    if (!where) {
      restore = false;
      result.outside.push_back(backup.entryName());
      return;
    }
    const auto staged = staging.stage(*where, result.failed);
    restore = staged.has_value();
    if (staged) target = *staged;
  };
  const bool read = backup.RestoreArchive(archive, fs::path());
  if (!read || !result.failed.empty()) {
    if (!read && backup.lastError() != BackupError::kNone) {
      result.failed.push_back(
          {"", ArchiveErrorText(backup.lastError(), staging.targetText(backup.errorFile()),
                                backup.systemError(), PathToText(archive),
                                /*restoring=*/true)});
    }
    staging.rollBack();
    result.outcome = ClubRestore::Outcome::kSecondPassFailed;
    result.nothingChanged = true;
    return result;
  }
  const std::vector<fs::path> ledgers = LedgersOf(programFolder, result.exercise);
  std::vector<fs::path> placed;
  result.filesWritten = staging.commit(result.failed, placed);
  result.ledgersDeleted = RemoveOldLedgers(ledgers, placed, result.failed);
  if (!result.failed.empty()) result.outcome = ClubRestore::Outcome::kSecondPassFailed;
  return result;
}

std::string ClubRestoreFailureText(const ClubRestore& result) {
  std::string text = result.nothingChanged
                         ? std::string(kRestoreFailedText) +
                               " : aucun fichier n'a \xe9t\xe9 "
                               "remplac\xe9."
                         : "La restauration est incompl\xe8te : ces fichiers ont gard\xe9 leur "
                           "ancien contenu :";
  for (const auto& failure : result.failed) {
    text += "\r";
    text += failure.file.empty() ? failure.reason : failure.file + " : " + failure.reason;
  }
  return text;
}

}  // namespace vantrel::utilities
