#include "reports/report_designer.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGraphicsScene>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTransform>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/platform.h"
#include "platform/window_fit.h"
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
                  ReportTemplate after, ReportDesigner::Selection selection, QString mergeKey)
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
  ReportDesigner::Selection m_selection;
  QString m_mergeKey;
  bool m_first = true;
};

namespace {

constexpr double kStripGapPx = 14;

QDoubleSpinBox* MmBox(double minimum, double maximum, int decimals = 1) {
  auto* box = new QDoubleSpinBox;
  box->setRange(minimum, maximum);
  box->setDecimals(decimals);
  box->setSuffix(QStringLiteral(" mm"));
  box->setKeyboardTracking(false);
  return box;
}

// The formats offered for texts and fields, by their French label; the list stays
// editable for any other format of the template language.
struct ValueFormatChoice {
  const char* label;
  const char* format;
};
constexpr ValueFormatChoice kValueFormats[] = {
    {"Texte", ""},
    {"Montant (1234,50)", "amount"},
    {"Montant, rien si zéro", "amount-blank"},
    {"Entier (1235)", "integer"},
    {"Nombre à 1 décimale", "number:1"},
    {"Nombre à 2 décimales", "number:2"},
    {"Date (05/03/2015)", "date"},
    {"Date courte (05/03/15)", "date:dd/MM/yy"},
    {"Date en lettres (5 mars 2015)", "date:d MMMM yyyy"},
    {"Date avec le jour (jeudi 5 mars 2015)", "date:dddd d MMMM yyyy"},
};

// The French label of a format, or the format itself when it has none.
QString FormatLabel(const QString& format) {
  for (const ValueFormatChoice& choice : kValueFormats) {
    if (format == QLatin1String(choice.format)) return QString::fromUtf8(choice.label);
  }
  return format;
}

// The format a label (or a format typed in the list) stands for.
QString FormatOfLabel(const QString& text) {
  for (const ValueFormatChoice& choice : kValueFormats) {
    if (text == QString::fromUtf8(choice.label)) return QLatin1String(choice.format);
  }
  return text.trimmed();
}

// Colours offered for the conditional style.
struct ColourChoice {
  const char* label;
  const char* colour;  // "" for none
};
constexpr ColourChoice kConditionColours[] = {
    {"(inchangée)", ""}, {"Rouge", "#c00000"}, {"Bleu", "#1f4e9c"},
    {"Vert", "#2e7d32"}, {"Orange", "#d46a00"}, {"Gris", "#7f7f7f"}};

struct PageFormatChoice {
  const char* label;
  PageFormat format;
};
constexpr PageFormatChoice kPageFormats[] = {
    {"A4 (210 × 297)", PageFormat::A4},           {"A5 (148 × 210)", PageFormat::A5},
    {"Enveloppe DL (110 × 220)", PageFormat::DL}, {"Enveloppe C5 (162 × 229)", PageFormat::C5},
    {"Enveloppe C6 (114 × 162)", PageFormat::C6}, {"Personnalisé", PageFormat::Custom}};

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
  connect(m_view, &DesignerView::editRequested, this, [this] {
    m_text->setFocus();
    m_text->selectAll();
  });

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
  setTemplate(m_template, Selection());
  m_undo->setClean();
  FitAndCentre(*this, {1280, 860});
}

