#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/record_file.h"

namespace vantrel::competitions {

// A tournament result page saved from the federation's web site (UTF-8 HTML) is handled as
// lines of raw bytes: every marker below is compared with the bytes of the UTF-8 text, as a
// whole line with its exact leading spaces. A page extract (".chi") is line 0 of the page
// followed by the lines of its result sections, unchanged; it is itself a displayable page.
//
// Markers of a result page (leading spaces, then text):
//   recognition, case ignored:  12 "Open /2 ", 16 "Télécharger le livret", 12 "Résultats"
//   section start:               8 or 12 '<div class="container-table columns">'
//   section end:                 4 "</section>", 8 "<!-- Simultanee only -->"
//   line never kept:             8 '<div class="container-table">'
//   table body:                 16 "<tbody>"
//   table-number column, case ignored:
//                               24 '<!----><td ng-if="section.data[0].table_number"
//                               class="text-center">'
//   cell before a rank:         24 '<td class="text-center">'
//   end of the table body:      "</tbody>" anywhere on a line after the last pair
// In a table the rank line follows its cell line; the names of the pair's players are on
// the lines 10 and 14 below the rank (12 and 16 when the page has the table-number column).

// True when a line of the page is one of the recognition lines.
bool IsResultPage(const Lines& page);

// The page extract: line 0 and the lines of the result sections. Nothing when the page is
// not recognised.
std::optional<Lines> SelectResultSections(const Lines& page);

// True when the page ends inside a result section, before that section's end marker: a page
// cut short (saved before it had loaded whole, or truncated on its way). Its extract would
// read as a shorter tournament, so it is refused.
bool EndsInsideResultSection(const Lines& page);

// One pair as the page gives it, Windows-1252: the rank as written, the two names whole.
struct PagePair {
  std::string rank;
  std::string nameA;
  std::string nameB;

  friend bool operator==(const PagePair&, const PagePair&) = default;
};

struct PageReading {
  std::vector<PagePair> pairs;
  // The page stops before the end of its table: before the names of a ranked pair (reading
  // stopped there, and truncatedRank holds that pair's rank), or with the table body left
  // open after the last pair read (truncatedRank empty).
  bool truncated = false;
  std::string truncatedRank;
};

// The pairs of a page extract (or of a whole page), in page order. Never throws; an
// extract without a table body gives no pair. The table body must be closed ("</tbody>" on
// a line after the last pair) for the reading not to be truncated.
PageReading ReadPairs(const Lines& pageLines);

// Where a truncated page stops, Windows-1252, to follow "La page": "s'arrête avant les noms
// de la paire classée 4", or "s'arrête avant la fin de ses résultats".
std::string WhereThePageStops(const PageReading& reading);

// The text after the fourth ">" of line up to the next "<" (or the end); empty when the line
// has fewer than four ">".
std::string Segment4(const std::string& line);

// Text of a page (UTF-8, HTML) as Windows-1252: the character references &amp; &lt; &gt;
// &quot; &apos; &nbsp; &#NNN; and &#xHH; are replaced, then the whole text is decoded by
// DecodeExternalText. "J&#233;r&ocirc;me" keeps the unknown reference as written.
std::string DecodePageText(const std::string& utf8);

}  // namespace vantrel::competitions
