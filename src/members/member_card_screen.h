#pragma once

#include "members/member_card.h"
#include "platform/screen.h"

class QCloseEvent;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace vantrel {

class RecordGrid;

// "Modification de la fiche adhérent": one member at a time, browsed, searched, added,
// changed and deleted; his dues and payments chosen from the settings screen's lists and
// posted to the accounts. Works on its own copy of the member file, read on activation.
class TFichFin : public Screen {
  Q_OBJECT

 public:
  explicit TFichFin(AppContext& context, QWidget* parent = nullptr);

  void activated() override;
  // Leaving the card with edits asks what becomes of them (settleEdits()); "Annuler" brings
  // the card back with its list and edits kept.
  void deactivated() override;
  void quit() override;

  const members::MemberCard& card() const { return m_card; }

  // Top panel.
  QGroupBox* RadioGroup1;
  QRadioButton* RbLicence;
  QRadioButton* RbNom;
  QLineEdit* RechLicence;
  QLineEdit* RechNom;
  QPushButton* Bt_Debut;
  QPushButton* Bt_Precedant;
  QPushButton* Bt_Suivant;
  QPushButton* Bt_Fin;
  QPushButton* Bt_Ajouter;
  QPushButton* Bt_Supprimer;
  QPushButton* BtQuitte;
  // Identity.
  QLineEdit* EdLicence;
  QLineEdit* EdIv;
  QLineEdit* EdClub;
  QComboBox* EdTitre;
  QLineEdit* EdNom;
  QLineEdit* EdPrenom;
  QTabWidget* PageControl1;
  // Page "Adresse".
  QLineEdit* EdAdr1;
  QLineEdit* EdAdr2;
  QLineEdit* EdAdr3;
  QLineEdit* EdCode;
  QLineEdit* EdVille;
  QLineEdit* EdDom;
  QLineEdit* EdBur;
  QLineEdit* EdPort;
  QLineEdit* EdMail;
  QLineEdit* EdNaiss;
  QLineEdit* EdLic;
  QComboBox* EdVote;
  QPushButton* Bt_Modifier;
  // Page "Cotisations".
  RecordGrid* StrGrRecette;
  RecordGrid* StrGrdVerss;
  QLineEdit* MSolde;
  RecordGrid* StGrPopRecette;
  QLineEdit* Bt_Somme;
  QPushButton* Bt_Recet;
  QPushButton* Bt_Verss;
  QPushButton* Compta;
  QPushButton* Bt_Enregistrer;
  QLineEdit* EdMaj;

  // Handlers, one per user event.
  void onSearchChosen();
  void onSearchLicence();
  void onSearchName();
  void onAdd();
  void onSave();
  void onDelete();
  void onPageChanged();
  void onRowSelected(members::CardRow::Kind kind, int row);
  void onPicked(int row);
  // Escape in the pick list: closed, nothing picked.
  void onPickCancelled();
  void onConfirmAmount();
  void onPost();

 protected:
  // Closing the window is leaving it: edits are settled first.
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildAddressPage();
  QWidget* buildDuesPage();
  // Shows the current member (RefreshCard).
  void refreshCard();
  // The dues and payment grids and the balance box from the card's edit state.
  void refreshLines();
  void updateSaveButtons();
  // Before the edits of the member shown would be dropped (leaving the card, moving to another
  // member, searching, adding): when there are any, asks "Enregistrer les modifications de la
  // fiche ?". "&Oui" saves them, "&Non" shows the member as stored again, "Annuler" keeps
  // them. True when the card may go on: nothing changed, saved, or dropped. The boxes show
  // over `over` (the card itself when null).
  bool settleEdits(QWidget* over = nullptr);
  members::CardFields boxes() const;
  std::filesystem::path folder() const { return settings().exerciseFolder(); }

  members::MemberCard m_card;
  Lines m_pickLines;
  // "Annuler" on leaving: the next activation keeps the list and the edits.
  bool m_keptOnLeaving = false;
};

}  // namespace vantrel
