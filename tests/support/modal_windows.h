#pragma once

#include <QStringList>
#include <functional>

class QWidget;

namespace vantrel::testing {

// Runs action; every modal window it opens is handed to inspect (when given), then closed.
// Returns the titles of the windows seen, in order.
QStringList WithModals(const std::function<void()>& action,
                       const std::function<void(QWidget*)>& inspect = {});

}  // namespace vantrel::testing
