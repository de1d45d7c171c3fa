#include "competitions/registrant_page.h"

#include <gtest/gtest.h>

#include "competitions/registrant_pages.h"
#include "core/cp1252.h"
#include "core/error.h"
#include "support/temp_folder.h"

namespace vantrel::competitions {
namespace {

using testing::PageWithBothLists;
using testing::ReadFile;
using testing::RegistrantPageLines;
using testing::SamplePairs;
using testing::SampleTeams;
using testing::TempFolder;
using testing::WriteFile;

constexpr char kGroupStart[] =
    "    <!----><div class=\"large-12 medium-12 small-12 columns small-text-center\" "
    "ng-if=\"!stadeTeamsCtrl.publicationForbidden\">";
constexpr char kCompetitionStart[] = "                <div class=\"container-table\">";
constexpr char kCompetitionHeading[] =
    "<h2 class=\"large-text-left medium-text-center small-text-center pb20 ng-binding\">";

TEST(ModeFromCaptionTest, ReadsQuatreAtCharacters31To36) {
  struct Case {
    std::string caption;
    ConvocationMode expected;
  };
  const Case cases[] = {
      {"Editions des inscriptions par quatre", ConvocationMode::kTeams},
      {"Editions des inscriptions par quatre (suite)", ConvocationMode::kTeams},
      {"Editions des inscriptions par paires", ConvocationMode::kPairs},
      {"Editions des inscriptions par Quatre", ConvocationMode::kPairs},
      {"Editions des inscriptions par  quatre", ConvocationMode::kPairs},
      {"Editions des inscriptions par quatr", ConvocationMode::kPairs},
      {"", ConvocationMode::kPairs},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, ModeFromCaption(c.caption)) << c.caption;
}

TEST(RecognizePageTest, TellsGroupAndCompetitionPagesApart) {
  struct Case {
    const char* name;
    Lines page;
    bool group;
    bool competition;
  };
  const std::string competitionTitle =
      std::string(kCompetitionHeading) + "Liste des \xC3\xA9quipes de la comp\xC3\xA9tition</h2>";
  const Case cases[] = {
      {"group page", RegistrantPageLines(ListKind::kGroup, ConvocationMode::kTeams, SampleTeams()),
       true, false},
      {"competition page",
       RegistrantPageLines(ListKind::kCompetition, ConvocationMode::kPairs, SamplePairs()), false,
       true},
      {"both lists",
       SplitLines(PageWithBothLists(ConvocationMode::kTeams, SampleTeams(), SampleTeams())), true,
       true},
      {"spaces anywhere in the words",
       {"<p>  L i s t e  des   \xC3\xA9quipes du groupe B</p>"},
       true,
       false},
      {"title written in Windows-1252", {"<h2>Liste des \xE9quipes du groupe</h2>"}, false, false},
      {"competition words without the heading",
       {"<h2>Liste des \xC3\xA9quipes de la comp\xC3\xA9tition</h2>"},
       false,
       false},
      {"competition heading", {"   " + competitionTitle}, false, true},
      {"empty page", {}, false, false},
      {"foreign page", {"<html><body>Bonjour</body></html>"}, false, false},
  };
  for (const Case& c : cases) {
    const PageKinds kinds = RecognizePage(c.page);
    EXPECT_EQ(c.group, kinds.group) << c.name;
    EXPECT_EQ(c.competition, kinds.competition) << c.name;
  }
}

TEST(ExtractRegistrantsTest, KeepsLineZeroAndTheListFromItsStartLineToBeforeItsEnd) {
  const Lines page = {"<!DOCTYPE html>",  "<head>", kGroupStart, "  1. DUPONT", "  club",
                      "</ui-view></div>", "after",  kGroupStart, "again",       "</ui-view></div>"};
  const Lines expected = {"<!DOCTYPE html>", kGroupStart, "  1. DUPONT",
                          "  club",          kGroupStart, "again"};
  EXPECT_EQ(expected, ExtractRegistrants(page, ListKind::kGroup));
}

TEST(ExtractRegistrantsTest, ComparesStartAndEndAsWholeLines) {
  struct Case {
    const char* name;
    Lines page;
    ListKind kind;
    Lines expected;
  };
  const std::string start = kCompetitionStart;
  const Case cases[] = {
      {"start with a trailing blank",
       {"0", start + " ", "a", "</ui-view></div>"},
       ListKind::kCompetition,
       {"0"}},
      {"start with one space less", {"0", start.substr(1), "a"}, ListKind::kCompetition, {"0"}},
      {"end indented is no end",
       {"0", start, "a", " </ui-view></div>", "b"},
       ListKind::kCompetition,
       {"0", start, "a", " </ui-view></div>", "b"}},
      {"group start on a competition page", {"0", start, "a"}, ListKind::kGroup, {"0"}},
      {"start on line 0 only", {start, "a", "b"}, ListKind::kCompetition, {start}},
      {"list never closed", {"0", start, "a", "b"}, ListKind::kCompetition, {"0", start, "a", "b"}},
      {"empty page", {}, ListKind::kGroup, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, ExtractRegistrants(c.page, c.kind)) << c.name;
}

TEST(ExtractRegistrantsTest, TakesEachListOfAPageHoldingBoth) {
  const Lines page =
      SplitLines(PageWithBothLists(ConvocationMode::kPairs, SamplePairs(), {SamplePairs()[0]}));
  const Lines group = ExtractRegistrants(page, ListKind::kGroup);
  const Lines competition = ExtractRegistrants(page, ListKind::kCompetition);
  ASSERT_GE(group.size(), 3u);
  ASSERT_GE(competition.size(), 3u);
  EXPECT_EQ(page[0], group[0]);
  EXPECT_EQ(kGroupStart, group[1]);
  EXPECT_EQ(page[0], competition[0]);
  EXPECT_EQ(kCompetitionStart, competition[1]);
  // 4 pairs of 21 lines and the title after the start line; 1 pair of 23 lines.
  EXPECT_EQ(1u + 2u + 4u * 21u, group.size());
  EXPECT_EQ(1u + 1u + 23u, competition.size());
}

// Letter case tells nothing: a restore writes "groupeA.Qug" back as "groupea.qug".
TEST(RegistrantKindTest, TellsTheFourKindsByTheirExtensionInAnyCase) {
  struct Case {
    const char* name;
    std::optional<RegistrantFileKind> expected;
  };
  const Case cases[] = {
      {"a/Coupe.Qug", RegistrantFileKind{ConvocationMode::kTeams, ListKind::kGroup}},
      {"a/Coupe.Pag", RegistrantFileKind{ConvocationMode::kPairs, ListKind::kGroup}},
      {"a/Coupe.Quc", RegistrantFileKind{ConvocationMode::kTeams, ListKind::kCompetition}},
      {"a/Coupe.Pac", RegistrantFileKind{ConvocationMode::kPairs, ListKind::kCompetition}},
      {"a/groupea.qug", RegistrantFileKind{ConvocationMode::kTeams, ListKind::kGroup}},
      {"a/Coupe.QUC", RegistrantFileKind{ConvocationMode::kTeams, ListKind::kCompetition}},
      {"a/coupe.pAG", RegistrantFileKind{ConvocationMode::kPairs, ListKind::kGroup}},
      {"a/coupe.pac", RegistrantFileKind{ConvocationMode::kPairs, ListKind::kCompetition}},
      {"a/Coupe.Qud", std::nullopt},
      {"a/Coupe.Qug.htm", std::nullopt},
      {"a/Coupe", std::nullopt},
      {"a/.Qug/Coupe", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, RegistrantKindOf(c.name)) << c.name;
  for (ConvocationMode mode : {ConvocationMode::kTeams, ConvocationMode::kPairs}) {
    for (ListKind list : {ListKind::kGroup, ListKind::kCompetition}) {
      const std::string name = "x" + RegistrantExtension(mode, list);
      EXPECT_EQ((RegistrantFileKind{mode, list}), RegistrantKindOf(name)) << name;
    }
  }
}

TEST(RegistrantKindTest, OpeningTakesOnlyTheModesTwoExtensions) {
  struct Case {
    const char* name;
    ConvocationMode mode;
    std::optional<ListKind> expected;
  };
  const Case cases[] = {
      {"e.Qug", ConvocationMode::kTeams, ListKind::kGroup},
      {"e.Quc", ConvocationMode::kTeams, ListKind::kCompetition},
      {"e.Pag", ConvocationMode::kTeams, std::nullopt},
      {"e.Pac", ConvocationMode::kTeams, std::nullopt},
      {"e.Pag", ConvocationMode::kPairs, ListKind::kGroup},
      {"e.Pac", ConvocationMode::kPairs, ListKind::kCompetition},
      {"e.Qug", ConvocationMode::kPairs, std::nullopt},
      {"e.qug", ConvocationMode::kTeams, ListKind::kGroup},
      {"e.qug", ConvocationMode::kPairs, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, AcceptedListKind(c.name, c.mode)) << c.name;
  EXPECT_EQ("qud", EventDataExtension(ConvocationMode::kTeams));
  EXPECT_EQ("pad", EventDataExtension(ConvocationMode::kPairs));
}

class EventDataTest : public ::testing::Test {
 protected:
  TempFolder m_folder;
};

TEST_F(EventDataTest, WritesFourteenLinesAndReadsThemBack) {
  EventData data;
  for (int i = 0; i < kEventFieldCount; ++i) data[i] = "champ " + std::to_string(i + 1);
  data[3] = Utf8ToCp1252("Coupe de France - Comité Île-de-France");
  data[7] = "Tenue correcte; 2 x 28 donnes";
  const auto path = m_folder.path() / "coupe.qud";
  WriteEventData(path, data);
  std::string expected;
  for (const std::string& field : data) expected += field + "\r\n";
  EXPECT_EQ(expected, ReadFile(path));
  EXPECT_EQ(data, ReadEventData(path));
}

TEST_F(EventDataTest, ShortFilesLeaveTheMissingFieldsEmptyAndLongOnesAreCut) {
  const auto path = m_folder.path() / "court.pad";
  WriteFile(path, "2026-2027\r\nMarc LEROUX\nFait le 05/03/2027");
  EventData expected;
  expected[0] = "2026-2027";
  expected[1] = "Marc LEROUX";
  expected[2] = "Fait le 05/03/2027";
  EXPECT_EQ(expected, ReadEventData(path));

  std::string longer;
  for (int i = 1; i <= 16; ++i) longer += std::to_string(i) + "\r\n";
  WriteFile(path, longer);
  const EventData read = ReadEventData(path);
  EXPECT_EQ("1", read[0]);
  EXPECT_EQ("14", read[13]);
}

TEST_F(EventDataTest, LineBreaksInAFieldBecomeBlanksSoEveryFieldStaysOnItsLine) {
  EventData data;
  data[7] = "ligne 1\r\nligne 2";
  const auto path = m_folder.path() / "x.qud";
  WriteEventData(path, data);
  EXPECT_EQ("ligne 1  ligne 2", ReadEventData(path)[7]);
  EXPECT_EQ("", ReadEventData(path)[8]);
}

TEST_F(EventDataTest, AMissingFileIsTheOpeningError) {
  const auto path = m_folder.path() / "absent.qud";
  try {
    ReadEventData(path);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ("Impossible d'ouvrir le fichier " + path.string(), std::string(error.what()));
  }
}

}  // namespace
}  // namespace vantrel::competitions
