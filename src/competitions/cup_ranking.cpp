#include "competitions/cup_ranking.h"

#include <unordered_map>
#include <utility>

#include "competitions/cup_file.h"
#include "competitions/cup_points.h"
#include "competitions/tournament_result.h"
#include "core/error.h"
#include "core/numbers.h"
#include "core/text_helpers.h"

namespace vantrel::competitions {
namespace {

// A member as a result line names him.
struct TakenPlayer {
  std::string name;
  std::string licence;
  std::string valueIndex;
  std::string points;
};

// The players of a result file that are club members: A when it has a name and a licence,
// then B the same way, line by line.
std::vector<TakenPlayer> TakePlayers(const Lines& resultLines) {
  std::vector<TakenPlayer> players;
  for (const auto& line : resultLines) {
    const std::string points = FieldAt(line, result_field::kPoints);
    TakenPlayer a{FieldAt(line, result_field::kNameA), FieldAt(line, result_field::kLicenceA),
                  FieldAt(line, result_field::kIndexA), points};
    if (!a.name.empty() && !a.licence.empty()) players.push_back(std::move(a));
    TakenPlayer b{FieldAt(line, result_field::kNameB), FieldAt(line, result_field::kLicenceB),
                  FieldAt(line, result_field::kIndexB), points};
    if (!b.name.empty() && !b.licence.empty()) players.push_back(std::move(b));
  }
  return players;
}

// Ranks competition style over totals in order: equal totals share the rank of the first.
void Rank(std::vector<RankingEntry>& entries) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0 && entries[i].total == entries[i - 1].total) {
      entries[i].rank = entries[i - 1].rank;
    } else {
      entries[i].rank = std::to_string(i + 1);
    }
  }
}

// The ranking column of each cup line (0 for a column above 16, said in a progress line),
// and the highest of them as the ranking's column count, with as many empty titles and dates.
std::vector<int> RankingColumns(const Lines& cupLines, CupRanking& ranking) {
  std::vector<int> columns;
  columns.reserve(cupLines.size());
  int m = 0;
  for (const auto& line : cupLines) {
    int column = ParseInteger(FieldAt(line, cup_field::kColumn));
    if (column > kMaxRankingColumn) {
      ranking.progress.push_back("Tournoi " + FieldAt(line, cup_field::kName) + " : colonne " +
                                 std::to_string(column) + " au-del\xE0 de 16, non compt\xE9");
      column = 0;
    }
    columns.push_back(column);
    if (column > m) m = column;
  }
  ranking.progress.push_back("Nombre de Tournoi de la Coupe " + std::to_string(ranking.cup) +
                             ": " + std::to_string(m));
  ranking.columnCount = m;
  ranking.titles.assign(static_cast<std::size_t>(m), std::string());
  ranking.dates.assign(static_cast<std::size_t>(m), std::string());
  return columns;
}

// Adds the players of the tournament of cupLine, in ranking column k, to the ranking: its
// first tournament names the column, each player's weighted points go to his row (a new one
// for a licence not yet ranked).
void AddTournament(const std::filesystem::path& exerciseFolder, const std::string& cupLine, int k,
                   CupRanking& ranking,
                   std::unordered_map<std::string, std::size_t>& rowOfLicence) {
  const std::size_t column = static_cast<std::size_t>(k - 1);
  const std::string resultFile = FieldAt(cupLine, cup_field::kResultFile);
  std::vector<TakenPlayer> players;
  if (!resultFile.empty()) players = TakePlayers(ReadLines(exerciseFolder / resultFile));
  if (ranking.titles[column].empty()) ranking.titles[column] = FieldAt(cupLine, cup_field::kName);
  if (ranking.dates[column].empty()) ranking.dates[column] = FieldAt(cupLine, cup_field::kDate);
  const std::int32_t weight = ParseInteger(FieldAt(cupLine, cup_field::kCoefficient));

  for (auto& player : players) {
    auto [it, added] = rowOfLicence.try_emplace(player.licence, ranking.players.size());
    if (added) {
      RankingPlayer row;
      row.columns.assign(static_cast<std::size_t>(ranking.columnCount), std::nullopt);
      ranking.players.push_back(std::move(row));
    }
    RankingPlayer& row = ranking.players[it->second];
    const std::int64_t points = ParseInteger(player.points);
    const std::int64_t weighted = RoundHalfEven(static_cast<double>(points * weight) / 100.0);
    // Only a forged file can hold points that overflow a total; it is refused.
    if (__builtin_add_overflow(row.total, weighted, &row.total)) throw NotAnInteger(player.points);
    row.name = player.name;
    row.licence = player.licence;
    row.valueIndex = player.valueIndex;
    row.columns[column] = weighted;
    row.contributions.push_back(Contribution{k, FieldAt(cupLine, cup_field::kName),
                                             FieldAt(cupLine, cup_field::kDate), resultFile,
                                             points, weight, weighted});
  }
}

}  // namespace

