#pragma once

#include <optional>
#include <string>

#include "competitions/tournament_result.h"
#include "core/report_request.h"
#include "platform/screen.h"
#include "reports/report.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace vantrel {

class RecordGrid;

// "Gestion des résultats d'un Tournoi": a saved federation result page becomes a page
// extract (".chi") shown in the web view, then result lines with the club's members found
// and the cup points computed, saved as a result file (".chr") and printed as the prize list.
// Its state lasts the whole run ("Quitter" only hides it).
class TFichFResult : public Screen {
  Q_OBJECT

 public:
  explicit TFichFResult(AppContext& context, QWidget* parent = nullptr);

  const competitions::TournamentResults& results() const { return m_results; }
  // The caption, Windows-1252.
  const std::string& caption() const { return m_caption; }
  // The values the prize list is printed with, and its request.
  competitions::PrizeList prizeList() const;
  ReportRequest prizeListRequest() const;

  QTabWidget* PageControl;
  QTextBrowser* WebBrowser;
  RecordGrid* Grille;
  QLineEdit* EdK;
  // The pairs and the club's players of the result lines, and their total of points; both
  // follow "Calculer" as well as a save or an open.
  QLabel* LbPaires;
  QLabel* LbTotal;
  QPushButton* BtRecuperation;
  QPushButton* BtOuvrirExtrait;
  QPushButton* BtCalculer;
  QPushButton* BtEnregistrer;
  QPushButton* BtOuvrirResultat;
  QPushButton* BtEdition;
  QPushButton* BtModifications;
  QPushButton* BtQuitte;

  void onRecuperation();
  void onOuvrirExtrait();
  void onCalculer();
  void onEnregistrer();
  void onOuvrirResultat();
  void onEdition();
  void onModifications();

  reports::Report& report() { return m_report; }

 private:
  void showWebView(const std::filesystem::path& file);
  void fillGrid();
  // Where "Récupération" looks for a page: where the last one was taken, at first "C:\" on
  // Windows and the documents folder elsewhere.
  QString pageFolder();
  void setCaption(const std::string& cp1252);
  std::filesystem::path exerciseFolder() const;
  // A chosen file name with the default extension added when it has none.
  static std::filesystem::path WithExtension(const QString& chosen, const char* extension);

  competitions::TournamentResults m_results;
  std::string m_caption;
  QString m_pageFolder;
  reports::Report m_report;
};

}  // namespace vantrel
