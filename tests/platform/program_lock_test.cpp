// One program at a time on a program folder: the real program holds its folder, a second
// start, the writing commands of vantrel-cli and the restore of vantrel-archive are refused
// meanwhile, and once the program is killed (SIGKILL: no chance to release anything) the
// next start takes the stale lock over.

#include "platform/program_lock.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/main_window_screen.h"
#include "core/date.h"
#include "core/folder_lock.h"
#include "platform/text.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"
#include "utilities/backup_file.h"

namespace vantrel {

namespace fs = std::filesystem;
using platform::Button;
using platform::MessageKind;
using platform::ProgramLock;
using testing::ProgramFolder;
using testing::ReadFile;
using testing::ScriptedPlatform;
using testing::WriteFile;

namespace {

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return *Date::FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

struct Run {
  int status = -1;
  QString error;  // standard error, trimmed
};

// Runs a tool to its end; Qt's own notes on standard error are not the tool's.
Run Tool(const char* program, const QStringList& arguments) {
  QProcess process;
  process.start(QString::fromUtf8(program), arguments);
  if (!process.waitForFinished(60000)) return {};
  QString error = QString::fromUtf8(process.readAllStandardError()).trimmed();
  const qsizetype last = error.lastIndexOf(QLatin1Char('\n'));
  if (last >= 0) error = error.mid(last + 1);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, error};
}

QString Q(const fs::path& path) { return PathToQString(path); }

}  // namespace

class ProgramLockTest : public QObject {
  Q_OBJECT

 private slots:
  void oneHoldAtATimeInTheSameFolder() {
    ProgramFolder club;
    {
      ProgramLock first(club.path());
      QCOMPARE(first.state(), ProgramLock::State::kHeld);
      QVERIFY(fs::exists(club.path() / kFolderLockFileName));
      ProgramLock second(club.path());
      QCOMPARE(second.state(), ProgramLock::State::kBusy);
      QVERIFY(platform::HoldProgramFolder(club.path()) == nullptr);
      // Another folder is another program's.
      ProgramFolder other;
      QVERIFY(platform::HoldProgramFolder(other.path()) != nullptr);
    }
    QVERIFY(!fs::exists(club.path() / kFolderLockFileName));
    QVERIFY(platform::HoldProgramFolder(club.path()) != nullptr);
    // A folder where no lock file can be made is not refused.
    QVERIFY(platform::HoldProgramFolder(club.path() / "missing") != nullptr);
    QCOMPARE(ProgramLock(club.path() / "missing").state(), ProgramLock::State::kUnavailable);
  }

  void secondProgramIsRefusedUntilTheFirstIsKilled() {
    ProgramFolder club;
    // No version check: the program starts without the network.
    WriteFile(club.path() / "Vantrel.ini",
              "[Fichier]\r\nEntit\xe9=Ardevanne\r\nSigle=KVR\r\nExercice=2026-2027\r\n"
              "[MiseAjour]\r\nNoValide=1\r\nDate=" +
                  FormatDate(Today()) + "\r\n");
    WriteFile(club.exerciseFolder() / "Joueur.DBP", "");
    // The program's folder is its executable's: a link to it in the club's folder.
    const fs::path program = club.path() / "vantrel";
    std::error_code linkError;
    fs::create_hard_link(VANTREL_PROGRAM, program, linkError);
    if (linkError) fs::copy_file(VANTREL_PROGRAM, program);
    const fs::path extraction = club.path() / "ffb.csv";
    WriteFile(extraction,
              "Num_licence;Civilite;Nom\r\n1;M.;Dupont;Jean;1958-06-21;;\r\n"
              "2;Mme;Martin;Eve;1960-01-02;;\r\n");
    testing::TempFolder drive;
    const fs::path archive = drive.path() / "SvgVantrel.bck";
    utilities::TBackupFile backup;
    QVERIFY(backup.Backup({utilities::PathToText(club.path() / "*.ini")},
                          utilities::PathToText(archive)));

    QProcess first;
    first.start(Q(program), {});
    QVERIFY(first.waitForStarted(10000));
    QElapsedTimer clock;
    clock.start();
    while (!fs::exists(club.path() / kFolderLockFileName) && clock.elapsed() < 30000) {
      QTest::qWait(50);
    }
    QVERIFY(fs::exists(club.path() / kFolderLockFileName));
    QCOMPARE(first.state(), QProcess::Running);

    const QString inUse = QStringLiteral("Vantrel est déjà ouvert sur ce dossier.");
    ScriptedPlatform desktop;
    QVERIFY(HoldProgramFolderAtStart(desktop, club.path()) == nullptr);
    QCOMPARE(desktop.messages.size(), std::size_t(1));
    QCOMPARE(desktop.messages[0].text, inUse);
    QCOMPARE(desktop.messages[0].kind, MessageKind::kError);
    QCOMPARE(desktop.messages[0].buttons, std::vector<Button>{Button::kOk});

    const std::string members = ReadFile(club.exerciseFolder() / "Joueur.DBP");
    const Run import =
        Tool(VANTREL_CLI_TOOL, {"--dossier", Q(club.path()), "import", Q(extraction)});
    QCOMPARE(import.status, 1);
    QCOMPARE(import.error, inUse);
    QCOMPARE(ReadFile(club.exerciseFolder() / "Joueur.DBP"), members);
    const Run results = Tool(VANTREL_CLI_TOOL, {"--dossier", Q(club.path()), "results",
                                                Q(extraction), Q(club.exerciseFolder() / "t.chr")});
    QCOMPARE(results.status, 1);
    QCOMPARE(results.error, inUse);
    QVERIFY(!fs::exists(club.exerciseFolder() / "t.chr"));
    // A trial writes nothing and may run beside the program.
    QCOMPARE(
        Tool(VANTREL_CLI_TOOL, {"--dossier", Q(club.path()), "import", Q(extraction), "--essai"})
            .status,
        0);
    const Run restore = Tool(VANTREL_ARCHIVE_TOOL, {"restore", Q(archive), Q(club.path())});
    QCOMPARE(restore.status, 1);
    QCOMPARE(restore.error, inUse + QStringLiteral(" La restauration a échoué : ") +
                                Q(club.path()) + QStringLiteral(" n'a pas été modifié."));
    QVERIFY(!fs::exists(club.path() / "Temp"));

    // Killed, the program leaves its lock file behind: the next start takes it over.
    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    QVERIFY(first.waitForFinished(10000));
    QVERIFY(fs::exists(club.path() / kFolderLockFileName));
    {
      const auto hold = HoldProgramFolderAtStart(desktop, club.path());
      QVERIFY(hold != nullptr);
      QCOMPARE(desktop.messages.size(), std::size_t(1));
      // Held by this start, the folder is refused to the tools in turn.
      QCOMPARE(Tool(VANTREL_ARCHIVE_TOOL, {"restore", Q(archive), Q(club.path())}).status, 1);
    }
    QCOMPARE(Tool(VANTREL_CLI_TOOL, {"--dossier", Q(club.path()), "import", Q(extraction)}).status,
             0);
    QVERIFY(ReadFile(club.exerciseFolder() / "Joueur.DBP") != members);
    QCOMPARE(Tool(VANTREL_ARCHIVE_TOOL, {"restore", Q(archive), Q(club.path())}).status, 0);
    QVERIFY(!fs::exists(club.path() / kFolderLockFileName));
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::ProgramLockTest)
#include "program_lock_test.moc"
