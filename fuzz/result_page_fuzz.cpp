// libFuzzer target: a saved result page is input from outside. Every run must end without
// a crash, a sanitizer report or unbounded memory, and the result lines must keep their
// layout: rank, two names, two licences with their indexes, points, each closed by ";".
#include <cstdint>
#include <cstdlib>
#include <string>

#include "competitions/result_page.h"
#include "competitions/tournament_result.h"
#include "core/error.h"
#include "core/record_file.h"
#include "core/text_helpers.h"

namespace {

using namespace vantrel;
using namespace vantrel::competitions;

const Lines& Members() {
  static const Lines members = {
      "00123456;M.;DUPONT;Jean;38;",
      "00234567;M.;LA TOUR;Jean;25;",
      "00345678;M.;FAURE;J\xE9r\xF4me;28;",
      "00456789;M.;L\xC9\x43UYER;No\xEBl;19;",
      "00999999;Mme;;;x;",
      "",
  };
  return members;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckResultLines(const Lines& lines, const std::vector<PagePair>& pairs) {
  Check(lines.size() == pairs.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    Check(line.find_first_of("\r\n") == std::string::npos);
    Check(!line.empty() && line.back() == ';');
    Check(FieldAt(line, 0) == CleanField(pairs[i].rank));
    Check(FieldAt(line, 1) == CleanField(pairs[i].nameA));
    Check(FieldAt(line, 2) == CleanField(pairs[i].nameB));
    const std::string points = FieldAt(line, 7);
    Check(!points.empty() && points.find_first_not_of("-0123456789") == std::string::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const Lines page = SplitLines(bytes);
  const auto extract = SelectResultSections(page);
  if (extract) Check(!extract->empty() && extract->front() == page.front());

  // A page that ends inside a result section is refused whole, and leaves nothing to save.
  TournamentResults results;
  const PageExtraction extraction = results.extractPageBytes(bytes);
  Check((extraction.kind == PageKind::kNotResults) == !extract);
  if (extraction.kind == PageKind::kCut) {
    Check(EndsInsideResultSection(page) && extraction.reading.truncated);
    Check(results.pageLines().empty() && results.resultLines().empty());
    results.calculate(Members(), kDefaultCoefficient);
    Check(results.resultLines().empty() && results.total() == 0);
  } else if (extraction.kind == PageKind::kResults) {
    Check(results.pageLines() == *extract);
  }

  for (const Lines* lines : {&page, extract ? &*extract : nullptr}) {
    if (!lines) continue;
    const PageReading reading = ReadPairs(*lines);
    if (!reading.truncatedRank.empty()) Check(reading.truncated);
    Check(!WhereThePageStops(reading).empty());
    for (const char* k : {kDefaultCoefficient, "7", "2147483647"}) {
      try {
        const Lines results = ComputeResultLines(reading.pairs, MemberDirectory(Members()), k);
        CheckResultLines(results, reading.pairs);
        ResultTotal(results);
        ResultGrid(results);
      } catch (const Error&) {
      }
    }
  }
  DecodePageText(bytes);
  Segment4(bytes);
  return 0;
}
