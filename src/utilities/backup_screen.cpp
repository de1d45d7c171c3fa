#include "utilities/backup_screen.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "platform/text.h"
#include "platform/wait_cursor.h"
#include "utilities/backup_file.h"
#include "utilities/club_backup.h"

namespace vantrel {

namespace {

using platform::Button;
using platform::Drive;
using platform::MessageKind;

QString TypeLabel(Drive::Type type) {
  switch (type) {
    case Drive::Type::Removable:
      return QStringLiteral("Disquette : ");
    case Drive::Type::Fixed:
      return QStringLiteral("disque :    ");
    case Drive::Type::Remote:
      return QStringLiteral("Réseau :    ");
    case Drive::Type::CdRom:
      return QStringLiteral("C. D. :     ");
    case Drive::Type::RamDisk:
      return QStringLiteral("R.A.M. :    ");
  }
  return {};
}

// Lists at most this many refused names in the closing warning.
constexpr int kOutsideShown = 15;

}  // namespace

TFichFSvg::TFichFSvg(AppContext& context, QWidget* parent) : Screen(context, parent) {
  setObjectName(QStringLiteral("TFichFSvg"));
  auto* layout = new QVBoxLayout(this);
  RgLecteur = new QGroupBox(QStringLiteral("Lecteurs"), this);
  RgLecteur->setObjectName(QStringLiteral("RgLecteur"));
  m_driveLayout = new QVBoxLayout(RgLecteur);
  m_driveLayout->addStretch(1);
  m_group = new QButtonGroup(this);
  layout->addWidget(RgLecteur, 1);

  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  ProgressBar->setVisible(false);
  layout->addWidget(ProgressBar);

  auto* buttons = new QHBoxLayout;
  BpAction = new QPushButton(QStringLiteral("Sauvegarde"), this);
  BpAction->setObjectName(QStringLiteral("BpAction"));
  BpQuitter = new QPushButton(QStringLiteral("Quitter"), this);
  BpQuitter->setObjectName(QStringLiteral("BpQuitter"));
  buttons->addWidget(BpAction);
  buttons->addStretch(1);
  buttons->addWidget(BpQuitter);
  layout->addLayout(buttons);

  connect(BpAction, &QPushButton::clicked, this, &TFichFSvg::onAction);
  connect(BpQuitter, &QPushButton::clicked, this, &QWidget::hide);
  setMode(Mode::kBackup);
  resize(420, 300);
}

void TFichFSvg::setMode(Mode mode) {
  if (mode == Mode::kBackup) {
    setWindowTitle(QStringLiteral("Sauvegarde vers lecteur"));
    BpAction->setText(QStringLiteral("Sauvegarde"));
  } else {
    setWindowTitle(QStringLiteral("Restauration vers lecteur"));
    BpAction->setText(QStringLiteral("Restauration"));
  }
}

void TFichFSvg::refreshDrives() {
  for (QRadioButton* button : driveButtons) {
    m_group->removeButton(button);
    delete button;
  }
  driveButtons.clear();
  m_drives = desktop().drives();
  for (std::size_t i = 0; i < m_drives.size(); ++i) {
    const Drive& drive = m_drives[i];
    QString text = TypeLabel(drive.type) + QDir::toNativeSeparators(drive.root);
    if (!drive.label.isEmpty() && drive.label != drive.root)
      text += QStringLiteral("   (%1)").arg(drive.label);
    auto* button = new QRadioButton(text, RgLecteur);
    m_group->addButton(button, static_cast<int>(i));
    m_driveLayout->insertWidget(static_cast<int>(i), button);
    driveButtons.push_back(button);
  }
  if (!driveButtons.empty()) driveButtons.front()->setChecked(true);
}

void TFichFSvg::activated() { refreshDrives(); }

void TFichFSvg::showEvent(QShowEvent* event) {
  refreshDrives();
  Screen::showEvent(event);
}

std::optional<std::filesystem::path> TFichFSvg::archivePath() const {
  const int chosen = m_group->checkedId();
  if (chosen < 0 || chosen >= static_cast<int>(m_drives.size())) return std::nullopt;
  return std::filesystem::path(m_drives[chosen].root.toStdU16String()) /
         utilities::kArchiveFileName;
}

QString TFichFSvg::driveName() const {
  const int chosen = m_group->checkedId();
  if (chosen < 0 || chosen >= static_cast<int>(m_drives.size())) return {};
  const QString root = m_drives[chosen].root;
  static const QRegularExpression letter(QStringLiteral("^([A-Za-z]):[/\\\\]?$"));
  const auto match = letter.match(root);
  return match.hasMatch() ? match.captured(1) : QDir::toNativeSeparators(root);
}

void TFichFSvg::onAction() {
  if (BpAction->text() == QStringLiteral("Sauvegarde")) {
    backup();
  } else {
    restore();
  }
}

void TFichFSvg::wire(utilities::TBackupFile& file) {
  file.OnError = [this](utilities::BackupError, const std::string& text) {
    ask(MessageKind::Error, ToQString(text), {Button::Ok});
  };
  file.OnProgress = [this](const std::string&, int percent, bool&) {
    ProgressBar->setValue(percent);
  };
  file.OnNeedDisk = [this](std::uint16_t volume, bool& go) {
    go = ask(MessageKind::Information,
             QStringLiteral("Please insert disk %1 and click OK to continue.").arg(volume),
             {Button::Ok, Button::Cancel}) == Button::Ok;
  };
  file.ProcessEvents = [] { QApplication::processEvents(); };
}

void TFichFSvg::setBusy(bool busy) {
  RgLecteur->setEnabled(!busy);
  BpAction->setEnabled(!busy);
  BpQuitter->setEnabled(!busy);
}

void TFichFSvg::backup() {
  const auto archive = archivePath();
  if (!archive) return;
  const QString question = QStringLiteral("Mettre le média dans le lecteur ") + driveName() +
                           QStringLiteral("\r\r   Afin de sauvegarder les données ");
  if (ask(MessageKind::Confirmation, question, {Button::Yes, Button::No}) == Button::Yes) {
    runCommand([&] {
      utilities::TBackupFile file;
      wire(file);
      setBusy(true);
      ProgressBar->setValue(0);
      ProgressBar->setVisible(true);
      bool done;
      {
        WaitCursor wait;
        done =
            utilities::BackupClub(file, settings().programFolder, utilities::PathToText(*archive));
      }
      setBusy(false);
      ProgressBar->setVisible(false);
      if (done) {
        ask(MessageKind::Information, QStringLiteral("La sauvegarde c'est bien déroulée!"),
            {Button::Ok});
      }
    });
  }
  hide();
}

void TFichFSvg::restore() {
  const auto archive = archivePath();
  const QString notFound = QStringLiteral("Fichier de restauration introuvable!");
  const QString insert =
      QStringLiteral("Mettre le média de sauvegarde\r\r      dans le lecteur ") + driveName();
  std::error_code error;
  if (!archive ||
      ask(MessageKind::Confirmation, insert, {Button::Yes, Button::No}) != Button::Yes ||
      !std::filesystem::is_regular_file(*archive, error)) {
    ask(MessageKind::Warning, notFound, {Button::Ok});
    hide();
    return;
  }
  const QString when = QFileInfo(QString::fromStdU16String(archive->u16string()))
                           .lastModified()
                           .toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
  const QString warning =
      QStringLiteral("Attention les données vont être écrasées\r\r      par celles du: ") + when +
      QStringLiteral("\r\r              ............................");
  if (ask(MessageKind::Warning, warning, {Button::Yes, Button::No}) != Button::Yes) {
    ask(MessageKind::Warning, notFound, {Button::Ok});
    hide();
    return;
  }
  // An unreadable archive header ends the command with its error; the screen stays open.
  const bool finished = runCommand([&] {
    utilities::TBackupFile file;
    wire(file);
    struct Busy {
      TFichFSvg* screen;
      Busy(TFichFSvg* s) : screen(s) {
        screen->setBusy(true);
        screen->ProgressBar->setValue(0);
        screen->ProgressBar->setVisible(true);
      }
      ~Busy() {
        screen->setBusy(false);
        screen->ProgressBar->setVisible(false);
      }
    } busy(this);
    utilities::ClubRestore result;
    {
      WaitCursor wait;
      result =
          utilities::RestoreClub(file, utilities::PathToText(*archive), settings().programFolder);
    }
    if (result.outcome == utilities::ClubRestore::Outcome::kFirstPassFailed) {
      ask(MessageKind::Warning, QStringLiteral("Fichier de restauration corrompu!"), {Button::Ok});
      return;
    }
    if (context().reloadSettings) context().reloadSettings();
    if (!result.outside.empty()) {
      QString list;
      for (int i = 0; i < static_cast<int>(result.outside.size()) && i < kOutsideShown; ++i) {
        list += QStringLiteral("\r") + ToQString(result.outside[i]);
      }
      if (static_cast<int>(result.outside.size()) > kOutsideShown) list += QStringLiteral("\r...");
      ask(MessageKind::Warning,
          QStringLiteral("%1 fichier(s) hors du dossier du programme n'ont pas été restaurés :")
                  .arg(result.outside.size()) +
              list,
          {Button::Ok});
    }
    if (result.outcome == utilities::ClubRestore::Outcome::kSecondPassFailed) {
      ask(MessageKind::Error,
          QStringLiteral("La restauration a échoué : des fichiers n'ont pas été restaurés!"),
          {Button::Ok});
      return;
    }
    ask(MessageKind::Information, QStringLiteral("La restauration c'est bien déroulée!"),
        {Button::Ok});
  });
  if (finished) hide();
}

}  // namespace vantrel
