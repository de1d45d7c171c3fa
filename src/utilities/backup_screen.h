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
// vers lecteur"): the archive "SvgVantrel.bck" at the root of the drive chosen in the list.
class TFichFSvg : public Screen {
  Q_OBJECT

 public:
  enum class Mode { kBackup, kRestore };

  explicit TFichFSvg(AppContext& context, QWidget* parent = nullptr);

  // Sets the window caption and BpAction's caption of the mode (done by the main menu).
  void setMode(Mode mode);
  // Lists the drives again and selects the first.
  void refreshDrives();
  void activated() override;

  // The archive on the selected drive, when a drive is selected.
  std::optional<std::filesystem::path> archivePath() const;

  QGroupBox* RgLecteur;
  QPushButton* BpAction;
  QPushButton* BpQuitter;
  QProgressBar* ProgressBar;
  std::vector<QRadioButton*> driveButtons;

  void onAction();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void backup();
  void restore();
  // While an archive is written or read: the buttons and the list are disabled (events keep
  // running after every chunk), the progress bar shows.
  void setBusy(bool busy);
  // Shows the archive component's errors and progress on this screen.
  void wire(utilities::TBackupFile& file);
  // The name of the selected drive in messages: its letter on Windows, its root elsewhere.
  QString driveName() const;

  QButtonGroup* m_group;
  QVBoxLayout* m_driveLayout;
  std::vector<platform::Drive> m_drives;
};

}  // namespace vantrel
