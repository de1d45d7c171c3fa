#include "reports/report_template.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cmath>

namespace vantrel::reports {
namespace {

// Names of the file format, each with its value in the model.
struct NamedBand {
  const char* name;
  BandKind kind;
};
constexpr NamedBand kBandNames[] = {{"title", BandKind::kTitle},
                                    {"page-header", BandKind::kPageHeader},
                                    {"column-header", BandKind::kColumnHeader},
                                    {"group-header", BandKind::kGroupHeader},
                                    {"detail", BandKind::kDetail},
                                    {"group-footer", BandKind::kGroupFooter},
                                    {"summary", BandKind::kSummary},
                                    {"page-footer", BandKind::kPageFooter}};

struct NamedItem {
  const char* name;
  ItemKind kind;
};
constexpr NamedItem kItemNames[] = {{"text", ItemKind::kText},
                                    {"field", ItemKind::kField},
                                    {"line", ItemKind::kLine},
                                    {"frame", ItemKind::kFrame},
                                    {"image", ItemKind::kImage}};

struct NamedFormat {
  const char* name;
  PageFormat format;
};
constexpr NamedFormat kFormatNames[] = {{"A4", PageFormat::kA4}, {"A5", PageFormat::kA5},
                                        {"DL", PageFormat::kDL}, {"C5", PageFormat::kC5},
                                        {"C6", PageFormat::kC6}, {"custom", PageFormat::kCustom}};

QString BandName(BandKind kind) {
  for (const NamedBand& b : kBandNames) {
    if (b.kind == kind) return QLatin1String(b.name);
  }
  return QString();
}

QString ItemName(ItemKind kind) {
  for (const NamedItem& i : kItemNames) {
    if (i.kind == kind) return QLatin1String(i.name);
  }
  return QString();
}

constexpr int kLargestNumber = 10000;

QString Number(double value) { return QString::number(value, 'g', 10); }

// The XML reader's own messages are English; the usual ones are said in French, the others
// are kept in brackets after a French lead.
QString XmlErrorInFrench(const QXmlStreamReader& reader) {
  if (reader.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
    return QStringLiteral("fin du fichier inattendue (un élément n'est pas fermé)");
  }
  const QString text = reader.errorString();
  struct Known {
    const char* english;
    const char* french;
  };
  static const Known kKnown[] = {
      {"Opening and ending tag mismatch.", "la balise de fin ne correspond pas à l'élément ouvert"},
      {"Extra content at end of document.", "du texte suit la fin du modèle (</report>)"},
      {"Invalid XML character.", "caractère interdit en XML"},
      {"Encountered incorrectly encoded content.",
       "texte mal encodé (le fichier doit être en UTF-8)"},
      {"Start tag expected.", "une balise ouvrante était attendue"},
      {"Premature end of document.", "fin du fichier inattendue (un élément n'est pas fermé)"},
      {"Invalid entity value.", "entité incorrecte (écrire &amp; pour &, &lt; pour <)"},
  };
  for (const Known& known : kKnown) {
    if (text == QLatin1String(known.english)) return QString::fromUtf8(known.french);
  }
  if (text.startsWith(QLatin1String("Expected '#' or '[a-zA-Z]'"))) {
    return QStringLiteral("un « & » seul doit s'écrire &amp; (et « < » s'écrire &lt;)");
  }
  if (text.startsWith(QLatin1String("Entity '")) || text.contains(QLatin1String("entity"))) {
    return QStringLiteral("entité inconnue ; écrire &amp; pour &, &lt; pour < (%1)").arg(text);
  }
  return QStringLiteral("XML mal formé (%1)").arg(text);
}

// Reads one element's attributes, recording every problem with its place in the file.
class Attributes {
 public:
  Attributes(QXmlStreamReader& reader, QStringList& errors)
      : m_reader(reader), m_errors(errors), m_attributes(reader.attributes()) {}

  QString text(const char* name, const QString& fallback = QString()) {
    m_known << QLatin1String(name);
    return m_attributes.hasAttribute(QLatin1String(name))
               ? m_attributes.value(QLatin1String(name)).toString()
               : fallback;
  }

  bool has(const char* name) const { return m_attributes.hasAttribute(QLatin1String(name)); }

