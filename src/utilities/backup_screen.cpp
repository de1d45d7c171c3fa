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

#include "platform/qt_path.h"
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
    case Drive::Type::kRemovable:
      return QStringLiteral("Disquette : ");
    case Drive::Type::kFixed:
      return QStringLiteral("disque :    ");
    case Drive::Type::kRemote:
      return QStringLiteral("Réseau :    ");
    case Drive::Type::kCdRom:
      return QStringLiteral("C. D. :     ");
    case Drive::Type::kRamDisk:
      return QStringLiteral("R.A.M. :    ");
  }
  return {};
}

// Lists at most this many refused names in the closing warning.
constexpr int kOutsideShown = 15;

// Order of the list: removable media, the documents folder, fixed drives, the others.
int Rank(Drive::Type type) {
  switch (type) {
    case Drive::Type::kRemovable:
      return 0;
    case Drive::Type::kFixed:
      return 2;
    case Drive::Type::kRemote:
      return 3;
    case Drive::Type::kCdRom:
      return 4;
    case Drive::Type::kRamDisk:
      return 5;
  }
  return 6;
}

QString PathText(const std::filesystem::path& path) {
  return QDir::toNativeSeparators(PathToQString(path));
}

const QString kOtherPlace = QStringLiteral("Autre emplacement…");

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
  connect(BpQuitter, &QPushButton::clicked, this, &TFichFSvg::quit);
  connect(m_group, &QButtonGroup::idClicked, this, &TFichFSvg::onPlaceClicked);
  setMode(Mode::kBackup);
  resize(460, 300);
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
  if (m_busy) return;
  for (QRadioButton* button : driveButtons) {
    m_group->removeButton(button);
    delete button;
  }
  driveButtons.clear();
  m_places.clear();

  std::vector<Drive> drives = desktop().drives();
  std::stable_sort(drives.begin(), drives.end(),
                   [](const Drive& a, const Drive& b) { return Rank(a.type) < Rank(b.type); });
  const QString documents = desktop().documentsFolder();
  int documentsIndex = -1;
  bool documentsPlaced = documents.isEmpty();
  for (const Drive& drive : drives) {
    if (!documentsPlaced && Rank(drive.type) > 1) {
      documentsIndex = static_cast<int>(m_places.size());
      m_places.push_back({QStringLiteral("Documents : "), documents});
      documentsPlaced = true;
    }
    QString label = TypeLabel(drive.type);
    QString shown = QDir::toNativeSeparators(drive.root);
    if (!drive.label.isEmpty() && drive.label != drive.root)
      shown += QStringLiteral("   (%1)").arg(drive.label);
    m_places.push_back({label + shown, drive.root});
  }
  if (!documentsPlaced) {
    documentsIndex = static_cast<int>(m_places.size());
    m_places.push_back({QStringLiteral("Documents : "), documents});
  }
  if (documentsIndex >= 0) {
    m_places[documentsIndex].label += QDir::toNativeSeparators(documents);
  }
  // The folder chosen for "Autre emplacement…" stays for the whole run.
  m_places.push_back({m_otherFolder.isEmpty() ? kOtherPlace
                                              : kOtherPlace + QStringLiteral(" ") +
                                                    QDir::toNativeSeparators(m_otherFolder),
                      m_otherFolder, true});

  for (std::size_t i = 0; i < m_places.size(); ++i) {
    auto* button = new QRadioButton(m_places[i].label, RgLecteur);
    m_group->addButton(button, static_cast<int>(i));
    m_driveLayout->insertWidget(static_cast<int>(i), button);
    driveButtons.push_back(button);
  }
  // The first removable medium, else the documents folder, else the first place.
  int chosen = 0;
  if (drives.empty() || drives.front().type != Drive::Type::kRemovable) {
    chosen = std::max(documentsIndex, 0);
  }
  driveButtons[chosen]->setChecked(true);
  m_checked = chosen;
}

void TFichFSvg::activated() { refreshDrives(); }

void TFichFSvg::showEvent(QShowEvent* event) {
  refreshDrives();
  Screen::showEvent(event);
}

void TFichFSvg::quit() {
  if (!m_busy) hide();
}

