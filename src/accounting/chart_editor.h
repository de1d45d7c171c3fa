#pragma once

#include <filesystem>
#include <string>

#include "core/record_file.h"

namespace vantrel::accounting {

// The chart of accounts screen's work on "Plan_Comptable.dbp": the chart held in memory in
// file order and the selected line (counted from 1, 0 for none). Every change writes the
// whole chart at once; heading lines ("Titre") are never created, changed or deleted.
class ChartEditor {
 public:
  // Reads the chart. Throws Error "Impossible d'ouvrir le fichier %s" when it is missing.
  void load(const std::filesystem::path& exerciseFolder);
  void clear();

  const Lines& lines() const { return m_lines; }
  int count() const { return static_cast<int>(m_lines.size()); }
  // After select(0) on a chart with lines, the first line.
  int selection() const { return m_selection; }
  void select(int line);
  const std::string& selectedLine() const;

  void first() { select(1); }
  void previous() { select(m_selection > 1 ? m_selection - 1 : m_selection); }
  void next() { select(m_selection < count() ? m_selection + 1 : m_selection); }
  void last() { select(count()); }

  // Adds the account number (typed), name and link as a line created in exercise, typed
  // "Résultat" from 6000 on and "Bilan" below, in number order, and selects it. False, with
  // nothing changed, for a number outside 1000 to 7999 or already in the chart. Throws Error
  // "'%s' n'est pas une valeur entière correcte" when number is no whole number, or
  // "Impossible de créer le fichier %s".
  bool add(const std::filesystem::path& exerciseFolder, const std::string& number,
           const std::string& name, const std::string& link, const std::string& exercise);
  // Renames and relinks the selected line, stamped with exercise. False, with nothing changed,
  // when number is not the selected line's number or the line is a heading.
  bool modify(const std::filesystem::path& exerciseFolder, const std::string& number,
              const std::string& name, const std::string& link, const std::string& exercise);
  // True when the selected line may be deleted (it exists and is no heading).
  bool canRemove() const;
  // Deletes the selected line (never a heading); the selection moves up one when it was
  // above 2 and never points past the last line. Ledgers and journal lines stay.
  bool remove(const std::filesystem::path& exerciseFolder);

  // The first grid row to show so that the selection is in view with ten rows after it.
  int topRow() const;

 private:
  void write(const std::filesystem::path& exerciseFolder, const Lines& lines) const;

  Lines m_lines;
  int m_selection = 0;
};

// "X": N -> C -> V -> N by the first letter; any other text stays.
std::string NextLink(const std::string& link);
// The "Liens" column: "Cotisation" for a link starting with C, "Versement" with V, else empty.
std::string LinkCaption(const std::string& link);

}  // namespace vantrel::accounting
