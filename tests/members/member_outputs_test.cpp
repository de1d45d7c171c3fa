#include "members/member_outputs.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/error.h"
#include "members/member_file.h"
#include "members/member_search.h"

namespace vantrel::members {
namespace {

std::string Member(const std::map<int, std::string>& fields) {
  MemberRecord record;
  for (const auto& [k, value] : fields) record.set(k, value);
  return record.ToLine();
}

TEST(ExportLinesTest, EmptySelectionWritesTheHeaderAlone) {
  const Lines expected = {
      "Numero;Titre;Nom;Prenon;Iv;Adres1;Adres2;Adress3;Code;Ville;Domicile;Bureau;Portable;"
      "Courriel;MiseAJour;Solde;Convoc.Cour.;"};
  EXPECT_EQ(expected, ExportLines({Member({{2, "DUPONT"}})}, {}));
}

TEST(ExportLinesTest, WritesTheSeventeenFieldsAsStoredInSelectionOrder) {
  const Lines members = {
      Member({{0, "00123456"},   {1, "M."},     {2, "DUPONT"},           {3, "Jean"},
              {4, "12"},         {5, "CLUB"},   {6, "2 rue Haute"},      {7, "B\xe2t. A"},
              {8, "Escalier C"}, {9, "75001"},  {10, "PARIS"},           {11, "01 02 03 04 05"},
              {12, "01 99"},     {13, "06 07"}, {14, "jean@example.fr"}, {15, "21/06/1958"},
              {16, "Licence"},   {17, "68"},    {18, "12/09/2026"},      {68, "-2550"},
              {69, "NON"}}),
      Member({{2, "MARTIN"}}),
  };
  const Lines lines = ExportLines(members, {1, 0});
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ(";;MARTIN;;;;;;;;;;;;;;OUI;", lines[1]);
  EXPECT_EQ(
      "00123456;M.;DUPONT;Jean;12;2 rue Haute;B\xe2t. A;Escalier C;75001;PARIS;01 02 03 04 05;"
      "01 99;06 07;jean@example.fr;12/09/2026;-2550;NON;",
      lines[2]);
}

TEST(DirectoryPageTest, EmptySelectionWritesTheHeaderAndFooterOnly) {
  const Lines page = DirectoryPage({}, {}, *Date::FromYmd(2026, 12, 9));
  ASSERT_EQ(6u, page.size());
  EXPECT_EQ("<HTML>", page[0]);
  EXPECT_EQ(
      "<BODY BACKGROUND=\"mint.gif\"><CENTER><FONT COLOR=\"#800000\" FACE=\"Comic Sans MS\" "
      "SIZE=\"7\">Annuaire des adh\xe9rents<BR>09/12/2026</FONT></CENTER><BR><TABLE "
      "ALIGN=\"Center\" BGCOLOR=\"#E6FFE6\" BORDER=\"1\" BORDERCOLOR=\"#008000\" WIDTH=\"90%\">",
      page[3]);
  EXPECT_EQ(
      "<TR ALIGN=\"Center\" VALIGN=\"Middle\"><TD HEIGHT=\"30\">Nom</TD><TD>N\xb0Licence      "
      "</TD><TD>Indice      </TD><TD>T\xe9l\xe9phonnes</TD><TD>Courriel</TD>    </TR>",
      page[4]);
  EXPECT_EQ("</TABLE></BODY></HTML>", page[5]);
  EXPECT_EQ(0u, page[2].find("<HEAD><TITLE>LMT Annuaire</TITLE><META NAME=\"Generator\""));
}

TEST(DirectoryPageTest, RowCells) {
  struct Case {
    const char* what;
    std::map<int, std::string> fields;
    const char* row;
  };
  const Case cases[] = {
      {"no telephone, no mail, no index",
       {{0, "123"}, {1, "M."}, {2, "DUPONT"}, {3, "Jean"}},
       "<TR ALIGN=\"Center\" VALIGN=\"Middle\"><TD HEIGHT=\"30\">M. DUPONT Jean</TD>"
       "<TD HEIGHT=\"30\">123</TD><TD>&nbsp;</TD><TD>&nbsp;</TD><TD>&nbsp;</TD>    </TR>"},
      {"home and mobile joined, a mail link",
       {{0, "123"},
        {1, "Mme"},
        {2, "MARTIN"},
        {3, "No\xebl"},
        {4, "45"},
        {11, "01 02"},
        {13, "06 07"},
        {14, "n@example.fr"}},
       "<TR ALIGN=\"Center\" VALIGN=\"Middle\"><TD HEIGHT=\"30\">Mme MARTIN No\xebl</TD>"
       "<TD HEIGHT=\"30\">123</TD><TD>45</TD><TD>01 02<BR>06 07</TD>"
       "<TD><a href=\"mailto:n@example.fr\">n@example.fr</a></TD>   </TR>"},
      {"blank title puts a space before the name; three telephones",
       {{2, "ROUX"}, {3, "Eve"}, {11, "1"}, {12, "2"}, {13, "3"}},
       "<TR ALIGN=\"Center\" VALIGN=\"Middle\"><TD HEIGHT=\"30\"> ROUX Eve</TD>"
       "<TD HEIGHT=\"30\"></TD><TD>&nbsp;</TD><TD>1<BR>2<BR>3</TD><TD>&nbsp;</TD>    </TR>"},
      {"markup in the fields is escaped",
       {{1, "M."},
        {2, "DUPONT & FILS"},
        {3, "<b>Jean</b>"},
        {4, "\"9\""},
        {12, "a>b"},
        {14, "x\"onclick=\"y@example.fr"}},
       "<TR ALIGN=\"Center\" VALIGN=\"Middle\"><TD HEIGHT=\"30\">M. DUPONT &amp; FILS "
       "&lt;b&gt;Jean&lt;/b&gt;</TD><TD HEIGHT=\"30\"></TD><TD>&quot;9&quot;</TD>"
       "<TD>a&gt;b</TD><TD><a href=\"mailto:x&quot;onclick=&quot;y@example.fr\">"
       "x&quot;onclick=&quot;y@example.fr</a></TD>   </TR>"},
  };
  for (const Case& c : cases) {
    const Lines page = DirectoryPage({Member(c.fields)}, {0}, *Date::FromYmd(2026, 12, 9));
    ASSERT_EQ(7u, page.size()) << c.what;
    EXPECT_EQ(c.row, page[5]) << c.what;
  }
}

TEST(MailGroupsTest, SplitsTheMarkedAddressesIntoGroups) {
  struct Case {
    int marked;
    int groupSize;
    std::vector<std::size_t> sizes;
  };
  const Case cases[] = {{120, 50, {50, 50, 20}},
                        {100, 50, {50, 50}},
                        {0, 50, {}},
                        {7, 1, {1, 1, 1, 1, 1, 1, 1}},
                        {3, 0, {1, 1, 1}}};
  for (const Case& c : cases) {
    std::vector<std::string> addresses;
    for (int i = 0; i < c.marked; ++i) addresses.push_back("m" + std::to_string(i) + "@example.fr");
    const auto groups = MailGroups(addresses, c.groupSize);
    std::vector<std::size_t> sizes;
    for (const auto& g : groups) sizes.push_back(g.size());
    EXPECT_EQ(c.sizes, sizes) << c.marked << " by " << c.groupSize;
    if (!groups.empty()) {
      EXPECT_EQ(addresses.back(), groups.back().back());
    }
  }
}

TEST(MailGroupsTest, LinksInCopyOrBlindCopy) {
  const std::vector<std::string> group = {"a@x.fr", "b@x.fr"};
  EXPECT_EQ("mailto:a@x.fr;b@x.fr ?", MailGroupLink(group, false));
  EXPECT_EQ("mailto: ? &bcc=a@x.fr;b@x.fr", MailGroupLink(group, true));
}

TEST(ListingReportValueTest, AnswersTheNamesFromTheRecord) {
  const std::string member = Member(
      {{0, "123"}, {2, "DUPONT"}, {8, "Escalier C"}, {11, "01"}, {16, "Licence"}, {68, "-2550"}});
  const std::pair<const char*, const char*> texts[] = {
      {"Numero", "123"},   {"Nom", "DUPONT"},      {"Adress3", "Escalier C"},
      {"Dommicile", "01"}, {"Licence", "Licence"}, {"Vote", "OUI"},
      {"Prenom", ""}};
  for (const auto& [name, expected] : texts) {
    const auto answer = ListingReportValue(name, member);
    ASSERT_TRUE(answer.has_value()) << name;
    EXPECT_EQ(ReportAnswer::Kind::kText, answer->kind) << name;
    EXPECT_EQ(expected, answer->text) << name;
  }
  const auto balance = ListingReportValue("Solde", member);
  EXPECT_EQ(ReportAnswer::Kind::kCents, balance->kind);
  EXPECT_EQ(-2550, balance->cents);  // -25.5 for the report
  const auto none = ListingReportValue("Solde", Member({}));
  EXPECT_EQ(ReportAnswer::Kind::kText, none->kind);
  EXPECT_EQ("", none->text);
  EXPECT_FALSE(ListingReportValue("nom", member).has_value());
  EXPECT_FALSE(ListingReportValue("Entite", member).has_value());
}

TEST(MemberSearchTest, LicenceAndNameSearches) {
  const Lines members = {Member({{0, "100"}, {2, "DUPONT"}}),
                         Member({{0, "200"}, {2, "\xc9TIENNE"}}),
                         Member({{0, "300"}, {2, "MARTIN"}})};
  EXPECT_EQ(1, SearchByLicence(members, "250", 0));
  EXPECT_EQ(2, SearchByLicence(members, "300", 0));
  EXPECT_EQ(0, SearchByLicence(members, "100", 2));
  EXPECT_EQ(2, SearchByLicence(members, "50", 2));  // none: the current one stays
  EXPECT_THROW(SearchByLicence(members, "", 0), Error);
  EXPECT_THROW(SearchByLicence(members, "12a", 0), Error);
  EXPECT_EQ(1, SearchByName(members, "\xe9t", 0));  // raised to capitals, accents included
  EXPECT_EQ(2, SearchByName(members, "mar", 0));
  EXPECT_EQ(1, SearchByName(members, "ZZ", 1));
}

}  // namespace
}  // namespace vantrel::members
