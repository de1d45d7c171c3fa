#include "competitions/tournament_result.h"

#include <limits>
#include <optional>

#include "competitions/cup_points.h"
#include "core/error.h"
#include "core/external_text.h"
#include "core/numbers.h"
#include "core/text_helpers.h"
#include "members/member_file.h"

namespace vantrel::competitions {
namespace {

namespace mf = members::field;

// Value indexes of a pair for the series remarks: both between 1 and limit.
bool BothWithin(std::int32_t a, std::int32_t b, std::int32_t limit) {
  return a >= 1 && a <= limit && b >= 1 && b <= limit;
}

std::string PointsText(const std::string& field) {
  const std::optional<std::int32_t> points = TryParseInteger(field);
  return points ? FormatPoints(*points) : field;
}

}  // namespace

MemberDirectory::MemberDirectory(const Lines& members) {
  m_entries.reserve(members.size());
  for (const auto& line : members) {
    const std::string first = FoldName(FieldAt(line, mf::kFirstName));
    const std::string last = FoldName(FieldAt(line, mf::kLastName));
    // A record without a name (an empty line) is nobody a page can name.
    if (first.empty() && last.empty()) continue;
    m_entries.push_back(Entry{first + last, first + "DE" + last,
                              Member{FieldAt(line, mf::kLicence), FieldAt(line, mf::kValueIndex)}});
  }
}

std::optional<MemberDirectory::Member> MemberDirectory::find(const std::string& pageName) const {
  const std::string key = FoldName(pageName);
  if (key.empty()) return std::nullopt;
  for (const auto& entry : m_entries) {
    if (key == entry.key || key == entry.keyWithDe) return entry.member;
  }
  return std::nullopt;
}

Lines ComputeResultLines(const std::vector<PagePair>& pairs, const MemberDirectory& members,
                         const std::string& kText) {
  const std::int64_t n = static_cast<std::int64_t>(pairs.size());
  std::vector<std::array<std::string, 8>> rows;
  rows.reserve(pairs.size());
  for (const auto& pair : pairs) {
    std::array<std::string, 8> row;
    row[result_field::kRank] = pair.rank;
    row[result_field::kNameA] = pair.nameA;
    row[result_field::kNameB] = pair.nameB;
    rows.push_back(std::move(row));
  }
  // Members: every player A first, then every player B.
  for (int side = 0; side < 2; ++side) {
    const int name = side == 0 ? result_field::kNameA : result_field::kNameB;
    const int licence = side == 0 ? result_field::kLicenceA : result_field::kLicenceB;
    for (auto& row : rows) {
      if (const auto member = members.find(row[static_cast<std::size_t>(name)])) {
        row[static_cast<std::size_t>(licence)] = member->licence;
        row[static_cast<std::size_t>(licence) + 1] = member->valueIndex;
      }
    }
  }
  if (!pairs.empty()) {
    const std::int32_t k = ParseInteger(kText);
    for (auto& row : rows) {
      const std::int64_t points = CupPoints(ParseInteger(row[result_field::kRank]), n, k);
      if (points > std::numeric_limits<std::int32_t>::max() ||
          points < std::numeric_limits<std::int32_t>::min()) {
        throw NotAnInteger(kText);
      }
      row[result_field::kPoints] = std::to_string(points);
    }
  }
  std::vector<std::array<std::int32_t, 2>> indexes;
  indexes.reserve(rows.size());
  for (const auto& row : rows) {
    indexes.push_back(
        {ParseAmount(row[result_field::kIndexA]), ParseAmount(row[result_field::kIndexB])});
  }

  Lines lines;
  lines.reserve(rows.size());
  for (const auto& row : rows) lines.push_back(JoinFields({row.begin(), row.end()}));
  // Remarks: the first pair of two players of the second series or better, then the first
  // of the third series or better (it may be the same line).
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (BothWithin(indexes[i][0], indexes[i][1], 40)) {
      lines[i] += std::string(kNoSecondSeries) + ";";
      break;
    }
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (BothWithin(indexes[i][0], indexes[i][1], 30)) {
      lines[i] += std::string(kNoThirdSeries) + ";";
      break;
    }
  }
  return lines;
}

std::vector<PagePair> PairsOfResultLines(const Lines& resultLines) {
  std::vector<PagePair> pairs;
  pairs.reserve(resultLines.size());
  for (const auto& line : resultLines) {
    pairs.push_back(PagePair{FieldAt(line, result_field::kRank),
                             FieldAt(line, result_field::kNameA),
                             FieldAt(line, result_field::kNameB)});
  }
  return pairs;
}

std::int64_t ResultTotal(const Lines& resultLines) {
  std::int64_t total = 0;
  for (const auto& line : resultLines) {
    const std::int64_t points = ParseAmount(FieldAt(line, result_field::kPoints));
    if (!FieldAt(line, result_field::kLicenceA).empty()) total += points;
    if (!FieldAt(line, result_field::kLicenceB).empty()) total += points;
  }
  return total;
}