void TFichFSvg::onPlaceClicked(int id) {
  if (id < 0 || id >= static_cast<int>(m_places.size())) return;
  if (m_places[id].other && !chooseOtherFolder() && m_places[id].folder.isEmpty()) {
    // Cancelled before any folder was chosen: the previous place stays selected.
    if (m_checked >= 0 && m_checked < static_cast<int>(driveButtons.size()))
      driveButtons[m_checked]->setChecked(true);
    return;
  }
  m_checked = id;
}

bool TFichFSvg::chooseOtherFolder() {
  Place& other = m_places.back();
  const QString caption = BpAction->text() == QStringLiteral("Sauvegarde")
                              ? QStringLiteral("Dossier de la sauvegarde")
                              : QStringLiteral("Dossier de la sauvegarde à restaurer");
  const QString root = other.folder.isEmpty() ? desktop().documentsFolder() : other.folder;
  const auto folder = desktop().folderName(this, caption, root);
  if (!folder) return false;
  other.folder = *folder;
  m_otherFolder = *folder;
  other.label = kOtherPlace + QStringLiteral(" ") + QDir::toNativeSeparators(*folder);
  driveButtons.back()->setText(other.label);
  return true;
}

std::optional<std::filesystem::path> TFichFSvg::archivePath() const {
  const int chosen = m_group->checkedId();
  if (chosen < 0 || chosen >= static_cast<int>(m_places.size())) return std::nullopt;
  if (m_places[chosen].folder.isEmpty()) return std::nullopt;
  return PathFromQString(m_places[chosen].folder) /
         utilities::kArchiveFileName;
}

QString TFichFSvg::driveName() const {
  const int chosen = m_group->checkedId();
  if (chosen < 0 || chosen >= static_cast<int>(m_places.size())) return {};
  const QString root = m_places[chosen].folder;
  static const QRegularExpression letter(QStringLiteral("^([A-Za-z]):[/\\\\]?$"));
  const auto match = letter.match(root);
  return match.hasMatch() ? match.captured(1) : QDir::toNativeSeparators(root);
}

void TFichFSvg::onAction() {
  const int chosen = m_group->checkedId();
  if (chosen >= 0 && chosen < static_cast<int>(m_places.size()) && m_places[chosen].other &&
      m_places[chosen].folder.isEmpty() && !chooseOtherFolder()) {
    return;
  }
  if (BpAction->text() == QStringLiteral("Sauvegarde")) {
    backup();
  } else {
    restore();
  }
}

void TFichFSvg::wire(utilities::TBackupFile& file, const std::filesystem::path& archive,
                     bool restoring) {
  file.OnError = [this, &file, archive, restoring](utilities::BackupError, const std::string&) {
    ask(MessageKind::kError,
        ToQString(utilities::ArchiveErrorText(file, utilities::PathToText(archive), restoring)),
        {Button::kOk});
  };
  file.OnProgress = [this](const std::string&, int percent, bool&) {
    ProgressBar->setValue(percent);
  };
  file.OnNeedDisk = [this](std::uint16_t volume, bool& go) {
    go = ask(MessageKind::kInformation,
             QStringLiteral("Please insert disk %1 and click OK to continue.").arg(volume),
             {Button::kOk, Button::kCancel}) == Button::kOk;
  };
  file.ProcessEvents = [] { QApplication::processEvents(); };
}

void TFichFSvg::setBusy(bool busy) {
  m_busy = busy;
  RgLecteur->setEnabled(!busy);
  BpAction->setEnabled(!busy);
  BpQuitter->setEnabled(!busy);
  ProgressBar->setValue(0);
  ProgressBar->setVisible(busy);
}

void TFichFSvg::showUnencodable(const std::filesystem::path& path) {
  ask(MessageKind::kError,
      ToQString(utilities::kUnencodablePathText).replace(QStringLiteral("%s"), PathText(path)),
      {Button::kOk});
}

namespace {

// Runs f when it goes out of scope, whatever way the command ends.
template <typename F>
struct Finally {
  F f;
  ~Finally() { f(); }
};
template <typename F>
Finally(F) -> Finally<F>;

}  // namespace

