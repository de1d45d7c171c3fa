// vantrel-cli [--dossier DIR] COMMAND ARGS...
//
// The batch companion of the program: the same domain code, templates and data files as the
// screens, without a window. Exit status 0 on success, 1 on a failure (French message on
// standard error, no output file created or changed), 2 on a bad argument (usage printed).

#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/cli.h"
#include "core/cp1252.h"
#include "core/error.h"
#include "core/os_file.h"
#include "core/record_file.h"
#include "platform/qt_path.h"
#include "platform/qt_translation.h"

namespace {

constexpr char kUsage[] =
    "usage : vantrel-cli [--dossier DOSSIER] COMMANDE ARGUMENTS...\n"
    "  print journal|compte NNNN|balance|plan SORTIE.pdf|SORTIE.csv\n"
    "  print resultat|bilan [--normaux|--detailles|--regroupes] SORTIE.pdf|SORTIE.csv\n"
    "  print classement N [--limite IV] SORTIE.pdf|SORTIE.csv\n"
    "  print dotation FICHIER.chr SORTIE.pdf|SORTIE.csv\n"
    "  print annuaire|cotisations|assemblee|enveloppes SORTIE.pdf|SORTIE.csv\n"
    "  export publipostage|csv|html SORTIE\n"
    "  import FICHIER.csv [--ajout toujours|jamais] [--modif toujours|jamais] [--essai]\n"
    "  exemple DOSSIER\n"
    "  results PAGE.htm SORTIE.chr [--k K]\n";

void PrintError(const std::string& utf8) {
  std::fputs(utf8.c_str(), stderr);
  std::fputc('\n', stderr);
}

int Usage(const std::string& utf8Message) {
  if (!utf8Message.empty()) PrintError(utf8Message);
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

// Qt's own notes (a missing runtime folder, font fallbacks) are not the tool's messages:
// standard error carries only the French failure messages.
void DropQtMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(DropQtMessages);
  QGuiApplication application(argc, argv);
  vantrel::platform::InstallQtFrenchTranslation(application);

  // The arguments as UTF-8 on every system (Windows hands argv over in its 8-bit code page).
  std::vector<std::string> args;
  const QStringList arguments = QCoreApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QByteArray utf8 = arguments[i].toUtf8();
    args.emplace_back(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  }
  vantrel::cli::CliContext context;
  context.installationFolder = vantrel::PathFromQString(QCoreApplication::applicationDirPath());
  context.programFolder = context.installationFolder;
  if (!args.empty() && args.front() == "--dossier") {
    if (args.size() < 2) return Usage("L'option --dossier demande un dossier.");
    context.programFolder = vantrel::os::PathFromUtf8(args[1]);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage("");
  const std::string name = args.front();
  args.erase(args.begin());

  for (const auto& command : vantrel::cli::Commands()) {
    if (name != command.name) continue;
    try {
      if (!command.readsProgramFolder) return command.run(context, args);
      if (!std::filesystem::is_directory(context.programFolder) ||
          !vantrel::FileExists(context.programFolder / vantrel::kSettingsFileName)) {
        throw vantrel::CannotOpenFile(context.programFolder / vantrel::kSettingsFileName);
      }
      context.settings = vantrel::LoadSettings(context.programFolder);
      return command.run(context, args);
    } catch (const vantrel::cli::UsageError& error) {
      return Usage(error.what());
    } catch (const vantrel::Error& error) {
      PrintError(vantrel::Cp1252ToUtf8(error.what()));
      return 1;
    } catch (const std::exception& error) {
      PrintError(std::string("Erreur : ") + error.what());
      return 1;
    }
  }
  return Usage("Commande inconnue : " + name);
}
