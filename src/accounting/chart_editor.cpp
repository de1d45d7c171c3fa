#include "accounting/chart_editor.h"

#include <optional>

#include "accounting/accounting_files.h"
#include "core/error.h"
#include "core/numbers.h"
#include "core/text_helpers.h"

namespace vantrel::accounting {

namespace {

std::optional<int> NumberOf(const std::string& line) {
  return TryParseInteger(FieldAt(line, chart::kNumber));
}

bool IsHeading(const std::string& line) {
  return FieldAt(line, chart::kType) == chart::kTypeHeading;
}

}  // namespace

void ChartEditor::load(const std::filesystem::path& exerciseFolder) {
  m_lines = ReadLines(exerciseFolder / kChartFileName);
  m_selection = 0;
  select(0);
}

void ChartEditor::clear() {
  m_lines.clear();
  m_lines.shrink_to_fit();
  m_selection = 0;
}

void ChartEditor::select(int line) {
  if (line < 0) line = 0;
  if (line > count()) line = count();
  if (line == 0 && count() > 0) line = 1;
  m_selection = line;
}

const std::string& ChartEditor::selectedLine() const {
  static const std::string kNone;
  return m_selection > 0 ? m_lines[static_cast<std::size_t>(m_selection - 1)] : kNone;
}

bool ChartEditor::add(const std::filesystem::path& exerciseFolder, const std::string& number,
                      const std::string& name, const std::string& link,
                      const std::string& exercise) {
  const int value = ParseInteger(number);
  if (value < 1000 || value > 7999) return false;
  for (const std::string& line : m_lines) {
    if (NumberOf(line) == value) return false;
  }
  const std::string type = value >= 6000 ? chart::kTypeResult : chart::kTypeBalance;
  Lines lines = m_lines;
  std::size_t at = lines.size();
  while (at > 0) {
    const auto before = NumberOf(lines[at - 1]);
    if (before && *before <= value) break;
    --at;
  }
  lines.insert(lines.begin() + static_cast<long>(at),
               JoinFields({AccountNumberText(value), name, type, link, exercise}));
  write(exerciseFolder, lines);
  m_lines = std::move(lines);
  m_selection = static_cast<int>(at) + 1;
  return true;
}

bool ChartEditor::modify(const std::filesystem::path& exerciseFolder, const std::string& number,
                         const std::string& name, const std::string& link,
                         const std::string& exercise) {
  if (m_selection == 0) return false;
  const std::string& line = selectedLine();
  if (number != FieldAt(line, chart::kNumber) || IsHeading(line)) return false;
  Lines lines = m_lines;
  lines[static_cast<std::size_t>(m_selection - 1)] = JoinFields(
      {FieldAt(line, chart::kNumber), name, FieldAt(line, chart::kType), link, exercise});
  write(exerciseFolder, lines);
  m_lines = std::move(lines);
  return true;
}

bool ChartEditor::canRemove() const { return m_selection > 0 && !IsHeading(selectedLine()); }

bool ChartEditor::remove(const std::filesystem::path& exerciseFolder) {
  if (!canRemove()) return false;
  Lines lines = m_lines;
  lines.erase(lines.begin() + (m_selection - 1));
  write(exerciseFolder, lines);
  m_lines = std::move(lines);
  if (m_selection > 2) --m_selection;
  if (m_selection > count()) m_selection = count();
  return true;
}

int ChartEditor::topRow() const {
  // The grid counts its header as row 0: the selection is grid row m_selection.
  const int rows = count() + 1;
  int top = 1;
  if (m_selection < rows - 10) {
    top = m_selection;
  } else if (rows > 10) {
    top = rows - 11;
  }
  // As a row of the lines (the header is not one of them).
  return top > 0 ? top - 1 : 0;
}

void ChartEditor::write(const std::filesystem::path& exerciseFolder, const Lines& lines) const {
  WriteLines(exerciseFolder / kChartFileName, lines);
}

std::string NextLink(const std::string& link) {
  if (link.empty()) return link;
  switch (link[0]) {
    case 'N':
      return chart::kLinkDues;
    case 'C':
      return chart::kLinkPayment;
    case 'V':
      return chart::kLinkNone;
    default:
      return link;
  }
}

std::string LinkCaption(const std::string& link) {
  if (link.starts_with('C')) return "Cotisation";
  if (link.starts_with('V')) return "Versement";
  return {};
}

}  // namespace vantrel::accounting
