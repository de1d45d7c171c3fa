#include "utilities/club_backup.h"

#include <algorithm>
#include <limits>

#include "core/ini_file.h"
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

bool IsPlainFolder(const fs::directory_entry& entry) {
  std::error_code error;
  if (!entry.is_directory(error) || entry.is_symlink(error)) return false;
  const std::string name = entry.path().filename().string();
  if (name.empty() || name[0] == '.') return false;
  const fs::perms permissions = entry.status(error).permissions();
  return (permissions & fs::perms::owner_write) != fs::perms::none;
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

}  // namespace

std::vector<std::string> ClubBackupPatterns(const fs::path& programFolder) {
  std::string folder = PathToText(programFolder);
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += kSeparator;
  std::vector<std::string> patterns{folder + "*.ini"};
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(programFolder, error), end; !error && it != end;
       it.increment(error)) {
    if (IsPlainFolder(*it)) names.push_back(PathToText(it->path().filename()));
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return LowerAscii(a) < LowerAscii(b);
  });
  for (const std::string& name : names) patterns.push_back(folder + name + kSeparator + "*.*");
  return patterns;
}

int DeleteLedgers(const fs::path& programFolder, const std::string& exercise) {
  if (exercise.empty() || exercise == "." || exercise == ".." ||
      exercise.find_first_of("\\/:") != std::string::npos) {
    return 0;
  }
  const fs::path folder = ResolvePath(programFolder / FolderPath(exercise));
  if (!FileExists(folder / "joueur.dbp")) return 0;
  int deleted = 0;
  std::vector<fs::path> ledgers;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = LowerAscii(it->path().filename().string());
    const bool ledger =
        name.size() == 8 && name.substr(4) == ".dbp" &&
        std::all_of(name.begin(), name.begin() + 4, [](char c) { return c >= '0' && c <= '9'; });
    if (ledger && it->is_regular_file(error)) ledgers.push_back(it->path());
  }
  for (const fs::path& ledger : ledgers) {
    if (fs::remove(ledger, error)) ++deleted;
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

std::optional<fs::path> ProgramFolderMap::map(const std::string& archivedName) const {
  const auto folder = archivedProgramFolder();
  const auto path = ParseArchivedName(archivedName);
  if (!folder || !path || !IsBelow(*path, *folder)) return std::nullopt;
  fs::path target = m_programFolder;
  for (std::size_t i = folder->components.size(); i < path->components.size(); ++i) {
    target /= FolderPath(path->components[i]);
  }
  return ResolvePath(target);
}

bool BackupClub(TBackupFile& backup, const fs::path& programFolder, const std::string& archive) {
  backup.setBackupTitle("Vantrel");
  backup.setBackupMode(BackupMode::bmAll);
  backup.setSetArchiveFlag(false);
  backup.setCompressionLevel(CompressionLevel::clMax);
  backup.setMaxSize(0);
  backup.setSaveFileID(false);
  return backup.Backup(ClubBackupPatterns(programFolder), archive);
}

ClubRestore RestoreClub(TBackupFile& backup, const std::string& archive,
                        const fs::path& programFolder) {
  struct CallbackGuard {
    TBackupFile& backup;
    TBackupFile::RestoreFileEvent saved = backup.OnRestoreFile;
    ~CallbackGuard() { backup.OnRestoreFile = saved; }
  } guard{backup};
  backup.setRestoreFullPath(false);
  backup.setRestoreMode(RestoreMode::rmAll);

  ClubRestore result;
  const fs::path temp = ResolvePath(programFolder / kTempFolderName);
  std::error_code error;
  fs::create_directories(temp, error);
  ProgramFolderMap map(programFolder);
  std::size_t settingsDepth = std::numeric_limits<std::size_t>::max();
  backup.OnRestoreFile = [&](std::string&, bool& restore, std::uint32_t) {
    map.observe(backup.entryName());
    const auto path = ParseArchivedName(backup.entryName());
    if (path && IsSettingsFile(*path)) {
      if (path->components.size() < settingsDepth) {
        settingsDepth = path->components.size();
      } else {
        restore = false;
      }
    }
  };
  if (!backup.Restore(archive, PathToText(temp))) {
    result.outcome = ClubRestore::Outcome::kFirstPassFailed;
    return result;
  }

  const IniFile settings = IniFile::Load(temp / kSettingsFileName);
  result.exercise = Trim(settings.Value(kSectionFile, kKeyExercise, ""));
  result.ledgersDeleted = DeleteLedgers(programFolder, result.exercise);

  backup.OnRestoreFile = [&](std::string& target, bool& restore, std::uint32_t) {
    const auto where = map.map(backup.entryName());
    if (!where) {
      restore = false;
      result.outside.push_back(backup.entryName());
      return;
    }
    target = PathToText(*where);
    restore = true;
    ++result.filesWritten;
  };
  if (!backup.Restore(archive, "")) result.outcome = ClubRestore::Outcome::kSecondPassFailed;
  return result;
}

}  // namespace vantrel::utilities
