#pragma once

#include <array>
#include <filesystem>
#include <string>

namespace vantrel::demo {

// The demonstration club: a fictional club with three exercises of books, members, cups and
// a convocation, to try every screen on. Every file is made by the program's own routines
// (the member card, its dues posting, PostJournalEntry, the new season, the cup file, the
// results of a saved page), so the files are exactly the program's and the books balance.

// The exercises, oldest first; the last one is the current exercise.
inline constexpr std::array<const char*, 3> kExercises = {"2024-2025", "2025-2026", "2026-2027"};
inline constexpr char kEntity[] = "Bridge Club des Tilleuls";
inline constexpr char kShortName[] = "BCT";

// The chart of accounts the program ships (data/2026-2027/Plan_Comptable.dbp), Windows-1252
// bytes, CR LF: the demonstration starts from it.
const std::string& ShippedChart();

// Writes the club's data into programFolder, which must exist: "Vantrel.ini" (the current
// exercise and the two others for the statements) and the three exercise folders, each with
// its member file, chart, lists, journal and ledgers; the current exercise also holds two cups
// of four tournaments with their saved result pages, page extracts and result files, and a
// registrants list with its event data for a convocation. Templates, guides and the program
// itself are not its business. Throws Error as the routines it calls do.
void BuildDemoClub(const std::filesystem::path& programFolder);

}  // namespace vantrel::demo
