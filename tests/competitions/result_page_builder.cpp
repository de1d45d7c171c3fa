#include "competitions/result_page_builder.h"

#include <fstream>
#include <iterator>

#include "core/cp1252.h"
#include "demo/demo_pages.h"

namespace vantrel::testing {
namespace {

std::string Sp(int spaces, const std::string& text) {
  return std::string(static_cast<std::size_t>(spaces), ' ') + text;
}

// The rows are the demonstration club's (demo/demo_pages.h), with a table number and a score
// that vary from pair to pair.
void AppendRow(std::vector<std::string>& lines, const PageRow& row, int index, bool tableNumber) {
  const std::vector<std::string> rowLines = demo::ResultRowLines(
      {row.rank, tableNumber ? index * 3 % 11 + 1 : 0, 70 - index % 60, row.nameA, row.nameB});
  lines.insert(lines.end(), rowLines.begin(), rowLines.end());
}

}  // namespace

std::string MakeResultPage(const std::vector<PageRow>& rows, bool tableNumber) {
  std::vector<std::string> lines = {
      "<!DOCTYPE html>",
      R"(<html lang="fr">)",
      "<head>",
      R"(<meta charset="utf-8">)",
      "<title>Open /2</title>",
      "</head>",
      "<body>",
      Sp(4, R"(<header class="page-header">)"),
      Sp(12, "Open /2 "),
      Sp(4, "</header>"),
      Sp(4, R"(<section class="results">)"),
      Sp(8, R"(<div class="container-table columns">)"),
      Sp(8, R"(<div class="container-table">)"),
      Sp(12, R"(<table class="table table-striped">)"),
      Sp(16, "<thead>"),
      Sp(20, R"(<tr><th class="text-center">Rang</th><th>Joueurs</th></tr>)"),
      Sp(16, "</thead>"),
      Sp(16, "<tbody>"),
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    AppendRow(lines, rows[i], static_cast<int>(i), tableNumber);
  }
  for (const char* tail :
       {"                </tbody>", "            </table>", "        </div>",
        "        <!-- Simultanee only -->", "    </section>", "</body>", "</html>"}) {
    lines.emplace_back(tail);
  }
  std::string page;
  for (const auto& line : lines) page += line + "\r\n";
  return page;
}

std::string TruncatedPage(const std::string& page, std::size_t keepLines) {
  std::size_t end = 0;
  for (std::size_t n = 0; n < keepLines && end != std::string::npos; ++n) {
    end = page.find("\r\n", end);
    if (end != std::string::npos) end += 2;
  }
  return end == std::string::npos ? page : page.substr(0, end);
}

std::filesystem::path FixturePath(const std::string& name) {
  return std::filesystem::path(VANTREL_COMPETITIONS_FIXTURES) / name;
}

std::string Fixture(const std::string& name) {
  std::ifstream in(FixturePath(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string W(const std::string& utf8) { return Utf8ToCp1252(utf8); }

}  // namespace vantrel::testing
