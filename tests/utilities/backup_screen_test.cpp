#include "utilities/backup_screen.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/record_file.h"
#include "platform/qt_platform.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"
#include "utilities/backup_file.h"
#include "utilities/club_backup.h"

namespace vantrel {

namespace fs = std::filesystem;
using platform::Button;
using platform::Drive;
using platform::MessageKind;
using testing::ProgramFolder;
using testing::ReadFile;
using testing::ScriptedPlatform;
using testing::TempFolder;
using testing::WriteFile;

namespace {

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

// A club, a drive and the screen over them.
struct Fixture {
  Fixture() : context(desktop) {
    WriteFile(club.exerciseFolder() / "Joueur.DBP", "00123456;M.;DUPONT;Jean;\r\n");
    WriteFile(club.exerciseFolder() / "0001.dbp", "ledger\r\n");
    context.settings = club.settings();
    context.reloadSettings = [this] { ++reloads; };
    desktop.driveList = {Drive{Drive::Type::kFixed, QStringLiteral("CLE"), Q(drive.path())}};
  }
  fs::path archive() const { return drive.path() / "SvgVantrel.bck"; }
  QStringList texts() const { return desktop.messageTexts(); }

  ProgramFolder club;
  TempFolder drive;
  ScriptedPlatform desktop;
  AppContext context;
  int reloads = 0;
};

}  // namespace

class BackupScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void listsDrivesWithTheirTypes() {
    Fixture f;
    f.desktop.driveList = {
        Drive{Drive::Type::kRemovable, "USB", "/media/club/USB"}, Drive{Drive::Type::kFixed, "", "/"},
        Drive{Drive::Type::kRemote, "", "/mnt/nas"}, Drive{Drive::Type::kCdRom, "", "/media/cdrom"},
        Drive{Drive::Type::kRamDisk, "", "/tmp"}};
    TFichFSvg screen(f.context);
    screen.refreshDrives();
    QStringList texts;
    for (QRadioButton* button : screen.driveButtons) texts << button->text();
    QCOMPARE(texts, (QStringList{"Disquette : /media/club/USB   (USB)", "disque :    /",
                                 "Réseau :    /mnt/nas", "C. D. :     /media/cdrom",
                                 "R.A.M. :    /tmp", "Autre emplacement…"}));
    QCOMPARE(screen.driveButtons[0]->isChecked(), true);
    QCOMPARE(Q(*screen.archivePath()), QStringLiteral("/media/club/USB/SvgVantrel.bck"));
  }

  void packageImagesAreNoDrive() {
    QCOMPARE(platform::DriveTypeOf("squashfs", "/dev/loop3", "/snap/core/1234"),
             std::optional<Drive::Type>());
    QCOMPARE(platform::DriveTypeOf("vfat", "/dev/sdc1", "/run/media/club/CLE"),
             std::optional<Drive::Type>(Drive::Type::kRemovable));
  }

  void modesSetBothCaptions() {
    Fixture f;
    TFichFSvg screen(f.context);
    screen.setMode(TFichFSvg::Mode::kRestore);
    QCOMPARE(screen.windowTitle(), QStringLiteral("Restauration vers lecteur"));
    QCOMPARE(screen.BpAction->text(), QStringLiteral("Restauration"));
    screen.setMode(TFichFSvg::Mode::kBackup);
    QCOMPARE(screen.windowTitle(), QStringLiteral("Sauvegarde vers lecteur"));
    QCOMPARE(screen.BpAction->text(), QStringLiteral("Sauvegarde"));
  }

  void backupAsksThenWritesTheArchive() {
    Fixture f;
    TFichFSvg screen(f.context);
    screen.setMode(TFichFSvg::Mode::kBackup);
    screen.show();
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    const QString root = Q(f.drive.path());
    QCOMPARE(f.texts(), (QStringList{"Mettre le média dans le lecteur " + root +
                                         "\r\r   Afin de sauvegarder les données ",
                                     "La sauvegarde c'est bien déroulée!"}));
    QCOMPARE(f.desktop.messages[0].kind, MessageKind::kConfirmation);
    QCOMPARE(f.desktop.messages[0].buttons, (std::vector<Button>{Button::kYes, Button::kNo}));
    QCOMPARE(screen.isVisible(), false);
    utilities::TBackupFile reader;
    const auto entries = reader.List(utilities::PathToText(f.archive()));
    QVERIFY(entries.has_value());
    QCOMPARE(entries->size(), std::size_t(3));
  }

