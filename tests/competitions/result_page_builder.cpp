#include "competitions/result_page_builder.h"

#include <fstream>
#include <iterator>

#include "core/cp1252.h"

namespace vantrel::testing {
namespace {

std::string Sp(int spaces, const std::string& text) {
  return std::string(static_cast<std::size_t>(spaces), ' ') + text;
}

void AppendRow(std::vector<std::string>& lines, const PageRow& row, int index, bool tableNumber) {
  lines.push_back(Sp(20, R"(<tr class="ng-scope" ng-repeat="row in section.data">)"));
  lines.push_back(Sp(24, R"(<td class="text-center">)"));
  lines.push_back(Sp(28, row.rank));
  lines.push_back(Sp(24, "</td>"));
  if (tableNumber) {
    lines.push_back(
        Sp(24, R"(<!----><td ng-if="section.data[0].table_number" class="text-center">)"));
    lines.push_back(Sp(28, std::to_string(index * 3 % 11 + 1) + "</td>"));
  }
  lines.push_back(Sp(24, R"(<td class="text-right">)"));
  lines.push_back(Sp(28, std::to_string(70 - index % 60) + ",00 %"));
  lines.push_back(Sp(24, "</td>"));
  lines.push_back(Sp(24, R"(<td class="text-left">)"));
  lines.push_back(Sp(28, R"(<div class="players">)"));
  lines.push_back(Sp(32, "<!---->"));
  for (const std::string* name : {&row.nameA, &row.nameB}) {
    lines.push_back(Sp(32, R"(<div class="player">)"));
    lines.push_back(Sp(36, R"(<a class="ffb-link" href="#">)"));
    lines.push_back(Sp(40, R"(<!----><span class="name"><!----><span>)" + *name + "</span>"));
    lines.push_back(Sp(36, "</a></div>"));
  }
  lines.push_back(Sp(28, "</div>"));
  lines.push_back(Sp(24, "</td>"));
  lines.push_back(Sp(20, "</tr>"));
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
