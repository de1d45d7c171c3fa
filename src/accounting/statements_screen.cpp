#include "accounting/statements_screen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "accounting/report_variables.h"
#include "core/text_helpers.h"
#include "platform/busy_guard.h"
#include "platform/named_button.h"
#include "platform/text.h"
#include "reports/report_request_bridge.h"
#include "reports/value_table.h"

namespace vantrel {

namespace {

QLineEdit* MakeYearBox(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setReadOnly(true);
  edit->setMinimumWidth(220);
  return edit;
}

// The program folder as the folder dialog gives paths, with its closing separator.
std::string ProgramFolderText(const std::filesystem::path& programFolder) {
  std::string text = FromQString(PathToQString(programFolder));
  if (!text.empty() && text.back() != '/' && text.back() != '\\') text += '/';
  return text;
}

}  // namespace

TFichFTable::TFichFTable(AppContext& context, QWidget* parent)
    : Screen(context, parent), m_report(context.platform, this) {
  setObjectName(QStringLiteral("TFichFTable"));
  setWindowTitle(QStringLiteral("Edition des tableaux de résultat et de Bilan"));
  showReport = [](reports::Report& report) { report.ShowReport(); };

  Edit1 = MakeYearBox(this, "Edit1");
  Edit2 = MakeYearBox(this, "Edit2");
  Edit3 = MakeYearBox(this, "Edit3");
  Bt_Exercice1 = NamedButton(this, QStringLiteral("Exercice 1"), "Bt_Exercice1");
  Bt_Exercice1->setEnabled(false);
  Bt_Exercice2 = NamedButton(this, QStringLiteral("Exercice 2"), "Bt_Exercice2");
  Bt_Exercice3 = NamedButton(this, QStringLiteral("Exrecice 3"), "Bt_Exercice3");
  connect(Bt_Exercice2, &QPushButton::clicked, this, &TFichFTable::onChooseYear2);
  connect(Bt_Exercice3, &QPushButton::clicked, this, &TFichFTable::onChooseYear3);

  RadioGroup = new QGroupBox(QStringLiteral("Comptes"), this);
  RadioGroup->setObjectName(QStringLiteral("RadioGroup"));
  Rb_Normaux = new QRadioButton(QStringLiteral("Normaux"), RadioGroup);
  Rb_Detailles = new QRadioButton(QStringLiteral("Détaillés"), RadioGroup);
  Rb_Regroupes = new QRadioButton(QStringLiteral("Regroupés"), RadioGroup);
  Rb_Detailles->setChecked(true);
  auto* radios = new QVBoxLayout(RadioGroup);
  radios->addWidget(Rb_Normaux);
  radios->addWidget(Rb_Detailles);
  radios->addWidget(Rb_Regroupes);

  Bt_Resultat = NamedButton(this, QStringLiteral("Résultat"), "Bt_Resultat");
  Bt_Bilan = NamedButton(this, QStringLiteral("Bilan"), "Bt_Bilan");
  BtQuitte = NamedButton(this, QStringLiteral("Quitter"), "BtQuitte");
  connect(Bt_Resultat, &QPushButton::clicked, this, &TFichFTable::onIncomeStatement);
  connect(Bt_Bilan, &QPushButton::clicked, this, &TFichFTable::onBalanceSheet);
  connect(BtQuitte, &QPushButton::clicked, this, &TFichFTable::quit);

  auto* years = new QGridLayout;
  years->addWidget(Bt_Exercice1, 0, 0);
  years->addWidget(Edit1, 0, 1);
  years->addWidget(Bt_Exercice2, 1, 0);
  years->addWidget(Edit2, 1, 1);
  years->addWidget(Bt_Exercice3, 2, 0);
  years->addWidget(Edit3, 2, 1);
  auto* middle = new QHBoxLayout;
  middle->addLayout(years, 1);
  middle->addWidget(RadioGroup);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Bt_Resultat);
  buttons->addWidget(Bt_Bilan);
  buttons->addStretch(1);
  buttons->addWidget(BtQuitte);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(middle);
  layout->addSpacing(12);
  layout->addLayout(buttons);
}