  double number(const char* name, double fallback) {
    QString value = text(name);
    if (value.isNull()) return fallback;
    bool ok = false;
    double n = QString(value).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(n)) {
      error(QStringLiteral("l'attribut %1=\"%2\" n'est pas un nombre")
                .arg(QLatin1String(name), value));
      return fallback;
    }
    // Lengths of a page are a few hundred millimetres; larger ones are typing mistakes and
    // would overflow the layout.
    if (std::abs(n) > kLargestNumber) {
      error(QStringLiteral("l'attribut %1=\"%2\" est hors de -%3 à %3")
                .arg(QLatin1String(name), value)
                .arg(kLargestNumber));
      return fallback;
    }
    return n;
  }

  bool flag(const char* name, bool fallback) {
    QString value = text(name).toLower();
    if (value.isNull()) return fallback;
    if (value == QLatin1String("true") || value == QLatin1String("yes") ||
        value == QLatin1String("1")) {
      return true;
    }
    if (value == QLatin1String("false") || value == QLatin1String("no") ||
        value == QLatin1String("0")) {
      return false;
    }
    error(QStringLiteral("l'attribut %1=\"%2\" doit valoir true ou false")
              .arg(QLatin1String(name), value));
    return fallback;
  }

  QColor color(const char* name, const QColor& fallback) {
    QString value = text(name);
    if (value.isNull()) return fallback;
    QColor c = QColor::fromString(value);
    if (!c.isValid()) {
      error(QStringLiteral("l'attribut %1=\"%2\" n'est pas une couleur (par exemple #336699)")
                .arg(QLatin1String(name), value));
      return fallback;
    }
    return c;
  }

  // Reports attributes that were never asked for: most often a misspelt name.
  void finish() {
    for (const QXmlStreamAttribute& attribute : m_attributes) {
      if (!m_known.contains(attribute.name().toString())) {
        error(QStringLiteral("attribut inconnu « %1 » sur <%2>")
                  .arg(attribute.name().toString(), m_reader.name().toString()));
      }
    }
  }

  void error(const QString& message) {
    m_errors << QStringLiteral("Ligne %1, colonne %2 : %3")
                    .arg(m_reader.lineNumber())
                    .arg(m_reader.columnNumber())
                    .arg(message);
  }

 private:
  QXmlStreamReader& m_reader;
  QStringList& m_errors;
  QXmlStreamAttributes m_attributes;
  QStringList m_known;
};

class TemplateReader {
 public:
  explicit TemplateReader(const QByteArray& xml) : m_reader(xml) {}

  TemplateLoad read() {
    TemplateLoad load;
    ReportTemplate report;
    while (!m_reader.atEnd() && !m_reader.isStartElement()) {
      m_reader.readNext();
      if (m_reader.isComment() && report.comment.isEmpty()) {
        report.comment = m_reader.text().toString();
      }
    }
    if (m_reader.isStartElement()) {
      if (m_reader.name() != QLatin1String("report")) {
        error(QStringLiteral("l'élément racine doit être <report>, pas <%1>")
                  .arg(m_reader.name().toString()));
      } else {
        readReport(report);
      }
    }
    // Whatever follows the root element must be comments or blanks.
    while (!m_reader.atEnd() && !m_reader.hasError()) m_reader.readNext();
    if (m_reader.hasError()) {
      m_errors << QStringLiteral("Ligne %1, colonne %2 : XML incorrect : %3")
                      .arg(m_reader.lineNumber())
                      .arg(m_reader.columnNumber())
                      .arg(XmlErrorInFrench(m_reader));
    } else if (m_errors.isEmpty() && !m_sawReport) {
      m_errors << QStringLiteral("Le fichier ne contient pas de modèle d'état (<report>)");
    }
    load.errors = m_errors;
    if (m_errors.isEmpty()) load.value = std::move(report);
    return load;
  }

 private:
  void error(const QString& message) {
    m_errors << QStringLiteral("Ligne %1, colonne %2 : %3")
                    .arg(m_reader.lineNumber())
                    .arg(m_reader.columnNumber())
                    .arg(message);
  }

