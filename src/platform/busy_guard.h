#pragma once

#include <QPointer>
#include <QWidget>
#include <initializer_list>
#include <vector>

#include "platform/wait_cursor.h"

namespace vantrel {

// While long work runs: the wait cursor shows and the given controls are disabled, so that no
// click lands in the middle of it. Destroyed (work done or failed), it restores the previous
// cursor and enables again exactly the controls that were enabled before.
//   BusyGuard busy({Bt_Ajouter, Bt_Supprimer});
//   BusyGuard busy(this);  // the whole screen
class BusyGuard {
 public:
  explicit BusyGuard(std::initializer_list<QWidget*> controls);
  explicit BusyGuard(QWidget* control) : BusyGuard({control}) {}
  ~BusyGuard();
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  WaitCursor m_cursor;
  std::vector<QPointer<QWidget>> m_disabled;
};

}  // namespace vantrel
