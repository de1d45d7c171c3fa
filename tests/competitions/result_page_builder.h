#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::testing {

// A pair as a result page shows it (UTF-8).
struct PageRow {
  std::string rank;
  std::string nameA;
  std::string nameB;
};

// A saved federation result page (UTF-8 bytes, CR LF) with the markers of a real one: the
// recognition lines in its header, one result section with a nested table container, the
// table body, and per pair the cell before the rank, the rank, the score and the two names
// 10 and 14 lines below the rank (12 and 16 with the table-number column).
std::string MakeResultPage(const std::vector<PageRow>& rows, bool tableNumber);

// The same page cut after `keepLines` lines.
std::string TruncatedPage(const std::string& page, std::size_t keepLines);

// The fixtures folder of these tests, and one of its files as bytes.
std::filesystem::path FixturePath(const std::string& name);
std::string Fixture(const std::string& name);

// Windows-1252 bytes of a text written here in UTF-8.
std::string W(const std::string& utf8);

}  // namespace vantrel::testing