ReportDesigner::~ReportDesigner() {
  // The scene's items call back into this dialog while they are destroyed.
  m_refreshing = true;
  m_scene->clear();
}

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
  bar->addAction(QStringLiteral("Texte"), this, [this] { addItem(ItemKind::Text); });
  bar->addAction(QStringLiteral("Champ"), this, [this] { addItem(ItemKind::Field); });
  bar->addAction(QStringLiteral("Trait"), this, [this] { addItem(ItemKind::Line); });
  bar->addAction(QStringLiteral("Cadre"), this, [this] { addItem(ItemKind::Frame); });
  bar->addAction(QStringLiteral("Image"), this, [this] { addItem(ItemKind::Image); });
  auto* bandMenu = new QMenu(this);
  for (BandKind kind :
       {BandKind::Title, BandKind::PageHeader, BandKind::ColumnHeader, BandKind::GroupHeader,
        BandKind::Detail, BandKind::GroupFooter, BandKind::Summary, BandKind::PageFooter}) {
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

QWidget* ReportDesigner::buildPanel() {
  auto* panel = new QWidget;
  auto* column = new QVBoxLayout(panel);

  // The selected items.
  m_itemBox = new QGroupBox(QStringLiteral("Élément"), panel);
  auto* item = new QFormLayout(m_itemBox);
  m_itemKind = new QLabel(m_itemBox);
  item->addRow(QStringLiteral("Type"), m_itemKind);
  m_text = new QPlainTextEdit(m_itemBox);
  m_text->setMaximumHeight(70);
  m_text->setToolTip(
      QStringLiteral("Texte : les expressions vont entre crochets, par exemple "
                     "Page [Page] / [NbPages].\nChamp : une expression, par exemple "
                     "Solde1 + Solde2.\nImage : le fichier, à côté du modèle."));
  item->addRow(QStringLiteral("Texte"), m_text);
  m_names = new QComboBox(m_itemBox);
  m_names->setToolTip(QStringLiteral("Insère un nom de valeur connu du modèle"));
  item->addRow(QStringLiteral("Insérer"), m_names);
  m_font = new QFontComboBox(m_itemBox);
  item->addRow(QStringLiteral("Police"), m_font);
  m_size = new QDoubleSpinBox(m_itemBox);
  m_size->setRange(4, 72);
  m_size->setDecimals(1);
  m_size->setSuffix(QStringLiteral(" pt"));
  m_size->setKeyboardTracking(false);
  item->addRow(QStringLiteral("Taille"), m_size);
  auto* style = new QHBoxLayout;
  m_bold = new QCheckBox(QStringLiteral("Gras"), m_itemBox);
  m_italic = new QCheckBox(QStringLiteral("Italique"), m_itemBox);
  m_underline = new QCheckBox(QStringLiteral("Souligné"), m_itemBox);
  style->addWidget(m_bold);
  style->addWidget(m_italic);
  style->addWidget(m_underline);
  item->addRow(QStringLiteral("Style"), style);
  m_align = new QComboBox(m_itemBox);
  m_align->addItems({QStringLiteral("Gauche"), QStringLiteral("Centre"), QStringLiteral("Droite")});
  item->addRow(QStringLiteral("Alignement"), m_align);
  m_valign = new QComboBox(m_itemBox);
  m_valign->addItems({QStringLiteral("Haut"), QStringLiteral("Milieu"), QStringLiteral("Bas")});
  item->addRow(QStringLiteral("Vertical"), m_valign);
  auto* borders = new QHBoxLayout;
  m_borderLeft = new QCheckBox(QStringLiteral("G"), m_itemBox);
  m_borderTop = new QCheckBox(QStringLiteral("H"), m_itemBox);
  m_borderRight = new QCheckBox(QStringLiteral("D"), m_itemBox);
  m_borderBottom = new QCheckBox(QStringLiteral("B"), m_itemBox);
  for (QCheckBox* box : {m_borderLeft, m_borderTop, m_borderRight, m_borderBottom})
    borders->addWidget(box);
  item->addRow(QStringLiteral("Bordures"), borders);
  m_format = new QComboBox(m_itemBox);
  m_format->setEditable(true);
  for (const ValueFormatChoice& choice : kValueFormats) {
    m_format->addItem(QString::fromUtf8(choice.label), QString::fromUtf8(choice.format));
  }
  m_format->setToolTip(
      QStringLiteral("Comment la valeur s'imprime. On peut aussi écrire un format du modèle :\n"
                     "number:3 (3 décimales), date:MMMM yyyy (mars 2015)…"));
  item->addRow(QStringLiteral("Format"), m_format);
  auto* text = new QHBoxLayout;
  m_wrap = new QCheckBox(QStringLiteral("Retour à la ligne"), m_itemBox);
  m_grow = new QCheckBox(QStringLiteral("Agrandir la bande"), m_itemBox);
  text->addWidget(m_wrap);
  text->addWidget(m_grow);
  item->addRow(QString(), text);
  m_condition = new QLineEdit(m_itemBox);
  m_condition->setToolTip(
      QStringLiteral("Condition sur l'enregistrement, par exemple Solde < 0 : quand elle est "
                     "vraie,\nle texte prend la couleur et le gras ci-dessous."));
  item->addRow(QStringLiteral("Si"), m_condition);
  auto* conditional = new QHBoxLayout;
  m_conditionColor = new QComboBox(m_itemBox);
  for (const ColourChoice& choice : kConditionColours) {
    m_conditionColor->addItem(QString::fromUtf8(choice.label), QString::fromUtf8(choice.colour));
  }
  m_conditionBold = new QCheckBox(QStringLiteral("Gras"), m_itemBox);
  conditional->addWidget(m_conditionColor);
  conditional->addWidget(m_conditionBold);
  item->addRow(QStringLiteral("Alors"), conditional);
  m_itemName = new QLineEdit(m_itemBox);
  m_itemName->setToolTip(
      QStringLiteral("Titre de la colonne de ce texte dans un enregistrement en CSV"));
  item->addRow(QStringLiteral("Colonne CSV"), m_itemName);
  m_x = MmBox(-500, 1000);
  m_y = MmBox(-500, 1000);
  m_width = MmBox(0, 1000);
  m_height = MmBox(0, 1000);
  m_lineWidth = MmBox(0, 10, 2);
  item->addRow(QStringLiteral("Gauche"), m_x);
  item->addRow(QStringLiteral("Haut"), m_y);
  item->addRow(QStringLiteral("Largeur"), m_width);
  item->addRow(QStringLiteral("Hauteur"), m_height);
  item->addRow(QStringLiteral("Épaisseur du trait"), m_lineWidth);
  column->addWidget(m_itemBox);

  // The selected band.
  m_bandBox = new QGroupBox(QStringLiteral("Bande"), panel);
  auto* band = new QFormLayout(m_bandBox);
  m_bandKind = new QLabel(m_bandBox);
  band->addRow(QStringLiteral("Type"), m_bandKind);
  m_bandHeight = MmBox(1, 1000);
  band->addRow(QStringLiteral("Hauteur"), m_bandHeight);
  m_columns = new QSpinBox(m_bandBox);
  m_columns->setRange(1, 10);
  m_columns->setKeyboardTracking(false);
  band->addRow(QStringLiteral("Colonnes"), m_columns);
  m_columnGap = MmBox(0, 100);
  band->addRow(QStringLiteral("Espace entre colonnes"), m_columnGap);
  m_pageBreak =
      new QCheckBox(QStringLiteral("Saut de page après chaque enregistrement"), m_bandBox);
  band->addRow(QString(), m_pageBreak);
  m_firstPage = new QCheckBox(QStringLiteral("Aussi sur la première page"), m_bandBox);
  band->addRow(QString(), m_firstPage);
  m_repeat = new QCheckBox(QStringLiteral("Répéter en haut de chaque page du groupe"), m_bandBox);
  band->addRow(QString(), m_repeat);
  m_group = new QLineEdit(m_bandBox);
  band->addRow(QStringLiteral("Groupe"), m_group);
  m_groupKey = new QLineEdit(m_bandBox);
  m_groupKey->setToolTip(
      QStringLiteral("Expression : un nouveau groupe commence quand sa valeur change"));
  band->addRow(QStringLiteral("Clé du groupe"), m_groupKey);
  m_scriptBefore = new QPlainTextEdit(m_bandBox);
  m_scriptBefore->setMaximumHeight(80);
  m_scriptBefore->setToolTip(
      QStringLiteral("Affectations avant l'impression de la bande, par exemple\n"
                     "Debit := Debit + Debit1J; Credit := Credit + Credit1J"));
  band->addRow(QStringLiteral("Calcul avant"), m_scriptBefore);
  m_scriptAfter = new QPlainTextEdit(m_bandBox);
  m_scriptAfter->setMaximumHeight(60);
  band->addRow(QStringLiteral("Calcul après"), m_scriptAfter);
  column->addWidget(m_bandBox);

  // The template's own variables.
  auto* variablesBox = new QGroupBox(QStringLiteral("Variables du modèle"), panel);
  auto* variables = new QVBoxLayout(variablesBox);
  m_variables = new QTableWidget(0, 4, variablesBox);
  m_variables->setHorizontalHeaderLabels({QStringLiteral("Nom"), QStringLiteral("Valeur initiale"),
                                          QStringLiteral("Remise à zéro"),
                                          QStringLiteral("Groupe")});
  m_variables->horizontalHeader()->setStretchLastSection(true);
  m_variables->verticalHeader()->setVisible(false);
  m_variables->setMinimumHeight(110);
  m_variables->setToolTip(
      QStringLiteral("Variables calculées par le modèle, par exemple un total.\n"
                     "Remise à zéro : à chaque page ou à chaque groupe."));
  variables->addWidget(m_variables);
  auto* variableButtons = new QHBoxLayout;
  auto* addVariable = new QPushButton(QStringLiteral("Ajouter"), variablesBox);
  auto* removeVariable = new QPushButton(QStringLiteral("Retirer"), variablesBox);
  variableButtons->addWidget(addVariable);
  variableButtons->addWidget(removeVariable);
  variableButtons->addStretch();
  variables->addLayout(variableButtons);
  column->addWidget(variablesBox);
  connect(addVariable, &QPushButton::clicked, this, [this] {
    change(QStringLiteral("Ajouter une variable"), [](ReportTemplate& t) {
      VariableDef variable;
      variable.name = QStringLiteral("Total%1").arg(t.variables.size() + 1);
      t.variables.push_back(variable);
    });
  });
  connect(removeVariable, &QPushButton::clicked, this, [this] {
    int row = m_variables->currentRow();
    if (row < 0 || row >= static_cast<int>(m_template.variables.size())) return;
    change(QStringLiteral("Retirer une variable"),
           [row](ReportTemplate& t) { t.variables.erase(t.variables.begin() + row); });
  });
  connect(m_variables, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* cell) {
    if (m_refreshing) return;
    int row = cell->row();
    int column = cell->column();
    QString text = cell->text().trimmed();
    change(QStringLiteral("Variable"), [&](ReportTemplate& t) {
      if (row >= static_cast<int>(t.variables.size())) return;
      VariableDef& variable = t.variables[row];
      if (column == 0) variable.name = text;
      if (column == 1) variable.initial = text.isEmpty() ? QStringLiteral("0") : text;
      if (column == 3) variable.group = text;
    });
  });

  // The page.
  auto* pageBox = new QGroupBox(QStringLiteral("Mise en page"), panel);
  auto* page = new QFormLayout(pageBox);
  m_pageFormat = new QComboBox(pageBox);
  for (const PageFormatChoice& choice : kPageFormats)
    m_pageFormat->addItem(QString::fromUtf8(choice.label));
  page->addRow(QStringLiteral("Format"), m_pageFormat);
  m_shortSide = MmBox(20, 2000);
  m_longSide = MmBox(20, 2000);
  page->addRow(QStringLiteral("Petit côté"), m_shortSide);
  page->addRow(QStringLiteral("Grand côté"), m_longSide);
  m_orientation = new QComboBox(pageBox);
  m_orientation->addItems({QStringLiteral("Portrait"), QStringLiteral("Paysage")});
  page->addRow(QStringLiteral("Orientation"), m_orientation);
  m_marginLeft = MmBox(0, 200);
  m_marginTop = MmBox(0, 200);
  m_marginRight = MmBox(0, 200);
  m_marginBottom = MmBox(0, 200);
  page->addRow(QStringLiteral("Marge gauche"), m_marginLeft);
  page->addRow(QStringLiteral("Marge haute"), m_marginTop);
  page->addRow(QStringLiteral("Marge droite"), m_marginRight);
  page->addRow(QStringLiteral("Marge basse"), m_marginBottom);
  m_offsetX = MmBox(-50, 50);
  m_offsetY = MmBox(-50, 50);
  m_offsetX->setToolTip(
      QStringLiteral("Décalage à l'impression sur papier seulement (enveloppes)"));
  m_offsetY->setToolTip(m_offsetX->toolTip());
  page->addRow(QStringLiteral("Décalage impression →"), m_offsetX);
  page->addRow(QStringLiteral("Décalage impression ↓"), m_offsetY);
  column->addWidget(pageBox);
  column->addStretch();

  // Item properties: style applies to every selected item, text and place to the first.
  connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
    if (m_refreshing) return;
    Selection s = currentSelection();
    if (s.items.empty()) return;
    auto [b, i] = s.items.front();
    ReportTemplate changed = m_template;
    changed.bands[b].items[i].content = m_text->toPlainText();
    m_undo->push(new TemplateCommand(*this, QStringLiteral("Texte"), m_template, changed, s,
                                     QStringLiteral("text %1 %2").arg(b).arg(i)));
    m_template = changed;
    rebuildScene(s);
  });
  connect(m_names, &QComboBox::activated, this, [this](int index) {
    if (index <= 0) return;
    QString name = m_names->itemData(index).toString();
    m_names->setCurrentIndex(0);
    Selection s = currentSelection();
    if (s.items.empty()) return;
    auto [b, i] = s.items.front();
    if (m_template.bands[b].items[i].kind == ItemKind::Field) {
      m_text->setPlainText(name);
    } else {
      m_text->insertPlainText(QStringLiteral("[%1]").arg(name));
    }
  });
  connect(m_font, &QFontComboBox::currentFontChanged, this, [this](const QFont& font) {
    changeItems(QStringLiteral("Police"), [&](ReportItem& it) { it.font.family = font.family(); });
  });
  connect(m_size, &QDoubleSpinBox::valueChanged, this, [this](double size) {
    changeItems(QStringLiteral("Taille"), [&](ReportItem& it) { it.font.pointSize = size; });
  });
  auto flag = [this](QCheckBox* box, const QString& what, auto setter) {
    connect(box, &QCheckBox::toggled, this, [this, what, setter](bool on) {
      changeItems(what, [&](ReportItem& it) { setter(it, on); });
    });
  };
  flag(m_bold, QStringLiteral("Gras"), [](ReportItem& it, bool on) { it.font.bold = on; });
  flag(m_italic, QStringLiteral("Italique"), [](ReportItem& it, bool on) { it.font.italic = on; });
  flag(m_underline, QStringLiteral("Souligné"),
       [](ReportItem& it, bool on) { it.font.underline = on; });
  flag(m_borderLeft, QStringLiteral("Bordure"),
       [](ReportItem& it, bool on) { it.borders.left = on; });
  flag(m_borderTop, QStringLiteral("Bordure"),
       [](ReportItem& it, bool on) { it.borders.top = on; });
  flag(m_borderRight, QStringLiteral("Bordure"),
       [](ReportItem& it, bool on) { it.borders.right = on; });
  flag(m_borderBottom, QStringLiteral("Bordure"),
       [](ReportItem& it, bool on) { it.borders.bottom = on; });
  flag(m_wrap, QStringLiteral("Retour à la ligne"),
       [](ReportItem& it, bool on) { it.wordWrap = on; });
  flag(m_grow, QStringLiteral("Agrandir la bande"), [](ReportItem& it, bool on) { it.grow = on; });
  connect(m_align, &QComboBox::currentIndexChanged, this, [this](int index) {
    changeItems(QStringLiteral("Alignement"),
                [&](ReportItem& it) { it.align = static_cast<HAlign>(index); });
  });
  connect(m_valign, &QComboBox::currentIndexChanged, this, [this](int index) {
    changeItems(QStringLiteral("Alignement"),
                [&](ReportItem& it) { it.valign = static_cast<VAlign>(index); });
  });
  connect(m_format, &QComboBox::currentTextChanged, this, [this](const QString& text) {
    QString format = FormatOfLabel(text);
    changeItems(QStringLiteral("Format"), [&](ReportItem& it) { it.format = format; });
  });
  connect(m_condition, &QLineEdit::editingFinished, this, [this] {
    QString condition = m_condition->text().trimmed();
    changeItems(QStringLiteral("Condition"), [&](ReportItem& it) { it.condition = condition; });
  });
  connect(m_conditionColor, &QComboBox::currentIndexChanged, this, [this](int index) {
    QColor colour(QString::fromUtf8(kConditionColours[index].colour));
    changeItems(QStringLiteral("Couleur si vrai"),
                [&](ReportItem& it) { it.conditionColor = colour; });
  });
  connect(m_conditionBold, &QCheckBox::toggled, this, [this](bool on) {
    changeItems(QStringLiteral("Gras si vrai"), [&](ReportItem& it) { it.conditionBold = on; });
  });
  connect(m_itemName, &QLineEdit::editingFinished, this, [this] {
    QString name = m_itemName->text().trimmed();
    changeItems(QStringLiteral("Colonne CSV"), [&](ReportItem& it) { it.name = name; });
  });
  auto geometry = [this](QDoubleSpinBox* box, double ReportItem::*member) {
    connect(box, &QDoubleSpinBox::valueChanged, this, [this, member](double value) {
      if (m_refreshing) return;
      Selection s = currentSelection();
      if (s.items.empty()) return;
      auto [b, i] = s.items.front();
      change(QStringLiteral("Position"),
             [&](ReportTemplate& t) { t.bands[b].items[i].*member = value; });
    });
  };
  geometry(m_x, &ReportItem::x);
  geometry(m_y, &ReportItem::y);
  geometry(m_width, &ReportItem::width);
  geometry(m_height, &ReportItem::height);
  connect(m_lineWidth, &QDoubleSpinBox::valueChanged, this, [this](double value) {
    changeItems(QStringLiteral("Épaisseur"), [&](ReportItem& it) {
      if (it.kind == ItemKind::Line || it.kind == ItemKind::Frame) {
        it.lineWidthMm = value;
      } else {
        it.borders.widthMm = value;
      }
    });
  });

  // Band properties.
  connect(m_bandHeight, &QDoubleSpinBox::valueChanged, this, [this](double value) {
    changeBand(QStringLiteral("Hauteur de bande"), [&](Band& b) { b.height = value; });
  });
  connect(m_columns, &QSpinBox::valueChanged, this, [this](int value) {
    changeBand(QStringLiteral("Colonnes"), [&](Band& b) { b.columns = value; });
  });
  connect(m_columnGap, &QDoubleSpinBox::valueChanged, this, [this](double value) {
    changeBand(QStringLiteral("Colonnes"), [&](Band& b) { b.columnGap = value; });
  });
  connect(m_pageBreak, &QCheckBox::toggled, this, [this](bool on) {
    changeBand(QStringLiteral("Saut de page"), [&](Band& b) { b.pageBreakAfter = on; });
  });
  connect(m_repeat, &QCheckBox::toggled, this, [this](bool on) {
    changeBand(QStringLiteral("Répéter l'en-tête"), [&](Band& b) { b.repeatOnNewPage = on; });
  });
  connect(m_firstPage, &QCheckBox::toggled, this, [this](bool on) {
    changeBand(QStringLiteral("Première page"), [&](Band& b) { b.onFirstPage = on; });
  });
  connect(m_group, &QLineEdit::editingFinished, this, [this] {
    changeBand(QStringLiteral("Groupe"), [&](Band& b) { b.group = m_group->text().trimmed(); });
  });
  connect(m_groupKey, &QLineEdit::editingFinished, this, [this] {
    changeBand(QStringLiteral("Clé du groupe"),
               [&](Band& b) { b.groupKey = m_groupKey->text().trimmed(); });
  });
  auto script = [this](QPlainTextEdit* box, QString Band::*member) {
    connect(box, &QPlainTextEdit::textChanged, this, [this, box, member] {
      if (m_refreshing) return;
      Selection s = currentSelection();
      if (s.bands.empty()) return;
      int b = s.bands.front();
      ReportTemplate changed = m_template;
      changed.bands[b].*member = box->toPlainText();
      m_undo->push(
          new TemplateCommand(*this, QStringLiteral("Calcul"), m_template, changed, s,
                              QStringLiteral("script %1 %2").arg(b).arg(box == m_scriptBefore)));
      m_template = changed;
      rebuildScene(s);
    });
  };
  script(m_scriptBefore, &Band::scriptBefore);
  script(m_scriptAfter, &Band::scriptAfter);

  // Page setup.
  connect(m_pageFormat, &QComboBox::currentIndexChanged, this, [this](int index) {
    change(QStringLiteral("Format de page"),
           [&](ReportTemplate& t) { t.page.format = kPageFormats[index].format; });
  });
  auto pageValue = [this](QDoubleSpinBox* box, double PageSetup::*member) {
    connect(box, &QDoubleSpinBox::valueChanged, this, [this, member](double value) {
      change(QStringLiteral("Mise en page"), [&](ReportTemplate& t) {
        t.page.*member = value;
        if (t.page.customShortMm > t.page.customLongMm)
          std::swap(t.page.customShortMm, t.page.customLongMm);
      });
    });
  };
  pageValue(m_shortSide, &PageSetup::customShortMm);
  pageValue(m_longSide, &PageSetup::customLongMm);
  pageValue(m_marginLeft, &PageSetup::marginLeft);
  pageValue(m_marginTop, &PageSetup::marginTop);
  pageValue(m_marginRight, &PageSetup::marginRight);
  pageValue(m_marginBottom, &PageSetup::marginBottom);
  pageValue(m_offsetX, &PageSetup::printOffsetX);
  pageValue(m_offsetY, &PageSetup::printOffsetY);
  connect(m_orientation, &QComboBox::currentIndexChanged, this, [this](int index) {
    change(QStringLiteral("Orientation"),
           [&](ReportTemplate& t) { t.page.landscape = index == 1; });
  });
  return panel;
}