  void readReport(ReportTemplate& report) {
    m_sawReport = true;
    Attributes attributes(m_reader, m_errors);
    QString version = attributes.text("version", QStringLiteral("1"));
    if (version != QLatin1String("1")) {
      attributes.error(
          QStringLiteral("version de modèle %1 inconnue (ce programme lit la version 1)")
              .arg(version));
    }
    report.name = attributes.text("name");
    attributes.finish();
    while (m_reader.readNextStartElement()) {
      QStringView name = m_reader.name();
      if (name == QLatin1String("page")) {
        readPage(report.page);
      } else if (name == QLatin1String("variable")) {
        report.variables.push_back(readVariable());
      } else if (name == QLatin1String("band")) {
        report.bands.push_back(readBand());
      } else {
        error(QStringLiteral("élément inconnu <%1> dans <report>").arg(name.toString()));
        m_reader.skipCurrentElement();
      }
    }
  }

  void readPage(PageSetup& page) {
    Attributes a(m_reader, m_errors);
    QString format = a.text("format", QStringLiteral("A4"));
    bool known = false;
    for (const NamedFormat& f : kFormatNames) {
      if (format.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0) {
        page.format = f.format;
        known = true;
      }
    }
    if (!known) {
      a.error(QStringLiteral("format de page « %1 » inconnu (A4, A5, DL, C5, C6 ou custom)")
                  .arg(format));
    }
    page.customShortMm = a.number("short-side", page.customShortMm);
    page.customLongMm = a.number("long-side", page.customLongMm);
    if (page.customShortMm > page.customLongMm) std::swap(page.customShortMm, page.customLongMm);
    QString orientation = a.text("orientation", QStringLiteral("portrait"));
    if (orientation != QLatin1String("portrait") && orientation != QLatin1String("landscape")) {
      a.error(
          QStringLiteral("orientation « %1 » inconnue (portrait ou landscape)").arg(orientation));
    }
    page.landscape = orientation == QLatin1String("landscape");
    page.marginLeft = a.number("margin-left", page.marginLeft);
    page.marginTop = a.number("margin-top", page.marginTop);
    page.marginRight = a.number("margin-right", page.marginRight);
    page.marginBottom = a.number("margin-bottom", page.marginBottom);
    page.printOffsetX = a.number("print-offset-x", page.printOffsetX);
    page.printOffsetY = a.number("print-offset-y", page.printOffsetY);
    a.finish();
    m_reader.skipCurrentElement();
  }

  VariableDef readVariable() {
    VariableDef variable;
    variable.source.line = static_cast<int>(m_reader.lineNumber());
    Attributes a(m_reader, m_errors);
    variable.name = a.text("name");
    if (variable.name.isEmpty()) a.error(QStringLiteral("<variable> sans attribut name"));
    variable.initial = a.text("initial", QStringLiteral("0"));
    QString reset = a.text("reset", QStringLiteral("never"));
    if (reset == QLatin1String("page")) {
      variable.reset = VariableReset::kPage;
    } else if (reset == QLatin1String("group")) {
      variable.reset = VariableReset::kGroup;
    } else if (reset != QLatin1String("never")) {
      a.error(QStringLiteral("reset=\"%1\" inconnu (never, page ou group)").arg(reset));
    }
    variable.group = a.text("group");
    if (variable.reset == VariableReset::kGroup && variable.group.isEmpty()) {
      a.error(QStringLiteral("la variable %1 est remise à zéro par groupe mais ne nomme pas "
                             "son groupe (group=\"...\")")
                  .arg(variable.name));
    }
    a.finish();
    m_reader.skipCurrentElement();
    return variable;
  }

