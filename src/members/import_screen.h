#pragma once

#include "core/record_file.h"
#include "members/federation_import.h"
#include "platform/screen.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace vantrel {

// "Importation des données de la base FFB": merges the federation's CSV extraction into the
// member file. Each activation reads the member file, resets both choices to "Toujours" and
// opens the file dialog; "Importation" merges, sorts and writes the file once, then hides the
// screen. The counts of what the merge would do with the chosen options show before it runs,
// counted again whenever a choice changes.
class TFichFimp : public Screen {
  Q_OBJECT

 public:
  explicit TFichFimp(AppContext& context, QWidget* parent = nullptr);

  void activated() override;
  void deactivated() override;
  // "Quitter" and Escape hide the screen without writing; not while an import runs.
  void quit() override;

  QProgressBar* ProgressBar1;
  QPushButton* ButtonImporte;
  QPushButton* Button1;
  QGroupBox* RgAjout;
  QGroupBox* RgModif;
  // "Toujours", "Après accord", "Jamais" of each group.
  QRadioButton* AjoutChoices[3];
  QRadioButton* ModifChoices[3];
  // What "Importation" would do: new players, changed members, unchanged members.
  QLabel* LbComptes;

  void onImporte();

 private:
  // After the file dialog: reads the chosen extraction and enables "Importation" from two
  // players on.
  void chooseExtraction();
  // Counts the merge under the chosen options and enables "Importation" when it would run.
  void recount(bool showFailure);
  members::MergeChoice choiceOf(QRadioButton* const (&choices)[3]) const;
  members::ImportOptions chosenOptions() const;
  void setBusy(bool busy);

  Lines m_members;
  Lines m_players;
  bool m_loaded = false;
  bool m_importing = false;
};

}  // namespace vantrel
