#pragma once

#include <QDialog>

#include "reports/prepared_report.h"

class QComboBox;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;
class QSpinBox;

namespace vantrel::platform {
class Platform;
}

namespace vantrel::reports {

// The modal preview of prepared pages: navigation, zoom and fit, print, save as PDF. A
// report that could not be prepared shows why instead of pages; warnings met while
// preparing are listed above the pages.
class ReportPreview : public QDialog {
  Q_OBJECT

 public:
  ReportPreview(PreparedReport report, platform::Platform& platform, QWidget* parent);
  ~ReportPreview() override;

  int pageCount() const { return static_cast<int>(m_report.pages.size()); }
  int currentPage() const;
  void goToPage(int page);

  // The toolbar's commands.
  void printReport();
  void saveAsPdf();

  QPushButton* printButton() const { return m_print; }
  QPushButton* pdfButton() const { return m_pdf; }
  QLabel* messageLabel() const { return m_messages; }

 private:
  void paintPages(QPrinter* printer);
  void applyZoom(int index);
  void refreshPageBox();

  PreparedReport m_report;
  platform::Platform& m_platform;
  QPrinter* m_previewPrinter = nullptr;
  QPrintPreviewWidget* m_view = nullptr;
  QSpinBox* m_page = nullptr;
  QLabel* m_pageCount = nullptr;
  QComboBox* m_zoom = nullptr;
  QPushButton* m_print = nullptr;
  QPushButton* m_pdf = nullptr;
  QLabel* m_messages = nullptr;
};

// "Compte: 5300 Banque" -> "Compte 5300 Banque.pdf": a title made safe as a file name.
QString PdfFileNameFor(const QString& title);

}  // namespace vantrel::reports
