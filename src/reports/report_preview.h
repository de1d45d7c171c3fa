#pragma once

#include <QDialog>
#include <functional>

#include "reports/prepared_report.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace vantrel::platform {
class Platform;
}

namespace vantrel::reports {

class PageView;

// The modal preview of prepared pages: navigation, zoom and fit, print, save as PDF or as a
// CSV table of the printed records. Pages are drawn as they come into view. A report that
// could not be prepared shows why instead of pages; warnings met while preparing are
// listed above the pages.
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
  void saveAsCsv();

  QPushButton* printButton() const { return m_print; }
  QPushButton* pdfButton() const { return m_pdf; }
  QPushButton* csvButton() const { return m_csv; }
  QLabel* messageLabel() const { return m_messages; }
  PageView* pageView() const { return m_view; }

  // Called once the first page shows (or at once when there is none to show).
  void setOnFirstPaint(std::function<void()> done);

 private:
  void applyZoom(int index);
  void refreshPageBox();

  PreparedReport m_report;
  platform::Platform& m_platform;
  PageView* m_view = nullptr;
  QSpinBox* m_page = nullptr;
  QLabel* m_pageCount = nullptr;
  QComboBox* m_zoom = nullptr;
  QPushButton* m_print = nullptr;
  QPushButton* m_pdf = nullptr;
  QPushButton* m_csv = nullptr;
  QLabel* m_messages = nullptr;
};

// "Compte: 5300 Banque" -> "Compte 5300 Banque.pdf": a title made safe as a file name.
QString PdfFileNameFor(const QString& title);
// The same with ".csv".
QString CsvFileNameFor(const QString& title);

}  // namespace vantrel::reports