  Band readBand() {
    Band band;
    band.source.line = static_cast<int>(m_reader.lineNumber());
    Attributes a(m_reader, m_errors);
    QString kind = a.text("kind");
    bool known = false;
    for (const NamedBand& b : kBandNames) {
      if (kind == QLatin1String(b.name)) {
        band.kind = b.kind;
        known = true;
      }
    }
    if (!known) {
      a.error(QStringLiteral("type de bande « %1 » inconnu (title, page-header, column-header, "
                             "group-header, detail, group-footer, summary, page-footer)")
                  .arg(kind));
    }
    band.height = a.number("height", band.height);
    if (band.height < 0 || band.height > 2000) {
      a.error(QStringLiteral("hauteur de bande %1 hors de 0 à 2000 mm").arg(band.height));
      band.height = 10;
    }
    band.group = a.text("group");
    band.groupKey = a.text("key");
    band.columns = static_cast<int>(a.number("columns", 1));
    if (band.columns < 1 || band.columns > 10) {
      a.error(QStringLiteral("columns=\"%1\" : de 1 à 10 colonnes").arg(band.columns));
      band.columns = 1;
    }
    band.columnGap = a.number("column-gap", band.columnGap);
    band.pageBreakAfter = a.flag("page-break-after", false);
    band.onFirstPage = a.flag("on-first-page", true);
    band.repeatOnNewPage = a.flag("repeat", false);
    if (band.repeatOnNewPage && band.kind != BandKind::kGroupHeader) {
      a.error(QStringLiteral("repeat=\"true\" ne vaut que pour un en-tête de groupe"));
    }
    if ((band.kind == BandKind::kGroupHeader || band.kind == BandKind::kGroupFooter) &&
        band.group.isEmpty()) {
      a.error(QStringLiteral("une bande de groupe doit nommer son groupe (group=\"...\")"));
    }
    if (band.kind == BandKind::kGroupHeader && band.groupKey.isEmpty()) {
      a.error(QStringLiteral("un en-tête de groupe doit donner sa clé (key=\"...\")"));
    }
    a.finish();
    while (m_reader.readNextStartElement()) {
      QStringView name = m_reader.name();
      if (name == QLatin1String("script")) {
        Attributes s(m_reader, m_errors);
        QString when = s.text("when", QStringLiteral("before"));
        s.finish();
        QString code = m_reader.readElementText();
        if (when == QLatin1String("before")) {
          band.scriptBefore = code;
        } else if (when == QLatin1String("after")) {
          band.scriptAfter = code;
        } else {
          error(QStringLiteral("when=\"%1\" inconnu (before ou after)").arg(when));
        }
        continue;
      }
      bool item = false;
      for (const NamedItem& i : kItemNames) {
        if (name == QLatin1String(i.name)) {
          band.items.push_back(readItem(i.kind));
          item = true;
          break;
        }
      }
      if (!item) {
        error(QStringLiteral("élément inconnu <%1> dans une bande").arg(name.toString()));
        m_reader.skipCurrentElement();
      }
    }
    return band;
  }

  ReportItem readItem(ItemKind kind) {
    ReportItem item;
    item.kind = kind;
    item.source.line = static_cast<int>(m_reader.lineNumber());
    Attributes a(m_reader, m_errors);
    item.x = a.number("x", 0);
    item.y = a.number("y", 0);
    item.width = a.number("width", item.width);
    item.height = a.number("height", item.height);
    if (kind == ItemKind::kLine) {
      item.width = a.number("width", 0);
      item.height = a.number("height", 0);
    }
    item.format = a.text("format");
    item.font.family = a.text("font", item.font.family);
    item.font.pointSize = a.number("font-size", item.font.pointSize);
    if (item.font.pointSize <= 0 || item.font.pointSize > 200) {
      a.error(QStringLiteral("taille de police %1 hors de 1 à 200").arg(item.font.pointSize));
      item.font.pointSize = 10;
    }
    item.font.bold = a.flag("bold", false);
    item.font.italic = a.flag("italic", false);
    item.font.underline = a.flag("underline", false);
    QString align = a.text("align", QStringLiteral("left"));
    if (align == QLatin1String("center")) {
      item.align = HAlign::kCenter;
    } else if (align == QLatin1String("right")) {
      item.align = HAlign::kRight;
    } else if (align != QLatin1String("left")) {
      a.error(QStringLiteral("align=\"%1\" inconnu (left, center ou right)").arg(align));
    }
    QString valign = a.text("valign", QStringLiteral("top"));
    if (valign == QLatin1String("middle")) {
      item.valign = VAlign::kMiddle;
    } else if (valign == QLatin1String("bottom")) {
      item.valign = VAlign::kBottom;
    } else if (valign != QLatin1String("top")) {
      a.error(QStringLiteral("valign=\"%1\" inconnu (top, middle ou bottom)").arg(valign));
    }
    const QStringList sides = a.text("borders").split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& side : sides) {
      if (side == QLatin1String("all")) {
        item.borders.left = item.borders.top = item.borders.right = item.borders.bottom = true;
      } else if (side == QLatin1String("left")) {
        item.borders.left = true;
      } else if (side == QLatin1String("top")) {
        item.borders.top = true;
      } else if (side == QLatin1String("right")) {
        item.borders.right = true;
      } else if (side == QLatin1String("bottom")) {
        item.borders.bottom = true;
      } else if (side != QLatin1String("none")) {
        a.error(
            QStringLiteral("bordure « %1 » inconnue (all, left, top, right, bottom)").arg(side));
      }
    }
    item.borders.widthMm = a.number("border-width", item.borders.widthMm);
    item.wordWrap = a.flag("wrap", false);
    item.grow = a.flag("grow", false);
    item.name = a.text("name");
    item.linesOf = a.text("lines-of");
    item.condition = a.text("if");
    item.conditionColor = a.color("if-color", QColor());
    item.conditionBold = a.flag("if-bold", false);
    item.color = a.color("color", item.color);
    item.fill = a.color("fill", QColor());
    item.lineWidthMm = a.number("line-width", item.lineWidthMm);
    if (kind == ItemKind::kImage) item.content = a.text("file");
    a.finish();
    if (kind == ItemKind::kText || kind == ItemKind::kField) {
      item.content = m_reader.readElementText();
    } else {
      m_reader.skipCurrentElement();
    }
    return item;
  }

