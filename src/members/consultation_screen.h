#pragma once

#include "core/record_file.h"
#include "platform/screen.h"
#include "reports/report.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace vantrel {

// "Consultation du Fichier adhèrents": the member file one member at a time, read only, with
// both searches, the envelope through "Gestion_Enveloppes.frf" and a mail to the member.
class TFichFGest : public Screen {
  Q_OBJECT

 public:
  explicit TFichFGest(AppContext& context, QWidget* parent = nullptr);

  void activated() override;
  void deactivated() override;

  // Fills the boxes from the current record and enables the buttons.
  void refresh();
  int currentRecord() const { return m_current; }
  const Lines& members() const { return m_members; }

  QGroupBox* RadioGroup1;
  QRadioButton* RbLicence;  // "Numéro de licence"
  QRadioButton* RbNom;      // "Nom"
  QLineEdit* RechLicence;
  QLineEdit* RechNom;
  QPushButton* Button1;  // "Impression &Enveloppe"
  QPushButton* Bt_Debut;
  QPushButton* Bt_Precedant;
  QPushButton* Bt_Suivant;
  QPushButton* Bt_Fin;
  QPushButton* BtQuitte;
  QLineEdit* EdNum;
  QLineEdit* EdIv;
  QLineEdit* EdLicence;
  QLineEdit* EdTitre;
  QLineEdit* EdNom;
  QLineEdit* EdPrenom;
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
  QLineEdit* EdClub;
  QLineEdit* EdMaj;
  QLineEdit* EdSolde;
  QLabel* LVote;
  QPushButton* BtCourriel;
  QMenu* PopupMenu1;
  QAction* Imprime;  // "&Imprime"
  QAction* Modifie;  // "&Modifie"
  reports::Report* Report;

  void onSearchBy(int field);
  void onRechLicence(const QString& text);
  void onRechNom(const QString& text);
  void onCourriel();
  void onEnvelope();
  void onImprime();
  void onModifie();
  // Loads the envelope template and wires its values to the boxes.
  bool loadEnvelope();

 private:
  void moveTo(int record);

  Lines m_members;
  int m_current = -1;
  int m_sortField = 2;
};

}  // namespace vantrel
