#include "reports/report_preview.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/platform.h"
#include "platform/window_fit.h"
#include "reports/page_render.h"
#include "reports/page_view.h"
#include "reports/print_pages.h"
#include "reports/report.h"
#include "reports/report_csv.h"

namespace vantrel::reports {
namespace {

struct ZoomChoice {
  const char* label;
  double factor;  // 0: fit the whole page, -1: fit the width
};
// Warnings listed above the pages; the others are counted.
constexpr int kShownWarnings = 8;

constexpr ZoomChoice kZoomChoices[] = {{"Page entière", 0}, {"Pleine largeur", -1}, {"50 %", 0.5},
                                       {"75 %", 0.75},      {"100 %", 1.0},         {"150 %", 1.5},
                                       {"200 %", 2.0}};

QToolButton* NavigationButton(const QString& text, const QString& tip, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  button->setToolTip(tip);
  button->setAutoRaise(true);
  return button;
}

}  // namespace

ReportPreview::ReportPreview(PreparedReport report, platform::Platform& platform, QWidget* parent)
    : QDialog(parent), m_report(std::move(report)), m_platform(platform) {
  setWindowTitle(QString::fromUtf8(kEngineCaption) + QStringLiteral(" - ") + m_report.title);
  setModal(true);

  auto* first = NavigationButton(QStringLiteral("|◀"), QStringLiteral("Première page"), this);
  auto* previous = NavigationButton(QStringLiteral("◀"), QStringLiteral("Page précédente"), this);
  auto* next = NavigationButton(QStringLiteral("▶"), QStringLiteral("Page suivante"), this);
  auto* last = NavigationButton(QStringLiteral("▶|"), QStringLiteral("Dernière page"), this);
  m_page = new QSpinBox(this);
  m_page->setRange(pageCount() > 0 ? 1 : 0, std::max(1, pageCount()));
  m_pageCount = new QLabel(QStringLiteral("sur %1").arg(pageCount()), this);
  m_zoom = new QComboBox(this);
  for (const ZoomChoice& choice : kZoomChoices) m_zoom->addItem(QString::fromUtf8(choice.label));
  m_print = new QPushButton(QStringLiteral("&Imprimer…"), this);
  m_pdf = new QPushButton(QStringLiteral("Enregistrer en &PDF…"), this);
  m_csv = new QPushButton(QStringLiteral("Enregistrer en &CSV…"), this);
  m_csv->setToolTip(QStringLiteral("Les lignes imprimées, une colonne par texte, pour un tableur"));
  auto* close = new QPushButton(QStringLiteral("&Fermer"), this);

  auto* bar = new QHBoxLayout;
  bar->addWidget(first);
  bar->addWidget(previous);
  bar->addWidget(new QLabel(QStringLiteral("Page"), this));
  bar->addWidget(m_page);
  bar->addWidget(m_pageCount);
  bar->addWidget(next);
  bar->addWidget(last);
  bar->addSpacing(16);
  bar->addWidget(new QLabel(QStringLiteral("Zoom"), this));
  bar->addWidget(m_zoom);
  bar->addStretch();
  bar->addWidget(m_print);
  bar->addWidget(m_pdf);
  bar->addWidget(m_csv);
  bar->addWidget(close);

  m_messages = new QLabel(this);
  m_messages->setWordWrap(true);
  m_messages->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QStringList lines;
  if (!m_report.errors.isEmpty()) {
    m_messages->setStyleSheet(
        QStringLiteral("QLabel { color: #a00000; background: #fff0f0; "
                       "padding: 6px; }"));
    lines << QStringLiteral("L'état ne peut pas être préparé :") << m_report.errors;
  } else if (!m_report.warnings.isEmpty()) {
    m_messages->setStyleSheet(
        QStringLiteral("QLabel { color: #805000; background: #fff8e0; "
                       "padding: 6px; }"));
    lines << QStringLiteral("Avertissements du modèle :")
          << m_report.warnings.mid(0, kShownWarnings);
    if (m_report.warnings.size() > kShownWarnings) {
      lines << QStringLiteral("… et %1 autre(s)").arg(m_report.warnings.size() - kShownWarnings);
    }
  }
  m_messages->setText(lines.join(QLatin1Char('\n')));
  m_messages->setVisible(!lines.isEmpty());

  m_view = new PageView(m_report, this);
  connect(m_view, &PageView::currentPageChanged, this, &ReportPreview::refreshPageBox);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(m_messages);
  layout->addWidget(m_view, 1);

  bool hasPages = pageCount() > 0;
  for (QWidget* w :
       {static_cast<QWidget*>(first), static_cast<QWidget*>(previous), static_cast<QWidget*>(next),
        static_cast<QWidget*>(last), static_cast<QWidget*>(m_page), static_cast<QWidget*>(m_zoom),
        static_cast<QWidget*>(m_print), static_cast<QWidget*>(m_pdf),
        static_cast<QWidget*>(m_csv)}) {
    w->setEnabled(hasPages);
  }
  m_view->setVisible(hasPages);
  if (!hasPages) layout->addStretch();

  connect(first, &QToolButton::clicked, this, [this] { goToPage(1); });
  connect(previous, &QToolButton::clicked, this, [this] { goToPage(currentPage() - 1); });
  connect(next, &QToolButton::clicked, this, [this] { goToPage(currentPage() + 1); });
  connect(last, &QToolButton::clicked, this, [this] { goToPage(pageCount()); });
  connect(m_page, &QSpinBox::valueChanged, this, [this](int page) {
    if (page != currentPage()) m_view->setCurrentPage(page);
  });
  connect(m_zoom, &QComboBox::currentIndexChanged, this, &ReportPreview::applyZoom);
  connect(m_print, &QPushButton::clicked, this, &ReportPreview::printReport);
  connect(m_pdf, &QPushButton::clicked, this, &ReportPreview::saveAsPdf);
  connect(m_csv, &QPushButton::clicked, this, &ReportPreview::saveAsCsv);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto key = [this](QKeySequence sequence, auto action) {
    connect(new QShortcut(sequence, this), &QShortcut::activated, this, action);
  };
  key(QKeySequence(Qt::Key_PageDown), [this] { goToPage(currentPage() + 1); });
  key(QKeySequence(Qt::Key_PageUp), [this] { goToPage(currentPage() - 1); });
  key(QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { goToPage(1); });
  key(QKeySequence(Qt::CTRL | Qt::Key_End), [this] { goToPage(pageCount()); });
  m_print->setShortcut(QKeySequence::Print);
  m_csv->setEnabled(hasPages && !m_report.tableHeader.isEmpty());
  // A page standing upright, as tall as the screen allows: "Page entière" then shows it all.
  FitAndCentre(*this, {900, 1000});
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::setOnFirstPaint(std::function<void()> done) {
  if (pageCount() == 0) {
    if (done) done();
    return;
  }
  m_view->onFirstPaint = std::move(done);
}

int ReportPreview::currentPage() const { return m_view->currentPage(); }

void ReportPreview::goToPage(int page) {
  if (pageCount() == 0) return;
  m_view->setCurrentPage(std::clamp(page, 1, pageCount()));
  refreshPageBox();
}

void ReportPreview::refreshPageBox() {
  QSignalBlocker block(m_page);
  m_page->setValue(m_view->currentPage());
}

void ReportPreview::applyZoom(int index) {
  double factor = kZoomChoices[index].factor;
  if (factor == 0) {
    m_view->setZoom(PageView::Zoom::kFitPage);
  } else if (factor < 0) {
    m_view->setZoom(PageView::Zoom::kFitWidth);
  } else {
    m_view->setZoom(PageView::Zoom::kFactor, factor);
  }
}

void ReportPreview::printReport() {
  QPrinter printer(QPrinter::HighResolution);
  ApplyPageSetup(printer, m_report.page);
  printer.setDocName(m_report.title);
  printer.setFromTo(1, pageCount());
  if (!m_platform.choosePrinter(this, printer)) return;
  // The template's paper stands even if the dialog offered another one (envelopes).
  ApplyPageSetup(printer, m_report.page);
  int from = 0;
  int to = 0;
  if (printer.printRange() == QPrinter::PageRange) {
    from = printer.fromPage();
    to = printer.toPage();
  } else if (printer.printRange() == QPrinter::CurrentPage) {
    from = to = currentPage();
  }
  PrintPages(m_report, printer, from, to);
}

void ReportPreview::saveAsPdf() {
  std::optional<QString> path = m_platform.saveFileName(this, QStringLiteral("Enregistrer en PDF"),
                                                        PdfFileNameFor(m_report.title),
                                                        QStringLiteral("Documents PDF (*.pdf)"));
  if (!path) return;
  QString target = *path;
  if (!target.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
    target += QStringLiteral(".pdf");
  QString error;
  if (!WritePdfFile(m_report, target, &error)) {
    m_platform.message(this, platform::MessageKind::kError, error, {platform::Button::kOk});
  }
}

void ReportPreview::saveAsCsv() {
  std::optional<QString> path = m_platform.saveFileName(this, QStringLiteral("Enregistrer en CSV"),
                                                        CsvFileNameFor(m_report.title),
                                                        QStringLiteral("Tableaux CSV (*.csv)"));
  if (!path) return;
  QString target = *path;
  if (!target.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
    target += QStringLiteral(".csv");
  QString error;
  if (!WriteCsvFile(m_report, target, &error)) {
    m_platform.message(this, platform::MessageKind::kError, error, {platform::Button::kOk});
  }
}

QString CsvFileNameFor(const QString& title) {
  QString name = PdfFileNameFor(title);
  return name.left(name.size() - 4) + QStringLiteral(".csv");
}

QString PdfFileNameFor(const QString& title) {
  QString name = title;
  name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QString());
  name = name.simplified();
  if (name.isEmpty()) name = QStringLiteral("Etat");
  return name + QStringLiteral(".pdf");
}

}  // namespace vantrel::reports
