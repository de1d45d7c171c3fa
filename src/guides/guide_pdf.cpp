#include "guides/guide_pdf.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>
#include <stdexcept>

namespace vantrel::guides {
namespace {

constexpr int kDpi = 150;
constexpr double kImageDpi = 115;  // a picture of a screen a little larger than on a screen
constexpr double kHeadRoom = 55;   // pixels above and below the text for the head and the foot
const QColor kHeadingColor(0x1f, 0x3a, 0x68);
const QString kFontFamily = QStringLiteral("DejaVu Sans");

QString PageLink(int page) { return QStringLiteral("#page-%1").arg(page, 4, 10, QChar('0')); }

// The page (from 1) on which a block starts.
int PageOf(QTextDocument& document, const QTextBlock& block, double pageHeight) {
  const QRectF rect = document.documentLayout()->blockBoundingRect(block);
  return static_cast<int>(rect.top() / pageHeight) + 1;
}

// Colours the headings, and starts a page before every level-1 heading but the title.
std::vector<QTextBlock> StyleHeadings(QTextDocument& document) {
  std::vector<QTextBlock> headings;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    if (level < 1 || level > 2) continue;
    QTextCursor cursor(block);
    cursor.select(QTextCursor::BlockUnderCursor);
    QTextCharFormat colour;
    colour.setForeground(kHeadingColor);
    cursor.mergeCharFormat(colour);
    if (level == 1 && !headings.empty()) {
      QTextBlockFormat format = block.blockFormat();
      format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
      QTextCursor(block).setBlockFormat(format);
    }
    headings.push_back(block);
  }
  return headings;
}

// Pictures at 115 dots per inch, never wider than the text nor taller than two thirds of a page.
QStringList PlaceImages(QTextDocument& document, const QString& folder, QSizeF text) {
  QStringList missing;
  std::vector<std::pair<int, QString>> captions;  // position after the picture, its text
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat format = fragment.charFormat().toImageFormat();
      const QString name = format.name();
      const QImage image(folder + QLatin1Char('/') + name);
      if (image.isNull()) {
        missing << name;
        continue;
      }
      document.addResource(QTextDocument::ImageResource, QUrl(name), image);
      double width = image.width();
      double height = image.height();
      const double fit = kDpi / kImageDpi;  // device pixels per picture pixel
      const double scale =
          std::min({fit, text.width() / width, text.height() * 0.66 / height}) / fit;
      // The layout draws an image's size scaled from the screen's 96 dots per inch to the
      // writer's: the size is given in those screen units.
      format.setWidth(width * scale * 96.0 / kImageDpi);
      format.setHeight(height * scale * 96.0 / kImageDpi);
      QTextCursor cursor(&document);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(format);
      const QString alt = format.stringProperty(QTextFormat::ImageAltText);
      if (!alt.isEmpty()) captions.emplace_back(fragment.position() + fragment.length(), alt);
    }
  }
  // The text of each picture in small italics under it, from the last so that the positions
  // before it stay true.
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  centred.setBottomMargin(8);
  QTextCharFormat caption;
  caption.setFontItalic(true);
  caption.setFontPointSize(8.5);
  caption.setForeground(QColor(0x44, 0x44, 0x44));
  for (auto it = captions.rbegin(); it != captions.rend(); ++it) {
    QTextCursor cursor(&document);
    cursor.setPosition(it->first);
    cursor.insertBlock(centred, caption);
    cursor.insertText(it->second, caption);
  }
  return missing;
}

// The table of contents after the title block: one row per heading, its text linked to its
// page and the page number at the right.
QTextTable* InsertContents(const QTextBlock& title, const std::vector<GuideHeading>& headings) {
  QTextCursor cursor(title);
  cursor.movePosition(QTextCursor::EndOfBlock);
  QTextBlockFormat plain;
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  bold.setFontPointSize(13);
  bold.setForeground(kHeadingColor);
  cursor.insertBlock(plain);
  cursor.insertText(QStringLiteral("Sommaire"), bold);
  QTextTableFormat tableFormat;
  tableFormat.setBorder(0);
  tableFormat.setCellPadding(2);
  tableFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
  tableFormat.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 90),
                                         QTextLength(QTextLength::PercentageLength, 10)});
  QTextTable* table = cursor.insertTable(static_cast<int>(headings.size()), 2, tableFormat);
  for (int row = 0; row < static_cast<int>(headings.size()); ++row) {
    const GuideHeading& heading = headings[static_cast<std::size_t>(row)];
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(PageLink(heading.page));
    link.setForeground(QColor(0x10, 0x30, 0x90));
    if (heading.level == 1) link.setFontWeight(QFont::Bold);
    QTextCursor cell = table->cellAt(row, 0).firstCursorPosition();
    cell.insertText(QString(heading.level == 1 ? 0 : 4, QChar(0x00A0)) + heading.text, link);
    QTextCursor number = table->cellAt(row, 1).firstCursorPosition();
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    number.setBlockFormat(right);
    number.insertText(QString::number(heading.page), link);
  }
  return table;
}

struct Built {
  std::vector<GuideHeading> headings;
  QStringList missing;
};

