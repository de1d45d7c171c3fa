#include "core/external_text.h"

#include <gtest/gtest.h>

#include "core/cp1252.h"

namespace vantrel {
namespace {

// The Windows-1252 bytes of a text written here in UTF-8.
std::string W(const std::string& utf8) { return Utf8ToCp1252(utf8); }

struct Case {
  std::string input;
  std::string expected;
};

TEST(DecodeExternalTextTest, KeepsEveryLetterTheCodePageHolds) {
  const Case cases[] = {
      {"Jérôme", W("Jérôme")},
      {"Noël", W("Noël")},
      {"Benoît", W("Benoît")},
      {"LÉCUYER", W("LÉCUYER")},
      {"Sacré-Cœur", W("Sacré-Cœur")},
      {"à â ä ç é è ê ë î ï ô ö ù û ü ÿ œ æ ’ « » €",
       W("à â ä ç é è ê ë î ï ô ö ù û ü ÿ œ æ ’ « » €")},
      {"ÀÂÄÇÉÈÊËÎÏÔÖÙÛÜŸŒÆ", W("ÀÂÄÇÉÈÊËÎÏÔÖÙÛÜŸŒÆ")},
      {"plain ascii;1;2", "plain ascii;1;2"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, DecodeExternalText(c.input)) << c.input;
}

TEST(DecodeExternalTextTest, MissingCharactersBecomeQuestionMarksAndBadBytesStayCp1252) {
  const Case cases[] = {
      {"Łukasz", "?ukasz"},              // not in the code page
      {"日本", "??"},                    // three-byte characters
      {"a\xF0\x9F\x82\xA1z", "a?z"},     // four bytes, a playing card
      {"\xE9t\xE9", "\xE9t\xE9"},        // already Windows-1252
      {"\xC3", "\xC3"},                  // truncated at the end
      {"\xC3(", "\xC3("},                // bad continuation
      {"\xC0\xAF", "\xC0\xAF"},          // overlong form
      {"\xED\xA0\x80", "\xED\xA0\x80"},  // surrogate
      {"\xC2\x85", "?"},                 // a C1 control is no text
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, DecodeExternalText(c.input)) << c.input;
}

TEST(AppendUtf8Test, EncodesEachLengthAtItsBoundaries) {
  const struct {
    char32_t codePoint;
    std::string expected;
  } cases[] = {
      {U'A', "A"},
      {0x7F, "\x7F"},
      {0x80, "\xC2\x80"},
      {U'é', "é"},
      {0x7FF, "\xDF\xBF"},
      {0x800, "\xE0\xA0\x80"},
      {U'€', "€"},
      {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},
  };
  for (const auto& c : cases) {
    std::string out = "x";
    AppendUtf8(out, c.codePoint);
    EXPECT_EQ("x" + c.expected, out) << "U+" << std::hex << static_cast<unsigned>(c.codePoint);
  }
}

TEST(UpperCp1252Test, RaisesAccentedLettersToo) {
  EXPECT_EQ(W("LÉCUYER"), UpperCp1252(W("Lécuyer")));
  EXPECT_EQ(W("ŒUVRE ÇA ŸVES ÀÉÎÕÜ ß ÷"), UpperCp1252(W("œuvre ça ÿves àéîõü ß ÷")));
  EXPECT_EQ("SAINT-JEAN 12;X", UpperCp1252("Saint-Jean 12;x"));
}

TEST(FoldNameTest, DropsBlanksAccentsAndCase) {
  const Case cases[] = {
      {W("Jérôme"), "JEROME"},
      {W("JÉRÔME"), "JEROME"},
      {"Jean de LA TOUR", "JEANDELATOUR"},
      {W("Sacré-Cœur"), "SACRE-COEUR"},
      {W("Lætitia Noël"), "LAETITIANOEL"},
      {W("Straße"), "STRASSE"},
      {W("ÿ Ÿ ñ Ñ ø"), "YYNNO"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, FoldName(c.input)) << c.input;
}

}  // namespace
}  // namespace vantrel
