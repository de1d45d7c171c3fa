#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/record_file.h"

namespace vantrel {

// A value the program answers to a report for one name: nothing (the name is not the
// program's), a text of Windows-1252 bytes, or an exact number held as hundredths (an amount
// of cents is that many hundredths of the currency unit).
class ReportValue {
 public:
  enum class Kind { kEmpty, kText, kNumber };

  ReportValue() = default;
  static ReportValue Text(std::string cp1252) { return {Kind::kText, std::move(cp1252), 0}; }
  // The amount cents / 100.
  static ReportValue Cents(std::int64_t cents) { return {Kind::kNumber, {}, cents}; }
  static ReportValue Whole(std::int64_t value) { return {Kind::kNumber, {}, value * 100}; }

  Kind kind() const { return m_kind; }
  const std::string& text() const { return m_text; }
  std::int64_t hundredths() const { return m_hundredths; }

  friend bool operator==(const ReportValue&, const ReportValue&) = default;

 private:
  ReportValue(Kind kind, std::string text, std::int64_t hundredths)
      : m_kind(kind), m_text(std::move(text)), m_hundredths(hundredths) {}

  Kind m_kind = Kind::kEmpty;
  std::string m_text;
  std::int64_t m_hundredths = 0;
};

// Everything a report needs from the program, built by domain code and handed to the report
// engine as it is, by a screen (preview) or by the batch tool (PDF or CSV):
//  - the template, a file of the program folder;
//  - the title;
//  - the list of record lines (record r is records[r]; the count is records.size()); the
//    batch tool writes them as the report's CSV;
//  - the variables seeded with 0 for the template's own totals;
//  - the answers: value(name, record) for every name the template uses, names compared
//    exactly, record from 0 (records.size() after the last record, in the summary). An Empty
//    answer leaves the name to the template's variables and the engine's own names.
struct ReportRequest {
  std::string templateFile;
  std::string title;
  Lines records;
  std::vector<std::string> zeroVariables;
  std::function<ReportValue(const std::string& name, int record)> value;
};

}  // namespace vantrel
