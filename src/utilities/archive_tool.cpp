#include "utilities/archive_tool.h"

#include <filesystem>
#include <ostream>

#include "core/cp1252.h"
#include "core/os_file.h"
#include "core/settings.h"
#include "utilities/backup_file.h"
#include "utilities/club_backup.h"

namespace vantrel::utilities {

namespace fs = std::filesystem;

namespace {

const char kUsage[] =
    "Usage : vantrel-archive list ARCHIVE\n"
    "        vantrel-archive create ARCHIVE MOTIF... (MOTIF suivi de /s pour les sous-dossiers)\n"
    "        vantrel-archive restore ARCHIVE [DOSSIER]\n";

// Reports the archive component's errors in French on err, with the error code.
void ReportErrors(TBackupFile& backup, const std::string& archive, bool restoring,
                  std::ostream& err) {
  backup.OnError = [&backup, &err, archive, restoring](BackupError code, const std::string&) {
    err << Cp1252ToUtf8(ArchiveErrorText(backup, archive, restoring)) << " (erreur "
        << static_cast<int>(code) << ")\n";
  };
}

int List(const fs::path& archive, std::ostream& out, std::ostream& err) {
  TBackupFile backup;
  ReportErrors(backup, PathToText(archive), false, err);
  const auto entries = backup.ListArchive(archive);
  if (!entries) {
    if (backup.lastError() == BackupError::kNone) {
      err << "Archive introuvable : " << os::Utf8Of(archive) << "\n";
    } else {
      err << "Archive illisible : " << os::Utf8Of(archive) << "\n";
    }
    return 1;
  }
  for (const auto& entry : *entries) {
    out << Cp1252ToUtf8(entry.name) << "\t" << entry.size << "\t"
        << FormatPackedDateTime(entry.packedTime) << "\n";
  }
  return 0;
}

// A path or pattern given in UTF-8 that Windows-1252, the archive's encoding, cannot hold.
bool IsCp1252Argument(const std::string& utf8) { return Cp1252ToUtf8(Utf8ToCp1252(utf8)) == utf8; }

// The same routine as the backup screen's (BackupFiles): nothing found, a name the archive
// cannot hold or a file that could not be read fails with status 1 and leaves the old
// archive byte for byte.
int Create(const fs::path& archive, const std::vector<std::string>& arguments, std::ostream& out,
           std::ostream& err) {
  std::vector<std::string> patterns;
  for (const std::string& argument : arguments) {
    if ((argument == "/s" || argument == "/S") && !patterns.empty()) {
      patterns.back() += " /s";
      continue;
    }
    // "?" stands for any character in a pattern: an unencodable one must not become it.
    if (!IsCp1252Argument(argument)) {
      err << Cp1252ToUtf8(kBackupFailedText) << " : le motif " << argument
          << " contient des caract\xc3\xa8res que l'archive ne sait pas \xc3\xa9"
             "crire, rien n'a \xc3\xa9t\xc3\xa9 sauvegard\xc3\xa9.\n";
      return 1;
    }
    patterns.push_back(Utf8ToCp1252(argument));
  }
  const std::string archiveText = PathToText(archive);
  TBackupFile backup;
  ReportErrors(backup, archiveText, false, err);
  const ClubBackup result = BackupFiles(backup, patterns, archive);
  if (result.outcome == ClubBackup::Outcome::kSaved) {
    for (const std::string& pattern : result.unmatched) {
      err << "Aucun fichier ne correspond au motif " << Cp1252ToUtf8(pattern) << "\n";
    }
  }
  switch (result.outcome) {
    case ClubBackup::Outcome::kSaved:
      out << result.archived << " fichier(s) sauvegard\xc3\xa9(s) dans " << os::Utf8Of(archive) << "\n";
      return 0;
    case ClubBackup::Outcome::kArchiveFailed:
      err << Cp1252ToUtf8(kBackupFailedText) << " : " << os::Utf8Of(archive) << "\n";
      return 1;
    case ClubBackup::Outcome::kUnencodablePath: {
      // The path as it is, not as Windows-1252 would spell it.
      std::string text = Cp1252ToUtf8(kUnencodablePathText);
      text.replace(text.find("%s"), 2, os::Utf8Of(result.unencodable));
      err << text << "\n";
      return 1;
    }
    default:
      err << Cp1252ToUtf8(ClubBackupFailureText(result, {}, archiveText)) << "\n";
      return 1;
  }
}

// Paths stay paths of this system: a program folder named in any script is restored into.
int Restore(const fs::path& archive, const fs::path& folder, const FolderLocker& locker,
            std::ostream& out, std::ostream& err) {
  if (!os::IsFile(archive)) {
    err << "Fichier de restauration introuvable! " << os::Utf8Of(archive) << "\n";
    return 1;
  }
  if (!os::IsFolder(folder)) {
    err << "Dossier de restauration introuvable : " << os::Utf8Of(folder) << "\n";
    return 1;
  }
  // The program open on the folder would keep its own copies and save them over the restore.
  std::unique_ptr<FolderHold> hold;
  if (locker) {
    hold = locker(folder);
    if (!hold) {
      err << Cp1252ToUtf8(kFolderInUseText) << " " << Cp1252ToUtf8(kRestoreFailedText) << " : "
          << os::Utf8Of(folder) << " n'a pas \xc3\xa9t\xc3\xa9 modifi\xc3\xa9.\n";
      return 1;
    }
  }
  TBackupFile backup;
  ReportErrors(backup, PathToText(archive), true, err);
  const ClubRestore result = RestoreClub(backup, archive, folder);
  if (result.outcome == ClubRestore::Outcome::kFirstPassFailed) {
    err << "Fichier de restauration corrompu!\n";
    return 1;
  }
  if (result.outcome == ClubRestore::Outcome::kNotAClubBackup) {
    err << Cp1252ToUtf8(kNotClubBackupText) << "\n";
    return 1;
  }
  for (const std::string& name : result.outside) {
    err << "Hors des donn\xc3\xa9"
           "es du club, non restaur\xc3\xa9 : "
        << Cp1252ToUtf8(name) << "\n";
  }
  if (result.outcome == ClubRestore::Outcome::kSecondPassFailed) {
    std::string text = Cp1252ToUtf8(ClubRestoreFailureText(result));
    for (char& c : text) {
      if (c == '\r') c = '\n';
    }
    err << text << "\n";
    return 1;
  }
  if (!result.outside.empty()) {
    err << result.outside.size() << " fichier(s) non restaur\xc3\xa9(s).\n";
    return 1;
  }
  out << "La restauration c'est bien d\xc3\xa9roul\xc3\xa9"
         "e! ("
      << result.filesWritten << " fichier(s))\n";
  return 0;
}

}  // namespace

int RunArchiveTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                   const FolderLocker& locker) {
  if (arguments.size() < 2) {
    err << kUsage;
    return 2;
  }
  const std::string& command = arguments[0];
  const std::string archive = Utf8ToCp1252(arguments[1]);
  try {
    if (command == "list" && arguments.size() == 2) return List(os::PathFromUtf8(arguments[1]), out, err);
    if (command == "create") {
      return Create(os::PathFromUtf8(arguments[1]),
                    std::vector<std::string>(arguments.begin() + 2, arguments.end()), out, err);
    }
    if (command == "restore" && arguments.size() <= 3) {
      const fs::path folder =
          arguments.size() == 3 ? os::PathFromUtf8(arguments[2]) : fs::current_path();
      return Restore(os::PathFromUtf8(arguments[1]), fs::absolute(folder), locker, out, err);
    }
  } catch (const ArchiveError& error) {
    err << Cp1252ToUtf8(ArchiveErrorText(error.code(), "", {}, archive, command == "restore"))
        << " (erreur " << static_cast<int>(error.code()) << ")\n";
    return 1;
  } catch (const Error& error) {
    err << "Erreur : " << Cp1252ToUtf8(error.what()) << "\n";
    return 1;
  }
  err << kUsage;
  return 2;
}

}  // namespace vantrel::utilities