  QXmlStreamReader m_reader;
  QStringList m_errors;
  bool m_sawReport = false;
};

void WriteItem(QXmlStreamWriter& w, const ReportItem& item) {
  const ReportItem defaults;
  w.writeStartElement(ItemName(item.kind));
  w.writeAttribute(QStringLiteral("x"), Number(item.x));
  w.writeAttribute(QStringLiteral("y"), Number(item.y));
  w.writeAttribute(QStringLiteral("width"), Number(item.width));
  w.writeAttribute(QStringLiteral("height"), Number(item.height));
  bool textual = item.kind == ItemKind::kText || item.kind == ItemKind::kField;
  if (!item.format.isEmpty()) w.writeAttribute(QStringLiteral("format"), item.format);
  if (textual) {
    if (item.font.family != defaults.font.family) {
      w.writeAttribute(QStringLiteral("font"), item.font.family);
    }
    if (item.font.pointSize != defaults.font.pointSize) {
      w.writeAttribute(QStringLiteral("font-size"), Number(item.font.pointSize));
    }
    if (item.font.bold) w.writeAttribute(QStringLiteral("bold"), QStringLiteral("true"));
    if (item.font.italic) w.writeAttribute(QStringLiteral("italic"), QStringLiteral("true"));
    if (item.font.underline) w.writeAttribute(QStringLiteral("underline"), QStringLiteral("true"));
    if (item.align != HAlign::kLeft) {
      w.writeAttribute(QStringLiteral("align"), item.align == HAlign::kCenter
                                                    ? QStringLiteral("center")
                                                    : QStringLiteral("right"));
    }
    if (item.valign != VAlign::kTop) {
      w.writeAttribute(QStringLiteral("valign"), item.valign == VAlign::kMiddle
                                                     ? QStringLiteral("middle")
                                                     : QStringLiteral("bottom"));
    }
    if (item.wordWrap) w.writeAttribute(QStringLiteral("wrap"), QStringLiteral("true"));
    if (item.grow) w.writeAttribute(QStringLiteral("grow"), QStringLiteral("true"));
    if (!item.name.isEmpty()) w.writeAttribute(QStringLiteral("name"), item.name);
    if (!item.linesOf.isEmpty()) w.writeAttribute(QStringLiteral("lines-of"), item.linesOf);
    if (!item.condition.isEmpty()) w.writeAttribute(QStringLiteral("if"), item.condition);
    if (item.conditionColor.isValid()) {
      w.writeAttribute(QStringLiteral("if-color"), item.conditionColor.name(QColor::HexArgb));
    }
    if (item.conditionBold) w.writeAttribute(QStringLiteral("if-bold"), QStringLiteral("true"));
  }
  if (item.borders.any()) {
    QStringList sides;
    if (item.borders.left && item.borders.top && item.borders.right && item.borders.bottom) {
      sides << QStringLiteral("all");
    } else {
      if (item.borders.left) sides << QStringLiteral("left");
      if (item.borders.top) sides << QStringLiteral("top");
      if (item.borders.right) sides << QStringLiteral("right");
      if (item.borders.bottom) sides << QStringLiteral("bottom");
    }
    w.writeAttribute(QStringLiteral("borders"), sides.join(QLatin1Char(' ')));
  }
  if (item.borders.widthMm != defaults.borders.widthMm) {
    w.writeAttribute(QStringLiteral("border-width"), Number(item.borders.widthMm));
  }
  if (item.color != defaults.color) {
    w.writeAttribute(QStringLiteral("color"), item.color.name(QColor::HexArgb));
  }
  if (item.fill.isValid())
    w.writeAttribute(QStringLiteral("fill"), item.fill.name(QColor::HexArgb));
  if (item.lineWidthMm != defaults.lineWidthMm) {
    w.writeAttribute(QStringLiteral("line-width"), Number(item.lineWidthMm));
  }
  if (item.kind == ItemKind::kImage) w.writeAttribute(QStringLiteral("file"), item.content);
  if (textual) w.writeCharacters(item.content);
  w.writeEndElement();
}

