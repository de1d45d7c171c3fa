#include "cli/cli_exemple.h"

#include <system_error>

#include "core/cp1252.h"
#include "core/error.h"
#include "core/help_documents.h"
#include "core/os_file.h"
#include "core/text_helpers.h"
#include "core/transaction.h"
#include "demo/demo_club.h"

namespace vantrel::cli {
namespace {

namespace fs = std::filesystem;

std::string Shown(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return Utf8ToCp1252(std::string(utf8.begin(), utf8.end()));
}

// A file of the installation, copied whole.
void CopyInto(const fs::path& from, const fs::path& folder) {
  std::error_code error;
  fs::copy_file(from, folder / from.filename(), fs::copy_options::overwrite_existing, error);
  if (error) throw CannotCreateFile(folder / from.filename());
}

#ifdef _WIN32
constexpr char kProgramSuffix[] = ".exe";
#else
constexpr char kProgramSuffix[] = "";
#endif

// Everything of the installation the demonstration needs besides its data: the templates,
// the help documents that exist, the program and the tool.
void CopyInstallation(const fs::path& installation, const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(installation)) {
    if (entry.is_regular_file() && LowerAscii(os::Utf8Of(entry.path().extension())) == ".frf") {
      CopyInto(entry.path(), folder);
    }
  }
  for (const char* document : kHelpDocuments) {
    if (fs::is_regular_file(installation / document)) CopyInto(installation / document, folder);
  }
  for (const char* program : {"vantrel", "vantrel-cli"}) {
    const fs::path path = installation / (std::string(program) + kProgramSuffix);
    if (!fs::is_regular_file(path)) throw CannotOpenFile(path);
    CopyInto(path, folder);
  }
}

}  // namespace

int RunExemple(CliContext& context, const Arguments& args) {
  if (args.size() != 1 || args[0].starts_with("--")) {
    throw UsageError("exemple demande un seul argument : le dossier à créer.");
  }
  const fs::path folder = fs::absolute(os::PathFromUtf8(args[0]));
  std::error_code error;
  const bool existed = fs::exists(folder, error);
  if (existed && (!fs::is_directory(folder) || !fs::is_empty(folder, error))) {
    throw Error("Le dossier " + Shown(folder) +
                " n'est pas vide : l'exemple se cr\xE9"
                "e dans un dossier vide ou absent.");
  }
  if (!existed && !fs::create_directories(folder, error)) throw CannotCreateFile(folder);
  try {
    {
      // Thousands of small writes to a new folder: flushed once, at the end.
      const UnflushedWrites unflushed;
      demo::BuildDemoClub(folder);
    }
    CopyInstallation(context.installationFolder, folder);
    FlushFileSystem();
  } catch (...) {
    // Leave the folder as it was found: absent, or empty.
    if (existed) {
      for (const auto& entry : fs::directory_iterator(folder, error)) fs::remove_all(entry, error);
    } else {
      fs::remove_all(folder, error);
    }
    throw;
  }
  PrintLine(Shown(folder / (std::string("vantrel") + kProgramSuffix)));
  return 0;
}

}  // namespace vantrel::cli
