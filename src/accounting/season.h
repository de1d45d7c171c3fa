#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/record_file.h"
#include "core/settings.h"

namespace vantrel::accounting {

// The member card's two account lists, as the settings screen holds them.
struct MemberLists {
  Lines dues;      // "Recette_Joueur.DBP": account;name;amount
  Lines payments;  // "Versement_Joueur.DBP": account;name;
};

// The lists that follow the chart: one dues line per chart line linked exactly "C", with the
// amount the old dues list held for that account (its first line of that number) or "0",
// written without a closing ";"; one payment line per chart line linked exactly "V".
MemberLists BuildMemberLists(const Lines& chartLines, const Lines& oldDues);

// Rebuilds the lists of an exercise folder from its chart and writes both. Throws Error
// "Impossible d'ouvrir le fichier %s" when the chart or the dues list is missing, or
// "Impossible de créer le fichier %s".
MemberLists RebuildMemberLists(const std::filesystem::path& exerciseFolder);

// The lists as stored in an exercise folder (a missing list reads as empty).
MemberLists ReadMemberLists(const std::filesystem::path& exerciseFolder);

// "Modifier" of the dues list: line `selection` (from 1) becomes account;name;amount; and the
// list is written. Returns false, changing nothing, for the amount -1. Throws Error
// "'%s' n'est pas une valeur entière correcte" when amount is no whole number (nothing
// changes) or "Impossible de créer le fichier %s".
bool SetDuesAmount(const std::filesystem::path& exerciseFolder, Lines& dues, int selection,
                   const std::string& amount);

// Writes section "Fichier" of the settings file in one rewrite: "Entité", "sigle",
// "exercice", "Exercice1", "bilan" and "resultat". Throws Error "Impossible de créer le
// fichier %s".
void StoreSettings(const Settings& settings);

// True when the folder holds a chart of accounts ("Plan_Comptable.DBP", any letter case).
bool HoldsChart(const std::filesystem::path& folder);

// The files a new exercise starts from, copied in this order.
inline constexpr const char* kSeasonFiles[] = {"Joueur.DBP", "Plan_Comptable.DBP",
                                               "Recette_Joueur.DBP", "Versement_Joueur.DBP"};

// Creates newFolder (missing parents included) holding copies of the four files of
// currentFolder, and nothing else: no journal, no ledger. One change: every file is read
// first, so a missing one throws Error "Impossible d'ouvrir le fichier %s" naming it before
// any folder is made; a failure to create the folder or a file throws Error "Impossible de
// créer le fichier %s" and removes the new folder again.
void CreateExercise(const std::filesystem::path& currentFolder,
                    const std::filesystem::path& newFolder);

// The exercise name of a folder chosen in the folder dialog: its path with the part it
// shares with the program folder removed (StripProgramFolder), as Windows-1252 bytes; a folder
// outside the program folder keeps its whole path.
std::string ExerciseNameOf(const std::filesystem::path& chosen,
                           const std::filesystem::path& programFolder);

// The members' dues for a new season: every dues or payment line whose account is in the dues
// list and whose amount is a number other than 0 becomes that list line's account, name and
// amount, unposted ("F"); every other line is emptied ("F"). Field 68 becomes minus the sum of
// the new amounts when it is positive, else empty. Fields 0 to 19 and everything after field
// 68 stay byte for byte.
Lines ResetDues(const Lines& members, const Lines& duesList);

// ResetDues on the member file of the exercise folder, written whole. False when the file has
// no member (nothing is written). Throws Error as ReadMemberFile / WriteMemberFile do.
bool ResetMemberDues(const std::filesystem::path& exerciseFolder, const Lines& duesList);

}  // namespace vantrel::accounting
