#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace vantrel::guides {

// A help guide written in Markdown, made into an A4 PDF with Qt alone (QTextDocument's
// Markdown reader, QPdfWriter):
//  - the first line "# Title" is the guide's title, shown on its first page above the table
//    of contents;
//  - every other level-1 heading starts a new page; level-1 and level-2 headings make the
//    table of contents, each entry with its page number and a link to that page;
//  - images are read from imagesFolder (a relative path of the Markdown), shown at 115 dots
//    per inch and never wider than the text;
//  - every page but the first carries the title at its head and "Page n / N" at its foot.
struct GuideHeading {
  int level = 1;
  QString text;
  int page = 0;  // counted from 1
};

struct GuideLayout {
  int pages = 0;
  std::vector<GuideHeading> headings;
  QStringList missingImages;
};

// Writes the guide; returns what was laid out. Throws std::runtime_error when the PDF cannot
// be written.
GuideLayout WriteGuidePdf(const QString& markdown, const QString& imagesFolder,
                          const QString& pdfPath);

// Turns the links of a PDF written by Qt whose address is "#page-N" into links to page N of
// the same file. Qt writes such a link as an address to open; it is replaced in place by a
// destination of the same length (blank-padded), so the file's cross-reference table stays
// right. Returns the number of links turned.
int ResolvePageLinks(QByteArray& pdf);

}  // namespace vantrel::guides
