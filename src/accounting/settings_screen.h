#pragma once

#include "accounting/season.h"
#include "platform/screen.h"

class QLineEdit;
class QPushButton;

namespace vantrel {

class RecordGrid;

// "Paramètrages et personnalisation du logiciel OU Nouvelle Saison": the club's names and
// current exercise, the member card's dues and payment lists kept in step with the chart, the
// change or creation of an exercise and the reset of every member's dues.
class TFichFPar : public Screen {
  Q_OBJECT

 public:
  explicit TFichFPar(AppContext& context, QWidget* parent = nullptr);

  void activated() override;
  void deactivated() override;

  const accounting::MemberLists& lists() const { return m_lists; }

  QLineEdit* EditEntite;
  QLineEdit* EditSigle;
  QLineEdit* EditAnnee;
  QLineEdit* EdExercice;
  RecordGrid* StrGrRecette;
  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QLineEdit* Edit3;
  QPushButton* BtRecDebut;
  QPushButton* BtRecPrecedant;
  QPushButton* BtRecSuivant;
  QPushButton* BtRecFin;
  QPushButton* BtModifier;
  RecordGrid* StrGrVersement;
  QPushButton* BtVerDebut;
  QPushButton* BtVerPrecedant;
  QPushButton* BtVerSuivant;
  QPushButton* BtVerFin;
  QPushButton* BtMemorisation;
  QPushButton* BtChangement;
  QPushButton* BtNouvel;
  QPushButton* BtCotisations;
  QPushButton* BtQuitte;

  void onStore();
  // "Changement d'exercice" (create false) and "Nouvel exercice" (create true).
  void onChangeExercise(bool create);
  void onModifyDues();
  void onResetDues();

 private:
  // Stores the three fields as the current settings and shows them on the main window.
  void storeSettings();
  void refreshGrids();
  // Selects line `line` (from 1) of a list, kept within it.
  static int Clamp(int line, const Lines& list);

  accounting::MemberLists m_lists;
  int m_duesSelection = 0;
  int m_paymentSelection = 0;
};

}  // namespace vantrel
