#include "reports/designer_item_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <iterator>

namespace vantrel::reports {
namespace {

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
constexpr ColourChoice kConditionColours[] = {{"(inchangée)", ""},   {"Rouge", "#c00000"},
                                              {"Bleu", "#1f4e9c"},   {"Vert", "#2e7d32"},
                                              {"Orange", "#d46a00"}, {"Gris", "#7f7f7f"}};

bool IsDrawn(const ReportItem& item) {
  return item.kind == ItemKind::kLine || item.kind == ItemKind::kFrame;
}

}  // namespace

DesignerItemPanel::DesignerItemPanel(TemplateEditor& editor, QWidget* parent)
    : QGroupBox(QStringLiteral("Élément"), parent), m_editor(editor) {
  auto* form = new QFormLayout(this);
  buildText(form);
  buildStyle(form);
  buildCondition(form);
  buildGeometry(form);
  bindText();
  bindStyle();
  bindCondition();
  bindGeometry();
}

void DesignerItemPanel::buildText(QFormLayout* form) {
  m_kind = new QLabel(this);
  form->addRow(QStringLiteral("Type"), m_kind);
  m_text = new QPlainTextEdit(this);
  m_text->setMaximumHeight(70);
  m_text->setToolTip(
      QStringLiteral("Texte : les expressions vont entre crochets, par exemple "
                     "Page [Page] / [NbPages].\nChamp : une expression, par exemple "
                     "Solde1 + Solde2.\nImage : le fichier, à côté du modèle."));
  form->addRow(QStringLiteral("Texte"), m_text);
  m_names = new QComboBox(this);
  m_names->setToolTip(QStringLiteral("Insère un nom de valeur connu du modèle"));
  form->addRow(QStringLiteral("Insérer"), m_names);
}

void DesignerItemPanel::buildStyle(QFormLayout* form) {
  m_font = new QFontComboBox(this);
  form->addRow(QStringLiteral("Police"), m_font);
  m_size = new QDoubleSpinBox(this);
  m_size->setRange(4, 72);
  m_size->setDecimals(1);
  m_size->setSuffix(QStringLiteral(" pt"));
  m_size->setKeyboardTracking(false);
  form->addRow(QStringLiteral("Taille"), m_size);
  auto* style = new QHBoxLayout;
  m_bold = new QCheckBox(QStringLiteral("Gras"), this);
  m_italic = new QCheckBox(QStringLiteral("Italique"), this);
  m_underline = new QCheckBox(QStringLiteral("Souligné"), this);
  style->addWidget(m_bold);
  style->addWidget(m_italic);
  style->addWidget(m_underline);
  form->addRow(QStringLiteral("Style"), style);
  m_align = new QComboBox(this);
  m_align->addItems({QStringLiteral("Gauche"), QStringLiteral("Centre"), QStringLiteral("Droite")});
  form->addRow(QStringLiteral("Alignement"), m_align);
  m_valign = new QComboBox(this);
  m_valign->addItems({QStringLiteral("Haut"), QStringLiteral("Milieu"), QStringLiteral("Bas")});
  form->addRow(QStringLiteral("Vertical"), m_valign);
  auto* borders = new QHBoxLayout;
  m_borderLeft = new QCheckBox(QStringLiteral("G"), this);
  m_borderTop = new QCheckBox(QStringLiteral("H"), this);
  m_borderRight = new QCheckBox(QStringLiteral("D"), this);
  m_borderBottom = new QCheckBox(QStringLiteral("B"), this);
  for (QCheckBox* box : {m_borderLeft, m_borderTop, m_borderRight, m_borderBottom})
    borders->addWidget(box);
  form->addRow(QStringLiteral("Bordures"), borders);
  m_format = new QComboBox(this);
  m_format->setEditable(true);
  for (const ValueFormatChoice& choice : kValueFormats) {
    m_format->addItem(QString::fromUtf8(choice.label), QString::fromUtf8(choice.format));
  }
  m_format->setToolTip(
      QStringLiteral("Comment la valeur s'imprime. On peut aussi écrire un format du modèle :\n"
                     "number:3 (3 décimales), date:MMMM yyyy (mars 2015)…"));
  form->addRow(QStringLiteral("Format"), m_format);
  auto* text = new QHBoxLayout;
  m_wrap = new QCheckBox(QStringLiteral("Retour à la ligne"), this);
  m_grow = new QCheckBox(QStringLiteral("Agrandir la bande"), this);
  text->addWidget(m_wrap);
  text->addWidget(m_grow);
  form->addRow(QString(), text);
}

void DesignerItemPanel::buildCondition(QFormLayout* form) {
  m_condition = new QLineEdit(this);
  m_condition->setToolTip(
      QStringLiteral("Condition sur l'enregistrement, par exemple Solde < 0 : quand elle est "
                     "vraie,\nle texte prend la couleur et le gras ci-dessous."));
  form->addRow(QStringLiteral("Si"), m_condition);
  auto* conditional = new QHBoxLayout;
  m_conditionColor = new QComboBox(this);
  for (const ColourChoice& choice : kConditionColours) {
    m_conditionColor->addItem(QString::fromUtf8(choice.label), QString::fromUtf8(choice.colour));
  }
  m_conditionBold = new QCheckBox(QStringLiteral("Gras"), this);
  conditional->addWidget(m_conditionColor);
  conditional->addWidget(m_conditionBold);
  form->addRow(QStringLiteral("Alors"), conditional);
  m_itemName = new QLineEdit(this);
  m_itemName->setToolTip(
      QStringLiteral("Titre de la colonne de ce texte dans un enregistrement en CSV"));
  form->addRow(QStringLiteral("Colonne CSV"), m_itemName);
}

void DesignerItemPanel::buildGeometry(QFormLayout* form) {
  m_x = MmBox(-500, 1000);
  m_y = MmBox(-500, 1000);
  m_width = MmBox(0, 1000);
  m_height = MmBox(0, 1000);
  m_lineWidth = MmBox(0, 10, 2);
  form->addRow(QStringLiteral("Gauche"), m_x);
  form->addRow(QStringLiteral("Haut"), m_y);
  form->addRow(QStringLiteral("Largeur"), m_width);
  form->addRow(QStringLiteral("Hauteur"), m_height);
  form->addRow(QStringLiteral("Épaisseur du trait"), m_lineWidth);
}

void DesignerItemPanel::changeItems(const QString& what,
                                    const std::function<void(ReportItem&)>& edit) {
  if (m_refreshing) return;
  DesignerSelection selection = m_editor.selection();
  m_editor.change(what, [&](ReportTemplate& t) {
    for (auto [b, i] : selection.items) edit(t.bands[b].items[i]);
  });
}

void DesignerItemPanel::bindFlag(QCheckBox* box, const QString& what,
                                 void (*set)(ReportItem&, bool)) {
  connect(box, &QCheckBox::toggled, this,
          [this, what, set](bool on) { changeItems(what, [&](ReportItem& it) { set(it, on); }); });
}

void DesignerItemPanel::bindText() {
  // The text of the first item, typed: one step per run of typing.
  connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
    if (m_refreshing) return;
    DesignerSelection s = m_editor.selection();
    if (s.items.empty()) return;
    auto [b, i] = s.items.front();
    QString content = m_text->toPlainText();
    m_editor.type(QStringLiteral("Texte"), QStringLiteral("text %1 %2").arg(b).arg(i),
                  [&](ReportTemplate& t) { t.bands[b].items[i].content = content; });
  });
  connect(m_names, &QComboBox::activated, this, [this](int index) {
    if (index <= 0) return;
    QString name = m_names->itemData(index).toString();
    m_names->setCurrentIndex(0);
    DesignerSelection s = m_editor.selection();
    if (s.items.empty()) return;
    auto [b, i] = s.items.front();
    if (m_editor.editedTemplate().bands[b].items[i].kind == ItemKind::kField) {
      m_text->setPlainText(name);
    } else {
      m_text->insertPlainText(QStringLiteral("[%1]").arg(name));
    }
  });
}

