#include "competitions/cup_file.h"

#include "core/numbers.h"
#include "core/text_helpers.h"

namespace vantrel::competitions {

std::filesystem::path CupFilePath(const std::filesystem::path& exerciseFolder, int cup) {
  return ResolvePath(exerciseFolder / ("Challenge_" + std::to_string(cup) + ".dbp"));
}

std::string ToggleCupKind(const std::string& kind) { return kind == "P" ? "Q" : "P"; }

void CupFile::load(const std::filesystem::path& path) {
  m_path = path;
  m_lines = ReadLinesIfExists(path);
  m_current = 0;
  settle();
}

void CupFile::clear() {
  m_lines.clear();
  m_current = 0;
}

std::string CupFile::lineOf(int number, const CupFields& fields,
                            const std::string& resultFile) const {
  return JoinFields({std::to_string(number), fields.date, fields.name, fields.kind,
                     std::to_string(fields.column), fields.coefficient, resultFile});
}

void CupFile::add(const CupFields& fields) {
  m_lines.push_back(lineOf(count() + 1, fields, {}));
  m_current = count();
  save();
}

void CupFile::modify(const CupFields& fields) {
  if (m_current < 1) return;
  m_lines[static_cast<std::size_t>(m_current - 1)] = lineOf(m_current, fields, {});
  save();
}

void CupFile::remove() {
  if (m_current < 1) return;
  m_lines.erase(m_lines.begin() + (m_current - 1));
  m_current = count();
  save();
}

void CupFile::link(const CupFields& fields, const std::string& resultFile) {
  if (m_current < 1) return;
  m_lines[static_cast<std::size_t>(m_current - 1)] = lineOf(m_current, fields, resultFile);
  save();
}

void CupFile::first() {
  m_current = 1;
  settle();
}

void CupFile::previous() {
  if (m_current > 1) --m_current;
}

void CupFile::next() {
  if (m_current < count()) ++m_current;
}

void CupFile::last() { m_current = count(); }

CupFields CupFile::currentFields() const {
  CupFields fields;
  if (m_current < 1) return fields;
  const std::string& line = m_lines[static_cast<std::size_t>(m_current - 1)];
  fields.date = FieldAt(line, cup_field::kDate);
  fields.name = FieldAt(line, cup_field::kName);
  fields.kind = FieldAt(line, cup_field::kKind);
  fields.column = TryParseInteger(FieldAt(line, cup_field::kColumn)).value_or(0);
  fields.coefficient = FieldAt(line, cup_field::kCoefficient);
  return fields;
}

std::string CupFile::currentNumber() const {
  if (m_current < 1) return {};
  return FieldAt(m_lines[static_cast<std::size_t>(m_current - 1)], cup_field::kNumber);
}

void CupFile::save() {
  WriteLines(m_path, m_lines);
  settle();
}

void CupFile::settle() {
  if (m_current > count()) m_current = count();
  if (m_current == 0 && count() > 0) m_current = 1;
}

}  // namespace vantrel::competitions
