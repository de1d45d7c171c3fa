#pragma once

#include <QDialog>

#include "reports/report_template.h"

namespace vantrel::platform {
class Platform;
}

namespace vantrel::reports {

class Report;

class ReportDesigner : public QDialog {
  Q_OBJECT

 public:
  ReportDesigner(Report& report, platform::Platform& platform, QWidget* parent);
  bool saved() const { return m_saved; }

 private:
  Report& m_report;
  platform::Platform& m_platform;
  bool m_saved = false;
};

}  // namespace vantrel::reports
