#pragma once

#include <QObject>
#include <QPushButton>
#include <functional>

namespace vantrel {

// The four browsing buttons of a record screen: "Premier", "Précédant", "Suivant", "Dernier".
struct BrowseButtons {
  QPushButton* first;
  QPushButton* previous;
  QPushButton* next;
  QPushButton* last;
};

// Each button steps list (its first(), previous(), next() or last()) and then calls refresh.
// When mayLeave is given, it runs first and the step happens only when it returns true (the
// screen may ask what becomes of the edits of the record shown). list must outlive context.
template <class List>
void ConnectBrowseButtons(const BrowseButtons& buttons, QObject* context, List& list,
                          const std::function<void()>& refresh,
                          const std::function<bool()>& mayLeave = {}) {
  const auto step = [&list, refresh, mayLeave](void (List::*move)()) {
    return [&list, refresh, mayLeave, move] {
      if (mayLeave && !mayLeave()) return;
      (list.*move)();
      refresh();
    };
  };
  QObject::connect(buttons.first, &QPushButton::clicked, context, step(&List::first));
  QObject::connect(buttons.previous, &QPushButton::clicked, context, step(&List::previous));
  QObject::connect(buttons.next, &QPushButton::clicked, context, step(&List::next));
  QObject::connect(buttons.last, &QPushButton::clicked, context, step(&List::last));
}

}  // namespace vantrel
