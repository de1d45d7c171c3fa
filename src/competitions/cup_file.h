#pragma once

#include <filesystem>
#include <string>

#include "core/record_file.h"

namespace vantrel::competitions {

// A cup file "Challenge_<n>.dbp" of an exercise folder (n = 1 to 4): one line per
// tournament of the cup, Windows-1252, CR LF, seven fields each followed by ";":
//   0 number   1 date ("dd/mm/yyyy", untyped positions as blanks)   2 name
//   3 kind "P" (pairs) or "Q" (teams of four)   4 ranking column, 0 to 16 (0: does not count)
//   5 weight in percent   6 result file (".chr") of the exercise folder, empty when none
//   2;14/10/2026;Tournoi de Rentrée;P;2;100;rentree.chr;
// A missing file is an empty cup.
inline constexpr int kCupCount = 4;
inline constexpr int kMaxRankingColumn = 16;

namespace cup_field {
inline constexpr int kNumber = 0;
inline constexpr int kDate = 1;
inline constexpr int kName = 2;
inline constexpr int kKind = 3;
inline constexpr int kColumn = 4;
inline constexpr int kCoefficient = 5;
inline constexpr int kResultFile = 6;
}  // namespace cup_field

// The cup file of cup `cup` in an exercise folder, name matched without regard to case.
std::filesystem::path CupFilePath(const std::filesystem::path& exerciseFolder, int cup);

// The edit fields of the cup management screen, as typed.
struct CupFields {
  std::string date = "  /  /    ";
  std::string name;
  std::string kind = "P";
  int column = 1;
  std::string coefficient = "100";
};

// The kind after the "X" button: "P" becomes "Q", anything else "P".
std::string ToggleCupKind(const std::string& kind);

// The cup file as the management screen holds it: its lines and the current line r (1 to the
// number of lines, 0 when there is none). Every change is written at once, the whole file
// replacing the old one atomically (Error "Impossible de créer le fichier %s").
class CupFile {
 public:
  CupFile() = default;
  // Reads the cup file (a missing one is empty); r becomes 1, or 0 without lines.
  void load(const std::filesystem::path& path);
  // Drops the lines held.
  void clear();

  // Appends "count+1;fields;;" (no result file); the new line becomes current.
  void add(const CupFields& fields);
  // Rewrites line r as "r;fields;;": a result file linked before is unlinked.
  void modify(const CupFields& fields);
  // Deletes line r; the last line becomes current. Other numbers stay as they are.
  void remove();
  // Rewrites line r as "r;fields;resultFile;" (resultFile empty when the dialog was
  // cancelled: the line is unlinked). Nothing happens without a current line.
  void link(const CupFields& fields, const std::string& resultFile);

  void first();
  void previous();
  void next();
  void last();

  const Lines& lines() const { return m_lines; }
  int count() const { return static_cast<int>(m_lines.size()); }
  int current() const { return m_current; }
  // The edit fields of line r (defaults when there is none).
  CupFields currentFields() const;
  // Field 0 of line r; empty when there is none.
  std::string currentNumber() const;

 private:
  std::string lineOf(int number, const CupFields& fields, const std::string& resultFile) const;
  void save();
  void settle();

  std::filesystem::path m_path;
  Lines m_lines;
  int m_current = 0;
};

}  // namespace vantrel::competitions
