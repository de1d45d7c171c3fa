#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/record_file.h"

namespace vantrel::competitions {

// What one tournament brought to a player: the basis of his total, shown to him on demand.
struct Contribution {
  int column = 0;                  // ranking column 1 to 16
  std::string tournament;          // name of the tournament (field 2 of its cup line)
  std::string date;                // its date (field 1)
  std::string resultFile;          // its result file (field 6)
  std::int64_t points = 0;         // the pair's points in the result file, hundredths
  std::int32_t coefficient = 100;  // weight in percent (field 5)
  std::int64_t weighted = 0;       // points x coefficient / 100, rounded halves to even

  friend bool operator==(const Contribution&, const Contribution&) = default;
};

// One player of a cup ranking, a club member found in the result files by his licence.
struct RankingPlayer {
  std::int64_t total = 0;  // hundredths; every tournament counts, even several per column
  std::string name;        // as in the last result file read
  std::string licence;     // the key of the player
  std::string valueIndex;  // as in the last result file read
  // Points of each ranking column (index k - 1): the last tournament of the column he played.
  std::vector<std::optional<std::int64_t>> columns;
  std::vector<Contribution> contributions;
};

// The ranking of one cup, computed from its cup file and the result files it links.
struct CupRanking {
  int cup = 0;
  int columnCount = 0;  // M, the highest ranking column of the cup file
  // Name and date of the first tournament of each column in cup-file order (index k - 1);
  // empty for a column no tournament uses.
  std::vector<std::string> titles;
  std::vector<std::string> dates;
  std::vector<RankingPlayer> players;
  // The progress lines of the computation.
  std::vector<std::string> progress;
  // False until the computation has run to its end (the grid is then complete).
  bool complete = false;
};

// Computes the ranking of cup `cup` from the exercise folder into `ranking`, writing each
// step to its progress lines: the tournaments of each column in cup-file order, the players
// taken from their result files (those with a name and a licence), the coefficients applied
// (halves to even), the exchange sort by total (greatest first), and the removal of the
// players whose total is 0. A column above 16 does not count (a progress line says so).
// Throws Error "La coupe %d n'a pas encore été créée." when the cup has no file yet,
// "Impossible d'ouvrir le fichier %s" for a missing result file (or a cup file that cannot be
// read), and
// "'%s' n'est pas une valeur entière correcte" for a column, a weight or points that are not
// whole numbers; `ranking` then holds what was computed before.
void ComputeCupRanking(const std::filesystem::path& exerciseFolder, int cup, CupRanking& ranking);

// How a player's total is made, one line per tournament (Windows-1252), for the player who
// asks: "Journée 1 : Open /2 du 14 octobre (14/10/2026), 11,11 points x 100 % = 11,11", marked
// when a later tournament of the same column replaced it in the grid, then the total.
std::vector<std::string> DescribeTotal(const RankingPlayer& player);

// One printed line of a ranking: rank, name, licence, value index, total and the sixteen
// column points, all formatted (points with two decimals, empty cells empty).
struct RankingEntry {
  std::string rank;
  std::string name;
  std::string licence;
  std::string valueIndex;
  std::string total;
  std::array<std::string, 16> columns;
  std::int64_t totalValue = 0;
};

// Every player in ranking order, ranked competition style (1, 2, 2, 4).
std::vector<RankingEntry> OpenRankingEntries(const CupRanking& ranking);

// The players whose value index is at most limit, ranked again from 1. Throws Error
// "'%s' n'est pas une valeur entière correcte" for a value index that is empty or not a
// whole number.
std::vector<RankingEntry> LimitedRankingEntries(const CupRanking& ranking, int limit);

// "Classement Open pour la Coupe n", or with a limit "Classement pour la Coupe n des joueurs
// I.V. <= limit".
std::string RankingTitle(int cup, std::optional<int> limit);

// What the ranking template "Classem_General.frf" is answered.
struct RankingReport {
  std::string title;                // "Titre"
  std::string season;               // "Saison": the exercise folder's name
  std::vector<std::string> titles;  // ClT01.. (up to 16)
  std::vector<std::string> dates;   // ClD01.. before their last five characters are cut
  std::vector<RankingEntry> entries;
};
RankingReport MakeRankingReport(const CupRanking& ranking, const std::string& season,
                                std::optional<int> limit);

// The value of a name for entry `record`, or nothing for a name that is not the screen's:
// Titre, Saison, ClT01..ClT16, ClD01..ClD16 (dd/mm), Pc01..Pc16, ClGeCl, ClGeNom, ClGeInd
// (licence), ClGeIv (value index), ClGePc (total). Never throws.
std::optional<std::string> RankingReportValue(const RankingReport& report, const std::string& name,
                                              int record);

// The entries as records: rank; name; licence; value index; total; the 16 column points.
std::vector<std::vector<std::string>> RankingRecords(const std::vector<RankingEntry>& entries);

}  // namespace vantrel::competitions
