#include "reports/report_designer.h"
#include "reports/report.h"
namespace vantrel::reports {
ReportDesigner::ReportDesigner(Report& report, platform::Platform& platform, QWidget* parent)
    : QDialog(parent), m_report(report), m_platform(platform) {}
}