void ComputeCupRanking(const std::filesystem::path& exerciseFolder, int cup, CupRanking& ranking) {
  ranking = CupRanking();
  ranking.cup = cup;
  const std::filesystem::path cupPath = CupFilePath(exerciseFolder, cup);
  // A cup whose management screen never saved a line has no file: say so in the club's words.
  if (!FileExists(cupPath)) {
    throw Error("La coupe " + std::to_string(cup) + " n'a pas encore \xE9t\xE9 cr\xE9\xE9"
                "e.");
  }
  const Lines cupLines = ReadLines(cupPath);
  const std::vector<int> columns = RankingColumns(cupLines, ranking);
  const int m = ranking.columnCount;
  if (m == 0) {
    ranking.complete = true;
    return;
  }

  std::unordered_map<std::string, std::size_t> rowOfLicence;
  for (int k = 1; k <= m; ++k) {
    ranking.progress.push_back(
        "Traitement de la journ\xE9"
        "e " +
        std::to_string(k));
    for (std::size_t l = 0; l < cupLines.size(); ++l) {
      if (columns[l] == k) AddTournament(exerciseFolder, cupLines[l], k, ranking, rowOfLicence);
    }
  }

  ranking.progress.push_back("Classement");
  // The club's exchange sort: every pair (i, j) of rows, exchanged when the total of i is
  // greater. Its order among equal totals is part of the ranking.
  auto& players = ranking.players;
  for (std::size_t i = 0; i < players.size(); ++i) {
    for (std::size_t j = 0; j < players.size(); ++j) {
      if (players[i].total > players[j].total) std::swap(players[i], players[j]);
    }
  }

  ranking.progress.push_back("Nettoyage des Joueurs hors du Club");
  std::erase_if(players, [](const RankingPlayer& player) { return player.total == 0; });
  ranking.complete = true;
}

std::vector<std::string> DescribeTotal(const RankingPlayer& player) {
  std::vector<std::string> lines;
  lines.push_back(player.name + " (licence " + player.licence + ", I.V. " + player.valueIndex +
                  ")");
  for (std::size_t i = 0; i < player.contributions.size(); ++i) {
    const Contribution& c = player.contributions[i];
    std::string line =
        "Journ\xE9"
        "e " +
        std::to_string(c.column) + " : " + c.tournament;
    if (!c.date.empty()) line += " (" + c.date + ")";
    line += ", " + FormatPoints(c.points) + " points x " + std::to_string(c.coefficient) +
            " % = " + FormatPoints(c.weighted);
    for (std::size_t j = i + 1; j < player.contributions.size(); ++j) {
      if (player.contributions[j].column == c.column) {
        line += " (compt\xE9 dans le total ; la colonne montre " +
                player.contributions[j].tournament + ")";
        break;
      }
    }
    lines.push_back(std::move(line));
  }
  lines.push_back("Total : " + FormatPoints(player.total) + " points");
  return lines;
}