void DesignerItemPanel::bindStyle() {
  connect(m_font, &QFontComboBox::currentFontChanged, this, [this](const QFont& font) {
    changeItems(QStringLiteral("Police"), [&](ReportItem& it) { it.font.family = font.family(); });
  });
  connect(m_size, &QDoubleSpinBox::valueChanged, this, [this](double size) {
    changeItems(QStringLiteral("Taille"), [&](ReportItem& it) { it.font.pointSize = size; });
  });
  bindFlag(m_bold, QStringLiteral("Gras"), [](ReportItem& it, bool on) { it.font.bold = on; });
  bindFlag(m_italic, QStringLiteral("Italique"),
           [](ReportItem& it, bool on) { it.font.italic = on; });
  bindFlag(m_underline, QStringLiteral("Souligné"),
           [](ReportItem& it, bool on) { it.font.underline = on; });
  bindFlag(m_borderLeft, QStringLiteral("Bordure"),
           [](ReportItem& it, bool on) { it.borders.left = on; });
  bindFlag(m_borderTop, QStringLiteral("Bordure"),
           [](ReportItem& it, bool on) { it.borders.top = on; });
  bindFlag(m_borderRight, QStringLiteral("Bordure"),
           [](ReportItem& it, bool on) { it.borders.right = on; });
  bindFlag(m_borderBottom, QStringLiteral("Bordure"),
           [](ReportItem& it, bool on) { it.borders.bottom = on; });
  bindFlag(m_wrap, QStringLiteral("Retour à la ligne"),
           [](ReportItem& it, bool on) { it.wordWrap = on; });
  bindFlag(m_grow, QStringLiteral("Agrandir la bande"),
           [](ReportItem& it, bool on) { it.grow = on; });
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
}

