#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "competitions/result_page.h"
#include "core/record_file.h"

namespace vantrel::competitions {

// A result file (".chr"): one line per pair of a tournament in the order of the page (rank
// order), Windows-1252, CR LF, each field followed by ";":
//   0 rank as written on the page     1 name of player A     2 name of player B
//   3 licence of A, 4 value index of A (empty when A is no club member)
//   5 licence of B, 6 value index of B (the same for B)
//   7 cup points of the pair, hundredths of a point
//   8, 9 the remarks "Sans Deuxième série" and "Sans Troisième série", each on one line at most
//   4;Jean DUPONT;Anne MARTIN;0123456;38;;;556;
// The ranking of a cup reads fields 1 to 7; the remarks are for the reader of the file.
inline constexpr char kNoSecondSeries[] = "Sans Deuxi\xE8me s\xE9rie";
inline constexpr char kNoThirdSeries[] = "Sans Troisi\xE8me s\xE9rie";
inline constexpr char kDefaultCoefficient[] = "100000";

namespace result_field {
inline constexpr int kRank = 0;
inline constexpr int kNameA = 1;
inline constexpr int kNameB = 2;
inline constexpr int kLicenceA = 3;
inline constexpr int kIndexA = 4;
inline constexpr int kLicenceB = 5;
inline constexpr int kIndexB = 6;
inline constexpr int kPoints = 7;
}  // namespace result_field

// The members of a member file under the two keys a page name is compared with: the folded
// first name + last name, and first name + " de " + last name (FoldName: no blanks, no
// accents, capitals, on both sides).
class MemberDirectory {
 public:
  explicit MemberDirectory(const Lines& members);

  struct Member {
    std::string licence;
    std::string valueIndex;
  };
  // The first member, in file order, whose keys match pageName; nothing when none does.
  std::optional<Member> find(const std::string& pageName) const;

 private:
  struct Entry {
    std::string key;
    std::string keyWithDe;
    Member member;
  };
  std::vector<Entry> m_entries;
};

// The result lines of a tournament: members found in the directory, the points of each pair
// with the coefficient kText (a whole number), the series remarks. Everything is checked
// before anything is built: throws Error "'%s' n'est pas une valeur entière correcte" for a
// kText or a rank that is not a whole number, for a value index of a member that is not one,
// and for a kText that gives points beyond 32 bits.
Lines ComputeResultLines(const std::vector<PagePair>& pairs, const MemberDirectory& members,
                         const std::string& kText);

// The rank and the two names (fields 0 to 2) of result lines, for computing them again.
std::vector<PagePair> PairsOfResultLines(const Lines& resultLines);

// The points the pairs bring to club members: each line's points once for a licence A and
// once more for a licence B. Throws Error "'%s' n'est pas une valeur entière correcte" for
// points that are not a whole number.
std::int64_t ResultTotal(const Lines& resultLines);

// "10 paires, 7 joueurs du club", "1 paire, 1 joueur du club": the pairs of the result
// lines and how many of their players are club members (a licence A or B), each noun in the
// singular below 2.
std::string PairsAndClubPlayers(const Lines& resultLines);

// The grid of the results screen: rank, name A, name B, licence A, licence B, points.
using ResultRow = std::array<std::string, 6>;
std::vector<ResultRow> ResultGrid(const Lines& resultLines);

// What a saved page turned out to be.
enum class PageKind {
  kResults,     // a result page whose sections all reach their end
  kNotResults,  // another page (no recognition line)
  kCut,         // a result page that ends inside a result section
};

struct PageExtraction {
  PageKind kind = PageKind::kNotResults;
  // For a cut page, what the reading of its sections found before the cut (truncated).
  PageReading reading;
};

// The state of the results screen, kept for the whole run: the page lines (a page extract),
// the result lines and their total (hundredths).
class TournamentResults {
 public:
  // Reads a saved page (UTF-8 bytes). The page lines become its result sections when it is a
  // whole result page, or nothing: another page, or a cut one, whose extract would read as a
  // shorter tournament. A cut page empties the result lines too, so that nothing is left to
  // save in its place. Throws Error "Impossible d'ouvrir le fichier %s".
  PageExtraction extractPage(const std::filesystem::path& page);
  // The same over the bytes of a saved page.
  PageExtraction extractPageBytes(const std::string& page);
  // Writes the page lines as a page extract. Throws Error "Impossible de créer le fichier %s".
  void writeExtract(const std::filesystem::path& path) const;
  // Reads a page extract into the page lines.
  void openExtract(const std::filesystem::path& path);

  // "Calculer": the result lines of the page lines, with the member file's members and the
  // coefficient kText, and their total. Without page lines, the result lines held (an opened
  // result file) are computed again from their ranks and names, never extended twice. Page
  // lines that stop before the end of their table (the returned reading is truncated) give
  // no result line at all. On an Error nothing changes. Returns what was read of the page.
  PageReading calculate(const Lines& members, const std::string& kText);

  // Writes the result lines and computes their total again.
  void save(const std::filesystem::path& path);
  // Reads a result file into the result lines and computes their total again.
  void open(const std::filesystem::path& path);

  const Lines& pageLines() const { return m_pageLines; }
  const Lines& resultLines() const { return m_resultLines; }
  std::int64_t total() const { return m_total; }

 private:
  Lines m_pageLines;
  Lines m_resultLines;
  std::int64_t m_total = 0;
};

// "Epreuve1" of the prize list: the screen's caption from its 37th character on, at most 40
// characters (after a save or an open, a blank and the result file's name).
std::string PrizeListEvent(const std::string& caption);

// A value of the prize list "Dotation_paires.frf" for record `record` (a result line), or
// nothing for a name that is not the screen's. Names: Saison1, Epreuve1, Classement1, Nom1,
// Nom2, Licence1, Licence2, Pc1 (points with two decimals), Total_Pc. Never throws.
struct PrizeList {
  std::string season;  // "Saison1": entity + " : " + exercise
  std::string event;   // "Epreuve1"
  std::int64_t total = 0;
  Lines resultLines;
};
std::optional<std::string> PrizeListValue(const PrizeList& list, const std::string& name,
                                          int record);

// The prize list of the results held, as the results screen shows them under caption (its
// window title, Windows-1252): "Saison1" is entity + " : " + exercise, "Epreuve1" comes from
// the caption (PrizeListEvent).
PrizeList MakePrizeList(const TournamentResults& results, const std::string& entity,
                        const std::string& exercise, const std::string& caption);

// The records of the prize list as the report engine sees them, one per result line:
// Classement1, Nom1, Nom2, Licence1, Licence2, Pc1.
std::vector<std::vector<std::string>> PrizeListRecords(const PrizeList& list);

// Captions of the results screen (Windows-1252): at start, after a save and after an open of
// a result file (followed by the file's name).
inline constexpr char kResultsCaption[] = "Gestion des r\xE9sultats d'un Tournoi";
inline constexpr char kSavedCaption[] = "Gestion des r\xE9sultats d'un tournoi : ";
inline constexpr char kOpenedCaption[] = "Gestion des r\xE9sultats d'un Tournoi : ";

}  // namespace vantrel::competitions