void WritePage(QXmlStreamWriter& w, const PageSetup& page) {
  w.writeStartElement(QStringLiteral("page"));
  for (const NamedFormat& f : kFormatNames) {
    if (f.format == page.format) w.writeAttribute(QStringLiteral("format"), QLatin1String(f.name));
  }
  if (page.format == PageFormat::kCustom) {
    w.writeAttribute(QStringLiteral("short-side"), Number(page.customShortMm));
    w.writeAttribute(QStringLiteral("long-side"), Number(page.customLongMm));
  }
  w.writeAttribute(QStringLiteral("orientation"),
                   page.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
  w.writeAttribute(QStringLiteral("margin-left"), Number(page.marginLeft));
  w.writeAttribute(QStringLiteral("margin-top"), Number(page.marginTop));
  w.writeAttribute(QStringLiteral("margin-right"), Number(page.marginRight));
  w.writeAttribute(QStringLiteral("margin-bottom"), Number(page.marginBottom));
  if (page.printOffsetX != 0 || page.printOffsetY != 0) {
    w.writeAttribute(QStringLiteral("print-offset-x"), Number(page.printOffsetX));
    w.writeAttribute(QStringLiteral("print-offset-y"), Number(page.printOffsetY));
  }
  w.writeEndElement();
}

void WriteVariable(QXmlStreamWriter& w, const VariableDef& variable) {
  w.writeStartElement(QStringLiteral("variable"));
  w.writeAttribute(QStringLiteral("name"), variable.name);
  w.writeAttribute(QStringLiteral("initial"), variable.initial);
  if (variable.reset != VariableReset::kNever) {
    w.writeAttribute(QStringLiteral("reset"), variable.reset == VariableReset::kPage
                                                  ? QStringLiteral("page")
                                                  : QStringLiteral("group"));
  }
  if (!variable.group.isEmpty()) w.writeAttribute(QStringLiteral("group"), variable.group);
  w.writeEndElement();
}

void WriteBand(QXmlStreamWriter& w, const Band& band) {
  w.writeStartElement(QStringLiteral("band"));
  w.writeAttribute(QStringLiteral("kind"), BandName(band.kind));
  w.writeAttribute(QStringLiteral("height"), Number(band.height));
  if (!band.group.isEmpty()) w.writeAttribute(QStringLiteral("group"), band.group);
  if (!band.groupKey.isEmpty()) w.writeAttribute(QStringLiteral("key"), band.groupKey);
  if (band.columns != 1) {
    w.writeAttribute(QStringLiteral("columns"), QString::number(band.columns));
  }
  if (band.columnGap != Band().columnGap) {
    w.writeAttribute(QStringLiteral("column-gap"), Number(band.columnGap));
  }
  if (band.pageBreakAfter) {
    w.writeAttribute(QStringLiteral("page-break-after"), QStringLiteral("true"));
  }
  if (!band.onFirstPage) w.writeAttribute(QStringLiteral("on-first-page"), QStringLiteral("false"));
  if (band.repeatOnNewPage) w.writeAttribute(QStringLiteral("repeat"), QStringLiteral("true"));
  if (!band.scriptBefore.isEmpty()) {
    w.writeStartElement(QStringLiteral("script"));
    w.writeAttribute(QStringLiteral("when"), QStringLiteral("before"));
    w.writeCharacters(band.scriptBefore);
    w.writeEndElement();
  }
  if (!band.scriptAfter.isEmpty()) {
    w.writeStartElement(QStringLiteral("script"));
    w.writeAttribute(QStringLiteral("when"), QStringLiteral("after"));
    w.writeCharacters(band.scriptAfter);
    w.writeEndElement();
  }
  for (const ReportItem& item : band.items) WriteItem(w, item);
  w.writeEndElement();
}

}  // namespace