void DesignerItemPanel::bindCondition() {
  connect(m_condition, &QLineEdit::editingFinished, this, [this] {
    QString condition = m_condition->text().trimmed();
    changeItems(QStringLiteral("Condition"), [&](ReportItem& it) { it.condition = condition; });
  });
  // The colour is the entry's own: the offered ones and one the template had already.
  connect(m_conditionColor, &QComboBox::currentIndexChanged, this, [this](int index) {
    QColor colour(m_conditionColor->itemData(index).toString());
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
}

void DesignerItemPanel::bindGeometry() {
  auto geometry = [this](QDoubleSpinBox* box, double ReportItem::*member) {
    connect(box, &QDoubleSpinBox::valueChanged, this, [this, member](double value) {
      if (m_refreshing) return;
      DesignerSelection s = m_editor.selection();
      if (s.items.empty()) return;
      auto [b, i] = s.items.front();
      m_editor.change(QStringLiteral("Position"),
                      [&](ReportTemplate& t) { t.bands[b].items[i].*member = value; });
    });
  };
  geometry(m_x, &ReportItem::x);
  geometry(m_y, &ReportItem::y);
  geometry(m_width, &ReportItem::width);
  geometry(m_height, &ReportItem::height);
  connect(m_lineWidth, &QDoubleSpinBox::valueChanged, this, [this](double value) {
    changeItems(QStringLiteral("Épaisseur"), [&](ReportItem& it) {
      if (IsDrawn(it)) {
        it.lineWidthMm = value;
      } else {
        it.borders.widthMm = value;
      }
    });
  });
}

void DesignerItemPanel::refresh() {
  m_refreshing = true;
  DesignerSelection s = m_editor.selection();
  setEnabled(!s.items.empty());
  if (!s.items.empty()) {
    auto [b, i] = s.items.front();
    const ReportItem& it = m_editor.editedTemplate().bands[b].items[i];
    refreshText(it, static_cast<int>(s.items.size()));
    refreshStyle(it);
    refreshCondition(it);
    refreshGeometry(it);
  } else {
    m_kind->setText(QStringLiteral("aucun élément sélectionné"));
  }
  m_refreshing = false;
}

void DesignerItemPanel::refreshText(const ReportItem& it, int selected) {
  m_kind->setText(
      selected > 1
          ? QStringLiteral("%1 (et %2 autres)").arg(ItemKindLabel(it.kind)).arg(selected - 1)
          : ItemKindLabel(it.kind));
  if (m_text->toPlainText() != it.content) m_text->setPlainText(it.content);
  m_names->clear();
  m_names->addItem(QStringLiteral("(nom de valeur)"));
  for (const auto& [name, label] : m_editor.knownNames()) m_names->addItem(label, name);
}

void DesignerItemPanel::refreshStyle(const ReportItem& it) {
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
  m_wrap->setChecked(it.wordWrap);
  m_grow->setChecked(it.grow);
}

void DesignerItemPanel::refreshCondition(const ReportItem& it) {
  if (m_condition->text() != it.condition) m_condition->setText(it.condition);
  // A colour the list does not offer is added to it once, so that it shows and stays.
  int colour = 0;
  for (int c = 1; c < static_cast<int>(std::size(kConditionColours)); ++c) {
    if (it.conditionColor == QColor(QString::fromUtf8(kConditionColours[c].colour))) colour = c;
  }
  if (it.conditionColor.isValid() && colour == 0) {
    colour = m_conditionColor->findData(it.conditionColor.name());
    if (colour < 0) {
      m_conditionColor->addItem(it.conditionColor.name(), it.conditionColor.name());
      colour = m_conditionColor->count() - 1;
    }
  }
  m_conditionColor->setCurrentIndex(colour);
  m_conditionBold->setChecked(it.conditionBold);
  if (m_itemName->text() != it.name) m_itemName->setText(it.name);
}

void DesignerItemPanel::refreshGeometry(const ReportItem& it) {
  m_x->setValue(it.x);
  m_y->setValue(it.y);
  m_width->setValue(it.width);
  m_height->setValue(it.height);
  m_lineWidth->setValue(IsDrawn(it) ? it.lineWidthMm : it.borders.widthMm);
}

void DesignerItemPanel::editText() {
  m_text->setFocus();
  m_text->selectAll();
}

}  // namespace vantrel::reports
