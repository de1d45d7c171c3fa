#include "accounting/books_screen.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "accounting/report_variables.h"
#include "platform/busy_guard.h"
#include "platform/text.h"
#include "reports/report_request_bridge.h"
#include "reports/value_table.h"

namespace vantrel {

TFichFGLiv::TFichFGLiv(AppContext& context, QWidget* parent)
    : Screen(context, parent), m_report(context.platform, this) {
  setObjectName(QStringLiteral("TFichFGLiv"));
  setWindowTitle(QStringLiteral("Edition du Grand Livre"));
  showReport = [](reports::Report& report) { report.ShowReport(); };

  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(false);
  ComboBox1->setMinimumWidth(380);
  ComboBox1->setMaxVisibleItems(25);
  ComboBox1->installEventFilter(this);

  const auto makeButton = [this](const QString& caption, const char* name) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    return button;
  };
  Bt_Editer = makeButton(QStringLiteral("Editer"), "Bt_Editer");
  Bt_EditerBalance = makeButton(QStringLiteral("Editer Balance"), "Bt_EditerBalance");
  Bt_EditerPlan = makeButton(QStringLiteral("Editer Plan Comptable Usité"), "Bt_EditerPlan");
  BtQuitte = makeButton(QStringLiteral("Quitter"), "BtQuitte");
  connect(Bt_Editer, &QPushButton::clicked, this, &TFichFGLiv::onEdit);
  connect(Bt_EditerBalance, &QPushButton::clicked, this, &TFichFGLiv::onEditTrialBalance);
  connect(Bt_EditerPlan, &QPushButton::clicked, this, &TFichFGLiv::onEditAccountsInUse);
  connect(BtQuitte, &QPushButton::clicked, this, &TFichFGLiv::quit);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Livre ou compte à éditer :"), this));
  auto* row = new QHBoxLayout;
  row->addWidget(ComboBox1, 1);
  row->addWidget(Bt_Editer);
  layout->addLayout(row);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Bt_EditerBalance);
  buttons->addWidget(Bt_EditerPlan);
  buttons->addStretch(1);
  buttons->addWidget(BtQuitte);
  layout->addSpacing(12);
  layout->addLayout(buttons);
}

void TFichFGLiv::setMode(int mode) {
  m_mode = mode;
  m_automaticDone = mode == kLedgerMode;
}

const accounting::BooksContext& TFichFGLiv::books() {
  if (!m_books) {
    const Settings& current = settings();
    m_books = accounting::LoadBooks(current.exerciseFolder(), current.entity, current.exercise);
  }
  return *m_books;
}

void TFichFGLiv::activated() {
  m_books.reset();
  ComboBox1->clear();
  const bool loaded = runCommand([this] {
    BusyGuard busy(this);
    for (const auto& item : accounting::BookItems(books().accountsInUse)) {
      ComboBox1->addItem(ToQString(item));
    }
    ComboBox1->setCurrentIndex(0);
  });
  if (!loaded || m_automaticDone) return;
  // The report opens once the activation is over, its preview being a window of its own.
  QTimer::singleShot(0, this, &TFichFGLiv::printAutomaticReport);
}

void TFichFGLiv::printAutomaticReport() {
  if (m_automaticDone) return;
  if (m_mode == kTrialBalanceMode) onEditTrialBalance();
  if (m_mode == kAccountsInUseMode) onEditAccountsInUse();
  m_automaticDone = true;
}

void TFichFGLiv::deactivated() { m_books.reset(); }

void TFichFGLiv::print(const std::function<ReportRequest(const accounting::BooksContext&)>& build) {
  m_automaticDone = true;
  runCommand([&] {
    std::optional<ReportRequest> request;
    {
      BusyGuard busy(this);
      request = build(books());
    }
    m_report.setDeclaration(reports::FindTemplateVariables(accounting::ReportVariables(),
                                                           ToQString(request->templateFile)));
    if (reports::SetUpReport(m_report, *request, settings().programFolder)) showReport(m_report);
  });
}

void TFichFGLiv::onEdit() {
  const int index = ComboBox1->currentIndex();
  if (index <= 0) {
    print([](const accounting::BooksContext& books) { return accounting::JournalReport(books); });
  } else {
    const std::string item = FromQString(ComboBox1->currentText());
    print([&item](const accounting::BooksContext& books) {
      return accounting::LedgerReport(books, item);
    });
  }
  ComboBox1->setFocus();
}

void TFichFGLiv::onEditTrialBalance() {
  print(
      [](const accounting::BooksContext& books) { return accounting::TrialBalanceReport(books); });
}

void TFichFGLiv::onEditAccountsInUse() {
  print(
      [](const accounting::BooksContext& books) { return accounting::AccountsInUseReport(books); });
}

bool TFichFGLiv::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ComboBox1 && event->type() == QEvent::MouseButtonDblClick) {
    onEdit();
    return true;
  }
  return Screen::eventFilter(watched, event);
}

}  // namespace vantrel