std::vector<RankingEntry> OpenRankingEntries(const CupRanking& ranking) {
  std::vector<RankingEntry> entries;
  entries.reserve(ranking.players.size());
  for (const auto& player : ranking.players) {
    RankingEntry entry;
    entry.name = player.name;
    entry.licence = player.licence;
    entry.valueIndex = player.valueIndex;
    entry.total = FormatPoints(player.total);
    entry.totalValue = player.total;
    for (std::size_t k = 0; k < entry.columns.size() && k < player.columns.size(); ++k) {
      if (player.columns[k]) entry.columns[k] = FormatPoints(*player.columns[k]);
    }
    entries.push_back(std::move(entry));
  }
  Rank(entries);
  return entries;
}

std::vector<RankingEntry> LimitedRankingEntries(const CupRanking& ranking, int limit) {
  std::vector<RankingEntry> entries = OpenRankingEntries(ranking);
  std::vector<RankingEntry> kept;
  for (auto& entry : entries) {
    if (ParseInteger(entry.valueIndex) <= limit) kept.push_back(std::move(entry));
  }
  Rank(kept);
  return kept;
}

std::string RankingTitle(int cup, std::optional<int> limit) {
  if (!limit) return "Classement Open pour la Coupe " + std::to_string(cup);
  return "Classement pour la Coupe " + std::to_string(cup) +
         " des joueurs I.V. <= " + std::to_string(*limit);
}

RankingReport MakeRankingReport(const CupRanking& ranking, const std::string& season,
                                std::optional<int> limit) {
  RankingReport report;
  report.title = RankingTitle(ranking.cup, limit);
  report.season = season;
  report.titles = ranking.titles;
  report.dates = ranking.dates;
  report.entries = limit ? LimitedRankingEntries(ranking, *limit) : OpenRankingEntries(ranking);
  return report;
}

std::optional<std::string> RankingReportValue(const RankingReport& report, const std::string& name,
                                              int record) {
  if (name == "Titre") return report.title;
  if (name == "Saison") return report.season;
  // ClTkk, ClDkk, Pckk with kk from 01 to 16.
  auto columnOf = [&name](const char* prefix) -> int {
    const std::string p(prefix);
    if (name.size() != p.size() + 2 || name.compare(0, p.size(), p) != 0) return 0;
    const char a = name[p.size()];
    const char b = name[p.size() + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return 0;
    const int k = (a - '0') * 10 + (b - '0');
    return k >= 1 && k <= kMaxRankingColumn ? k : 0;
  };
  if (const int k = columnOf("ClT")) {
    const auto i = static_cast<std::size_t>(k - 1);
    return i < report.titles.size() ? report.titles[i] : std::string();
  }
  if (const int k = columnOf("ClD")) {
    const auto i = static_cast<std::size_t>(k - 1);
    if (i >= report.dates.size() || report.dates[i].size() <= 5) return std::string();
    return report.dates[i].substr(0, report.dates[i].size() - 5);
  }
  const int pc = columnOf("Pc");
  const bool perRecord = pc != 0 || name == "ClGeCl" || name == "ClGeNom" || name == "ClGeInd" ||
                         name == "ClGeIv" || name == "ClGePc";
  if (!perRecord) return std::nullopt;
  if (record < 0 || record >= static_cast<int>(report.entries.size())) return std::string();
  const RankingEntry& entry = report.entries[static_cast<std::size_t>(record)];
  if (pc != 0) return entry.columns[static_cast<std::size_t>(pc - 1)];
  if (name == "ClGeCl") return entry.rank;
  if (name == "ClGeNom") return entry.name;
  if (name == "ClGeInd") return entry.licence;
  if (name == "ClGeIv") return entry.valueIndex;
  return entry.total;
}

std::vector<std::vector<std::string>> RankingRecords(const std::vector<RankingEntry>& entries) {
  std::vector<std::vector<std::string>> records;
  records.reserve(entries.size());
  for (const auto& entry : entries) {
    std::vector<std::string> record{entry.rank, entry.name, entry.licence, entry.valueIndex,
                                    entry.total};
    record.insert(record.end(), entry.columns.begin(), entry.columns.end());
    records.push_back(std::move(record));
  }
  return records;
}

}  // namespace vantrel::competitions