  void backupAnsweredNoWritesNothing() {
    Fixture f;
    TFichFSvg screen(f.context);
    screen.show();
    f.desktop.answers = {Button::kNo};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t(1));
    QCOMPARE(fs::exists(f.archive()), false);
    QCOMPARE(screen.isVisible(), false);
  }

  // Enter backs up onto an empty media, but keeps an archive already there.
  void backupOverAnArchiveDefaultsToNon() {
    Fixture f;
    TFichFSvg screen(f.context);
    screen.setMode(TFichFSvg::Mode::kBackup);
    screen.show();
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);  // no answer queued: Enter
    QCOMPARE(f.desktop.messages[0].defaultButton, Button::kYes);
    QCOMPARE(fs::exists(f.archive()), true);
    const std::string before = testing::ReadFile(f.archive());
    testing::WriteFile(f.club.exerciseFolder() / "Nouveau.dbp", "x\r\n");
    f.desktop.messages.clear();
    screen.show();
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t(1));
    QCOMPARE(f.desktop.messages[0].defaultButton, Button::kNo);
    QCOMPARE(testing::ReadFile(f.archive()), before);
  }

  void backupFailureShowsOnlyTheArchiveError() {
    Fixture f;
    f.desktop.driveList = {Drive{Drive::Type::kFixed, "", Q(f.drive.path() / "missing")}};
    TFichFSvg screen(f.context);
    screen.show();
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.texts().mid(1),
             QStringList{"Impossible d'écrire l'archive " + Q(f.drive.path() / "missing") +
                         "/SvgVantrel.bck : dossier ou fichier introuvable"});
    QCOMPARE(f.desktop.messages[1].kind, MessageKind::kError);
  }

  void restoreWithoutArchiveIsNotFound() {
    Fixture f;
    TFichFSvg screen(f.context);
    screen.setMode(TFichFSvg::Mode::kRestore);
    screen.show();
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.texts(), (QStringList{"Mettre le média de sauvegarde\r\r      dans le lecteur " +
                                         Q(f.drive.path()),
                                     "Fichier de restauration introuvable!"}));
    QCOMPARE(screen.isVisible(), false);
    QCOMPARE(f.reloads, 0);
  }

  void restoreAnsweredNoIsNotFoundEither() {
    Fixture f;
    utilities::TBackupFile file;
    QVERIFY(
        utilities::BackupClub(file, f.club.path(), utilities::PathToText(f.archive())).outcome ==
        utilities::ClubBackup::Outcome::kSaved);
    TFichFSvg screen(f.context);
    screen.setMode(TFichFSvg::Mode::kRestore);
    screen.show();
    f.desktop.answers = {Button::kYes, Button::kNo};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.texts().size(), 3);
    QCOMPARE(f.texts()[2], QStringLiteral("Fichier de restauration introuvable!"));
    QCOMPARE(f.reloads, 0);
  }

  void restoreBringsBackTheArchivedData() {
    Fixture f;
    utilities::TBackupFile file;
    QVERIFY(
        utilities::BackupClub(file, f.club.path(), utilities::PathToText(f.archive())).outcome ==
        utilities::ClubBackup::Outcome::kSaved);
    WriteFile(f.club.exerciseFolder() / "Joueur.DBP", "changed since");
    WriteFile(f.club.exerciseFolder() / "7000.dbp", "ledger made since");
    TFichFSvg screen(f.context);
    screen.setMode(TFichFSvg::Mode::kRestore);
    screen.show();
    f.desktop.answers = {Button::kYes, Button::kYes};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    const QString when = QFileInfo(Q(f.archive())).lastModified().toString("dd/MM/yyyy HH:mm:ss");
    QCOMPARE(
        f.texts(),
        (QStringList{"Mettre le média de sauvegarde\r\r      dans le lecteur " + Q(f.drive.path()),
                     "Attention les données vont être écrasées\r\r      par celles du: " + when +
                         "\r\r              ............................",
                     "La restauration c'est bien déroulée!"}));
    QCOMPARE(f.desktop.messages[1].kind, MessageKind::kWarning);
    QCOMPARE(ReadFile(f.club.exerciseFolder() / "Joueur.DBP"),
             std::string("00123456;M.;DUPONT;Jean;\r\n"));
    QCOMPARE(fs::exists(f.club.exerciseFolder() / "7000.dbp"), false);
    QCOMPARE(ReadFile(f.club.exerciseFolder() / "0001.dbp"), std::string("ledger\r\n"));
    QCOMPARE(fs::is_directory(f.club.path() / "Temp"), true);
    QCOMPARE(f.reloads, 1);
    QCOMPARE(screen.isVisible(), false);
  }

  void corruptArchiveIsReported() {
    Fixture f;
    utilities::TBackupFile file;
    QVERIFY(
        utilities::BackupClub(file, f.club.path(), utilities::PathToText(f.archive())).outcome ==
        utilities::ClubBackup::Outcome::kSaved);
    const std::string bytes = ReadFile(f.archive());
    WriteFile(f.archive(), bytes.substr(0, bytes.size() - 30));
    WriteFile(f.club.exerciseFolder() / "7000.dbp", "ledger made since");
    TFichFSvg screen(f.context);
    screen.setMode(TFichFSvg::Mode::kRestore);
    screen.show();
    f.desktop.answers = {Button::kYes, Button::kYes};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.texts().mid(2),
             (QStringList{"L'archive " + Q(f.archive()) + " est endommagée ou incomplète",
                          "Fichier de restauration corrompu!"}));
    QCOMPARE(fs::exists(f.club.exerciseFolder() / "7000.dbp"), true);
    QCOMPARE(f.reloads, 0);
    QCOMPARE(screen.isVisible(), false);
  }

  void unreadableHeaderKeepsTheScreenOpen() {
    Fixture f;
    WriteFile(f.archive(), "\x07");
    TFichFSvg screen(f.context);
    screen.setMode(TFichFSvg::Mode::kRestore);
    screen.show();
    f.desktop.answers = {Button::kYes, Button::kYes};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.texts().mid(2), QStringList{"Impossible de lire l'archive " + Q(f.archive()) +
                                           " : en-tête illisible"});
    QCOMPARE(f.desktop.messages[2].kind, MessageKind::kError);
    QCOMPARE(screen.isVisible(), true);
  }

  void filesOutsideTheProgramFolderAreReported() {
    Fixture f;
    TempFolder elsewhere;
    WriteFile(elsewhere.path() / "secret.txt", "outside");
    utilities::TBackupFile file;
    QVERIFY(file.Backup({utilities::PathToText(f.club.path() / "*.ini"),
                         utilities::PathToText(elsewhere.path() / "*.txt")},
                        utilities::PathToText(f.archive())));
    fs::remove(elsewhere.path() / "secret.txt");
    TFichFSvg screen(f.context);
    screen.setMode(TFichFSvg::Mode::kRestore);
    screen.show();
    f.desktop.answers = {Button::kYes, Button::kYes};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    const QString name =
        QString::fromStdString(utilities::ArchivedNameOf(elsewhere.path() / "secret.txt"));
    QCOMPARE(
        f.texts().mid(2),
        (QStringList{"1 fichier(s) hors des données du club n'ont pas été restaurés :\r" + name,
                     "La restauration c'est bien déroulée!"}));
    QCOMPARE(fs::exists(elsewhere.path() / "secret.txt"), false);
  }

  // The first removable medium when there is one, else the documents folder; the list:
  // removable media, documents, fixed drives, other drives, "Autre emplacement…".
  void defaultDestination_data() {
    QTest::addColumn<bool>("usbKey");
    QTest::addColumn<QString>("archive");
    QTest::newRow("removable medium") << true << QStringLiteral("/media/club/CLE/SvgVantrel.bck");
    QTest::newRow("no removable medium")
        << false << QStringLiteral("/home/club/Documents/SvgVantrel.bck");
  }
  void defaultDestination() {
    QFETCH(bool, usbKey);
    QFETCH(QString, archive);
    Fixture f;
    f.desktop.documentsValue = QStringLiteral("/home/club/Documents");
    f.desktop.driveList = {Drive{Drive::Type::kFixed, "", "/"}};
    if (usbKey) {
      f.desktop.driveList.push_back(Drive{Drive::Type::kRemovable, "CLE", "/media/club/CLE"});
      f.desktop.driveList.push_back(Drive{Drive::Type::kRemote, "", "/mnt/nas"});
      f.desktop.driveList.push_back(Drive{Drive::Type::kRemovable, "", "/media/club/AUTRE"});
    }
    TFichFSvg screen(f.context);
    screen.refreshDrives();
    QStringList texts;
    for (QRadioButton* button : screen.driveButtons) texts << button->text();
    const QStringList expected = usbKey ? QStringList{"Disquette : /media/club/CLE   (CLE)",
                                                      "Disquette : /media/club/AUTRE",
                                                      "Documents : /home/club/Documents",
                                                      "disque :    /",
                                                      "Réseau :    /mnt/nas",
                                                      "Autre emplacement…"}
                                        : QStringList{"Documents : /home/club/Documents",
                                                      "disque :    /", "Autre emplacement…"};
    QCOMPARE(texts, expected);
    QCOMPARE(Q(*screen.archivePath()), archive);
  }

  // The default destination takes a backup, and the restore brings it back.
  void defaultDestinationTakesTheBackupAndGivesItBack() {
    Fixture f;
    TempFolder documents;
    f.desktop.documentsValue = Q(documents.path());
    f.desktop.driveList = {Drive{Drive::Type::kFixed, "", Q(f.drive.path() / "not-writable")}};
    TFichFSvg screen(f.context);
    screen.setMode(TFichFSvg::Mode::kBackup);
    screen.show();
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);  // Enter on the question: "&Oui"
    QCOMPARE(f.texts().last(), QStringLiteral("La sauvegarde c'est bien déroulée!"));
    QVERIFY(fs::is_regular_file(documents.path() / "SvgVantrel.bck"));

    WriteFile(f.club.exerciseFolder() / "Joueur.DBP", "changed since");
    screen.setMode(TFichFSvg::Mode::kRestore);
    screen.show();
    f.desktop.messages.clear();
    f.desktop.answers = {Button::kYes, Button::kYes};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.texts().last(), QStringLiteral("La restauration c'est bien déroulée!"));
    QCOMPARE(ReadFile(f.club.exerciseFolder() / "Joueur.DBP"),
             std::string("00123456;M.;DUPONT;Jean;\r\n"));
  }

  void otherPlaceAsksForAFolder() {
    Fixture f;
    TempFolder chosen;
    f.desktop.documentsValue = QStringLiteral("/home/club/Documents");
    TFichFSvg screen(f.context);
    screen.show();
    QRadioButton* other = screen.driveButtons.back();
    // Cancelled: the previous place stays selected.
    QTest::mouseClick(other, Qt::LeftButton);
    QCOMPARE(f.desktop.fileDialogCaptions, std::vector<QString>{"Dossier de la sauvegarde"});
    QCOMPARE(screen.driveButtons[0]->isChecked(), true);
    QCOMPARE(Q(*screen.archivePath()), QStringLiteral("/home/club/Documents/SvgVantrel.bck"));
    f.desktop.fileAnswers = {Q(chosen.path())};
    QTest::mouseClick(other, Qt::LeftButton);
    QCOMPARE(other->isChecked(), true);
    QCOMPARE(other->text(), "Autre emplacement… " + Q(chosen.path()));
    QCOMPARE(Q(*screen.archivePath()), Q(chosen.path() / "SvgVantrel.bck"));
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.texts().last(), QStringLiteral("La sauvegarde c'est bien déroulée!"));
    QVERIFY(fs::is_regular_file(chosen.path() / "SvgVantrel.bck"));
    // Coming back to the screen lists the chosen folder again.
    screen.refreshDrives();
    QCOMPARE(screen.driveButtons.back()->text(), "Autre emplacement… " + Q(chosen.path()));
  }

  // Replacing the club's data is a destructive question: Enter answers "&Non".
  void overwriteWarningDefaultsToNo() {
    Fixture f;
    QCOMPARE(
        utilities::BackupClub(file(), f.club.path(), utilities::PathToText(f.archive())).outcome,
        utilities::ClubBackup::Outcome::kSaved);
    WriteFile(f.club.exerciseFolder() / "Joueur.DBP", "changed since");
    TFichFSvg screen(f.context);
    screen.setMode(TFichFSvg::Mode::kRestore);
    screen.show();
    f.desktop.answers = {Button::kYes};  // the medium is in; then only Enter
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.desktop.messages[1].defaultButton, Button::kNo);
    QCOMPARE(f.desktop.messages[1].buttons, (std::vector<Button>{Button::kYes, Button::kNo}));
    QCOMPARE(f.texts().last(), QStringLiteral("Fichier de restauration introuvable!"));
    QCOMPARE(ReadFile(f.club.exerciseFolder() / "Joueur.DBP"), std::string("changed since"));
  }

  void archiveWithoutSettingsFileIsRefused() {
    Fixture f;
    utilities::TBackupFile writer;
    QVERIFY(writer.Backup({utilities::PathToText(f.club.exerciseFolder() / "*.*")},
                          utilities::PathToText(f.archive())));
    TFichFSvg screen(f.context);
    screen.setMode(TFichFSvg::Mode::kRestore);
    screen.show();
    f.desktop.answers = {Button::kYes, Button::kYes};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.texts().mid(2), QStringList{"Cette archive ne contient pas de fichier Vantrel.ini "
                                           ": ce n'est pas une sauvegarde du club."});
    QCOMPARE(f.desktop.messages[2].kind, MessageKind::kError);
    QCOMPARE(f.reloads, 0);
    QCOMPARE(fs::exists(f.club.path() / "Temp"), false);
  }

  void backupOfNothingIsAFailure() {
    Fixture f;
    fs::remove_all(f.club.exerciseFolder());
    fs::remove(f.club.path() / "Vantrel.ini");
    TFichFSvg screen(f.context);
    screen.show();
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.texts().mid(1), QStringList{"Aucun fichier à sauvegarder dans " + Q(f.club.path()) +
                                           " : rien n'a été sauvegardé."});
    QCOMPARE(f.desktop.messages[1].kind, MessageKind::kError);
    QCOMPARE(fs::exists(f.archive()), false);
  }

  // The message names the path whole, with the characters the archive cannot hold.
  void programFolderWindows1252CannotHoldIsRefused() {
    Fixture f;
    const fs::path folder = f.club.path() / fs::path(u8"Club \u2603");
    WriteFile(folder / "Vantrel.ini", "[Fichier]\r\n");
    f.context.settings.programFolder = folder;
    TFichFSvg screen(f.context);
    screen.show();
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(screen.BpAction, Qt::LeftButton);
    QCOMPARE(f.texts().mid(1),
             QStringList{"Le chemin " + Q(folder) +
                         " contient des caractères que l'archive ne sait pas écrire : rien n'a "
                         "été sauvegardé."});
    QVERIFY(f.texts()[1].contains(QStringLiteral("Club \u2603")));
    QCOMPARE(fs::exists(f.archive()), false);
  }

  void escapeQuitsAsQuitterDoes() {
    Fixture f;
    TFichFSvg screen(f.context);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QTest::keyClick(&screen, Qt::Key_Escape);
    QCOMPARE(screen.isVisible(), false);
    screen.show();
    QTest::mouseClick(screen.BpQuitter, Qt::LeftButton);
    QCOMPARE(screen.isVisible(), false);
  }

 private:
  static utilities::TBackupFile& file() {
    static utilities::TBackupFile instance;
    return instance;
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::BackupScreenTest)
#include "backup_screen_test.moc"
