#include "competitions/registrant_pages.h"

#include <algorithm>
#include <map>

#include "core/cp1252.h"
#include "members/member_file.h"

namespace vantrel::testing {

using competitions::ConvocationMode;
using competitions::ListKind;

namespace {

constexpr char kIndent[] = "            ";
constexpr char kFiller[] = "            <span></span>";

const char* const kHead[] = {
    "<!DOCTYPE html>",
    "<html lang=\"fr\" ng-app=\"espaceLicencie\">",
    "<head><meta charset=\"utf-8\"><title>FFB - Espace Licenci\xC3\xA9</title></head>",
    "<body>",
    "<div class=\"row\"><ui-view>",
};
constexpr char kGroupStart[] =
    "    <!----><div class=\"large-12 medium-12 small-12 columns small-text-center\" "
    "ng-if=\"!stadeTeamsCtrl.publicationForbidden\">";
constexpr char kGroupTitle[] =
    "        <h2 class=\"large-text-left medium-text-center small-text-center pb20\">Liste des "
    "\xC3\xA9quipes du groupe</h2>";
constexpr char kCompetitionTitle[] =
    "        <h2 class=\"large-text-left medium-text-center small-text-center pb20 "
    "ng-binding\">Liste des \xC3\xA9quipes de la comp\xC3\xA9tition</h2>";
constexpr char kCompetitionStart[] = "                <div class=\"container-table\">";
constexpr char kListEnd[] = "</ui-view></div>";
constexpr char kTail[] = "</div></body></html>";

std::string PlayerText(const PagePlayer& player) {
  return player.civility + " " + player.name + " " + std::to_string(player.index);
}

// Lines of one entry by offset from its first line; gaps become filler.
class EntryLines {
 public:
  void set(std::size_t offset, std::string line) { m_lines[offset] = std::move(line); }
  void appendTo(Lines& page, std::size_t minimumLength) const {
    std::size_t length = minimumLength;
    if (!m_lines.empty()) length = std::max(length, m_lines.rbegin()->first + 1);
    for (std::size_t k = 0; k < length; ++k) {
      const auto found = m_lines.find(k);
      page.push_back(found == m_lines.end() ? kFiller : found->second);
    }
  }

