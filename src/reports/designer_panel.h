#pragma once

#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "reports/report_template.h"

class QDoubleSpinBox;

namespace vantrel::reports {

// What is selected on the designer's canvas: items as (band index, item index) and bands,
// both in order. The band of a selected item counts as selected when no band strip is.
struct DesignerSelection {
  std::vector<std::pair<int, int>> items;
  std::vector<int> bands;
};

// What a property panel of the designer edits through: the template being designed, what
// is selected, and the undoable steps. The designer is one; the panels' tests hold another.
class TemplateEditor {
 public:
  virtual ~TemplateEditor() = default;

  virtual const ReportTemplate& editedTemplate() const = 0;
  virtual DesignerSelection selection() const = 0;
  // Names offered by "Insérer": (name, label shown).
  virtual std::vector<std::pair<QString, QString>> knownNames() const = 0;
  // Applies `edit` to a copy of the template as one undoable step named `what`; no step
  // when the copy is unchanged. The canvas and the panels then show the new template.
  virtual void change(const QString& what, const std::function<void(ReportTemplate&)>& edit) = 0;
  // The same for text typed into a box: steps of the same `mergeKey` one after the other
  // merge into one, and only the canvas follows, so that the box keeps its cursor.
  virtual void type(const QString& what, const QString& mergeKey,
                    const std::function<void(ReportTemplate&)>& edit) = 0;
};

// A length box of the panels, in millimetres, sending its value once typed in.
QDoubleSpinBox* MmBox(double minimum, double maximum, int decimals = 1);

}  // namespace vantrel::reports
