#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/record_file.h"

namespace vantrel::competitions {

// The club software's export of all tournaments, converted by the user to a ";"-separated
// CSV file. Line 0 is a header; every other line is one player in one séance (one
// tournament on one day):
//   field 0 séance key, 1 date, 2 day of the week, 3 part of the day, 4 kind of tournament,
//   7 licence number of the player; the others are not read.
//   S2018-12-14AM;14/12/2018;Vendredi;Après-Midi;Régularité;12;3;00123456;DUPONT Jean;
// Lines are read as Windows-1252; a file written in UTF-8 is decoded (DecodeExternalText).
// Throws Error "Impossible d'ouvrir le fichier %s".
Lines ReadTournamentCsv(const std::filesystem::path& path);
// The lines of a tournament CSV file's bytes, decoded as ReadTournamentCsv does.
Lines TournamentCsvLines(const std::string& bytes);

// Adds to seances, in order, field 0 of every line of csv from line 1 on that the list does
// not hold yet, letters compared without regard to case (accented letters included); a blank
// key (an empty line) is no séance. The list is never emptied: séances of files opened
// earlier stay.
void AddSeances(std::vector<std::string>& seances, const Lines& csv);

// What choosing a séance finds.
struct SeanceSelection {
  // Fields 1 to 4 (date, day, part of the day, kind) of the last line of the séance;
  // nothing when no line has exactly this key.
  std::optional<std::array<std::string, 4>> display;
  // Mail addresses of the members who played it, one per line of the séance, in order.
  std::vector<std::string> addresses;
};

// The lines of csv (from line 1) whose field 0 is exactly seance. A member (line of the
// member file, Windows-1252) plays on a line when his licence number (field 0) is that of
// field 7, both read as whole numbers when they are digits (leading zeros do not count),
// compared exactly otherwise; his address (field 14) is taken when not empty. A licence that
// is empty or zero ("0", "00000000") on either side matches nobody. A member file of fewer
// than two lines gives no address.
SeanceSelection SelectSeance(const Lines& csv, const std::string& seance, const Lines& members);

// The messages of the addresses: the k-th address (k from 1) goes to message k / 50, so the
// first message holds 49 addresses and every further one 50. Every address is kept.
std::vector<std::vector<std::string>> AddressGroups(const std::vector<std::string>& addresses);

// One "mailto:" link per message: the addresses joined by ";" followed by " ?".
std::vector<std::string> TournamentMailLinks(const std::vector<std::string>& addresses);

}  // namespace vantrel::competitions
