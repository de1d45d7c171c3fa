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
// list must outlive context.
template <class List>
void ConnectBrowseButtons(const BrowseButtons& buttons, QObject* context, List& list,
                          const std::function<void()>& refresh) {
  const auto step = [&list, refresh](void (List::*move)()) {
    return [&list, refresh, move] {
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
