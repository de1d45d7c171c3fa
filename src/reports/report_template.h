#pragma once

#include <QByteArray>
#include <QColor>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace vantrel::reports {

// Where a band or an item was read in its file; never part of a template's equality.
struct SourceLine {
  int line = 0;
  friend bool operator==(SourceLine, SourceLine) { return true; }
};

enum class PageFormat { kA4, kA5, kDL, kC5, kC6, kCustom };

// The paper, in millimetres. Sizes are held as (short side, long side) plus an orientation,
// so a custom envelope turned to landscape keeps its width and height.
struct PageSetup {
  PageFormat format = PageFormat::kA4;
  double customShortMm = 210;  // used for PageFormat::kCustom
  double customLongMm = 297;
  bool landscape = false;
  double marginLeft = 15;
  double marginTop = 12;
  double marginRight = 15;
  double marginBottom = 12;
  // Moved by this much when printed on paper (not in the preview nor in PDF files), for
  // printers that feed envelopes off centre.
  double printOffsetX = 0;
  double printOffsetY = 0;

  // Width and height as laid out, orientation applied.
  QSizeF sizeMm() const;
  friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

struct FontStyle {
  QString family = QStringLiteral("DejaVu Sans");
  double pointSize = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const FontStyle&, const FontStyle&) = default;
};

enum class HAlign { kLeft, kCenter, kRight };
enum class VAlign { kTop, kMiddle, kBottom };

struct Borders {
  bool left = false;
  bool top = false;
  bool right = false;
  bool bottom = false;
  double widthMm = 0.2;
  bool any() const { return left || top || right || bottom; }
  friend bool operator==(const Borders&, const Borders&) = default;
};

enum class ItemKind { kText, kField, kLine, kFrame, kImage };

// One item of a band, positioned in millimetres from the band's top-left corner (the
// column's, in a detail band with columns). A line runs from (x, y) to (x + width,
// y + height): height 0 draws it across, width 0 down.
struct ReportItem {
  ItemKind kind = ItemKind::kText;
  double x = 0;
  double y = 0;
  double width = 40;
  double height = 5;
  // Text: the text with inserted expressions ("Page [Page] / [NbPages]"). Field: the
  // expression. Image: the picture's file, relative to the template's folder.
  QString content;
  QString format;  // see ValueFormat
  FontStyle font;
  HAlign align = HAlign::kLeft;
  VAlign valign = VAlign::kTop;
  Borders borders;
  bool wordWrap = false;
  bool grow = false;  // the band grows to show every wrapped line
  // Column heading of the item in a CSV export (text and field of a detail band).
  QString name;
  // The name of another text of the band whose lines this one follows: line k of this text
  // (its k-th line break) is printed beside the first line of paragraph k of that one,
  // however that one wraps. For amounts beside account names that may take two lines.
  QString linesOf;
  // Conditional style: when the expression holds for the record, the text takes
  // conditionColor (when valid) and bold (when conditionBold).
  QString condition;
  QColor conditionColor;
  bool conditionBold = false;
  QColor color = Qt::black;
  QColor fill;  // invalid: none
  double lineWidthMm = 0.2;
  SourceLine source;
  friend bool operator==(const ReportItem&, const ReportItem&) = default;
};

enum class BandKind {
  kTitle,
  kPageHeader,
  kColumnHeader,
  kGroupHeader,
  kDetail,
  kGroupFooter,
  kSummary,
  kPageFooter
};

struct Band {
  BandKind kind = BandKind::kDetail;
  double height = 10;
  QString group;     // group header and footer: the group's name
  QString groupKey;  // group header: the expression whose change starts a new group
  int columns = 1;   // detail: laid out down, then across, in this many columns
  double columnGap = 5;
  bool pageBreakAfter = false;   // detail: one record per page (envelopes)
  bool onFirstPage = true;       // page header and footer
  bool repeatOnNewPage = false;  // group header: printed again at the top of each page its
                                 // group continues on
  QString scriptBefore;          // assignments run before the band is filled
  QString scriptAfter;           // assignments run after it is placed
  std::vector<ReportItem> items;
  SourceLine source;
  friend bool operator==(const Band&, const Band&) = default;
};

enum class VariableReset { kNever, kPage, kGroup };

// A variable the template owns: set to its initial value when the report starts and, when
// asked, again at each new page or each new group.
struct VariableDef {
  QString name;
  QString initial = QStringLiteral("0");  // an expression
  VariableReset reset = VariableReset::kNever;
  QString group;  // for VariableReset::kGroup
  SourceLine source;
  friend bool operator==(const VariableDef&, const VariableDef&) = default;
};

struct ReportTemplate {
  // The comment at the top of the file, before <report>, kept by the designer (comments
  // elsewhere in the file are not).
  QString comment;
  QString name;
  PageSetup page;
  std::vector<VariableDef> variables;
  std::vector<Band> bands;  // in the order of the file; kinds may come in any order
  friend bool operator==(const ReportTemplate&, const ReportTemplate&) = default;
};

// Outcome of reading a template: the template when the XML was read, else the reasons.
struct TemplateLoad {
  std::optional<ReportTemplate> value;
  QStringList errors;  // French, with line and column
};

// The file's bytes (UTF-8 XML, root element <report version="1">) to a template.
TemplateLoad ParseTemplate(const QByteArray& xml);
// The template as XML, in the layout that ParseTemplate reads back to an equal template.
QByteArray WriteTemplate(const ReportTemplate& report);
// Writes atomically (QSaveFile), after copying the file there to path + ".bak". False and a
// French message in *error when it cannot.
bool SaveTemplateFile(const QString& path, const ReportTemplate& report, QString* error);

// French name of a band kind, for messages and the designer: "Détail", "Pied de page", ...
QString BandKindLabel(BandKind kind);
QString ItemKindLabel(ItemKind kind);

}  // namespace vantrel::reports
