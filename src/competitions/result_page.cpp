#include "competitions/result_page.h"

#include <cstdint>
#include <string_view>

#include "core/cp1252.h"
#include "core/external_text.h"
#include "core/text_helpers.h"

namespace vantrel::competitions {
namespace {

std::string Indented(int spaces, std::string_view text) {
  return std::string(static_cast<std::size_t>(spaces), ' ') + std::string(text);
}

// Recognition lines, UTF-8 bytes, compared without regard to the case of a-z.
const std::string kRecognition[] = {
    Indented(12, "Open /2 "),
    Indented(16, "T\xC3\xA9l\xC3\xA9\x63harger le livret"),
    Indented(12, "R\xC3\xA9sultats"),
};
const std::string kSectionStart8 = Indented(8, R"(<div class="container-table columns">)");
const std::string kSectionStart12 = Indented(12, R"(<div class="container-table columns">)");
const std::string kSectionEnd4 = Indented(4, "</section>");
const std::string kSectionEnd8 = Indented(8, "<!-- Simultanee only -->");
const std::string kExcluded = Indented(8, R"(<div class="container-table">)");
const std::string kTableBody = Indented(16, "<tbody>");
const std::string kTableNumber =
    Indented(24, R"(<!----><td ng-if="section.data[0].table_number" class="text-center">)");
const std::string kCellBeforeRank = Indented(24, R"(<td class="text-center">)");
// The end of a table body, wherever it stands on its line.
constexpr std::string_view kTableBodyEnd = "</tbody>";

// Lines from the table body to the first rank line.
constexpr std::size_t kFirstRankOffset = 3;
// Reading stops once fewer than this many lines are left after the current one.
constexpr std::size_t kTailLines = 8;

// Letters of UTF-8 text in small letters: A-Z, and the capitals of the two-byte sequences
// 0xC3 0x80 to 0xC3 0x9E (À to Þ but ×), as the page may write "RÉSULTATS".
std::string LowerUtf8Latin(const std::string& text) {
  std::string out = text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c + 0x20);
    } else if (c == 0xC3 && i + 1 < out.size()) {
      const auto next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return out;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && LowerUtf8Latin(a) == LowerUtf8Latin(b);
}

bool IsRecognitionLine(const std::string& line) {
  for (const auto& marker : kRecognition) {
    if (EqualIgnoringCase(line, marker)) return true;
  }
  return false;
}

std::string WithoutLeadingSpaces(const std::string& line) {
  const std::size_t first = line.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : line.substr(first);
}

struct NamedReference {
  std::string_view name;
  std::uint32_t codePoint;
};

// The references a page may use for the characters of French names.
constexpr NamedReference kNamedReferences[] = {
    {"amp", '&'},     {"lt", '<'},      {"gt", '>'},       {"quot", '"'},    {"apos", '\''},
    {"nbsp", 0xA0},   {"Agrave", 0xC0}, {"Acirc", 0xC2},   {"Auml", 0xC4},   {"AElig", 0xC6},
    {"Ccedil", 0xC7}, {"Egrave", 0xC8}, {"Eacute", 0xC9},  {"Ecirc", 0xCA},  {"Euml", 0xCB},
    {"Icirc", 0xCE},  {"Iuml", 0xCF},   {"Ocirc", 0xD4},   {"Ouml", 0xD6},   {"Ugrave", 0xD9},
    {"Ucirc", 0xDB},  {"Uuml", 0xDC},   {"agrave", 0xE0},  {"acirc", 0xE2},  {"auml", 0xE4},
    {"aelig", 0xE6},  {"ccedil", 0xE7}, {"egrave", 0xE8},  {"eacute", 0xE9}, {"ecirc", 0xEA},
    {"euml", 0xEB},   {"icirc", 0xEE},  {"iuml", 0xEF},    {"ocirc", 0xF4},  {"ouml", 0xF6},
    {"ugrave", 0xF9}, {"ucirc", 0xFB},  {"uuml", 0xFC},    {"yuml", 0xFF},   {"OElig", 0x152},
    {"oelig", 0x153}, {"Yuml", 0x178},  {"rsquo", 0x2019},
};

// The code point of the reference whose name (without "&" and ";") is ref; 0 for none.
std::uint32_t ReferenceCodePoint(std::string_view ref) {
  if (ref.size() >= 2 && ref[0] == '#') {
    const bool hex = ref[1] == 'x' || ref[1] == 'X';
    const std::string_view digits = ref.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 7) return 0;
    std::uint32_t value = 0;
    for (char c : digits) {
      int d = -1;
      if (c >= '0' && c <= '9') d = c - '0';
      if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
      if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
      if (d < 0) return 0;
      value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
    }
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return value;
  }
  for (const auto& named : kNamedReferences) {
    if (named.name == ref) return named.codePoint;
  }
  return 0;
}

}  // namespace

