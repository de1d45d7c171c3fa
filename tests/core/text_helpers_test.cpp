#include "core/text_helpers.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

struct FieldCase {
  std::string line;
  int k;
  std::string expected;
};

TEST(ExtractFieldTest, TakesFieldsByIndexWithTheFieldSixtyNineDefault) {
  const std::string noAnswer(69, ';');
  const FieldCase cases[] = {
      {"a;b;c;", 2, "c"},
      {"a;b;c", 2, "c"},
      {"a;b;c;", 3, ""},
      {"", 69, "OUI"},
      {noAnswer + "NON;", 69, "NON"},
      {noAnswer + ";", 69, "OUI"},
      {";;x", 0, ""},
      {";;x", 2, "x"},
      {"a;b", 1000, ""},
      {"abc", 0, "abc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, ExtractField(c.line, c.k)) << "line '" << c.line << "' k " << c.k;
  }
}

TEST(ExtractFieldTest, PlainWalkHasNoDefault) { EXPECT_EQ("", FieldAt("", 69)); }

struct DigitsCase {
  std::string text;
  int width;
  bool pad;
  std::string expected;
};

TEST(NormalizeDigitsTest, KeepsDigitsDropsLeadingZerosAndPads) {
  const DigitsCase cases[] = {
      {"0 12,50", 3, false, "1250"},
      {"007", 3, false, "7"},
      {"", 8, true, "00000000"},
      {"000", 8, true, "00000000"},
      {"", 8, false, ""},
      {"12345678901", 8, true, "12345678901"},
      {"-5", 3, true, "005"},
      {"a1b0c", 5, true, "00010"},
      {"75 012", 5, true, "75012"},
      {"1500", 1, true, "1500"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, NormalizeDigits(c.text, c.width, c.pad))
        << "text '" << c.text << "' width " << c.width << " pad " << c.pad;
  }
}

TEST(StripProgramFolderTest, RemovesTheCommonPrefixBlindToAsciiCase) {
  const std::string folder = "C:\\Club\\";
  EXPECT_EQ("2014-2015", StripProgramFolder("C:\\Club\\2014-2015", folder));
  EXPECT_EQ("Other", StripProgramFolder("C:\\Other", folder));
  EXPECT_EQ("D:\\X", StripProgramFolder("D:\\X", folder));
  EXPECT_EQ("", StripProgramFolder("C:\\Club\\", folder));
  EXPECT_EQ("2014", StripProgramFolder("c:\\club\\2014", folder));
  // Only a-z are folded: an accented capital does not match its small letter.
  EXPECT_EQ("\xe9t\xe9", StripProgramFolder("C:\\\xe9t\xe9", "C:\\\xc9T\xc9\\"));
  EXPECT_EQ("", StripProgramFolder("C:", folder));
}

TEST(DecodeAccentsTest, MapsTheLettersOfEachVariant) {
  EXPECT_EQ(
      "L\xe9"
      "a",
      DecodeAccents("L\xc3\xa9"
                    "a",
                    AccentVariant::kImport));
  EXPECT_EQ("", DecodeAccents("\xc3\xa0", AccentVariant::kImport));
  EXPECT_EQ("x", DecodeAccents("x\xc3", AccentVariant::kResults));
  const std::string all = "\xc3\x89\xc3\xa7\xc3\xa8\xc3\xa9\xc3\xab\xc3\xae";
  EXPECT_EQ("\xe7\xe8\xe9\xee", DecodeAccents(all, AccentVariant::kImport));
  EXPECT_EQ("\xe7\xe8\xe9\xeb\xee", DecodeAccents(all, AccentVariant::kResults));
  EXPECT_EQ("\xc9\xe7\xe8\xe9\xee", DecodeAccents(all, AccentVariant::kConvocations));
  // Other multi-byte sequences come through as their raw bytes.
  EXPECT_EQ("\xe2\x82\xac", DecodeAccents("\xe2\x82\xac", AccentVariant::kImport));
}

TEST(CaseAndTrimTest, FoldOnlyAsciiLetters) {
  EXPECT_EQ("DUPONT \xe9", UpperAscii("Dupont \xe9"));
  EXPECT_EQ("joueur.dbp \xc9", LowerAscii("Joueur.DBP \xc9"));
  EXPECT_EQ("a b", Trim("  a b \t"));
}

}  // namespace
}  // namespace vantrel