void TFichFSvg::backup() {
  const auto archive = archivePath();
  if (!archive) return;
  const QString question = QStringLiteral("Mettre le média dans le lecteur ") + driveName() +
                           QStringLiteral("\r\r   Afin de sauvegarder les données ");
  // The backup replaces an archive already on the media: then Enter answers "&Non".
  std::error_code error;
  const Button enter = std::filesystem::exists(*archive, error) ? Button::kNo : Button::kYes;
  if (desktop().message(this, MessageKind::kConfirmation, question, {Button::kYes, Button::kNo},
                        enter) == Button::kYes) {
    runCommand([&] {
      if (!utilities::IsCp1252Path(*archive)) {
        showUnencodable(*archive);
        return;
      }
      utilities::TBackupFile file;
      wire(file, *archive, false);
      setBusy(true);
      Finally idle{[this] { setBusy(false); }};
      utilities::ClubBackup result;
      {
        WaitCursor wait;
        result =
            utilities::BackupClub(file, settings().programFolder, utilities::PathToText(*archive));
      }
      using Outcome = utilities::ClubBackup::Outcome;
      if (result.outcome == Outcome::kSaved) {
        ask(MessageKind::kInformation, QStringLiteral("La sauvegarde c'est bien déroulée!"),
            {Button::kOk});
      } else if (result.outcome == Outcome::kUnencodablePath) {
        showUnencodable(result.unencodable);
      } else if (result.outcome != Outcome::kArchiveFailed) {
        ask(MessageKind::kError,
            ToQString(utilities::ClubBackupFailureText(result, settings().programFolder,
                                                       utilities::PathToText(*archive))),
            {Button::kOk});
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
      ask(MessageKind::kConfirmation, insert, {Button::kYes, Button::kNo}) != Button::kYes ||
      !std::filesystem::is_regular_file(*archive, error)) {
    ask(MessageKind::kWarning, notFound, {Button::kOk});
    hide();
    return;
  }
  const QString when = QFileInfo(PathToQString(*archive))
                           .lastModified()
                           .toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
  const QString warning =
      QStringLiteral("Attention les données vont être écrasées\r\r      par celles du: ") + when +
      QStringLiteral("\r\r              ............................");
  if (!confirmDestructive(MessageKind::kWarning, warning)) {
    ask(MessageKind::kWarning, notFound, {Button::kOk});
    hide();
    return;
  }
  const std::string archiveText = utilities::PathToText(*archive);
  bool unreadable = false;
  runCommand([&] {
    utilities::TBackupFile file;
    wire(file, *archive, true);
    setBusy(true);
    Finally idle{[this] { setBusy(false); }};
    utilities::ClubRestore result;
    try {
      WaitCursor wait;
      result = utilities::RestoreClub(file, *archive, settings().programFolder);
    } catch (const utilities::ArchiveError& failure) {
      // An unreadable archive ends the command; the screen stays open.
      unreadable = true;
      ask(MessageKind::kError,
          ToQString(utilities::ArchiveErrorText(failure.code(), "", {}, archiveText, true)),
          {Button::kOk});
      return;
    }
    using Outcome = utilities::ClubRestore::Outcome;
    if (result.outcome == Outcome::kFirstPassFailed) {
      ask(MessageKind::kWarning, QStringLiteral("Fichier de restauration corrompu!"), {Button::kOk});
      return;
    }
    if (result.outcome == Outcome::kNotAClubBackup) {
      ask(MessageKind::kError, ToQString(utilities::kNotClubBackupText), {Button::kOk});
      return;
    }
    const bool changed = result.outcome != Outcome::kSecondPassFailed || !result.nothingChanged;
    if (changed && context().reloadSettings) context().reloadSettings();
    if (!result.outside.empty()) {
      QString list;
      for (int i = 0; i < static_cast<int>(result.outside.size()) && i < kOutsideShown; ++i) {
        list += QStringLiteral("\r") + ToQString(result.outside[i]);
      }
      if (static_cast<int>(result.outside.size()) > kOutsideShown) list += QStringLiteral("\r...");
      ask(MessageKind::kWarning,
          QStringLiteral("%1 fichier(s) hors des données du club n'ont pas été restaurés :")
                  .arg(result.outside.size()) +
              list,
          {Button::kOk});
    }
    if (result.outcome == Outcome::kSecondPassFailed) {
      ask(MessageKind::kError, ToQString(utilities::ClubRestoreFailureText(result)), {Button::kOk});
      return;
    }
    ask(MessageKind::kInformation, QStringLiteral("La restauration c'est bien déroulée!"),
        {Button::kOk});
  });
  if (!unreadable) hide();
}

}  // namespace vantrel
