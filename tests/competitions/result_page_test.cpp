#include "competitions/result_page.h"

#include <gtest/gtest.h>

#include <random>

#include "competitions/result_page_builder.h"
#include "core/text_helpers.h"

namespace vantrel::competitions {

void PrintTo(const PagePair& pair, std::ostream* out) {
  *out << "{" << pair.rank << " | " << pair.nameA << " | " << pair.nameB << "}";
}

namespace {

using testing::Fixture;
using testing::MakeResultPage;
using testing::PageRow;
using testing::TruncatedPage;
using testing::W;

std::vector<PagePair> Pairs(const std::vector<std::string>& ranks) {
  std::vector<PagePair> pairs;
  for (const auto& rank : ranks) pairs.push_back({rank, "A" + rank, "B" + rank});
  return pairs;
}

std::vector<PageRow> Rows(int count) {
  std::vector<PageRow> rows;
  for (int i = 1; i <= count; ++i) {
    rows.push_back({std::to_string(i), "A" + std::to_string(i), "B" + std::to_string(i)});
  }
  return rows;
}

TEST(ResultPageTest, RecognisedByAnyOfItsThreeLinesWhateverTheirLetterCase) {
  struct Case {
    std::string line;
    bool recognised;
  };
  const Case cases[] = {
      {"            Open /2 ", true},
      {"            OPEN /2 ", true},
      {"            open /2 ", true},
      {"            Open /2", false},  // the trailing blank belongs to the marker
      {"             Open /2 ", false},
      {"\tOpen /2 ", false},
      {"                T\xC3\xA9l\xC3\xA9\x63harger le livret", true},
      {"                T\xC3\xA9L\xC3\xA9\x43HARGER LE LIVRET", true},
      {"                T\xC3\x89L\xC3\x89\x43HARGER LE LIVRET", true},
      {"            R\xC3\xA9sultats", true},
      {"            R\xC3\x89SULTATS", true},
      {"            R\xE9sultats", false},  // Windows-1252, not the page's UTF-8
      {"            Resultats", false},
      {"<h1>R\xC3\xA9sultats</h1>", false},
  };
  for (const auto& c : cases) {
    const Lines page = {"<html>", c.line, "</html>"};
    EXPECT_EQ(c.recognised, IsResultPage(page)) << "[" << c.line << "]";
    EXPECT_EQ(c.recognised, SelectResultSections(page).has_value()) << "[" << c.line << "]";
  }
}

TEST(ResultPageTest, ExtractKeepsLineZeroAndTheSectionsWithoutTheExcludedLine) {
  const Lines page = {
      "<!DOCTYPE html>",
      "            Open /2 ",
      "        <div class=\"container-table\">",  // outside: not kept anyway
      "        <div class=\"container-table columns\">",
      "        <div class=\"container-table\">",  // inside: never kept
      "            <p>one</p>",
      "    </section>",
      "            <p>between</p>",
      "            <div class=\"container-table columns\">",
      "            <p>two</p>",
      "        <!-- Simultanee only -->",
      "            <p>after</p>",
      "         <div class=\"container-table columns\">",  // nine blanks: no start
      "            <p>never</p>",
  };
  const Lines expected = {
      "<!DOCTYPE html>",        "        <div class=\"container-table columns\">",
      "            <p>one</p>", "            <div class=\"container-table columns\">",
      "            <p>two</p>",
  };
  EXPECT_EQ(expected, SelectResultSections(page));
}

TEST(ResultPageTest, SectionMarkersAreExactLines) {
  const Lines page = {
      "line zero",
      "            open /2 ",
      "        <DIV class=\"container-table columns\">",  // other case: no start
      "            <p>never</p>",
      "        <div class=\"container-table columns\">",
      "    </SECTION>",  // other case: no end
      "            <p>kept</p>",
      "    </section> ",  // trailing blank: no end
      "    </section>",
      "            <p>after</p>",
  };
  const Lines expected = {"line zero", "        <div class=\"container-table columns\">",
                          "    </SECTION>", "            <p>kept</p>", "    </section> "};
  EXPECT_EQ(expected, SelectResultSections(page));
}

TEST(ResultPageTest, AnotherSitesPageIsNotAResultPage) {
  const Lines page = SplitLines("<html>\n<body>\n<h1>Open /2 </h1>\n</body>\n</html>\n");
  EXPECT_EQ(std::nullopt, SelectResultSections(page));
  EXPECT_EQ(std::nullopt, SelectResultSections(Lines{}));
}

TEST(ResultPageTest, ReadsTheNamesTenAndFourteenLinesBelowTheRank) {
  const Lines page = SplitLines(MakeResultPage(Rows(3), false));
  const PageReading reading = ReadPairs(page);
  EXPECT_EQ(Pairs({"1", "2", "3"}), reading.pairs);
  EXPECT_EQ(false, reading.truncated);
}

TEST(ResultPageTest, ReadsTheNamesTwelveAndSixteenLinesBelowWithTheTableNumberColumn) {
  const Lines page = SplitLines(MakeResultPage(Rows(3), true));
  EXPECT_EQ(Pairs({"1", "2", "3"}), ReadPairs(page).pairs);
  // Without the marker the names are looked for two lines too early.
  Lines withoutMarker;
  for (const auto& line : page) {
    withoutMarker.push_back(line.find("ng-if") == std::string::npos
                                ? line
                                : "                        <td class=\"text-center table\">");
  }
  const std::vector<PagePair> misread = {{"1", "", ""}, {"2", "", ""}, {"3", "", ""}};
  EXPECT_EQ(misread, ReadPairs(withoutMarker).pairs);
  // The marker's letter case does not matter.
  Lines upper;
  for (const auto& line : page) {
    upper.push_back(line.find("ng-if") == std::string::npos ? line : UpperAscii(line));
  }
  EXPECT_EQ(Pairs({"1", "2", "3"}), ReadPairs(upper).pairs);
}

TEST(ResultPageTest, ReadsTheFixturePagesWithTheirNamesWhole) {
  const auto extract = SelectResultSections(SplitLines(Fixture("open2_table.htm")));
  ASSERT_TRUE(extract.has_value());
  const PageReading reading = ReadPairs(*extract);
  ASSERT_EQ(10u, reading.pairs.size());
  EXPECT_EQ((PagePair{"1", "Jean DUPONT", "Anne MARTIN"}), reading.pairs[0]);
  EXPECT_EQ((PagePair{"5", "Jean de LA TOUR", "Hugo SIMON"}), reading.pairs[4]);
  EXPECT_EQ((PagePair{"6", W("Jérôme FAURE"), W("Noël LÉCUYER")}), reading.pairs[5]);
  EXPECT_EQ((PagePair{"10", W("Léa FONTAINE"), "Jules ROUX"}), reading.pairs[9]);

  const auto other = SelectResultSections(SplitLines(Fixture("open2_sans_table.htm")));
  ASSERT_TRUE(other.has_value());
  const PageReading second = ReadPairs(*other);
  ASSERT_EQ(12u, second.pairs.size());
  EXPECT_EQ((PagePair{"3", "Jean de LA TOUR", W("Jérôme FAURE")}), second.pairs[2]);
  EXPECT_EQ((PagePair{"3", W("Bénédicte BERNARD"), W("Benoît DURAND")}), second.pairs[3]);
}

TEST(ResultPageTest, AWholePageReadsLikeItsExtract) {
  const Lines page = SplitLines(Fixture("open2_table.htm"));
  EXPECT_EQ(ReadPairs(*SelectResultSections(page)).pairs, ReadPairs(page).pairs);
}

TEST(ResultPageTest, APageEndingBeforeTheNamesOfARankStopsThere) {
  const std::string page = MakeResultPage(Rows(3), false);
  const Lines whole = SplitLines(page);
  // Line of the third rank: 18 header lines, 21 lines per pair, the rank third in its row.
  const std::size_t thirdRank = 18 + 2 * 21 + 2;
  ASSERT_EQ("                            3", whole[thirdRank]);
  for (std::size_t keep : {thirdRank + 1, thirdRank + 8, thirdRank + 9, thirdRank + 14}) {
    const PageReading reading = ReadPairs(SplitLines(TruncatedPage(page, keep)));
    EXPECT_EQ(Pairs({"1", "2"}), reading.pairs) << keep << " lines";
    EXPECT_EQ(true, reading.truncated) << keep << " lines";
    EXPECT_EQ("3", reading.truncatedRank) << keep << " lines";
  }
  const PageReading complete = ReadPairs(SplitLines(TruncatedPage(page, thirdRank + 15)));
  EXPECT_EQ(Pairs({"1", "2", "3"}), complete.pairs);
}

TEST(ResultPageTest, ShortAndEmptyPagesReadNothing) {
  const Lines cases[] = {
      {},
      {""},
      {"                <tbody>"},
      {"                <tbody>", "x", "y"},
      {"                <tbody>", "x", "y", "1"},
      {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"},
  };
  for (const auto& lines : cases) {
    const PageReading reading = ReadPairs(lines);
    EXPECT_EQ(std::vector<PagePair>{}, reading.pairs) << lines.size() << " lines";
  }
}

TEST(ResultPageTest, TableBodyWithoutRowsGivesNoPair) {
  const PageReading reading = ReadPairs(SplitLines(MakeResultPage({}, false)));
  EXPECT_EQ(std::vector<PagePair>{}, reading.pairs);
  EXPECT_EQ(false, reading.truncated);
  const PageReading cut = ReadPairs({"                <tbody>", "x", "y", " 12 "});
  EXPECT_EQ(true, cut.truncated);
  EXPECT_EQ("12", cut.truncatedRank);
}

TEST(ResultPageTest, HostilePagesNeverBreakTheReader) {
  std::mt19937 random(12);
  // Binary garbage, alone and around the page's own markers.
  for (int round = 0; round < 50; ++round) {
    std::string bytes(static_cast<std::size_t>(random() % 5000), '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    const std::string marked = "            Open /2 \n                <tbody>\n" + bytes +
                               "\n                        <td class=\"text-center\">\n" + bytes;
    const std::string* pages[] = {&bytes, &marked};
    for (const std::string* page : pages) {
      const Lines lines = SplitLines(*page);
      const auto extract = SelectResultSections(lines);
      const PageReading reading = ReadPairs(extract ? *extract : lines);
      for (const auto& pair : reading.pairs) {
        EXPECT_EQ(std::string::npos, pair.nameA.find_first_of("\r\n")) << "round " << round;
      }
    }
  }
  // A huge page: every pair is read.
  const PageReading huge = ReadPairs(SplitLines(MakeResultPage(Rows(20000), true)));
  EXPECT_EQ(20000u, huge.pairs.size());
  EXPECT_EQ((PagePair{"20000", "A20000", "B20000"}), huge.pairs.back());
}

TEST(Segment4Test, TextAfterTheFourthClosingBracket) {
  struct Case {
    std::string line;
    std::string expected;
  };
  const Case cases[] = {
      {"<!----><span class=\"name\"><!----><span>Jean DUPONT</span>", "Jean DUPONT"},
      {"<a><b><c><d>tail", "tail"},
      {"<a><b><c><d>", ""},
      {"<a><b><c>three", ""},
      {"", ""},
      {">>>>x<y", "x"},
      {"<a><b><c><d>x<y>z", "x"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, Segment4(c.line)) << c.line;
}

TEST(DecodePageTextTest, WholeLettersAndCharacterReferences) {
  struct Case {
    std::string page;
    std::string expected;
  };
  const Case cases[] = {
      {"J\xC3\xA9r\xC3\xB4me", W("Jérôme")},
      {"No\xC3\xABl L\xC3\x89\x43UYER", W("Noël LÉCUYER")},
      {"J&#233;r&ocirc;me", W("Jérôme")},
      {"N&#x27;GUYEN &amp; fils", "N'GUYEN & fils"},
      {"&eacute;&Eacute;&oelig;&nbsp;", W("éÉœ\u00A0")},
      {"&unknown; &#0; &#xD800; &; &", "&unknown; &#0; &#xD800; &; &"},
      {"\xE9t\xE9", "\xE9t\xE9"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, DecodePageText(c.page)) << c.page;
}

}  // namespace
}  // namespace vantrel::competitions
