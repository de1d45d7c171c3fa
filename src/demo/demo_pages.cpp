#include "demo/demo_pages.h"

#include <map>

namespace vantrel::demo {
namespace {

std::string Sp(int spaces, const std::string& text) {
  return std::string(static_cast<std::size_t>(spaces), ' ') + text;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

}  // namespace

std::vector<std::string> ResultRowLines(const ResultRow& row) {
  std::vector<std::string> lines;
  lines.push_back(Sp(20, R"(<tr class="ng-scope" ng-repeat="row in section.data">)"));
  lines.push_back(Sp(24, R"(<td class="text-center">)"));
  lines.push_back(Sp(28, row.rank));
  lines.push_back(Sp(24, "</td>"));
  if (row.table > 0) {
    lines.push_back(
        Sp(24, R"(<!----><td ng-if="section.data[0].table_number" class="text-center">)"));
    lines.push_back(Sp(28, std::to_string(row.table) + "</td>"));
  }
  lines.push_back(Sp(24, R"(<td class="text-right">)"));
  lines.push_back(Sp(28, std::to_string(row.percent) + ",00 %"));
  lines.push_back(Sp(24, "</td>"));
  lines.push_back(Sp(24, R"(<td class="text-left">)"));
  lines.push_back(Sp(28, R"(<div class="players">)"));
  lines.push_back(Sp(32, "<!---->"));
  for (const std::string* name : {&row.playerA, &row.playerB}) {
    lines.push_back(Sp(32, R"(<div class="player">)"));
    lines.push_back(Sp(36, R"(<a class="ffb-link" href="#">)"));
    lines.push_back(Sp(40, R"(<!----><span class="name"><!----><span>)" + *name + "</span>"));
    lines.push_back(Sp(36, "</a></div>"));
  }
  lines.push_back(Sp(28, "</div>"));
  lines.push_back(Sp(24, "</td>"));
  lines.push_back(Sp(20, "</tr>"));
  return lines;
}

std::string ResultPage(const std::string& title, const std::vector<ResultPair>& pairs) {
  std::vector<std::string> lines = {
      "<!DOCTYPE html>",
      R"(<html lang="fr">)",
      "<head>",
      R"(<meta charset="utf-8">)",
      "<title>" + title + "</title>",
      "</head>",
      "<body>",
      Sp(4, R"(<header class="page-header">)"),
      Sp(8, "<h1>" + title + "</h1>"),
      Sp(12, "Open /2 "),
      Sp(12, "R\xC3\xA9sultats"),
      Sp(4, "</header>"),
      Sp(4, R"(<section class="results">)"),
      Sp(8, R"(<div class="container-table columns">)"),
      Sp(8, R"(<div class="container-table">)"),
      Sp(12, R"(<table class="table table-striped">)"),
      Sp(16, "<thead>"),
      Sp(20, R"(<tr><th class="text-center">Rang</th><th>%</th><th>Joueurs</th></tr>)"),
      Sp(16, "</thead>"),
      Sp(16, "<tbody>"),
  };
  for (const ResultPair& pair : pairs) {
    const std::vector<std::string> row =
        ResultRowLines({std::to_string(pair.rank), 0, pair.percent, pair.playerA, pair.playerB});
    lines.insert(lines.end(), row.begin(), row.end());
  }
  for (const char* tail :
       {"                </tbody>", "            </table>", "        </div>",
        "        <!-- Simultanee only -->", "    </section>", "</body>", "</html>"}) {
    lines.emplace_back(tail);
  }
  return Joined(lines);
}

std::string GroupTeamsPage(const std::string& event, const std::vector<RegistrantTeam>& teams) {
  const std::string in = "            ";
  const std::string filler = in + "<span></span>";
  std::vector<std::string> lines = {
      "<!DOCTYPE html>",
      "<html lang=\"fr\" ng-app=\"espaceLicencie\">",
      "<head><meta charset=\"utf-8\"><title>FFB - Espace Licenci\xC3\xA9 - " + event +
          "</title></head>",
      "<body>",
      "<div class=\"row\"><ui-view>",
      "    <!----><div class=\"large-12 medium-12 small-12 columns small-text-center\" "
      "ng-if=\"!stadeTeamsCtrl.publicationForbidden\">",
      "        <h2 class=\"large-text-left medium-text-center small-text-center pb20\">Liste des "
      "\xC3\xA9quipes du groupe</h2>",
  };
  for (std::size_t t = 0; t < teams.size(); ++t) {
    const RegistrantTeam& team = teams[t];
    // Lines of the entry by their offset from its first line; the gaps hold filler.
    std::map<std::size_t, std::string> entry;
    entry[0] = in + std::to_string(t + 1) + ". " + team.label;
    entry[1] = in + "<div class=\"club\">";
    entry[3] = in + team.club;
    entry[4] = in + "</div>";
    entry[5] = in + "<div class=\"joueurs\">";
    entry[6] = in + "<ul>";
    entry[7] = in + "<li>";
    std::size_t last = 8;
    int sum = 0;
    for (std::size_t j = 0; j < team.players.size(); ++j) {
      const RegistrantPlayer& player = team.players[j];
      last = 8 + 2 * j;
      entry[last] =
          in + "    " + player.civility + " " + player.name + " " + std::to_string(player.index);
      entry[last + 1] = in + (j + 1 < team.players.size() ? "</li><li>" : "</li></ul>");
      sum += player.index;
    }
    entry[last + 2] = in + "</div>";
    entry[last + 3] = in + "<div class=\"indice\">";
    entry[last + 5] = in + std::to_string(sum);
    entry[last + 6] = in + "</div>";
    const std::size_t length = std::max<std::size_t>(21, entry.rbegin()->first + 1);
    for (std::size_t k = 0; k < length; ++k) {
      const auto found = entry.find(k);
      lines.push_back(found == entry.end() ? filler : found->second);
    }
  }
  lines.emplace_back("</ui-view></div>");
  lines.emplace_back("</div></body></html>");
  return Joined(lines);
}

}  // namespace vantrel::demo
