#include "reports/designer_page_panel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <iterator>
#include <utility>

namespace vantrel::reports {
namespace {

struct PageFormatChoice {
  const char* label;
  PageFormat format;
};
constexpr PageFormatChoice kPageFormats[] = {
    {"A4 (210 × 297)", PageFormat::kA4},           {"A5 (148 × 210)", PageFormat::kA5},
    {"Enveloppe DL (110 × 220)", PageFormat::kDL}, {"Enveloppe C5 (162 × 229)", PageFormat::kC5},
    {"Enveloppe C6 (114 × 162)", PageFormat::kC6}, {"Personnalisé", PageFormat::kCustom}};

}  // namespace

DesignerPagePanel::DesignerPagePanel(TemplateEditor& editor, QWidget* parent)
    : QGroupBox(QStringLiteral("Mise en page"), parent), m_editor(editor) {
  auto* form = new QFormLayout(this);
  m_format = new QComboBox(this);
  for (const PageFormatChoice& choice : kPageFormats)
    m_format->addItem(QString::fromUtf8(choice.label));
  form->addRow(QStringLiteral("Format"), m_format);
  m_shortSide = MmBox(20, 2000);
  m_longSide = MmBox(20, 2000);
  form->addRow(QStringLiteral("Petit côté"), m_shortSide);
  form->addRow(QStringLiteral("Grand côté"), m_longSide);
  m_orientation = new QComboBox(this);
  m_orientation->addItems({QStringLiteral("Portrait"), QStringLiteral("Paysage")});
  form->addRow(QStringLiteral("Orientation"), m_orientation);
  m_marginLeft = MmBox(0, 200);
  m_marginTop = MmBox(0, 200);
  m_marginRight = MmBox(0, 200);
  m_marginBottom = MmBox(0, 200);
  form->addRow(QStringLiteral("Marge gauche"), m_marginLeft);
  form->addRow(QStringLiteral("Marge haute"), m_marginTop);
  form->addRow(QStringLiteral("Marge droite"), m_marginRight);
  form->addRow(QStringLiteral("Marge basse"), m_marginBottom);
  m_offsetX = MmBox(-50, 50);
  m_offsetY = MmBox(-50, 50);
  m_offsetX->setToolTip(
      QStringLiteral("Décalage à l'impression sur papier seulement (enveloppes)"));
  m_offsetY->setToolTip(m_offsetX->toolTip());
  form->addRow(QStringLiteral("Décalage impression →"), m_offsetX);
  form->addRow(QStringLiteral("Décalage impression ↓"), m_offsetY);
  bind();
}

// A length of the page; the custom sides are kept short then long.
void DesignerPagePanel::bindValue(QDoubleSpinBox* box, double PageSetup::*member) {
  connect(box, &QDoubleSpinBox::valueChanged, this, [this, member](double value) {
    if (m_refreshing) return;
    m_editor.change(QStringLiteral("Mise en page"), [&](ReportTemplate& t) {
      t.page.*member = value;
      if (t.page.customShortMm > t.page.customLongMm)
        std::swap(t.page.customShortMm, t.page.customLongMm);
    });
  });
}

void DesignerPagePanel::bind() {
  connect(m_format, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (m_refreshing) return;
    m_editor.change(QStringLiteral("Format de page"),
                    [&](ReportTemplate& t) { t.page.format = kPageFormats[index].format; });
  });
  bindValue(m_shortSide, &PageSetup::customShortMm);
  bindValue(m_longSide, &PageSetup::customLongMm);
  bindValue(m_marginLeft, &PageSetup::marginLeft);
  bindValue(m_marginTop, &PageSetup::marginTop);
  bindValue(m_marginRight, &PageSetup::marginRight);
  bindValue(m_marginBottom, &PageSetup::marginBottom);
  bindValue(m_offsetX, &PageSetup::printOffsetX);
  bindValue(m_offsetY, &PageSetup::printOffsetY);
  connect(m_orientation, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (m_refreshing) return;
    m_editor.change(QStringLiteral("Orientation"),
                    [&](ReportTemplate& t) { t.page.landscape = index == 1; });
  });
}

void DesignerPagePanel::refresh() {
  m_refreshing = true;
  const PageSetup& page = m_editor.editedTemplate().page;
  for (int f = 0; f < static_cast<int>(std::size(kPageFormats)); ++f) {
    if (kPageFormats[f].format == page.format) m_format->setCurrentIndex(f);
  }
  m_shortSide->setValue(page.customShortMm);
  m_longSide->setValue(page.customLongMm);
  m_shortSide->setEnabled(page.format == PageFormat::kCustom);
  m_longSide->setEnabled(page.format == PageFormat::kCustom);
  m_orientation->setCurrentIndex(page.landscape ? 1 : 0);
  m_marginLeft->setValue(page.marginLeft);
  m_marginTop->setValue(page.marginTop);
  m_marginRight->setValue(page.marginRight);
  m_marginBottom->setValue(page.marginBottom);
  m_offsetX->setValue(page.printOffsetX);
  m_offsetY->setValue(page.printOffsetY);
  m_refreshing = false;
}

}  // namespace vantrel::reports