QSizeF PageSetup::sizeMm() const {
  QSizeF portrait;
  switch (format) {
    case PageFormat::kA4:
      portrait = QSizeF(210, 297);
      break;
    case PageFormat::kA5:
      portrait = QSizeF(148, 210);
      break;
    case PageFormat::kDL:
      portrait = QSizeF(110, 220);
      break;
    case PageFormat::kC5:
      portrait = QSizeF(162, 229);
      break;
    case PageFormat::kC6:
      portrait = QSizeF(114, 162);
      break;
    case PageFormat::kCustom:
      portrait = QSizeF(customShortMm, customLongMm);
      break;
  }
  return landscape ? portrait.transposed() : portrait;
}

TemplateLoad ParseTemplate(const QByteArray& xml) { return TemplateReader(xml).read(); }

QByteArray WriteTemplate(const ReportTemplate& report) {
  QByteArray bytes;
  QXmlStreamWriter w(&bytes);
  w.setAutoFormatting(true);
  w.setAutoFormattingIndent(2);
  w.writeStartDocument();
  if (!report.comment.isEmpty()) w.writeComment(report.comment);
  w.writeStartElement(QStringLiteral("report"));
  w.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
  if (!report.name.isEmpty()) w.writeAttribute(QStringLiteral("name"), report.name);
  WritePage(w, report.page);
  for (const VariableDef& variable : report.variables) WriteVariable(w, variable);
  for (const Band& band : report.bands) WriteBand(w, band);
  w.writeEndElement();
  w.writeEndDocument();
  return bytes;
}

bool SaveTemplateFile(const QString& path, const ReportTemplate& report, QString* error) {
  QString backup = path + QStringLiteral(".bak");
  if (QFileInfo::exists(path)) {
    QFile::remove(backup);
    if (!QFile::copy(path, backup)) {
      *error = QStringLiteral("Impossible de créer le fichier %1").arg(backup);
      return false;
    }
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(WriteTemplate(report)) < 0 || !file.commit()) {
    *error = QStringLiteral("Impossible de créer le fichier %1").arg(path);
    return false;
  }
  return true;
}

QString BandKindLabel(BandKind kind) {
  switch (kind) {
    case BandKind::kTitle:
      return QStringLiteral("Titre");
    case BandKind::kPageHeader:
      return QStringLiteral("En-tête de page");
    case BandKind::kColumnHeader:
      return QStringLiteral("En-tête de colonnes");
    case BandKind::kGroupHeader:
      return QStringLiteral("En-tête de groupe");
    case BandKind::kDetail:
      return QStringLiteral("Détail");
    case BandKind::kGroupFooter:
      return QStringLiteral("Pied de groupe");
    case BandKind::kSummary:
      return QStringLiteral("Récapitulatif");
    case BandKind::kPageFooter:
      return QStringLiteral("Pied de page");
  }
  return QString();
}

QString ItemKindLabel(ItemKind kind) {
  switch (kind) {
    case ItemKind::kText:
      return QStringLiteral("Texte");
    case ItemKind::kField:
      return QStringLiteral("Champ");
    case ItemKind::kLine:
      return QStringLiteral("Trait");
    case ItemKind::kFrame:
      return QStringLiteral("Cadre");
    case ItemKind::kImage:
      return QStringLiteral("Image");
  }
  return QString();
}

}  // namespace vantrel::reports
