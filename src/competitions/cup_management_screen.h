#pragma once

#include "competitions/cup_file.h"
#include "platform/screen.h"

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vantrel {

class RecordGrid;

// "Gestion de la Coupe n": the tournaments of one cup (its cup file), added, changed,
// deleted and linked to their result files. Every change is saved at once; the file is read
// again at every activation.
class TFichFGestion : public Screen {
  Q_OBJECT

 public:
  explicit TFichFGestion(AppContext& context, QWidget* parent = nullptr);

  // The cup shown (1 to 4), set by the menu before showing; sets the caption.
  void setCup(int cup);
  int cup() const { return m_cup; }
  const competitions::CupFile& cupFile() const { return m_cupFile; }

  void activated() override;
  void deactivated() override;

  QLineEdit* EdNum;
  QLineEdit* EdDate;
  QLineEdit* EdNom;
  QLineEdit* EdType;
  QSpinBox* SpColonne;
  QLineEdit* EdCoef;
  RecordGrid* StrGrd;
  QPushButton* Bt_Ajouter;
  QPushButton* Bt_Modifier;
  QPushButton* Bt_Supprimer;
  QPushButton* Bt_Lier;
  QPushButton* BtX;
  QPushButton* Bt_Premier;
  QPushButton* Bt_Precedant;
  QPushButton* Bt_Suivant;
  QPushButton* Bt_Dernier;
  QPushButton* BtQuitte;

  void onAjouter();
  void onModifier();
  void onSupprimer();
  void onLier();
  void onX();

 private:
  // The edit fields as a cup line's fields.
  competitions::CupFields fields() const;
  // Buttons, grid and edit fields from the lines and the current line.
  void refresh();
  std::filesystem::path exerciseFolder() const;

  int m_cup = 1;
  competitions::CupFile m_cupFile;
  bool m_refreshing = false;
};

}  // namespace vantrel
