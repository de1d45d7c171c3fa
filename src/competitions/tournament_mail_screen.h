#pragma once

#include <string>
#include <vector>

#include "core/record_file.h"
#include "platform/screen.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantrel {

// Mail to the club members who played one séance of the club's regularity tournaments, from
// the club software's export of all tournaments (converted to CSV by the user). The member
// file is read when the screen is created and again each time it becomes active, so members
// entered meanwhile are found; the CSV lines and the séance list stay for the whole run.
class TFichFCourriels : public Screen {
  Q_OBJECT

 public:
  explicit TFichFCourriels(AppContext& context, QWidget* parent = nullptr);

  // Reads the member file of the current exercise again and, when a séance is chosen, finds
  // its players' addresses in it.
  void activated() override;

  const std::vector<std::string>& seances() const { return m_seances; }
  const std::vector<std::string>& addresses() const { return m_addresses; }

  QLabel* LbTitre1;
  QLabel* LbTitre2;
  QLabel* LbTitre3;
  QPushButton* BtOuvrir;
  QComboBox* CbSeance;
  QLineEdit* EdDate;
  QLineEdit* EdJour;
  QLineEdit* EdMoment;
  QLineEdit* EdType;
  QPushButton* BtEnvoi;
  QPushButton* BtQuitter;

  void onOuvrir();
  // index in the séance list; -1 when none is selected.
  void onSeance(int index);
  void onEnvoi();

 private:
  void showDisplayFields(bool shown);

  Lines m_members;
  Lines m_csv;
  std::vector<std::string> m_seances;
  std::vector<std::string> m_addresses;
};

}  // namespace vantrel