 private:
  std::map<std::size_t, std::string> m_lines;
};

void AppendGroupEntry(Lines& page, int number, const PageEntry& entry, bool numbered) {
  EntryLines lines;
  const std::string in = kIndent;
  if (numbered) lines.set(0, in + std::to_string(number) + ". " + entry.label);
  lines.set(1, in + "<div class=\"club\">");
  lines.set(3, in + entry.club);
  lines.set(4, in + "</div>");
  lines.set(5, in + "<div class=\"joueurs\">");
  lines.set(6, in + "<ul>");
  lines.set(7, in + "<li>");
  std::size_t last = 8;
  for (std::size_t j = 0; j < entry.players.size(); ++j) {
    last = 8 + 2 * j;
    lines.set(last, in + "    " + PlayerText(entry.players[j]));
    lines.set(last + 1, in + (j + 1 < entry.players.size() ? "</li><li>" : "</li></ul>"));
  }
  lines.set(last + 2, in + "</div>");
  lines.set(last + 3, in + "<div class=\"indice\">");
  lines.set(last + 5, in + std::to_string(entry.index));
  lines.set(last + 6, in + "</div>");
  lines.appendTo(page, 21);
}

void AppendCompetitionEntry(Lines& page, ConvocationMode mode, int number, const PageEntry& entry,
                            bool numbered) {
  EntryLines lines;
  const std::string in = kIndent;
  if (numbered) lines.set(0, in + std::to_string(number) + ". " + entry.label);
  std::size_t tagged = 16;
  if (mode == ConvocationMode::kTeams) {
    const std::size_t k = entry.players.size();
    lines.set(1, in + "<table><tr>");
    lines.set(2, in + "<td class=\"text-center ng-binding\">");
    lines.set(3, in + entry.club);
    lines.set(4, in + "</td>");
    lines.set(5, in + "<td><div>");
    lines.set(6, in + "<div class=\"joueurs\">");
    for (std::size_t j = 0; j < k; ++j)
      lines.set(7 + j, in + "    " + PlayerText(entry.players[j]));
    lines.set(7 + k, in + "<i></i>");
    lines.set(8 + k, in + "</div>");
    lines.set(9 + k, in + "</div></td>");
    lines.set(10 + k, in + "<td class=\"indice\">");
    lines.set(11 + k, in + std::to_string(entry.index));
    lines.set(12 + k, in + "</td></tr></table>");
    tagged = std::max<std::size_t>(16, 13 + k);
  } else {
    std::string both;
    for (const PagePlayer& player : entry.players) {
      if (!both.empty()) both += ' ';
      both += PlayerText(player);
    }
    lines.set(9, in + "<div class=\"joueurs\">");
    lines.set(10, in + "    " + both);
    lines.set(12, in + "</div>");
    lines.set(15, in + std::to_string(entry.index));
  }
  for (std::size_t j = 0; j < entry.players.size() && tagged + j <= 22; ++j) {
    const PagePlayer& player = entry.players[j];
    lines.set(tagged + j, in + "<br class=\"ng-binding\">" + player.civility + " " + player.name);
  }
  lines.appendTo(page, 23);
}

void AppendList(Lines& page, ListKind kind, ConvocationMode mode,
                const std::vector<PageEntry>& entries, const PageOptions& options) {
  if (kind == ListKind::kGroup) {
    page.push_back(kGroupStart);
    page.push_back(kGroupTitle);
  } else {
    page.push_back(kCompetitionTitle);
    page.push_back(kCompetitionStart);
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    const bool numbered = options.missingNumbers.count(number) == 0;
    if (kind == ListKind::kGroup) {
      AppendGroupEntry(page, number, entries[i], numbered);
    } else {
      AppendCompetitionEntry(page, mode, number, entries[i], numbered);
    }
  }
  page.push_back(kListEnd);
}

std::string Joined(const Lines& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

PagePlayer P(const char* civility, const char* name, int index) {
  return PagePlayer{civility, name, index};
}

}  // namespace

Lines RegistrantPageLines(ListKind kind, ConvocationMode mode,
                          const std::vector<PageEntry>& entries, const PageOptions& options) {
  Lines page(std::begin(kHead), std::end(kHead));
  AppendList(page, kind, mode, entries, options);
  page.push_back(kTail);
  page.resize(page.size() - std::min(options.cutAtEnd, page.size()));
  return page;
}

std::string RegistrantPage(ListKind kind, ConvocationMode mode,
                           const std::vector<PageEntry>& entries, const PageOptions& options) {
  return Joined(RegistrantPageLines(kind, mode, entries, options));
}

std::string PageWithBothLists(ConvocationMode mode, const std::vector<PageEntry>& group,
                              const std::vector<PageEntry>& competition) {
  Lines page(std::begin(kHead), std::end(kHead));
  AppendList(page, ListKind::kGroup, mode, group, {});
  AppendList(page, ListKind::kCompetition, mode, competition, {});
  page.push_back(kTail);
  return Joined(page);
}

std::vector<PageEntry> SampleTeams() {
  return {
      {"DUPONT",
       "BRIDGE CLUB ARDEVANNE",
       {P("M.", "Jean DUPONT", 24), P("Mme", "Anne MARTIN", 31), P("M.", "Paul DURAND", 19),
        P("Mme",
          "L\xC3\xA9"
          "a PETIT",
          22)},
       96},
      {"ROUSSEL",
       "BC DE LA VALLEE",
       {P("M.", "Luc ROUSSEL", 35), P("M.", "Marc BLANC", 28), P("Mme", "Sophie ROUX", 26),
        P("M.", "Henri FAURE", 30), P("Mme", "Odile MOREL", 21)},
       140},
      {"L\xC3\x89"
       "CUYER",
       "BRIDGE CLUB ARDEVANNE",
       {P("M.",
          "J\xC3\xA9r\xC3\xB4me L\xC3\x89"
          "CUYER",
          27),
        P("Mme", "No\xC3\xABlle BENO\xC3\x8eT", 25), P("M.", "Jean DUPONT", 24),
        P("M.", "Fran\xC3\xA7ois GARNIER", 33)},
       109},
      {"CHEVALIER",
       "CERCLE DU PORT",
       {P("M.", "Yves CHEVALIER", 40), P("Mme", "Claire LEMAIRE", 36), P("M.", "Alain GIRARD", 29),
        P("M.", "Bruno ANDRE", 31), P("Mme", "Agathe NOEL", 27), P("M.", "Pierre LEGRAND", 22)},
       185},
  };
}

std::vector<PageEntry> SamplePairs() {
  return {
      {"DUPONT - MARTIN", "", {P("M.", "Jean DUPONT", 24), P("Mme", "Anne MARTIN", 31)}, 55},
      {"ROUSSEL - BLANC", "", {P("M.", "Luc ROUSSEL", 35), P("M.", "Marc BLANC", 28)}, 63},
      {"L\xC3\x89"
       "CUYER - BENO\xC3\x8eT",
       "",
       {P("M.",
          "J\xC3\xA9r\xC3\xB4me L\xC3\x89"
          "CUYER",
          27),
        P("Mme", "No\xC3\xABlle BENO\xC3\x8eT", 25)},
       52},
      {"GIRARD - ANDRE", "", {P("M.", "Alain GIRARD", 29), P("M.", "Bruno ANDRE", 31)}, 60},
  };
}

std::string MemberLine(const std::string& licence, const std::string& title,
                       const std::string& lastName, const std::string& firstName,
                       const std::string& mail, const std::string& mailChoice) {
  members::MemberRecord record;
  record.set(members::field::kLicence, licence);
  record.set(members::field::kTitle, title);
  record.set(members::field::kLastName, lastName);
  record.set(members::field::kFirstName, firstName);
  record.set(members::field::kMail, mail);
  record.set(members::field::kMailConvocations, mailChoice);
  return record.ToLine();
}

Lines SampleMembers() {
  return {
      MemberLine("00123456", "M.", "DUPONT", "Jean", "jean.dupont@example.fr"),
      MemberLine("00234567", "M.", "GARNIER", Utf8ToCp1252("François"), "f.garnier@example.fr",
                 "NON"),
      MemberLine("00345678", "M.", Utf8ToCp1252("LÉCUYER"), Utf8ToCp1252("Jérôme"),
                 "jerome.lecuyer@example.fr"),
      MemberLine("00456789", "Mme", "MARTIN", "Anne", "anne.martin@example.fr"),
      MemberLine("00567890", "Mme", Utf8ToCp1252("BENOÎT"), Utf8ToCp1252("Noëlle"), ""),
  };
}

}  // namespace vantrel::testing