ReportDesigner::Selection ReportDesigner::currentSelection() const {
  Selection selection;
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

void ReportDesigner::rebuildScene(const Selection& selection) {
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

void ReportDesigner::setTemplate(const ReportTemplate& value, const Selection& selection) {
  m_template = value;
  rebuildScene(selection);
  refreshPanel();
}

void ReportDesigner::commit(const QString& what, const ReportTemplate& changed) {
  if (changed == m_template) return;
  Selection selection = currentSelection();
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
  Selection selection = currentSelection();
  change(what, [&](ReportTemplate& t) {
    for (auto [b, i] : selection.items) edit(t.bands[b].items[i]);
  });
}

void ReportDesigner::changeBand(const QString& what, const std::function<void(Band&)>& edit) {
  if (m_refreshing) return;
  Selection selection = currentSelection();
  if (selection.bands.empty()) return;
  change(what, [&](ReportTemplate& t) { edit(t.bands[selection.bands.front()]); });
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
  Selection s = currentSelection();
  m_itemBox->setEnabled(!s.items.empty());
  if (!s.items.empty()) {
    auto [b, i] = s.items.front();
    const ReportItem& it = m_template.bands[b].items[i];
    m_itemKind->setText(s.items.size() > 1 ? QStringLiteral("%1 (et %2 autres)")
                                                 .arg(ItemKindLabel(it.kind))
                                                 .arg(s.items.size() - 1)
                                           : ItemKindLabel(it.kind));
    if (m_text->toPlainText() != it.content) m_text->setPlainText(it.content);
    m_names->clear();
    m_names->addItem(QStringLiteral("(nom de valeur)"));
    for (const auto& [name, label] : knownNames()) m_names->addItem(label, name);
    m_font->setCurrentFont(QFont(it.font.family));
    m_size->setValue(it.font.pointSize);
    m_bold->setChecked(it.font.bold);
    m_italic->setChecked(it.font.italic);
    m_underline->setChecked(it.font.underline);
    m_align->setCurrentIndex(static_cast<int>(it.align));
    m_valign->setCurrentIndex(static_cast<int>(it.valign));
    m_borderLeft->setChecked(it.borders.left);
    m_borderTop->setChecked(it.borders.top);
    m_borderRight->setChecked(it.borders.right);
    m_borderBottom->setChecked(it.borders.bottom);
    m_format->setCurrentText(FormatLabel(it.format));
    if (m_condition->text() != it.condition) m_condition->setText(it.condition);
    int colour = 0;
    for (int c = 1; c < static_cast<int>(std::size(kConditionColours)); ++c) {
      if (it.conditionColor == QColor(QString::fromUtf8(kConditionColours[c].colour))) colour = c;
    }
    if (it.conditionColor.isValid() && colour == 0) {
      m_conditionColor->addItem(it.conditionColor.name(), it.conditionColor.name());
      colour = m_conditionColor->count() - 1;
    }
    m_conditionColor->setCurrentIndex(colour);
    m_conditionBold->setChecked(it.conditionBold);
    if (m_itemName->text() != it.name) m_itemName->setText(it.name);
    m_wrap->setChecked(it.wordWrap);
    m_grow->setChecked(it.grow);
    m_x->setValue(it.x);
    m_y->setValue(it.y);
    m_width->setValue(it.width);
    m_height->setValue(it.height);
    bool drawn = it.kind == ItemKind::Line || it.kind == ItemKind::Frame;
    m_lineWidth->setValue(drawn ? it.lineWidthMm : it.borders.widthMm);
  } else {
    m_itemKind->setText(QStringLiteral("aucun élément sélectionné"));
  }
  m_bandBox->setEnabled(!s.bands.empty());
  if (!s.bands.empty()) {
    const Band& band = m_template.bands[s.bands.front()];
    m_bandKind->setText(BandKindLabel(band.kind));
    m_bandHeight->setValue(band.height);
    m_columns->setValue(band.columns);
    m_columns->setEnabled(band.kind == BandKind::Detail);
    m_columnGap->setValue(band.columnGap);
    m_columnGap->setEnabled(band.kind == BandKind::Detail);
    m_pageBreak->setChecked(band.pageBreakAfter);
    m_pageBreak->setEnabled(band.kind == BandKind::Detail);
    m_firstPage->setChecked(band.onFirstPage);
    m_firstPage->setEnabled(band.kind == BandKind::PageHeader || band.kind == BandKind::PageFooter);
    m_repeat->setChecked(band.repeatOnNewPage);
    m_repeat->setEnabled(band.kind == BandKind::GroupHeader);
    bool group = band.kind == BandKind::GroupHeader || band.kind == BandKind::GroupFooter;
    m_group->setText(band.group);
    m_group->setEnabled(group);
    m_groupKey->setText(band.groupKey);
    m_groupKey->setEnabled(band.kind == BandKind::GroupHeader);
    if (m_scriptBefore->toPlainText() != band.scriptBefore)
      m_scriptBefore->setPlainText(band.scriptBefore);
    if (m_scriptAfter->toPlainText() != band.scriptAfter)
      m_scriptAfter->setPlainText(band.scriptAfter);
  } else {
    m_bandKind->setText(QStringLiteral("aucune bande sélectionnée"));
  }
  refreshVariables();
  const PageSetup& page = m_template.page;
  for (int f = 0; f < static_cast<int>(std::size(kPageFormats)); ++f) {
    if (kPageFormats[f].format == page.format) m_pageFormat->setCurrentIndex(f);
  }
  m_shortSide->setValue(page.customShortMm);
  m_longSide->setValue(page.customLongMm);
  m_shortSide->setEnabled(page.format == PageFormat::Custom);
  m_longSide->setEnabled(page.format == PageFormat::Custom);
  m_orientation->setCurrentIndex(page.landscape ? 1 : 0);
  m_marginLeft->setValue(page.marginLeft);
  m_marginTop->setValue(page.marginTop);
  m_marginRight->setValue(page.marginRight);
  m_marginBottom->setValue(page.marginBottom);
  m_offsetX->setValue(page.printOffsetX);
  m_offsetY->setValue(page.printOffsetY);

  QStringList errors = TemplateErrors(m_template);
  if (m_report.loadErrors().isEmpty() || m_undo->count() > 0) {
    m_message->setStyleSheet(
        errors.isEmpty()
            ? QString()
            : QStringLiteral("QLabel { color: #a00000; background: #fff0f0; padding: 6px; }"));
    m_message->setText(errors.join(QLatin1Char('\n')));
    m_message->setVisible(!errors.isEmpty());
  }
  m_refreshing = false;
}

void ReportDesigner::refreshVariables() {
  // Rows already showing the template stay, so that a cell being edited is not replaced
  // under the user's hands.
  auto shows = [this](int row, int column, const QString& text) {
    QTableWidgetItem* cell = m_variables->item(row, column);
    return cell != nullptr && cell->text() == text;
  };
  bool same = m_variables->rowCount() == static_cast<int>(m_template.variables.size());
  for (int row = 0; same && row < m_variables->rowCount(); ++row) {
    const VariableDef& variable = m_template.variables[row];
    auto* reset = qobject_cast<QComboBox*>(m_variables->cellWidget(row, 2));
    same = shows(row, 0, variable.name) && shows(row, 1, variable.initial) &&
           shows(row, 3, variable.group) && reset != nullptr &&
           reset->currentIndex() == static_cast<int>(variable.reset);
  }
  if (same) return;
  m_variables->setRowCount(static_cast<int>(m_template.variables.size()));
  for (int row = 0; row < static_cast<int>(m_template.variables.size()); ++row) {
    const VariableDef& variable = m_template.variables[row];
    m_variables->setItem(row, 0, new QTableWidgetItem(variable.name));
    m_variables->setItem(row, 1, new QTableWidgetItem(variable.initial));
    m_variables->setItem(row, 3, new QTableWidgetItem(variable.group));
    auto* reset = new QComboBox(m_variables);
    reset->addItems({QStringLiteral("jamais"), QStringLiteral("à chaque page"),
                     QStringLiteral("à chaque groupe")});
    reset->setCurrentIndex(static_cast<int>(variable.reset));
    connect(reset, &QComboBox::currentIndexChanged, this, [this, row](int index) {
      change(QStringLiteral("Variable"), [&](ReportTemplate& t) {
        if (row < static_cast<int>(t.variables.size())) {
          t.variables[row].reset = static_cast<VariableReset>(index);
        }
      });
    });
    m_variables->setCellWidget(row, 2, reset);
  }
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
      QString label = variable.kind == VariableKind::Seeded
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
      if (item.kind == ItemKind::Text)
        TextTemplate::Parse(item.content, &error).collectNames(names);
      if (item.kind == ItemKind::Field) Expression::Parse(item.content, &error).collectNames(names);
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
  Selection s = currentSelection();
  if (!s.bands.empty()) return s.bands.front();
  for (int b = 0; b < static_cast<int>(m_template.bands.size()); ++b) {
    if (m_template.bands[b].kind == BandKind::Detail) return b;
  }
  return m_template.bands.empty() ? -1 : 0;
}

void ReportDesigner::addItem(ItemKind kind) {
  ReportItem item;
  item.kind = kind;
  switch (kind) {
    case ItemKind::Text:
      item.content = QStringLiteral("Texte");
      break;
    case ItemKind::Field:
      item.content = QStringLiteral("Ligne");
      item.width = 30;
      break;
    case ItemKind::Line:
      item.height = 0;
      break;
    case ItemKind::Frame:
      item.height = 10;
      break;
    case ItemKind::Image: {
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
    detail.kind = BandKind::Detail;
    changed.bands.push_back(detail);
    band = 0;
  }
  changed.bands[band].items.push_back(item);
  Selection selection;
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
    if (b.kind == BandKind::GroupHeader) {
      ++groups;
      lastGroup = b.group;
    }
  }
  if (kind == BandKind::GroupHeader) {
    band.group = QStringLiteral("Groupe%1").arg(groups + 1);
    band.groupKey = QStringLiteral("TitreEtat");
  } else if (kind == BandKind::GroupFooter) {
    band.group = lastGroup.isEmpty() ? QStringLiteral("Groupe1") : lastGroup;
  }
  ReportTemplate changed = m_template;
  auto at = std::find_if(changed.bands.begin(), changed.bands.end(), [kind](const Band& b) {
    return static_cast<int>(b.kind) > static_cast<int>(kind);
  });
  int index = static_cast<int>(at - changed.bands.begin());
  changed.bands.insert(at, band);
  Selection selection;
  selection.bands.push_back(index);
  m_undo->push(new TemplateCommand(*this, QStringLiteral("Ajouter une bande"), m_template, changed,
                                   currentSelection(), QString()));
  setTemplate(changed, selection);
}

void ReportDesigner::deleteSelection() {
  Selection s = currentSelection();
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
  setTemplate(changed, Selection());
}

void ReportDesigner::nudge(double dxMm, double dyMm) {
  changeItems(QStringLiteral("Déplacer"), [&](ReportItem& it) {
    it.x += dxMm;
    it.y += dyMm;
  });
}

void ReportDesigner::select(int band, int item) {
  Selection selection;
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
    m_platform.message(this, platform::MessageKind::Error, error, {platform::Button::Ok});
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
        this, platform::MessageKind::Information,
        QStringLiteral("Aucun modèle d'origine n'est livré avec le programme pour %1.")
            .arg(fileName),
        {platform::Button::Ok});
    return;
  }
  platform::Button answer = m_platform.message(
      this, platform::MessageKind::Confirmation,
      QStringLiteral(
          "Remplacer le modèle affiché par le modèle d'origine livré avec le programme ?\n"
          "Il ne sera écrit dans %1 qu'avec « Enregistrer ».")
          .arg(fileName),
      {platform::Button::Yes, platform::Button::No}, platform::Button::No);
  if (answer != platform::Button::Yes) return;
  TemplateLoad load = ParseTemplate(*shipped);
  if (!load.value) return;
  commit(QStringLiteral("Rétablir le modèle d'origine"), *load.value);
}

bool ReportDesigner::confirmClose() {
  if (m_undo->isClean()) return true;
  platform::Button answer =
      m_platform.message(this, platform::MessageKind::Confirmation,
                         QStringLiteral("Enregistrer les modifications du modèle ?"),
                         {platform::Button::Yes, platform::Button::No, platform::Button::Cancel});
  if (answer == platform::Button::Cancel) return false;
  if (answer == platform::Button::Yes) return save();
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
