#include "platform/wait_cursor.h"

#include <QApplication>
#include <QCursor>

namespace vantrel {

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace vantrel
