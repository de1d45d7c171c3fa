#include "competitions/registrant_page.h"

#include <algorithm>

#include "core/os_file.h"
#include "core/text_helpers.h"

namespace vantrel::competitions {
namespace {

// Titles of the two lists once spaces are removed, UTF-8 bytes.
constexpr char kGroupTitle[] = "Listedes\xC3\xA9quipesdugroupe";
constexpr char kCompetitionTitle[] =
    "<h2class=\"large-text-leftmedium-text-centersmall-text-centerpb20ng-binding\">"
    "Listedes\xC3\xA9quipesdelacomp\xC3\xA9tition";

// Whole lines that open and close a list.
constexpr char kGroupStart[] =
    "    <!----><div class=\"large-12 medium-12 small-12 columns small-text-center\" "
    "ng-if=\"!stadeTeamsCtrl.publicationForbidden\">";
constexpr char kCompetitionStart[] = "                <div class=\"container-table\">";
constexpr char kListEnd[] = "</ui-view></div>";

std::string WithoutSpaces(const std::string& line) {
  std::string out;
  out.reserve(line.size());
  for (char c : line) {
    if (c != ' ') out += c;
  }
  return out;
}

}  // namespace

const std::array<const char*, kEventFieldCount> kEventVariables = {
    "saison",    "responsable", "publication", "epreuve",       "prix",    "phase",  "date",
    "modalites", "horaires1",   "horaires2",   "avertissement", "arbitre", "divers", "pied2"};

ConvocationMode ModeFromCaption(const std::string& caption) {
  return caption.size() >= 36 && caption.compare(30, 6, "quatre") == 0 ? ConvocationMode::kTeams
                                                                       : ConvocationMode::kPairs;
}

Lines ReadRegistrantPage(const std::filesystem::path& path) { return SplitLines(ReadBytes(path)); }

PageKinds RecognizePage(const Lines& page) {
  PageKinds kinds;
  for (const std::string& line : page) {
    if (kinds.group && kinds.competition) break;
    const std::string squeezed = WithoutSpaces(line);
    if (squeezed.find(kGroupTitle) != std::string::npos) kinds.group = true;
    if (squeezed.find(kCompetitionTitle) != std::string::npos) kinds.competition = true;
  }
  return kinds;
}

Lines ExtractRegistrants(const Lines& page, ListKind kind) {
  Lines out;
  if (page.empty()) return out;
  const std::string start = kind == ListKind::kGroup ? kGroupStart : kCompetitionStart;
  out.push_back(page.front());
  bool inside = false;
  for (std::size_t i = 1; i < page.size(); ++i) {
    const std::string& line = page[i];
    if (line == start) inside = true;
    if (inside && line == kListEnd) inside = false;
    if (inside) out.push_back(line);
  }
  return out;
}

std::string RegistrantExtension(ConvocationMode mode, ListKind list) {
  const bool teams = mode == ConvocationMode::kTeams;
  if (list == ListKind::kGroup) return teams ? ".Qug" : ".Pag";
  return teams ? ".Quc" : ".Pac";
}

std::optional<RegistrantFileKind> RegistrantKindOf(const std::filesystem::path& path) {
  // A restore brings "groupeA.Qug" back as "groupea.qug": the letter case tells nothing.
  const std::string extension = LowerAscii(os::Utf8Of(path.extension()));
  for (ConvocationMode mode : {ConvocationMode::kTeams, ConvocationMode::kPairs}) {
    for (ListKind list : {ListKind::kGroup, ListKind::kCompetition}) {
      if (extension == LowerAscii(RegistrantExtension(mode, list)))
        return RegistrantFileKind{mode, list};
    }
  }
  return std::nullopt;
}

std::optional<ListKind> AcceptedListKind(const std::filesystem::path& path, ConvocationMode mode) {
  const auto kind = RegistrantKindOf(path);
  if (!kind || kind->mode != mode) return std::nullopt;
  return kind->list;
}

std::string EventDataExtension(ConvocationMode mode) {
  return mode == ConvocationMode::kTeams ? "qud" : "pad";
}

EventData ReadEventData(const std::filesystem::path& path) {
  const Lines lines = ReadLines(path);
  EventData data;
  const std::size_t count = std::min<std::size_t>(lines.size(), kEventFieldCount);
  for (std::size_t i = 0; i < count; ++i) data[i] = lines[i];
  return data;
}

void WriteEventData(const std::filesystem::path& path, const EventData& data) {
  Lines lines;
  for (std::string field : data) {
    std::replace(field.begin(), field.end(), '\r', ' ');
    std::replace(field.begin(), field.end(), '\n', ' ');
    lines.push_back(std::move(field));
  }
  WriteLines(path, lines);
}

}  // namespace vantrel::competitions
