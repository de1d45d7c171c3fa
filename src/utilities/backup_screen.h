#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "platform/screen.h"

class QButtonGroup;
class QGroupBox;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace vantrel {

namespace utilities {
class TBackupFile;
}

// Backup and restore of all the club's data ("Sauvegarde vers lecteur" / "Restauration
// vers lecteur"): the archive "SvgVantrel.bck" in the place chosen in the list. The list
// holds the removable media first, then the user's documents folder, the fixed drives and
// the other drives, and last "Autre emplacement…", which asks for a folder. The first
// removable medium is selected, else the documents folder.
class TFichFSvg : public Screen {
  Q_OBJECT

 public:
  enum class Mode { kBackup, kRestore };

  explicit TFichFSvg(AppContext& context, QWidget* parent = nullptr);

  // Sets the window caption and BpAction's caption of the mode (done by the main menu).
  void setMode(Mode mode);
  // Lists the destinations again and selects the default one.
  void refreshDrives();
  void activated() override;
  // "Quitter" and Escape: hide the screen, except while an archive is being written or read.
  void quit() override;

  // The archive in the selected place, when a place is selected (and, for "Autre
  // emplacement…", chosen).
  std::optional<std::filesystem::path> archivePath() const;

  QGroupBox* RgLecteur;
  QPushButton* BpAction;
  QPushButton* BpQuitter;
  QProgressBar* ProgressBar;
  std::vector<QRadioButton*> driveButtons;  // the last one is "Autre emplacement…"

  void onAction();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // One place of the list.
  struct Place {
    QString label;   // the type's label ("Disquette : ", "Documents : "...)
    QString folder;  // where the archive goes; empty for "Autre emplacement…" not chosen yet
    bool other = false;
  };

  void backup();
  void restore();
  // "Autre emplacement…" clicked: asks for its folder; false when cancelled.
  bool chooseOtherFolder();
  void onPlaceClicked(int id);
  // While an archive is written or read: the buttons and the list are disabled (events keep
  // running after every chunk), the progress bar shows.
  void setBusy(bool busy);
  // Shows the archive component's errors (in French, with the archive's path and the
  // system's reason) and its progress on this screen.
  void wire(utilities::TBackupFile& file, const std::filesystem::path& archive, bool restoring);
  // The name of the selected place in messages: its letter on Windows, its folder elsewhere.
  QString driveName() const;
  // An error box telling that path cannot be written in the archive.
  void showUnencodable(const std::filesystem::path& path);

  QButtonGroup* m_group;
  QVBoxLayout* m_driveLayout;
  std::vector<Place> m_places;
  QString m_otherFolder;  // chosen for "Autre emplacement…", empty until then
  int m_checked = -1;
  bool m_busy = false;
};

}  // namespace vantrel
