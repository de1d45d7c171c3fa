#include "reports/report_designer.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QSet>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QTransform>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/platform.h"
#include "platform/window_fit.h"
#include "reports/designer_band_panel.h"
#include "reports/designer_item_panel.h"
#include "reports/designer_page_panel.h"
#include "reports/designer_variables_panel.h"
#include "reports/expression.h"
#include "reports/report.h"
#include "reports/report_engine.h"
#include "reports/report_preview.h"

namespace vantrel::reports {

// One edit of the template, kept whole before and after (templates are small). Edits typed
// into the same text box one after the other merge into one step.
class TemplateCommand : public QUndoCommand {
 public:
  TemplateCommand(ReportDesigner& designer, const QString& text, ReportTemplate before,
                  ReportTemplate after, DesignerSelection selection, QString mergeKey)
      : QUndoCommand(text),
        m_designer(designer),
        m_before(std::move(before)),
        m_after(std::move(after)),
        m_selection(std::move(selection)),
        m_mergeKey(std::move(mergeKey)) {}

  void undo() override { m_designer.setTemplate(m_before, m_selection); }
  void redo() override {
    if (m_first) {
      m_first = false;  // the designer already shows the new template
      return;
    }
    m_designer.setTemplate(m_after, m_selection);
  }
  int id() const override { return m_mergeKey.isEmpty() ? -1 : 1; }
  bool mergeWith(const QUndoCommand* other) override {
    auto* next = static_cast<const TemplateCommand*>(other);
    if (next->m_mergeKey != m_mergeKey) return false;
    m_after = next->m_after;
    return true;
  }

