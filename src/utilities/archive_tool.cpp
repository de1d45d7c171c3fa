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

int List(const std::string& archive, std::ostream& out, std::ostream& err) {
  TBackupFile backup;
  ReportErrors(backup, archive, false, err);
  const auto entries = backup.List(archive);
  if (!entries) {
    if (backup.lastError() == BackupError::kNone) {
      err << "Archive introuvable : " << Cp1252ToUtf8(archive) << "\n";
    } else {
      err << "Archive illisible : " << Cp1252ToUtf8(archive) << "\n";
    }
    return 1;
  }
  for (const auto& entry : *entries) {
    out << Cp1252ToUtf8(entry.name) << "\t" << entry.size << "\t"
        << FormatPackedDateTime(entry.packedTime) << "\n";
  }
  return 0;
}

int Create(const std::string& archive, const std::vector<std::string>& arguments, std::ostream& out,
           std::ostream& err) {
  std::vector<std::string> patterns;
  for (const std::string& argument : arguments) {
    if ((argument == "/s" || argument == "/S") && !patterns.empty()) {
      patterns.back() += " /s";
    } else {
      patterns.push_back(Utf8ToCp1252(argument));
    }
  }
  TBackupFile backup;
  ReportErrors(backup, archive, false, err);
  if (!backup.Backup(patterns, archive)) {
    err << "La sauvegarde a \xc3\xa9"
           "chou\xc3\xa9"
           "e : "
        << Cp1252ToUtf8(archive) << "\n";
    return 1;
  }
  out << backup.fileList().size() << " fichier(s) sauvegard\xc3\xa9(s) dans "
      << Cp1252ToUtf8(archive) << "\n";
  return 0;
}

int Restore(const std::string& archive, const fs::path& folder, std::ostream& out,
            std::ostream& err) {
  if (!os::IsFile(FolderPath(archive))) {
    err << "Fichier de restauration introuvable! " << Cp1252ToUtf8(archive) << "\n";
    return 1;
  }
  if (!os::IsFolder(folder)) {
    err << "Dossier de restauration introuvable : " << os::Utf8Of(folder) << "\n";
    return 1;
  }
  TBackupFile backup;
  ReportErrors(backup, archive, true, err);
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

int RunArchiveTool(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err) {
  if (arguments.size() < 2) {
    err << kUsage;
    return 2;
  }
  const std::string& command = arguments[0];
  const std::string archive = Utf8ToCp1252(arguments[1]);
  try {
    if (command == "list" && arguments.size() == 2) return List(archive, out, err);
    if (command == "create") {
      return Create(archive, std::vector<std::string>(arguments.begin() + 2, arguments.end()), out,
                    err);
    }
    if (command == "restore" && arguments.size() <= 3) {
      const fs::path folder =
          arguments.size() == 3 ? os::PathFromUtf8(arguments[2]) : fs::current_path();
      return Restore(archive, fs::absolute(folder), out, err);
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
