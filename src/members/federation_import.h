#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/date.h"
#include "core/record_file.h"

namespace vantrel::members {

// The federation's CSV extraction of the club's licensed players: UTF-8, fields separated by
// ";" without quoting, a header line near the top whose fifth character is the "l" of
// "Num_licence", then one player per line. Positions used (0 to 33 may be present):
//   Num_licence;Civilite;Nom;Prenom;Naissance;Adresse1;Adresse2;CP;Ville;Pays;Tel;Portable;
//   Email;Categorie;Licence;...;Club;IV;...
//   12345;M.;Lécuyer;Jérôme;1958-06-21;2 rue Haute;;75001;Paris;France;0102030405;
//   0607080910;jerome@example.fr;Senior;Licence;;Bridge Club;45;
// (one line in the file).

// The extraction's player lines, as UTF-8 bytes.
struct Extraction {
  Lines players;
  bool headerFound = false;
};

// Reads the extraction at path. A file of two lines or fewer has no header. Lines before the
// header are skipped, a UTF-8 byte-order mark in front of the first line is ignored, and
// blank lines after the header are not players, nor lines of separators alone (a spreadsheet
// that saves the extraction again leaves its empty rows as 33 ";"). Throws Error "Impossible
// d'ouvrir le fichier %s" when the file cannot be read.
Extraction ReadExtraction(const std::filesystem::path& path);
Extraction ReadExtractionLines(const Lines& lines);

// The number the screen reports: -1 without header, else the number of player lines.
inline int ExtractionCount(const Extraction& extraction) {
  return extraction.headerFound ? static_cast<int>(extraction.players.size()) : -1;
}

// The federation's own mail domain: its addresses ("x@ffbridge.fr") are never imported.
std::string FederationMailDomain();

// One player line decoded into Windows-1252 (every character the code page holds kept, the
// others "?") and split into positions 0 to 33 (missing ones empty, extra ones dropped).
std::vector<std::string> DecodePlayerLine(const std::string& utf8Line);

// Member fields 0 to 16 from a decoded player: last name and club in capitals (accented
// letters included), birth date as day/month/year, telephones in pairs, the licence kind as
// position 14, a blank, position 13, the mail address emptied when it is one of the
// federation's own. The extraction has no address line 3 and no office telephone: fields 8
// and 12 are empty.
std::vector<std::string> MemberFieldsOfPlayer(const std::vector<std::string>& positions);

// "0102030405" -> "01 02 03 04 05": a blank after every second character but the last.
std::string GroupDigitPairs(const std::string& text);

// "1958-06-21" -> "21/06/1958" (year, month, day split at "-"; anything after a third dash
// dropped); "" -> "//".
std::string IsoDateToFrench(const std::string& text);

// What the import does with a new player, or with a changed field of a known member.
enum class MergeChoice { kAlways, kAfterConsent, kNever };

// The two questions of "Après accord": adding a new player, replacing a stored value.
enum class QuestionKind { kAddPlayer, kReplaceValue };

// Asked for "Après accord": the question's kind and text (Windows-1252, lines separated by
// "\r"); true for "&Oui".
using ImportQuestion = std::function<bool(QuestionKind kind, const std::string& text)>;

// The members indexed by licence read as an integer, the last member of a licence winning.
class LicenceIndex {
 public:
  // Throws Error "'%s' n'est pas une valeur entière correcte" for a licence that is not a
  // whole number.
  explicit LicenceIndex(const Lines& members);
  // The index of the member whose licence equals licence as integers, or -1. Throws Error
  // "'%s' n'est pas une valeur entière correcte" when licence is not a whole number.
  int find(const std::string& licence) const;
  void add(const std::string& licence, int index);

 private:
  std::unordered_map<std::int32_t, int> m_index;
};

// The last member whose licence equals licence as integers, or -1 (same errors as above).
int FindMember(const Lines& members, const std::string& licence);

// The value of member field f (0 to 16) after the merge: the stored one when both are equal
// as text or the choice is kNever, the new one for kAlways, and for kAfterConsent the one
// the question answers ("Pour la fiche : " + title, last name and first name, then
// "Modifier : " + stored value and "Par : " + new value). Fields 8 (address line 3) and 12
// (office telephone), which the extraction does not carry, keep their stored value without
// a question, whatever the choice.
std::string MergeField(const std::vector<std::string>& stored, int f, const std::string& newValue,
                       MergeChoice choice, const ImportQuestion& ask);

struct ImportOptions {
  MergeChoice add = MergeChoice::kAlways;     // "Ajout nouveau membre"
  MergeChoice modify = MergeChoice::kAlways;  // "Modification pour un membre"
  Date today;
};

struct ImportCounts {
  int added = 0;      // players appended as new members
  int changed = 0;    // known members whose record changed in any byte
  int unchanged = 0;  // known members left byte-identical
  int skipped = 0;    // new players not added
  friend bool operator==(const ImportCounts&, const ImportCounts&) = default;
};

// Merges the players into members (a copy the caller owns), player by player, then sorts
// the list by last name and first name (import variant). Empty records of the member list
// (blanks and separators alone, such as an empty last line) are nobody and are dropped. A
// known member gets fields 0 to 16 by MergeField, field 17 the age from the merged birth
// date, and keeps his line from field 18 on byte for byte. progress(k) runs before player k
// when k is a multiple of 10. Throws Error for a licence that is not a whole number or a
// birth date that cannot be read; members is then partly merged and must be dropped.
ImportCounts MergeExtraction(Lines& members, const Lines& players, const ImportOptions& options,
                             const ImportQuestion& ask,
                             const std::function<void(int)>& progress = {});

// What MergeExtraction would do with these choices, counted on a copy: with "Après accord"
// every question is answered "&Oui", so for an extraction that holds each licence once (as
// the federation's does) the counts are the most that may be added or changed and the fewest
// left as they are. Throws what MergeExtraction throws.
ImportCounts CountMerge(const Lines& members, const Lines& players, const ImportOptions& options);

// The whole import of a file: reads the member file of exerciseFolder, merges, sorts and
// writes it once at the end. dryRun counts as CountMerge does and writes nothing. A failure
// writes nothing.
ImportCounts ImportExtraction(const std::filesystem::path& exerciseFolder, const Lines& players,
                              const ImportOptions& options, const ImportQuestion& ask, bool dryRun);

}  // namespace vantrel::members
