#pragma once

#include <string>
#include <vector>

namespace vantrel::demo {

// Pages of the federation's web site as a user saves them, made for the demonstration club:
// UTF-8 bytes, CR LF after every line, laid out where the program's readers look (the
// markers of competitions/result_page.h and competitions/registrant_page.h).

// One pair of a tournament's result page: its rank and its two players, "Prénom NOM" (UTF-8).
struct ResultPair {
  int rank = 0;
  std::string playerA;
  std::string playerB;
  int percent = 50;  // the pair's score, shown on the page only
};

// A tournament result page ("Open /2" heading, one result section, the pairs in rank order).
std::string ResultPage(const std::string& title, const std::vector<ResultPair>& pairs);

// One row of a result page's table, as the federation lays it out: the cell before the rank,
// the rank on the next line, the table number when the page has that column, the score, and
// the two names 10 and 14 lines below the rank (12 and 16 with the table number). The lines
// come without their line ends.
struct ResultRow {
  std::string rank;  // as the page writes it ("1", or anything a test puts there)
  int table = 0;     // the table number; 0 when the page has no table-number column
  int percent = 50;
  std::string playerA;
  std::string playerB;
};
std::vector<std::string> ResultRowLines(const ResultRow& row);

// One team of a group's registrants list: its label (the captain's last name), its club and
// its players with their value index ("M." or "Mme", "Prénom NOM", UTF-8).
struct RegistrantPlayer {
  std::string civility;
  std::string name;
  int index = 0;
};
struct RegistrantTeam {
  std::string label;
  std::string club;
  std::vector<RegistrantPlayer> players;
};

// The page "Liste des équipes du groupe" of a federal event played by teams of four.
std::string GroupTeamsPage(const std::string& event, const std::vector<RegistrantTeam>& teams);

}  // namespace vantrel::demo
