#include "reports/designer_band_panel.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace vantrel::reports {

DesignerBandPanel::DesignerBandPanel(TemplateEditor& editor, QWidget* parent)
    : QGroupBox(QStringLiteral("Bande"), parent), m_editor(editor) {
  auto* form = new QFormLayout(this);
  buildLayout(form);
  buildGroup(form);
  bindLayout();
  bindGroup();
  bindScript(m_scriptBefore, &Band::scriptBefore);
  bindScript(m_scriptAfter, &Band::scriptAfter);
}

void DesignerBandPanel::buildLayout(QFormLayout* form) {
  m_kind = new QLabel(this);
  form->addRow(QStringLiteral("Type"), m_kind);
  m_height = MmBox(1, 1000);
  form->addRow(QStringLiteral("Hauteur"), m_height);
  m_columns = new QSpinBox(this);
  m_columns->setRange(1, 10);
  m_columns->setKeyboardTracking(false);
  form->addRow(QStringLiteral("Colonnes"), m_columns);
  m_columnGap = MmBox(0, 100);
  form->addRow(QStringLiteral("Espace entre colonnes"), m_columnGap);
  m_pageBreak = new QCheckBox(QStringLiteral("Saut de page après chaque enregistrement"), this);
  form->addRow(QString(), m_pageBreak);
  m_firstPage = new QCheckBox(QStringLiteral("Aussi sur la première page"), this);
  form->addRow(QString(), m_firstPage);
}

void DesignerBandPanel::buildGroup(QFormLayout* form) {
  m_repeat = new QCheckBox(QStringLiteral("Répéter en haut de chaque page du groupe"), this);
  form->addRow(QString(), m_repeat);
  m_group = new QLineEdit(this);
  form->addRow(QStringLiteral("Groupe"), m_group);
  m_groupKey = new QLineEdit(this);
  m_groupKey->setToolTip(
      QStringLiteral("Expression : un nouveau groupe commence quand sa valeur change"));
  form->addRow(QStringLiteral("Clé du groupe"), m_groupKey);
  m_scriptBefore = new QPlainTextEdit(this);
  m_scriptBefore->setMaximumHeight(80);
  m_scriptBefore->setToolTip(
      QStringLiteral("Affectations avant l'impression de la bande, par exemple\n"
                     "Debit := Debit + Debit1J; Credit := Credit + Credit1J"));
  form->addRow(QStringLiteral("Calcul avant"), m_scriptBefore);
  m_scriptAfter = new QPlainTextEdit(this);
  m_scriptAfter->setMaximumHeight(60);
  form->addRow(QStringLiteral("Calcul après"), m_scriptAfter);
}

void DesignerBandPanel::changeBand(const QString& what, const std::function<void(Band&)>& edit) {
  if (m_refreshing) return;
  DesignerSelection selection = m_editor.selection();
  if (selection.bands.empty()) return;
  m_editor.change(what, [&](ReportTemplate& t) { edit(t.bands[selection.bands.front()]); });
}

void DesignerBandPanel::bindLayout() {
  connect(m_height, &QDoubleSpinBox::valueChanged, this, [this](double value) {
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
  connect(m_firstPage, &QCheckBox::toggled, this, [this](bool on) {
    changeBand(QStringLiteral("Première page"), [&](Band& b) { b.onFirstPage = on; });
  });
}

void DesignerBandPanel::bindGroup() {
  connect(m_repeat, &QCheckBox::toggled, this, [this](bool on) {
    changeBand(QStringLiteral("Répéter l'en-tête"), [&](Band& b) { b.repeatOnNewPage = on; });
  });
  connect(m_group, &QLineEdit::editingFinished, this, [this] {
    changeBand(QStringLiteral("Groupe"), [&](Band& b) { b.group = m_group->text().trimmed(); });
  });
  connect(m_groupKey, &QLineEdit::editingFinished, this, [this] {
    changeBand(QStringLiteral("Clé du groupe"),
               [&](Band& b) { b.groupKey = m_groupKey->text().trimmed(); });
  });
}

// A script, typed: one step per run of typing in the same box of the same band.
void DesignerBandPanel::bindScript(QPlainTextEdit* box, QString Band::*member) {
  connect(box, &QPlainTextEdit::textChanged, this, [this, box, member] {
    if (m_refreshing) return;
    DesignerSelection s = m_editor.selection();
    if (s.bands.empty()) return;
    int b = s.bands.front();
    QString script = box->toPlainText();
    m_editor.type(QStringLiteral("Calcul"),
                  QStringLiteral("script %1 %2").arg(b).arg(box == m_scriptBefore),
                  [&](ReportTemplate& t) { t.bands[b].*member = script; });
  });
}

void DesignerBandPanel::refresh() {
  m_refreshing = true;
  DesignerSelection s = m_editor.selection();
  setEnabled(!s.bands.empty());
  if (!s.bands.empty()) {
    const Band& band = m_editor.editedTemplate().bands[s.bands.front()];
    bool detail = band.kind == BandKind::kDetail;
    bool header = band.kind == BandKind::kGroupHeader;
    m_kind->setText(BandKindLabel(band.kind));
    m_height->setValue(band.height);
    m_columns->setValue(band.columns);
    m_columns->setEnabled(detail);
    m_columnGap->setValue(band.columnGap);
    m_columnGap->setEnabled(detail);
    m_pageBreak->setChecked(band.pageBreakAfter);
    m_pageBreak->setEnabled(detail);
    m_firstPage->setChecked(band.onFirstPage);
    m_firstPage->setEnabled(band.kind == BandKind::kPageHeader || band.kind == BandKind::kPageFooter);
    m_repeat->setChecked(band.repeatOnNewPage);
    m_repeat->setEnabled(header);
    m_group->setText(band.group);
    m_group->setEnabled(header || band.kind == BandKind::kGroupFooter);
    m_groupKey->setText(band.groupKey);
    m_groupKey->setEnabled(header);
    if (m_scriptBefore->toPlainText() != band.scriptBefore)
      m_scriptBefore->setPlainText(band.scriptBefore);
    if (m_scriptAfter->toPlainText() != band.scriptAfter)
      m_scriptAfter->setPlainText(band.scriptAfter);
  } else {
    m_kind->setText(QStringLiteral("aucune bande sélectionnée"));
  }
  m_refreshing = false;
}

}  // namespace vantrel::reports