// The whole guide in document, laid out on pages of pageSize, with the contents filled in
// from pages (the first pass passes none: every entry on page 0).
Built Build(QTextDocument& document, const QString& markdown, const QString& imagesFolder,
            QSizeF pageSize, const std::vector<int>& pages) {
  document.clear();
  document.setMarkdown(markdown);
  Built built;
  built.missing = PlaceImages(document, imagesFolder, pageSize);
  std::vector<QTextBlock> blocks = StyleHeadings(document);
  if (blocks.empty()) throw std::runtime_error("le guide n'a pas de titre");
  for (std::size_t i = 1; i < blocks.size(); ++i) {
    const int page = i - 1 < pages.size() ? pages[i - 1] : 0;
    built.headings.push_back({blocks[i].blockFormat().headingLevel(), blocks[i].text(), page});
  }
  QTextBlockFormat titleFormat = blocks[0].blockFormat();
  titleFormat.setAlignment(Qt::AlignCenter);
  titleFormat.setBottomMargin(30);
  QTextCursor(blocks[0]).setBlockFormat(titleFormat);
  InsertContents(blocks[0], built.headings);
  document.setPageSize(pageSize);
  return built;
}

std::vector<int> HeadingPages(QTextDocument& document, double pageHeight) {
  std::vector<int> pages;
  bool title = true;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    if (level < 1 || level > 2) continue;
    if (title) {
      title = false;
      continue;
    }
    pages.push_back(PageOf(document, block, pageHeight));
  }
  return pages;
}

}  // namespace

GuideLayout WriteGuidePdf(const QString& markdown, const QString& imagesFolder,
                          const QString& pdfPath) {
  const QString title =
      markdown.section(QLatin1Char('\n'), 0, 0).remove(QRegularExpression("^#+\\s*"));
  {
    QPdfWriter writer(pdfPath);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 12, 18, 12), QPageLayout::Millimeter);
    writer.setResolution(kDpi);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Vantrel"));
    const QRectF paper = writer.pageLayout().paintRectPixels(kDpi);
    const QSizeF body(paper.width(), paper.height() - 2 * kHeadRoom);

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    document.setDefaultFont(QFont(kFontFamily, 10));
    document.setDocumentMargin(0);

    // Two passes: the first finds the pages, the second writes them into the contents. The
    // numbers take no more room than the zeros did, so the pages stay where they were.
    Build(document, markdown, imagesFolder, body, {});
    std::vector<int> pages = HeadingPages(document, body.height());
    Built built = Build(document, markdown, imagesFolder, body, pages);
    const std::vector<int> check = HeadingPages(document, body.height());
    if (check != pages) {
      pages = check;
      built = Build(document, markdown, imagesFolder, body, pages);
    }

    QPainter painter;
    if (!painter.begin(&writer)) throw std::runtime_error("impossible d'écrire le PDF");
    const int count = document.pageCount();
    QFont small(kFontFamily, 8);
    for (int page = 0; page < count; ++page) {
      if (page > 0) writer.newPage();
      painter.save();
      painter.translate(0, kHeadRoom - page * body.height());
      QAbstractTextDocumentLayout::PaintContext context;
      // One pixel short: what starts exactly on the next page (a picture's top edge) stays off.
      context.clip = QRectF(0, page * body.height(), body.width(), body.height() - 1);
      context.palette.setColor(QPalette::Text, Qt::black);
      painter.setClipRect(context.clip);
      document.documentLayout()->draw(&painter, context);
      painter.restore();

      painter.setFont(small);
      painter.setPen(QColor(0x55, 0x55, 0x55));
      if (page > 0) {
        painter.drawText(QRectF(0, 0, body.width(), kHeadRoom * 0.6),
                         Qt::AlignLeft | Qt::AlignBottom, title);
        painter.drawLine(QPointF(0, kHeadRoom * 0.7), QPointF(body.width(), kHeadRoom * 0.7));
      }
      painter.drawText(QRectF(0, paper.height() - kHeadRoom * 0.6, body.width(), kHeadRoom * 0.6),
                       Qt::AlignHCenter | Qt::AlignBottom,
                       QStringLiteral("Page %1 / %2").arg(page + 1).arg(count));
    }
    painter.end();

    GuideLayout layout;
    layout.pages = count;
    layout.headings = built.headings;
    layout.missingImages = built.missing;

    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("PDF illisible");
    QByteArray bytes = file.readAll();
    file.close();
    ResolvePageLinks(bytes);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
      throw std::runtime_error("impossible d'écrire le PDF");
    }
    return layout;
  }
}

int ResolvePageLinks(QByteArray& pdf) {
  const QString text = QString::fromLatin1(pdf);
  // The page objects in page order, from the page tree's Kids.
  static const QRegularExpression kids(QStringLiteral("/Type /Pages\\s*/Kids\\s*\\[([^\\]]*)\\]"));
  const QRegularExpressionMatch tree = kids.match(text);
  if (!tree.hasMatch()) return 0;
  QStringList pages;
  static const QRegularExpression reference(QStringLiteral("(\\d+)\\s+0\\s+R"));
  for (auto it = reference.globalMatch(tree.captured(1)); it.hasNext();) {
    pages << it.next().captured(1);
  }
  static const QRegularExpression link(QStringLiteral(
      "/A\\s*<<\\s*/Type\\s*/Action\\s*/S\\s*/URI\\s*/URI\\s*\\(#page-(\\d+)\\)\\s*>>"));
  int turned = 0;
  for (auto it = link.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    const int page = match.captured(1).toInt();
    if (page < 1 || page > pages.size()) continue;
    QByteArray destination =
        QStringLiteral("/Dest [%1 0 R /XYZ 0 842 null]").arg(pages[page - 1]).toLatin1();
    if (destination.size() > match.capturedLength()) continue;
    destination.append(QByteArray(match.capturedLength() - destination.size(), ' '));
    pdf.replace(match.capturedStart(), match.capturedLength(), destination);
    ++turned;
  }
  return turned;
}

}  // namespace vantrel::guides
