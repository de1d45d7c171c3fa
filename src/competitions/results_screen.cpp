#include "competitions/results_screen.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "competitions/cup_points.h"
#include "competitions/cup_reports.h"
#include "competitions/report_variables.h"
#include "members/member_file.h"
#include "platform/named_button.h"
#include "platform/record_grid.h"
#include "platform/text.h"
#include "platform/wait_cursor.h"
#include "reports/report_request_bridge.h"

namespace vantrel {

namespace {

using platform::Button;
using platform::MessageKind;

constexpr int kWebTab = 1;
constexpr int kGridTab = 2;

}  // namespace

TFichFResult::TFichFResult(AppContext& context, QWidget* parent)
    : Screen(context, parent), m_report(context.platform, this) {
  setObjectName(QStringLiteral("TFichFResult"));

  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  PageControl->addTab(new QWidget(PageControl), QStringLiteral("**"));
  WebBrowser = new QTextBrowser(PageControl);
  WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
  WebBrowser->setOpenLinks(false);
  PageControl->addTab(WebBrowser, QStringLiteral("Extraction du résultat d'Internet"));
  auto* gridPage = new QWidget(PageControl);
  Grille = new RecordGrid({{QStringLiteral("Rang"), 50, Qt::AlignRight},
                           {QStringLiteral("Joueur A"), 190},
                           {QStringLiteral("Joueur B"), 190},
                           {QStringLiteral("Licence A"), 80},
                           {QStringLiteral("Licence B"), 80},
                           {QStringLiteral("Points"), 60, Qt::AlignRight}},
                          gridPage);
  Grille->setObjectName(QStringLiteral("Grille"));
  LbPaires = new QLabel(gridPage);
  LbPaires->setObjectName(QStringLiteral("LbPaires"));
  LbTotal = new QLabel(gridPage);
  LbTotal->setObjectName(QStringLiteral("LbTotal"));
  auto* gridLayout = new QVBoxLayout(gridPage);
  gridLayout->addWidget(Grille, 1);
  auto* totals = new QHBoxLayout;
  totals->addWidget(LbPaires);
  totals->addStretch(1);
  totals->addWidget(LbTotal);
  gridLayout->addLayout(totals);
  PageControl->addTab(gridPage, QStringLiteral("Calcul des Points Challenges pour cette épreuve"));

  auto* extraction = new QGroupBox(
      QStringLiteral("Extraction résultat de tournois sur Internet par sauvegarde dans l'espace "
                     "licencié"),
      this);
  BtRecuperation =
      NamedButton(extraction, QStringLiteral("Récupération du fichier Open/2 de l'espace licencié"),
                  "BtRecuperation");
  BtOuvrirExtrait = NamedButton(extraction, QStringLiteral("Ouvrir"), "BtOuvrirExtrait");
  BtCalculer = NamedButton(extraction, QStringLiteral("Calculer"), "BtCalculer");
  EdK = new QLineEdit(QString::fromLatin1(competitions::kDefaultCoefficient), extraction);
  EdK->setObjectName(QStringLiteral("EdK"));
  EdK->setMaximumWidth(90);
  auto* extractionLayout = new QHBoxLayout(extraction);
  extractionLayout->addWidget(BtRecuperation);
  extractionLayout->addWidget(BtOuvrirExtrait);
  extractionLayout->addSpacing(12);
  extractionLayout->addWidget(new QLabel(QStringLiteral("K="), extraction));
  extractionLayout->addWidget(EdK);
  extractionLayout->addWidget(BtCalculer);

  auto* files = new QGroupBox(QStringLiteral("Fichiers des résultats calculés "), this);
  BtEnregistrer = NamedButton(files, QStringLiteral("Enregistrer"), "BtEnregistrer");
  BtOuvrirResultat = NamedButton(files, QStringLiteral("Ouvrir"), "BtOuvrirResultat");
  auto* filesLayout = new QHBoxLayout(files);
  filesLayout->addWidget(BtEnregistrer);
  filesLayout->addWidget(BtOuvrirResultat);

  BtEdition = NamedButton(this, QStringLiteral("Edition"), "BtEdition");
  BtModifications = NamedButton(this, QStringLiteral("Modifications"), "BtModifications");
  BtQuitte = NamedButton(this, QStringLiteral("Quitter"), "BtQuitte");

  auto* top = new QHBoxLayout;
  top->addWidget(extraction, 1);
  top->addWidget(files);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(BtEdition);
  bottom->addWidget(BtModifications);
  bottom->addStretch(1);
  bottom->addWidget(BtQuitte);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(PageControl, 1);
  layout->addLayout(bottom);

  connect(BtRecuperation, &QPushButton::clicked, this, &TFichFResult::onRecuperation);
  connect(BtOuvrirExtrait, &QPushButton::clicked, this, &TFichFResult::onOuvrirExtrait);
  connect(BtCalculer, &QPushButton::clicked, this, &TFichFResult::onCalculer);
  connect(BtEnregistrer, &QPushButton::clicked, this, &TFichFResult::onEnregistrer);
  connect(BtOuvrirResultat, &QPushButton::clicked, this, &TFichFResult::onOuvrirResultat);
  connect(BtEdition, &QPushButton::clicked, this, &TFichFResult::onEdition);
  connect(BtModifications, &QPushButton::clicked, this, &TFichFResult::onModifications);
  connect(BtQuitte, &QPushButton::clicked, this, &TFichFResult::quit);

  setCaption(competitions::kResultsCaption);
  fillGrid();
  PageControl->setCurrentIndex(kWebTab);
  resize(860, 560);
}

std::filesystem::path TFichFResult::exerciseFolder() const { return settings().exerciseFolder(); }

std::filesystem::path TFichFResult::WithExtension(const QString& chosen, const char* extension) {
  std::filesystem::path path = PathFromQString(chosen);
  if (!path.has_extension()) path += extension;
  return path;
}

void TFichFResult::setCaption(const std::string& cp1252) {
  m_caption = cp1252;
  setWindowTitle(ToQString(cp1252));
}

void TFichFResult::showWebView(const std::filesystem::path& file) {
  PageControl->setCurrentIndex(kWebTab);
  WebBrowser->setVisible(true);
  WebBrowser->clearHistory();
  WebBrowser->setSource(QUrl::fromLocalFile(PathToQString(file)), QTextDocument::HtmlResource);
}

void TFichFResult::fillGrid() {
  std::vector<std::vector<std::string>> rows;
  for (const auto& row : competitions::ResultGrid(m_results.resultLines())) {
    rows.emplace_back(row.begin(), row.end());
  }
  Grille->model().setRows(rows);
  const Lines& lines = m_results.resultLines();
  LbPaires->setText(lines.empty() ? QString()
                                  : ToQString(competitions::PairsAndClubPlayers(lines)));
  LbTotal->setText(QStringLiteral("Total des points des membres du club : %1")
                       .arg(QString::fromStdString(competitions::FormatPoints(m_results.total()))));
  BtEnregistrer->setEnabled(!lines.empty());
}

QString TFichFResult::pageFolder() {
  if (!m_pageFolder.isEmpty()) return m_pageFolder;
#ifdef Q_OS_WIN
  return QStringLiteral("C:\\");
#else
  return desktop().documentsFolder();
#endif
}

void TFichFResult::onRecuperation() {
  PageControl->setCurrentIndex(kWebTab);
  WebBrowser->setVisible(true);
  const std::optional<QString> page =
      desktop().openFileName(this, QStringLiteral("Récupération page Internet Classement"),
                             pageFolder(), QStringLiteral("au groupe (*.htm *.html *.HTM *.HTML)"));
  if (!page) return;
  m_pageFolder = QFileInfo(*page).absolutePath();
  competitions::PageExtraction extraction;
  if (!runCommand([&] {
        WaitCursor wait;
        extraction = m_results.extractPage(PathFromQString(*page));
      })) {
    return;
  }
  // A page of another kind is ignored: the page lines stay empty.
  if (extraction.kind == competitions::PageKind::kNotResults) return;
  if (extraction.kind == competitions::PageKind::kCut) {
    fillGrid();
    ask(MessageKind::kWarning,
        QStringLiteral("La page %1 %2 :\r\relle est incomplète, rien n'en est extrait ni calculé."
                       "\rEnregistrez-la de nouveau depuis l'espace licencié.")
            .arg(QFileInfo(*page).fileName(),
                 ToQString(competitions::WhereThePageStops(extraction.reading))),
        {Button::kOk});
    return;
  }
  const std::optional<QString> target = desktop().saveFileName(
      this, QStringLiteral("Sauvegarde classement internet "), PathToQString(exerciseFolder()),
      QStringLiteral("au groupe (*.chi *.Chi *.CHI)"));
  if (!target) return;
  const std::filesystem::path extract = WithExtension(*target, ".chi");
  if (runCommand([&] { m_results.writeExtract(extract); })) showWebView(extract);
}

void TFichFResult::onOuvrirExtrait() {
  const std::optional<QString> chosen = desktop().openFileName(
      this, QStringLiteral("Restauration page Internet Classement"),
      PathToQString(exerciseFolder()), QStringLiteral("au groupe (*.chi *.Chi *.CHI)"));
  if (!chosen) return;
  const std::filesystem::path extract = PathFromQString(*chosen);
  if (runCommand([&] { m_results.openExtract(extract); })) showWebView(extract);
}

void TFichFResult::onCalculer() {
  competitions::PageReading reading;
  const bool done = runCommand([&] {
    WaitCursor wait;
    reading =
        m_results.calculate(members::ReadMemberFile(exerciseFolder()), FromQString(EdK->text()));
  });
  if (!done) return;
  fillGrid();
  PageControl->setCurrentIndex(kGridTab);
  if (reading.truncated) {
    ask(MessageKind::kWarning,
        QStringLiteral("La page %1 :\r\relle est incomplète, aucun résultat n'est calculé.")
            .arg(ToQString(competitions::WhereThePageStops(reading))),
        {Button::kOk});
  }
}

void TFichFResult::onEnregistrer() {
  const std::optional<QString> chosen = desktop().saveFileName(
      this, QStringLiteral("Sauvegarde résultat d'un tournoi "), PathToQString(exerciseFolder()),
      QStringLiteral("au groupe (*.chr *.Chr *.CHR)"));
  if (!chosen) return;
  const std::filesystem::path file = WithExtension(*chosen, ".chr");
  if (!runCommand([&] { m_results.save(file); })) return;
  fillGrid();
  setCaption(competitions::kSavedCaption + FromQString(PathToQString(file.filename())));
}

void TFichFResult::onOuvrirResultat() {
  const std::optional<QString> chosen = desktop().openFileName(
      this, QStringLiteral("Restauration résultat d'un tournoi"), PathToQString(exerciseFolder()),
      QStringLiteral("au groupe (*.chr *.Chr *.CHR)"));
  if (!chosen) return;
  const std::filesystem::path file = PathFromQString(*chosen);
  const bool done = runCommand([&] { m_results.open(file); });
  fillGrid();
  if (!done) return;
  setCaption(competitions::kOpenedCaption + FromQString(PathToQString(file.filename())));
  PageControl->setCurrentIndex(kGridTab);
}

competitions::PrizeList TFichFResult::prizeList() const {
  return competitions::MakePrizeList(m_results, settings().entity, settings().exercise, m_caption);
}

ReportRequest TFichFResult::prizeListRequest() const {
  return competitions::PrizeListReport(prizeList());
}

void TFichFResult::onEdition() {
  reports::SetUpReport(m_report, prizeListRequest(), settings().programFolder,
                       competitions::kPrizeListReport);
  m_report.ShowReport();
}

void TFichFResult::onModifications() {
  reports::SetUpReport(m_report, prizeListRequest(), settings().programFolder,
                       competitions::kPrizeListReport);
  m_report.DesignReport();
}

}  // namespace vantrel