void TFichFTable::setMode(int mode) {
  m_mode = mode;
  m_automaticDone = false;
}

accounting::Grouping TFichFTable::grouping() const {
  if (Rb_Normaux->isChecked()) return accounting::Grouping::kNormal;
  if (Rb_Regroupes->isChecked()) return accounting::Grouping::kGrouped;
  return accounting::Grouping::kDetailed;
}

const accounting::StatementTable& TFichFTable::table() {
  if (!m_table) {
    const accounting::StatementYears years = accounting::WithComparisonYears(
        settings(), FromQString(Edit2->text()), FromQString(Edit3->text()));
    m_table = accounting::LoadStatementTable(years, settings().entity);
  }
  return *m_table;
}

void TFichFTable::activated() {
  m_table.reset();
  Edit1->setText(ToQString(settings().exercise));
  Edit2->setText(ToQString(settings().exercise1));
  Edit3->setText(ToQString(settings().exercise2));
  const bool loaded = runCommand([this] {
    BusyGuard busy(this);
    table();
  });
  if (!loaded || m_automaticDone) return;
  // The report opens once the activation is over, its preview being a window of its own.
  QTimer::singleShot(0, this, &TFichFTable::printAutomaticReport);
}

void TFichFTable::printAutomaticReport() {
  if (m_automaticDone) return;
  if (m_mode == kIncomeStatementMode) onIncomeStatement();
  if (m_mode == kBalanceSheetMode) onBalanceSheet();
  m_automaticDone = true;
}

void TFichFTable::deactivated() { m_table.reset(); }

void TFichFTable::chooseYear(QLineEdit* edit) {
  runCommand([&] {
    const std::filesystem::path programFolder = settings().programFolder;
    const std::optional<QString> chosen = desktop().folderName(
        this, QStringLiteral("Changement de l'exercice "), PathToQString(programFolder));
    if (!chosen) return;
    // A folder inside the program folder is kept by its name there; one elsewhere whole.
    const std::string folder = FromQString(*chosen);
    const std::string prefix = ProgramFolderText(programFolder);
    const std::string relative = StripProgramFolder(folder, prefix);
    const bool inside = folder.size() - relative.size() >= prefix.size();
    edit->setText(ToQString(inside ? relative : folder));
    context().settings.exercise1 = FromQString(Edit2->text());
    context().settings.exercise2 = FromQString(Edit3->text());
    accounting::SaveComparisonYears(settings());
    m_table.reset();
    BusyGuard busy(this);
    table();
  });
}

void TFichFTable::onChooseYear2() { chooseYear(Edit2); }

void TFichFTable::onChooseYear3() { chooseYear(Edit3); }

void TFichFTable::print(
    const std::function<ReportRequest(const accounting::StatementTable&)>& build) {
  m_automaticDone = true;
  runCommand([&] {
    std::optional<ReportRequest> request;
    {
      BusyGuard busy(this);
      request = build(table());
    }
    m_report.setDeclaration(reports::FindTemplateVariables(accounting::ReportVariables(),
                                                           ToQString(request->templateFile)));
    if (reports::SetUpReport(m_report, *request, settings().programFolder)) showReport(m_report);
  });
}

void TFichFTable::onIncomeStatement() {
  const accounting::Grouping chosen = grouping();
  print([chosen](const accounting::StatementTable& table) {
    return accounting::IncomeStatementReport(table, chosen);
  });
}

void TFichFTable::onBalanceSheet() {
  const accounting::Grouping chosen = grouping();
  print([chosen](const accounting::StatementTable& table) {
    return accounting::BalanceSheetReport(table, chosen);
  });
}

}  // namespace vantrel