 private:
  ReportDesigner& m_designer;
  ReportTemplate m_before;
  ReportTemplate m_after;
  DesignerSelection m_selection;
  QString m_mergeKey;
  bool m_first = true;
};

namespace {

constexpr double kStripGapPx = 14;

}  // namespace

ReportDesigner::ReportDesigner(Report& report, platform::Platform& platform, QWidget* parent)
    : QDialog(parent), m_report(report), m_platform(platform), m_path(report.templatePath()) {
  m_folder = QFileInfo(m_path).absolutePath();
  QString fileName =
      m_path.isEmpty() ? QStringLiteral("(nouveau modèle)") : QFileInfo(m_path).fileName();
  setWindowTitle(QStringLiteral("Concepteur d'états - %1").arg(fileName));
  setModal(true);

  m_undo = new QUndoStack(this);
  m_scene = new QGraphicsScene(this);
  m_view = new DesignerView(this);
  m_view->setScene(m_scene);
  m_view->setTransform(QTransform::fromScale(0.75, 0.75));
  m_message = new QLabel(this);
  m_message->setWordWrap(true);
  m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* layout = new QVBoxLayout(this);
  buildToolBar(layout);
  layout->addWidget(m_message);
  auto* splitter = new QSplitter(this);
  splitter->addWidget(m_view);
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(buildPanel());
  scroll->setWidgetResizable(true);
  scroll->setMinimumWidth(380);
  splitter->addWidget(scroll);
  splitter->setStretchFactor(0, 1);
  layout->addWidget(splitter, 1);

  connect(m_scene, &QGraphicsScene::selectionChanged, this, [this] {
    if (!m_refreshing) refreshPanel();
  });
  connect(m_view, &DesignerView::nudged, this, &ReportDesigner::nudge);
  connect(m_view, &DesignerView::deleteRequested, this, &ReportDesigner::deleteSelection);
  connect(m_view, &DesignerView::editRequested, this, [this] { m_itemPanel->editText(); });

  if (!report.loadErrors().isEmpty()) {
    m_message->setStyleSheet(
        QStringLiteral("QLabel { color: #a00000; background: #fff0f0; padding: 6px; }"));
    m_message->setText(
        QStringLiteral("Le modèle %1 contient des erreurs et n'a pas pu être ouvert :\n%2\n"
                       "Le concepteur part d'une page vide ; « Enregistrer » remplacera "
                       "le fichier (l'ancien restera en .bak).")
            .arg(m_path, report.loadErrors().join(QLatin1Char('\n'))));
  } else if (report.hasTemplate()) {
    m_template = report.reportTemplate();
  }
  m_restore->setEnabled(!m_path.isEmpty() &&
                        Report::ShippedTemplate(QFileInfo(m_path).fileName()).has_value());
  setTemplate(m_template, DesignerSelection());
  m_undo->setClean();
  FitAndCentre(*this, {1280, 860});
}

ReportDesigner::~ReportDesigner() {
  // The scene's items call back into this dialog while they are destroyed.
  m_refreshing = true;
  m_scene->clear();
}

QComboBox* ReportDesigner::namesBox() const { return m_itemPanel->namesBox(); }
QComboBox* ReportDesigner::formatBox() const { return m_itemPanel->formatBox(); }
QLineEdit* ReportDesigner::conditionBox() const { return m_itemPanel->conditionBox(); }
QComboBox* ReportDesigner::conditionColourBox() const { return m_itemPanel->conditionColourBox(); }
QCheckBox* ReportDesigner::conditionBoldBox() const { return m_itemPanel->conditionBoldBox(); }
QLineEdit* ReportDesigner::columnNameBox() const { return m_itemPanel->columnNameBox(); }
QCheckBox* ReportDesigner::repeatBox() const { return m_bandPanel->repeatBox(); }

void ReportDesigner::buildToolBar(QVBoxLayout* layout) {
  auto* bar = new QToolBar(this);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  QAction* saveAction = bar->addAction(QStringLiteral("Enregistrer"), this, [this] { save(); });
  saveAction->setShortcut(QKeySequence::Save);
  QAction* undo = m_undo->createUndoAction(this, QStringLiteral("Annuler"));
  undo->setShortcut(QKeySequence::Undo);
  QAction* redo = m_undo->createRedoAction(this, QStringLiteral("Refaire"));
  redo->setShortcut(QKeySequence::Redo);
  bar->addAction(undo);
  bar->addAction(redo);
  bar->addSeparator();
  bar->addWidget(new QLabel(QStringLiteral(" Ajouter : "), bar));
  bar->addAction(QStringLiteral("Texte"), this, [this] { addItem(ItemKind::kText); });
  bar->addAction(QStringLiteral("Champ"), this, [this] { addItem(ItemKind::kField); });
  bar->addAction(QStringLiteral("Trait"), this, [this] { addItem(ItemKind::kLine); });
  bar->addAction(QStringLiteral("Cadre"), this, [this] { addItem(ItemKind::kFrame); });
  bar->addAction(QStringLiteral("Image"), this, [this] { addItem(ItemKind::kImage); });
  auto* bandMenu = new QMenu(this);
  for (BandKind kind :
       {BandKind::kTitle, BandKind::kPageHeader, BandKind::kColumnHeader, BandKind::kGroupHeader,
        BandKind::kDetail, BandKind::kGroupFooter, BandKind::kSummary, BandKind::kPageFooter}) {
    bandMenu->addAction(BandKindLabel(kind), this, [this, kind] { addBand(kind); });
  }
  auto* bandButton = new QToolButton(bar);
  bandButton->setText(QStringLiteral("Bande"));
  bandButton->setMenu(bandMenu);
  bandButton->setPopupMode(QToolButton::InstantPopup);
  bar->addWidget(bandButton);
  bar->addAction(QStringLiteral("Supprimer"), this, [this] { deleteSelection(); });
  bar->addSeparator();
  bar->addWidget(new QLabel(QStringLiteral(" Zoom "), bar));
  auto* zoom = new QComboBox(bar);
  for (int percent : {50, 75, 100, 125, 150, 200}) {
    zoom->addItem(QStringLiteral("%1 %").arg(percent), percent / 100.0);
  }
  zoom->setCurrentIndex(1);
  connect(zoom, &QComboBox::currentIndexChanged, this, [this, zoom](int index) {
    double factor = zoom->itemData(index).toDouble();
    m_view->setTransform(QTransform::fromScale(factor, factor));
  });
  bar->addWidget(zoom);
  bar->addSeparator();
  bar->addAction(QStringLiteral("Aperçu"), this, [this] { preview(); });
  m_restore = bar->addAction(QStringLiteral("Rétablir le modèle d'origine"), this,
                             [this] { restoreOriginal(); });
  bar->addSeparator();
  bar->addAction(QStringLiteral("Fermer"), this, [this] { close(); });
  layout->addWidget(bar);
}

// The panels in one column: the selected items, their band, the template's variables and
// its page. Each is disabled when it has nothing to show.
QWidget* ReportDesigner::buildPanel() {
  auto* panel = new QWidget;
  auto* column = new QVBoxLayout(panel);
  m_itemPanel = new DesignerItemPanel(*this, panel);
  m_bandPanel = new DesignerBandPanel(*this, panel);
  m_variablesPanel = new DesignerVariablesPanel(*this, panel);
  m_pagePanel = new DesignerPagePanel(*this, panel);
  column->addWidget(m_itemPanel);
  column->addWidget(m_bandPanel);
  column->addWidget(m_variablesPanel);
  column->addWidget(m_pagePanel);
  column->addStretch();
  return panel;
}

DesignerSelection ReportDesigner::currentSelection() const {
  DesignerSelection selection;
  const QList<QGraphicsItem*> selected = m_scene->selectedItems();
  for (QGraphicsItem* item : selected) {
    if (auto* d = dynamic_cast<DesignerItem*>(item))
      selection.items.emplace_back(d->band(), d->index());
    if (auto* b = dynamic_cast<BandStrip*>(item)) selection.bands.push_back(b->index());
  }
  std::sort(selection.items.begin(), selection.items.end());
  std::sort(selection.bands.begin(), selection.bands.end());
  if (selection.bands.empty() && !selection.items.empty()) {
    selection.bands.push_back(selection.items.front().first);
  }
  return selection;
}

void ReportDesigner::rebuildScene(const DesignerSelection& selection) {
  m_refreshing = true;
  m_scene->clear();
  double width =
      m_template.page.sizeMm().width() - m_template.page.marginLeft - m_template.page.marginRight;
  width = std::max(width, 20.0);
  double y = 0;
  for (int b = 0; b < static_cast<int>(m_template.bands.size()); ++b) {
    const Band& band = m_template.bands[b];
    auto* strip = new BandStrip(b, band, width, *this);
    strip->setPos(0, y);
    m_scene->addItem(strip);
    bool bandSelected =
        std::find(selection.bands.begin(), selection.bands.end(), b) != selection.bands.end();
    for (int i = 0; i < static_cast<int>(band.items.size()); ++i) {
      auto* item = new DesignerItem(b, i, band.items[i], m_folder, *this);
      item->setParentItem(strip);
      if (std::find(selection.items.begin(), selection.items.end(), std::make_pair(b, i)) !=
          selection.items.end()) {
        item->setSelected(true);
        bandSelected = false;
      }
    }
    if (bandSelected && selection.items.empty()) strip->setSelected(true);
    y += band.height * kPxPerMm + kStripGapPx;
  }
  if (m_template.bands.empty()) {
    auto* hint = m_scene->addSimpleText(
        QStringLiteral("Page vide : ajoutez une bande (« Bande ») ou un élément."));
    hint->setPos(0, 0);
  }
  m_scene->setSceneRect(QRectF(-210, -10, width * kPxPerMm + 230, std::max(200.0, y + 40)));
  m_refreshing = false;
}

void ReportDesigner::setTemplate(const ReportTemplate& value, const DesignerSelection& selection) {
  m_template = value;
  rebuildScene(selection);
  refreshPanel();
}

void ReportDesigner::commit(const QString& what, const ReportTemplate& changed) {
  if (changed == m_template) return;
  DesignerSelection selection = currentSelection();
  m_undo->push(new TemplateCommand(*this, what, m_template, changed, selection, QString()));
  setTemplate(changed, selection);
}

void ReportDesigner::change(const QString& what, const std::function<void(ReportTemplate&)>& edit) {
  if (m_refreshing) return;
  ReportTemplate changed = m_template;
  edit(changed);
  commit(what, changed);
}

void ReportDesigner::changeItems(const QString& what,
                                 const std::function<void(ReportItem&)>& edit) {
  if (m_refreshing) return;
  DesignerSelection selection = currentSelection();
  change(what, [&](ReportTemplate& t) {
    for (auto [b, i] : selection.items) edit(t.bands[b].items[i]);
  });
}

void ReportDesigner::type(const QString& what, const QString& mergeKey,
                          const std::function<void(ReportTemplate&)>& edit) {
  if (m_refreshing) return;
  DesignerSelection selection = currentSelection();
  ReportTemplate changed = m_template;
  edit(changed);
  m_undo->push(new TemplateCommand(*this, what, m_template, changed, selection, mergeKey));
  m_template = changed;
  rebuildScene(selection);
}

void ReportDesigner::sceneEdited() {
  // Read back after the mouse event that reported the edit has finished: the scene is
  // rebuilt from the template.
  QMetaObject::invokeMethod(
      this,
      [this] {
        ReportTemplate changed = m_template;
        const QList<QGraphicsItem*> items = m_scene->items();
        for (QGraphicsItem* item : items) {
          if (auto* d = dynamic_cast<DesignerItem*>(item)) {
            QRectF g = d->geometryMm();
            ReportItem& target = changed.bands[d->band()].items[d->index()];
            target.x = g.x();
            target.y = g.y();
            target.width = g.width();
            target.height = g.height();
          } else if (auto* b = dynamic_cast<BandStrip*>(item)) {
            changed.bands[b->index()].height = b->heightMm();
          }
        }
        commit(QStringLiteral("Déplacer"), changed);
      },
      Qt::QueuedConnection);
}

void ReportDesigner::refreshPanel() {
  m_refreshing = true;
  m_itemPanel->refresh();
  m_bandPanel->refresh();
  m_variablesPanel->refresh();
  m_pagePanel->refresh();
  showTemplateErrors();
  m_refreshing = false;
}

// The faults of the template as edited, under the toolbar; a template that could not be
// opened keeps its message until the first edit.
void ReportDesigner::showTemplateErrors() {
  if (!m_report.loadErrors().isEmpty() && m_undo->count() == 0) return;
  QStringList errors = TemplateErrors(m_template);
  m_message->setStyleSheet(
      errors.isEmpty()
          ? QString()
          : QStringLiteral("QLabel { color: #a00000; background: #fff0f0; padding: 6px; }"));
  m_message->setText(errors.join(QLatin1Char('\n')));
  m_message->setVisible(!errors.isEmpty());
}

std::vector<std::pair<QString, QString>> ReportDesigner::knownNames() const {
  // The screen's names with their samples first, then every other name the template knows.
  std::vector<std::pair<QString, QString>> known;
  QSet<QString> listed;
  if (const TemplateVariables* declared = m_report.declaration()) {
    for (const DeclaredVariable& variable : declared->variables) {
      QString name = QString::fromUtf8(variable.name.data(), variable.name.size());
      if (listed.contains(name)) continue;
      listed.insert(name);
      QString sample = QString::fromUtf8(variable.sample.data(), variable.sample.size())
                           .simplified();
      if (sample.size() > 30) sample = sample.left(29) + QStringLiteral("…");
      QString label = variable.kind == VariableKind::kSeeded
                          ? QStringLiteral("%1 (variable du programme)").arg(name)
                          : QStringLiteral("%1 : %2").arg(name, sample);
      known.emplace_back(name, label);
    }
  }
  QSet<QString> names;
  QString error;
  for (const Band& band : m_template.bands) {
    Script::Parse(band.scriptBefore, &error).collectNames(names);
    Script::Parse(band.scriptAfter, &error).collectNames(names);
    Expression::Parse(band.groupKey, &error).collectNames(names);
    for (const ReportItem& item : band.items) {
      if (item.kind == ItemKind::kText)
        TextTemplate::Parse(item.content, &error).collectNames(names);
      if (item.kind == ItemKind::kField) Expression::Parse(item.content, &error).collectNames(names);
    }
  }
  for (const VariableDef& variable : m_template.variables) names.insert(variable.name);
  QStringList others;
  for (const QString& name : names) {
    if (!listed.contains(name) && !BuiltInNames().contains(name)) others << name;
  }
  others.sort(Qt::CaseInsensitive);
  for (const QString& name : others) known.emplace_back(name, name);
  for (const QString& name : BuiltInNames()) {
    known.emplace_back(name, QStringLiteral("%1 (nom de l'état)").arg(name));
  }
  return known;
}

int ReportDesigner::targetBand() const {
  DesignerSelection s = currentSelection();
  if (!s.bands.empty()) return s.bands.front();
  for (int b = 0; b < static_cast<int>(m_template.bands.size()); ++b) {
    if (m_template.bands[b].kind == BandKind::kDetail) return b;
  }
  return m_template.bands.empty() ? -1 : 0;
}

void ReportDesigner::addItem(ItemKind kind) {
  ReportItem item;
  item.kind = kind;
  switch (kind) {
    case ItemKind::kText:
      item.content = QStringLiteral("Texte");
      break;
    case ItemKind::kField:
      item.content = QStringLiteral("Ligne");
      item.width = 30;
      break;
    case ItemKind::kLine:
      item.height = 0;
      break;
    case ItemKind::kFrame:
      item.height = 10;
      break;
    case ItemKind::kImage: {
      std::optional<QString> file =
          m_platform.openFileName(this, QStringLiteral("Choisir une image"), m_folder,
                                  QStringLiteral("Images (*.png *.jpg *.jpeg *.bmp)"));
      if (!file) return;
      item.content = m_folder.isEmpty() ? *file : QDir(m_folder).relativeFilePath(*file);
      item.height = 20;
      break;
    }
  }
  ReportTemplate changed = m_template;
  int band = targetBand();
  if (band < 0) {
    Band detail;
    detail.kind = BandKind::kDetail;
    changed.bands.push_back(detail);
    band = 0;
  }
  changed.bands[band].items.push_back(item);
  DesignerSelection selection;
  selection.items.emplace_back(band, static_cast<int>(changed.bands[band].items.size()) - 1);
  selection.bands.push_back(band);
  m_undo->push(new TemplateCommand(*this, QStringLiteral("Ajouter %1").arg(ItemKindLabel(kind)),
                                   m_template, changed, currentSelection(), QString()));
  setTemplate(changed, selection);
}

void ReportDesigner::addBand(BandKind kind) {
  Band band;
  band.kind = kind;
  int groups = 0;
  QString lastGroup;
  for (const Band& b : m_template.bands) {
    if (b.kind == BandKind::kGroupHeader) {
      ++groups;
      lastGroup = b.group;
    }
  }
  if (kind == BandKind::kGroupHeader) {
    band.group = QStringLiteral("Groupe%1").arg(groups + 1);
    band.groupKey = QStringLiteral("TitreEtat");
  } else if (kind == BandKind::kGroupFooter) {
    band.group = lastGroup.isEmpty() ? QStringLiteral("Groupe1") : lastGroup;
  }
  ReportTemplate changed = m_template;
  auto at = std::find_if(changed.bands.begin(), changed.bands.end(), [kind](const Band& b) {
    return static_cast<int>(b.kind) > static_cast<int>(kind);
  });
  int index = static_cast<int>(at - changed.bands.begin());
  changed.bands.insert(at, band);
  DesignerSelection selection;
  selection.bands.push_back(index);
  m_undo->push(new TemplateCommand(*this, QStringLiteral("Ajouter une bande"), m_template, changed,
                                   currentSelection(), QString()));
  setTemplate(changed, selection);
}

void ReportDesigner::deleteSelection() {
  DesignerSelection s = currentSelection();
  ReportTemplate changed = m_template;
  if (!s.items.empty()) {
    for (auto it = s.items.rbegin(); it != s.items.rend(); ++it) {
      auto& items = changed.bands[it->first].items;
      items.erase(items.begin() + it->second);
    }
  } else if (!s.bands.empty()) {
    for (auto it = s.bands.rbegin(); it != s.bands.rend(); ++it) {
      changed.bands.erase(changed.bands.begin() + *it);
    }
  } else {
    return;
  }
  m_undo->push(
      new TemplateCommand(*this, QStringLiteral("Supprimer"), m_template, changed, s, QString()));
  setTemplate(changed, DesignerSelection());
}

void ReportDesigner::nudge(double dxMm, double dyMm) {
  changeItems(QStringLiteral("Déplacer"), [&](ReportItem& it) {
    it.x += dxMm;
    it.y += dyMm;
  });
}

void ReportDesigner::select(int band, int item) {
  DesignerSelection selection;
  if (item >= 0) selection.items.emplace_back(band, item);
  selection.bands.push_back(band);
  rebuildScene(selection);
  refreshPanel();
}

bool ReportDesigner::save() {
  QString path = m_path;
  if (path.isEmpty()) {
    std::optional<QString> chosen = m_platform.saveFileName(
        this, QStringLiteral("Enregistrer le modèle"), QStringLiteral("Modele.frf"),
        QStringLiteral("Modèles d'état (*.frf)"));
    if (!chosen) return false;
    path = *chosen;
  }
  QString error;
  if (!SaveTemplateFile(path, m_template, &error)) {
    m_platform.message(this, platform::MessageKind::kError, error, {platform::Button::kOk});
    return false;
  }
  m_path = path;
  m_saved = true;
  m_undo->setClean();
  return true;
}

void ReportDesigner::preview() {
  ReportPreview preview(m_report.prepareWithSamples(m_template), m_platform, this);
  preview.exec();
}

void ReportDesigner::restoreOriginal() {
  QString fileName = QFileInfo(m_path).fileName();
  std::optional<QByteArray> shipped = Report::ShippedTemplate(fileName);
  if (!shipped) {
    m_platform.message(
        this, platform::MessageKind::kInformation,
        QStringLiteral("Aucun modèle d'origine n'est livré avec le programme pour %1.")
            .arg(fileName),
        {platform::Button::kOk});
    return;
  }
  platform::Button answer = m_platform.message(
      this, platform::MessageKind::kConfirmation,
      QStringLiteral(
          "Remplacer le modèle affiché par le modèle d'origine livré avec le programme ?\n"
          "Il ne sera écrit dans %1 qu'avec « Enregistrer ».")
          .arg(fileName),
      {platform::Button::kYes, platform::Button::kNo}, platform::Button::kNo);
  if (answer != platform::Button::kYes) return;
  TemplateLoad load = ParseTemplate(*shipped);
  if (!load.value) return;
  commit(QStringLiteral("Rétablir le modèle d'origine"), *load.value);
}

bool ReportDesigner::confirmClose() {
  if (m_undo->isClean()) return true;
  platform::Button answer =
      m_platform.message(this, platform::MessageKind::kConfirmation,
                         QStringLiteral("Enregistrer les modifications du modèle ?"),
                         {platform::Button::kYes, platform::Button::kNo, platform::Button::kCancel});
  if (answer == platform::Button::kCancel) return false;
  if (answer == platform::Button::kYes) return save();
  return true;
}

void ReportDesigner::closeEvent(QCloseEvent* event) {
  if (confirmClose()) {
    event->accept();
    QDialog::reject();
  } else {
    event->ignore();
  }
}

void ReportDesigner::reject() {
  if (confirmClose()) QDialog::reject();
}

}  // namespace vantrel::reports
