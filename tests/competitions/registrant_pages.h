#pragma once

#include <set>
#include <string>
#include <vector>

#include "competitions/registrant_page.h"

namespace vantrel::testing {

// Saved registrants pages as the federation's licensee area lays them out, built for tests:
// UTF-8 bytes, lines ended by CR LF. Each entry is placed where the convocation scan reads
// it:
//   group list:        e "n. label", e+3 club, players at e+8, e+10, ..., "</div>" two lines
//                      after the last player, the index five lines after it;
//   competition teams: e "n. label", e+2 the club cell, e+3 club, players from e+7 one per
//                      line, "</div>" two lines after the last, the index five lines after
//                      it, then one tagged line per player from e+16 on (or after the index);
//   competition pairs: e "n. label", e+10 both players on one line, e+12 "</div>", e+15 the
//                      index, e+16 and e+17 one tagged line per player.
struct PagePlayer {
  std::string civility;  // "M." or "Mme"
  std::string name;      // "Jean DUPONT", UTF-8
  int index = 0;
};

struct PageEntry {
  std::string label;  // "DUPONT"
  std::string club;   // "BRIDGE CLUB ARDEVANNE"
  std::vector<PagePlayer> players;
  int index = 0;
};

struct PageOptions {
  // Entry numbers whose first line is left out of the page.
  std::set<int> missingNumbers;
  // The page ends this many lines before its natural end (the end of the list and of the
  // document included).
  std::size_t cutAtEnd = 0;
};

// The lines of a page holding the given list.
Lines RegistrantPageLines(competitions::ListKind kind, competitions::ConvocationMode mode,
                          const std::vector<PageEntry>& entries, const PageOptions& options = {});

// The same page as bytes, CR LF after every line.
std::string RegistrantPage(competitions::ListKind kind, competitions::ConvocationMode mode,
                           const std::vector<PageEntry>& entries, const PageOptions& options = {});

// A page holding both lists: the group's first, then the competition's.
std::string PageWithBothLists(competitions::ConvocationMode mode,
                              const std::vector<PageEntry>& group,
                              const std::vector<PageEntry>& competition);

// Teams (four to six players) or pairs of a plausible event, numbered from 1; players from
// the club ("Jean DUPONT", "Anne MARTIN", "Jérôme LÉCUYER", ...) and from elsewhere.
std::vector<PageEntry> SampleTeams();
std::vector<PageEntry> SamplePairs();

// A member-file line (Windows-1252) with licence, title, last and first name, mail address
// and the choice of convocations by mail (field 69, "" leaves it missing).
std::string MemberLine(const std::string& licence, const std::string& title,
                       const std::string& lastName, const std::string& firstName,
                       const std::string& mail, const std::string& mailChoice = "OUI");

// The club members that SampleTeams() and SamplePairs() name, Windows-1252.
Lines SampleMembers();

}  // namespace vantrel::testing
