#include "competitions/convocation_screen.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "core/date.h"
#include "core/record_file.h"
#include "members/member_file.h"
#include "platform/busy_guard.h"
#include "platform/file_filter.h"
#include "platform/mail.h"
#include "platform/named_button.h"
#include "platform/text.h"
#include "reports/report_request_bridge.h"

namespace vantrel {

namespace {

using competitions::ConvocationMode;
using competitions::ListKind;

constexpr char kGroupCaption[] = "Liste des équipes du groupe";
constexpr char kCompetitionCaption[] = "Liste des équipes de la compétition";

}  // namespace

TFichFConvoc::TFichFConvoc(AppContext& context, QWidget* parent)
    : Screen(context, parent), m_report(context.platform, this) {
  setObjectName(QStringLiteral("TFichFConvoc"));
  setWindowTitle(QLatin1String(kConvocationTeamsCaption));

  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  TabPresentation = new QWidget;
  TabInternet = new QWidget;
  PageControl->addTab(TabPresentation, QStringLiteral("Présentation"));
  PageControl->addTab(TabInternet, QStringLiteral("Page Internet de la liste des inscrits"));

  auto makeField = [this](const char* name) {
    auto* edit = new QLineEdit(TabPresentation);
    edit->setObjectName(QLatin1String(name));
    return edit;
  };
  EdSaison = makeField("EdSaison");
  EdResponsable = makeField("EdResponsable");
  EdPublication = makeField("EdPublication");
  EdEpreuve = makeField("EdEpreuve");
  EdPrix = makeField("EdPrix");
  EdPhase = makeField("EdPhase");
  EdDate = makeField("EdDate");
  EdModalites = makeField("EdModalites");
  EdHoraires1 = makeField("EdHoraires1");
  EdHoraires2 = makeField("EdHoraires2");
  EdAvertissement = makeField("EdAvertissement");
  EdArbitre = makeField("EdArbitre");
  EdDivers = makeField("EdDivers");
  EdPied = makeField("EdPied");
  BtDateDuJour = NamedButton(TabPresentation, QStringLiteral("Date du jour"), "BtDateDuJour");

  auto* form = new QFormLayout(TabPresentation);
  form->addRow(QStringLiteral("Saison"), EdSaison);
  form->addRow(QStringLiteral("Responsable"), EdResponsable);
  auto* publication = new QHBoxLayout;
  publication->addWidget(EdPublication, 1);
  publication->addWidget(BtDateDuJour);
  form->addRow(QStringLiteral("Publication"), publication);
  form->addRow(QStringLiteral("Epreuve"), EdEpreuve);
  form->addRow(QStringLiteral("Prix"), EdPrix);
  form->addRow(QStringLiteral("Phase"), EdPhase);
  form->addRow(QStringLiteral("Date"), EdDate);
  form->addRow(QStringLiteral("Modalités"), EdModalites);
  auto* hours = new QHBoxLayout;
  hours->addWidget(EdHoraires1);
  hours->addWidget(EdHoraires2);
  form->addRow(QStringLiteral("Horaires"), hours);
  form->addRow(QStringLiteral("Avertissement"), EdAvertissement);
  form->addRow(QStringLiteral("Arbitre"), EdArbitre);
  form->addRow(QStringLiteral("Divers"), EdDivers);
  form->addRow(QStringLiteral("Pied de page"), EdPied);

  WebBrowser = new QTextBrowser(TabInternet);
  WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
  WebBrowser->setOpenLinks(false);
  auto* web = new QVBoxLayout(TabInternet);
  web->setContentsMargins(0, 0, 0, 0);
  web->addWidget(WebBrowser);

  GbInscrits = new QGroupBox(QStringLiteral("Liste des inscrits"), this);
  GbInscrits->setObjectName(QStringLiteral("GbInscrits"));
  BtRecuperation =
      NamedButton(GbInscrits, QStringLiteral("Récupération du fichier htm de l'espace licencié"),
                  "BtRecuperation");
  BtEnregistrerInscrits =
      NamedButton(GbInscrits, QStringLiteral("Enregistrer"), "BtEnregistrerInscrits");
  BtOuvrirInscrits = NamedButton(GbInscrits, QStringLiteral("Ouvrir"), "BtOuvrirInscrits");
  GbInscrits->setMinimumWidth(BtRecuperation->sizeHint().width() + 40);
  auto* list = new QVBoxLayout(GbInscrits);
  list->addWidget(BtRecuperation);
  auto* listFiles = new QHBoxLayout;
  listFiles->addWidget(BtEnregistrerInscrits);
  listFiles->addWidget(BtOuvrirInscrits);
  list->addLayout(listFiles);

  GbEntete = new QGroupBox(QStringLiteral("En-tête "), this);
  GbEntete->setObjectName(QStringLiteral("GbEntete"));
  BtEnregistrerEntete = NamedButton(GbEntete, QStringLiteral("Enregistrer"), "BtEnregistrerEntete");
  BtOuvrirEntete = NamedButton(GbEntete, QStringLiteral("Ouvrir"), "BtOuvrirEntete");
  auto* header = new QHBoxLayout(GbEntete);
  header->addWidget(BtEnregistrerEntete);
  header->addWidget(BtOuvrirEntete);

  CbLicencies = new QCheckBox(QStringLiteral("Des  Licenciés"), this);
  CbLicencies->setObjectName(QStringLiteral("CbLicencies"));
  CbCopieCache = new QCheckBox(QStringLiteral("CopieCaché"), this);
  CbCopieCache->setObjectName(QStringLiteral("CbCopieCache"));
  LbParGroupe = new QLabel(QStringLiteral("Par groupe de : "), this);
  SpParGroupe = new QSpinBox(this);
  SpParGroupe->setObjectName(QStringLiteral("SpParGroupe"));
  SpParGroupe->setRange(1, 50);
  SpParGroupe->setSingleStep(5);
  SpParGroupe->setValue(50);
  LbParGroupe->setBuddy(SpParGroupe);
  BtEdition = NamedButton(this, QStringLiteral("Edition"), "BtEdition");
  BtCourriels = NamedButton(this, QStringLiteral("Courriels ->"), "BtCourriels");
  BtModification = NamedButton(this, QStringLiteral("Modification"), "BtModification");
  BtQuitter = NamedButton(this, QStringLiteral("Quitter"), "BtQuitter");

  auto* side = new QVBoxLayout;
  side->addWidget(GbInscrits);
  side->addWidget(GbEntete);
  side->addSpacing(8);
  side->addWidget(BtEdition);
  auto* mail = new QGroupBox(QStringLiteral("Courriels"), this);
  auto* mailLayout = new QVBoxLayout(mail);
  mailLayout->addWidget(CbLicencies);
  mailLayout->addWidget(CbCopieCache);
  auto* count = new QHBoxLayout;
  count->addWidget(LbParGroupe);
  count->addWidget(SpParGroupe);
  mailLayout->addLayout(count);
  mailLayout->addWidget(BtCourriels);
  side->addWidget(mail);
  side->addStretch(1);
  side->addWidget(BtModification);
  side->addWidget(BtQuitter);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(PageControl, 1);
  layout->addLayout(side);

  setListButtonsEnabled(false);

  connect(BtRecuperation, &QPushButton::clicked, this, &TFichFConvoc::onRecuperation);
  connect(BtEnregistrerInscrits, &QPushButton::clicked, this, &TFichFConvoc::onEnregistrerInscrits);
  connect(BtOuvrirInscrits, &QPushButton::clicked, this, &TFichFConvoc::onOuvrirInscrits);
  connect(BtEnregistrerEntete, &QPushButton::clicked, this, &TFichFConvoc::onEnregistrerEntete);
  connect(BtOuvrirEntete, &QPushButton::clicked, this, &TFichFConvoc::onOuvrirEntete);
  connect(BtDateDuJour, &QPushButton::clicked, this, &TFichFConvoc::onDateDuJour);
  connect(BtEdition, &QPushButton::clicked, this, &TFichFConvoc::onEdition);
  connect(BtCourriels, &QPushButton::clicked, this, &TFichFConvoc::onCourriels);
  connect(BtModification, &QPushButton::clicked, this, &TFichFConvoc::onModification);
  connect(BtQuitter, &QPushButton::clicked, this, &Screen::quit);

  resize(900, 520);
}

std::array<QLineEdit*, competitions::kEventFieldCount> TFichFConvoc::headerFields() const {
  return {EdSaison,    EdResponsable, EdPublication, EdEpreuve,       EdPrix,    EdPhase,  EdDate,
          EdModalites, EdHoraires1,   EdHoraires2,   EdAvertissement, EdArbitre, EdDivers, EdPied};
}

competitions::EventData TFichFConvoc::eventData() const {
  competitions::EventData data;
  const auto fields = headerFields();
  for (std::size_t i = 0; i < fields.size(); ++i) data[i] = FromQString(fields[i]->text());
  return data;
}

void TFichFConvoc::setEventData(const competitions::EventData& data) {
  const auto fields = headerFields();
  for (std::size_t i = 0; i < fields.size(); ++i) fields[i]->setText(ToQString(data[i]));
}

void TFichFConvoc::activated() {
  m_mode = competitions::ModeFromCaption(FromQString(windowTitle()));
  PageControl->setCurrentWidget(TabPresentation);
  m_currentFile.clear();
  // Without a current list nothing can be printed, mailed or saved again: the buttons say so
  // until a list is opened.
  setListButtonsEnabled(false);
}

QString TFichFConvoc::yearFolder() const { return PathToQString(settings().exerciseFolder()); }

void TFichFConvoc::loadTemplate() {
  reports::SetUpReport(m_report, request(m_mode), settings().programFolder,
                       competitions::ConvocationVariables(m_mode));
}

void TFichFConvoc::setListButtonsEnabled(bool enabled) {
  BtEnregistrerInscrits->setEnabled(enabled);
  BtEdition->setEnabled(enabled);
  BtCourriels->setEnabled(enabled);
}

void TFichFConvoc::setCurrentFile(const std::filesystem::path& path, ListKind list) {
  m_currentFile = path;
  setListButtonsEnabled(true);
  GbInscrits->setTitle(
      QString::fromUtf8(list == ListKind::kGroup ? kGroupCaption : kCompetitionCaption));
}

void TFichFConvoc::showInWebView(const std::filesystem::path& path) {
  PageControl->setCurrentWidget(TabInternet);
  WebBrowser->setVisible(true);
  WebBrowser->setHtml(QString::fromUtf8(ReadBytes(path)));
}

void TFichFConvoc::onRecuperation() {
  PageControl->setCurrentWidget(TabInternet);
  WebBrowser->setVisible(true);
#ifdef Q_OS_WIN
  const QString start = QStringLiteral("C:/");
#else
  const QString start = QDir::homePath();
#endif
  const auto chosen = desktop().openFileName(
      this, QStringLiteral("Récupération page Internet "), start,
      QtFileFilter(QStringLiteral("Enregister sous (FFB - Espace Licencié.htm)|*.htm;*.html")));
  if (!chosen) return;
  runCommand([&] {
    Lines page;
    competitions::PageKinds kinds;
    {
      BusyGuard busy(this);
      page = competitions::ReadRegistrantPage(
          PathFromQString(OpenedFileName(*chosen, QStringLiteral("htm"))));
      kinds = competitions::RecognizePage(page);
    }
    if (kinds.group) {
      m_registrants = competitions::ExtractRegistrants(page, ListKind::kGroup);
      saveExtract(ListKind::kGroup);
    }
    if (kinds.competition) {
      m_registrants = competitions::ExtractRegistrants(page, ListKind::kCompetition);
      saveExtract(ListKind::kCompetition);
    }
  });
}

void TFichFConvoc::saveExtract(ListKind list) {
  const bool group = list == ListKind::kGroup;
  QString title;
  if (group) {
    title = teams() ? QStringLiteral("Sauvegarde des équipes du groupe ")
                    : QStringLiteral("Sauvegarde des paires du groupe ");
  } else {
    title = teams() ? QStringLiteral("Sauvegarde des équipe de la compétition ")
                    : QStringLiteral("Sauvegarde des paires de la compétition ");
  }
  const QString extension =
      QString::fromStdString(competitions::RegistrantExtension(m_mode, list).substr(1));
  const QString filter = QStringLiteral("au groupe (*.%1)|*.%1").arg(extension);
  const auto chosen = desktop().saveFileName(this, title, yearFolder(), QtFileFilter(filter));
  if (!chosen) return;
  const auto path = PathFromQString(WithDefaultExtension(*chosen, extension));
  WriteLines(path, m_registrants);
  setCurrentFile(path, list);
  showInWebView(path);
}

void TFichFConvoc::onEnregistrerInscrits() {
  if (m_currentFile.empty()) return;
  const auto kind = competitions::RegistrantKindOf(m_currentFile);
  if (!kind) return;
  const bool group = kind->list == ListKind::kGroup;
  const QString extension =
      QString::fromStdString(competitions::RegistrantExtension(m_mode, kind->list).substr(1));
  const QString title = group ? QStringLiteral("Sauvegarde des inscrits du groupe")
                              : QStringLiteral("Sauvegarde des inscrits de la compétition");
  const QString filter = (group ? QStringLiteral("au groupe (*.%1)|*.%1")
                                : QStringLiteral("à la compétition (*.%1)|*.%1"))
                             .arg(extension);
  const auto chosen =
      desktop().saveFileName(this, title, PathToQString(m_currentFile), QtFileFilter(filter));
  if (!chosen) return;
  runCommand([&] {
    const auto path = PathFromQString(WithDefaultExtension(*chosen, extension));
    WriteLines(path, m_registrants);
    m_currentFile = path;
  });
}

void TFichFConvoc::onOuvrirInscrits() {
  const QString filter =
      teams() ? QStringLiteral("inscrit du groupe(*.Qug) ou de la compétition (*.Quc)|*.Qug;*.Quc")
              : QStringLiteral("inscrit du groupe(*.Pag) ou de la compétition (*.Pac)|*.Pag;*.Pac");
  const auto chosen = desktop().openFileName(this, QStringLiteral("Restauration des inscrits"),
                                             yearFolder(), QtFileFilter(filter));
  if (!chosen) return;
  const auto path = PathFromQString(*chosen);
  const auto list = competitions::AcceptedListKind(path, m_mode);
  if (!list) return;
  runCommand([&] {
    Lines lines = ReadLines(path);
    m_registrants = std::move(lines);
    setCurrentFile(path, *list);
    showInWebView(path);
  });
}

void TFichFConvoc::onEnregistrerEntete() {
  const QString extension = QString::fromStdString(competitions::EventDataExtension(m_mode));
  const auto chosen =
      desktop().saveFileName(this, QStringLiteral("Sauvegarde des données "), yearFolder(),
                             QtFileFilter(QStringLiteral("au groupe (*.%1)|*.%1").arg(extension)));
  if (!chosen) return;
  runCommand([&] {
    competitions::WriteEventData(PathFromQString(WithDefaultExtension(*chosen, extension)),
                                 eventData());
  });
}

void TFichFConvoc::onOuvrirEntete() {
  const QString extension = QString::fromStdString(competitions::EventDataExtension(m_mode));
  const auto chosen = desktop().openFileName(
      this, QStringLiteral("Restauration des données"),
      yearFolder() + QStringLiteral("/*.") + extension,
      QtFileFilter(QStringLiteral("à la compétition (*.%1)|*.%1").arg(extension)));
  if (!chosen) return;
  runCommand([&] {
    setEventData(competitions::ReadEventData(PathFromQString(OpenedFileName(*chosen, extension))));
    PageControl->setCurrentWidget(TabPresentation);
  });
}

void TFichFConvoc::onDateDuJour() {
  EdPublication->setText(QStringLiteral("Fait le ") +
                         QString::fromStdString(FormatDate(desktop().today())));
}

std::optional<competitions::ConvocationScan> TFichFConvoc::scan() {
  std::optional<ListKind> list;
  if (const auto kind = competitions::RegistrantKindOf(m_currentFile)) list = kind->list;
  if (!list || m_registrants.size() < 20) return std::nullopt;
  const Lines members = members::ReadMemberFile(settings().exerciseFolder());
  competitions::ConvocationScan result = competitions::ScanRegistrants(
      m_registrants, list, {m_mode, CbLicencies->isChecked()}, members);
  if (!result.ran) return std::nullopt;
  if (result.truncatedAt) {
    ask(platform::MessageKind::kWarning,
        QStringLiteral("La liste des inscrits est incomplète : elle s'arrête dans "
                       "l'inscription n° %1.\r\rSeules les inscriptions précédentes sont reprises.")
            .arg(*result.truncatedAt),
        {platform::Button::kOk});
  }
  return result;
}

void TFichFConvoc::onEdition() {
  runCommand([&] {
    auto result = scan();
    if (!result) return;
    m_entries = std::move(result->entries);
    loadTemplate();
    m_report.ShowReport();
  });
}

void TFichFConvoc::onCourriels() {
  runCommand([&] {
    const auto result = scan();
    if (!result || result->mail.empty()) return;
    AskToChooseMailAccount(this, desktop());
    for (const std::string& batch : competitions::MailBatches(result->mail, SpParGroupe->value())) {
      OpenMailClient(this, desktop(),
                     competitions::ConvocationMailLink(batch, CbCopieCache->isChecked()));
    }
  });
}

void TFichFConvoc::onModification() {
  loadTemplate();
  m_report.DesignReport();
}

ReportRequest TFichFConvoc::request(ConvocationMode mode) const {
  return competitions::ConvocationReport(mode, eventData(), m_entries);
}

reports::Value TFichFConvoc::valueOf(const QString& name, int record) const {
  return m_report.values().answer(name, record, m_report.RangeEndCount());
}

}  // namespace vantrel