bool IsResultPage(const Lines& page) {
  for (const auto& line : page) {
    if (IsRecognitionLine(line)) return true;
  }
  return false;
}

namespace {

struct Sections {
  Lines extract;
  // The page ends inside a section: after its start, before its end marker.
  bool open = false;
};

Sections WalkSections(const Lines& page) {
  Sections sections;
  if (page.empty()) return sections;
  sections.extract.push_back(page.front());
  bool inside = false;
  for (std::size_t i = 1; i < page.size(); ++i) {
    const std::string& line = page[i];
    if (line == kSectionStart8 || line == kSectionStart12) inside = true;
    if (inside && (line == kSectionEnd4 || line == kSectionEnd8)) inside = false;
    if (inside && line != kExcluded) sections.extract.push_back(line);
  }
  sections.open = inside;
  return sections;
}

}  // namespace

std::optional<Lines> SelectResultSections(const Lines& page) {
  if (!IsResultPage(page)) return std::nullopt;
  return WalkSections(page).extract;
}

bool EndsInsideResultSection(const Lines& page) { return WalkSections(page).open; }

std::string Segment4(const std::string& line) {
  std::size_t position = 0;
  for (int count = 0; count < 4; ++count) {
    position = line.find('>', position);
    if (position == std::string::npos) return {};
    ++position;
  }
  const std::size_t end = line.find('<', position);
  return line.substr(position, end == std::string::npos ? std::string::npos : end - position);
}

std::string DecodePageText(const std::string& utf8) {
  std::string replaced;
  replaced.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    if (utf8[i] == '&') {
      const std::size_t semicolon = utf8.find(';', i + 1);
      if (semicolon != std::string::npos && semicolon - i <= 10) {
        const std::uint32_t cp =
            ReferenceCodePoint(std::string_view(utf8).substr(i + 1, semicolon - i - 1));
        if (cp != 0) {
          AppendUtf8(replaced, cp);
          i = semicolon + 1;
          continue;
        }
      }
    }
    replaced += utf8[i++];
  }
  return DecodeExternalText(replaced);
}

PageReading ReadPairs(const Lines& pageLines) {
  PageReading reading;
  const std::size_t n = pageLines.size();
  if (n == 0) return reading;
  bool tableNumber = false;
  for (const auto& line : pageLines) {
    if (EqualIgnoringCase(line, kTableNumber)) {
      tableNumber = true;
      break;
    }
  }
  const std::size_t offsetA = tableNumber ? 12 : 10;
  const std::size_t offsetB = tableNumber ? 16 : 14;

  // A page that ends where a rank stands, before its names, is cut short; what stands there
  // when the table is empty or over is no rank.
  const auto noteTruncation = [&](std::size_t line) {
    if (line >= n) return;
    const std::string rank = Trim(pageLines[line]);
    if (rank.empty() || rank.find_first_not_of("0123456789") != std::string::npos) return;
    reading.truncated = true;
    reading.truncatedRank = rank;
  };
  std::size_t i = 0;
  bool inTable = false;
  // The last line read as a rank, or the table body while none is.
  std::size_t lastRead = 0;
  // One pass at least; stop after a pass that ends with i >= n - 8.
  do {
    if (!inTable && i < n && pageLines[i] == kTableBody) {
      inTable = true;
      lastRead = i;
      i += kFirstRankOffset;
    }
    if (inTable) {
      if (i + offsetB >= n) {
        // The names of this pair lie beyond the end of the page.
        noteTruncation(i);
        break;
      }
      reading.pairs.push_back(PagePair{DecodePageText(WithoutLeadingSpaces(pageLines[i])),
                                       DecodePageText(Segment4(pageLines[i + offsetA])),
                                       DecodePageText(Segment4(pageLines[i + offsetB]))});
      lastRead = i;
      std::size_t next = i;
      while (next < n && pageLines[next] != kCellBeforeRank) ++next;
      i = next;
    }
    ++i;
  } while (i + kTailLines < n);
  // Reading stopped on a rank line too close to the end for its names.
  if (!reading.truncated && inTable) noteTruncation(i);
  // A table body that the page does not close after the last pair read is cut short too: the
  // page stopped inside a name line or between two pairs.
  if (!reading.truncated && inTable) {
    bool closed = false;
    for (std::size_t k = lastRead + 1; k < n && !closed; ++k) {
      closed = LowerAscii(pageLines[k]).find(kTableBodyEnd) != std::string::npos;
    }
    reading.truncated = !closed;
  }
  return reading;
}

std::string WhereThePageStops(const PageReading& reading) {
  if (!reading.truncatedRank.empty()) {
    return "s'arr\xEAte avant les noms de la paire class\xE9\x65 " + reading.truncatedRank;
  }
  return "s'arr\xEAte avant la fin de ses r\xE9sultats";
}

}  // namespace vantrel::competitions
