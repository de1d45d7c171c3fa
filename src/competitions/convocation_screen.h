#pragma once

#include <array>
#include <filesystem>
#include <optional>

#include "competitions/convocation.h"
#include "competitions/registrant_page.h"
#include "platform/screen.h"
#include "reports/report.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTextBrowser;

namespace vantrel {

// Captions the main menu gives the screen; the mode is read from them.
inline constexpr char kConvocationTeamsCaption[] = "Editions des inscriptions par quatre";
inline constexpr char kConvocationPairsCaption[] = "Editions des inscriptions par paires";

// Convocations for the federal events played by teams of four or by pairs: the registered
// teams or pairs are cut out of a saved page of the federation's licensee area into a
// registrant list, shown in a web view, printed as a convocation with the event's header
// fields ("quatre.frf" or "paires.frf") and mailed, in batches, to the registered club
// members who accept convocations by mail. The mode comes from the caption at each
// activation.
class TFichFConvoc : public Screen {
  Q_OBJECT

 public:
  explicit TFichFConvoc(AppContext& context, QWidget* parent = nullptr);

  void activated() override;

  competitions::ConvocationMode mode() const { return m_mode; }
  const std::filesystem::path& currentFile() const { return m_currentFile; }
  const Lines& registrants() const { return m_registrants; }
  const std::vector<competitions::ConvocationEntry>& entries() const { return m_entries; }
  reports::Report& report() { return m_report; }

  // The 14 header fields in the order of the event-data file.
  std::array<QLineEdit*, competitions::kEventFieldCount> headerFields() const;
  competitions::EventData eventData() const;
  void setEventData(const competitions::EventData& data);

  // What the screen prints in a mode: the header fields shown and the entries of the last
  // "Edition" (competitions::ConvocationReport).
  ReportRequest request(competitions::ConvocationMode mode) const;
  // The report's value of a variable for record r, as the template last printed or designed
  // gets it.
  reports::Value valueOf(const QString& name, int record) const;

  QTabWidget* PageControl;
  QWidget* TabPresentation;
  QWidget* TabInternet;
  QTextBrowser* WebBrowser;

  QLineEdit* EdSaison;
  QLineEdit* EdResponsable;
  QLineEdit* EdPublication;
  QLineEdit* EdEpreuve;
  QLineEdit* EdPrix;
  QLineEdit* EdPhase;
  QLineEdit* EdDate;
  QLineEdit* EdModalites;
  QLineEdit* EdHoraires1;
  QLineEdit* EdHoraires2;
  QLineEdit* EdAvertissement;
  QLineEdit* EdArbitre;
  QLineEdit* EdDivers;
  QLineEdit* EdPied;
  QPushButton* BtDateDuJour;

  QGroupBox* GbInscrits;
  QPushButton* BtRecuperation;
  QPushButton* BtEnregistrerInscrits;
  QPushButton* BtOuvrirInscrits;
  QGroupBox* GbEntete;
  QPushButton* BtEnregistrerEntete;
  QPushButton* BtOuvrirEntete;

  QCheckBox* CbLicencies;
  QCheckBox* CbCopieCache;
  QLabel* LbParGroupe;
  QSpinBox* SpParGroupe;
  QPushButton* BtEdition;
  QPushButton* BtCourriels;
  QPushButton* BtModification;
  QPushButton* BtQuitter;

  void onRecuperation();
  void onEnregistrerInscrits();
  void onOuvrirInscrits();
  void onEnregistrerEntete();
  void onOuvrirEntete();
  void onDateDuJour();
  void onEdition();
  void onCourriels();
  void onModification();

 private:
  bool teams() const { return m_mode == competitions::ConvocationMode::kTeams; }
  QString yearFolder() const;
  // Loads the mode's template with the mode's request.
  void loadTemplate();
  // Saves the list just extracted from a page, of the given kind, where the user says.
  void saveExtract(competitions::ListKind list);
  void setCurrentFile(const std::filesystem::path& path, competitions::ListKind list);
  void showInWebView(const std::filesystem::path& path);
  void setListButtonsEnabled(bool enabled);
  // Runs the scan over the list in memory and the member file; nothing when there is nothing
  // to print or mail. A list that ends inside an entry is said in a warning.
  std::optional<competitions::ConvocationScan> scan();

  competitions::ConvocationMode m_mode = competitions::ConvocationMode::kTeams;
  Lines m_registrants;
  std::filesystem::path m_currentFile;
  std::vector<competitions::ConvocationEntry> m_entries;
  reports::Report m_report;
};

}  // namespace vantrel