std::string PairsAndClubPlayers(const Lines& resultLines) {
  std::size_t players = 0;
  for (const auto& line : resultLines) {
    players += !FieldAt(line, result_field::kLicenceA).empty();
    players += !FieldAt(line, result_field::kLicenceB).empty();
  }
  const auto count = [](std::size_t n, const char* singular, const char* plural) {
    return std::to_string(n) + " " + (n < 2 ? singular : plural);
  };
  return count(resultLines.size(), "paire", "paires") + ", " +
         count(players, "joueur du club", "joueurs du club");
}

std::vector<ResultRow> ResultGrid(const Lines& resultLines) {
  std::vector<ResultRow> grid;
  grid.reserve(resultLines.size());
  for (const auto& line : resultLines) {
    grid.push_back(
        ResultRow{FieldAt(line, result_field::kRank), FieldAt(line, result_field::kNameA),
                  FieldAt(line, result_field::kNameB), FieldAt(line, result_field::kLicenceA),
                  FieldAt(line, result_field::kLicenceB), FieldAt(line, result_field::kPoints)});
  }
  return grid;
}

PageExtraction TournamentResults::extractPage(const std::filesystem::path& page) {
  return extractPageBytes(ReadBytes(page));
}

PageExtraction TournamentResults::extractPageBytes(const std::string& page) {
  const Lines lines = SplitLines(page);
  m_pageLines.clear();
  PageExtraction extraction;
  auto extract = SelectResultSections(lines);
  if (!extract) return extraction;
  if (EndsInsideResultSection(lines)) {
    // Nothing of it can be computed or saved, nor anything of the tournament before it.
    m_resultLines.clear();
    m_total = 0;
    extraction.kind = PageKind::kCut;
    extraction.reading = ReadPairs(*extract);
    extraction.reading.truncated = true;
    return extraction;
  }
  extraction.kind = PageKind::kResults;
  m_pageLines = std::move(*extract);
  return extraction;
}

void TournamentResults::writeExtract(const std::filesystem::path& path) const {
  WriteLines(path, m_pageLines);
}

void TournamentResults::openExtract(const std::filesystem::path& path) {
  m_pageLines = ReadLines(path);
}

PageReading TournamentResults::calculate(const Lines& members, const std::string& kText) {
  PageReading reading;
  if (m_pageLines.empty()) {
    reading.pairs = PairsOfResultLines(m_resultLines);
  } else {
    reading = ReadPairs(m_pageLines);
  }
  if (reading.truncated) {
    m_resultLines.clear();
  } else {
    m_resultLines = ComputeResultLines(reading.pairs, MemberDirectory(members), kText);
  }
  m_total = ResultTotal(m_resultLines);
  return reading;
}

void TournamentResults::save(const std::filesystem::path& path) {
  WriteLines(path, m_resultLines);
  m_total = ResultTotal(m_resultLines);
}

void TournamentResults::open(const std::filesystem::path& path) {
  m_resultLines = ReadLines(path);
  m_total = ResultTotal(m_resultLines);
}

std::string PrizeListEvent(const std::string& caption) {
  constexpr std::size_t kFrom = 36;
  constexpr std::size_t kLength = 40;
  return caption.size() <= kFrom ? std::string() : caption.substr(kFrom, kLength);
}

std::optional<std::string> PrizeListValue(const PrizeList& list, const std::string& name,
                                          int record) {
  if (name == "Saison1") return list.season;
  if (name == "Epreuve1") return list.event;
  if (name == "Total_Pc") return FormatPoints(list.total);
  const bool perRecord = name == "Classement1" || name == "Nom1" || name == "Nom2" ||
                         name == "Licence1" || name == "Licence2" || name == "Pc1";
  if (!perRecord) return std::nullopt;
  if (record < 0 || record >= static_cast<int>(list.resultLines.size())) return std::string();
  const std::string& line = list.resultLines[static_cast<std::size_t>(record)];
  if (name == "Classement1") return FieldAt(line, result_field::kRank);
  if (name == "Nom1") return FieldAt(line, result_field::kNameA);
  if (name == "Nom2") return FieldAt(line, result_field::kNameB);
  if (name == "Licence1") return FieldAt(line, result_field::kLicenceA);
  if (name == "Licence2") return FieldAt(line, result_field::kLicenceB);
  return PointsText(FieldAt(line, result_field::kPoints));
}

PrizeList MakePrizeList(const TournamentResults& results, const std::string& entity,
                        const std::string& exercise, const std::string& caption) {
  PrizeList list;
  list.season = entity + " : " + exercise;
  list.event = PrizeListEvent(caption);
  list.total = results.total();
  list.resultLines = results.resultLines();
  return list;
}

std::vector<std::vector<std::string>> PrizeListRecords(const PrizeList& list) {
  std::vector<std::vector<std::string>> records;
  for (int r = 0; r < static_cast<int>(list.resultLines.size()); ++r) {
    std::vector<std::string> record;
    for (const char* name : {"Classement1", "Nom1", "Nom2", "Licence1", "Licence2", "Pc1"}) {
      record.push_back(*PrizeListValue(list, name, r));
    }
    records.push_back(std::move(record));
  }
  return records;
}

}  // namespace vantrel::competitions
