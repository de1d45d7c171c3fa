#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "core/record_file.h"

namespace vantrel::competitions {

// Federal events are played by teams of four or by pairs; the convocation screen works in
// one of the two modes, told by its caption.
enum class ConvocationMode { kTeams, kPairs };

// Teams mode when the characters 31 to 36 of caption (Windows-1252) read "quatre", exactly;
// pairs mode otherwise. "Editions des inscriptions par quatre" -> kTeams.
ConvocationMode ModeFromCaption(const std::string& caption);

// A registrants page lists the teams or pairs of one group, or of a whole competition.
enum class ListKind { kGroup, kCompetition };

// Which lists a saved registrants page holds (both may be present).
struct PageKinds {
  bool group = false;
  bool competition = false;
};

// A saved registrants page (UTF-8 bytes, read as they are) split into lines.
// Throws Error "Impossible d'ouvrir le fichier %s" when it cannot be read.
Lines ReadRegistrantPage(const std::filesystem::path& path);

// Recognises the lists of a page: every line is compared with its spaces removed; a group
// page has a line holding "Listedeséquipesdugroupe", a competition page a line holding the
// competition title heading (both in UTF-8 bytes).
PageKinds RecognizePage(const Lines& page);

// The registrant lines of one list: line 0 of the page, then every line from the list's
// start line (included) to its end line (excluded), start and end compared as whole lines.
// A page without the start line gives line 0 alone; a list never closed runs to the end.
Lines ExtractRegistrants(const Lines& page, ListKind kind);

// The four registrant-list files, told apart by their extension, compared without regard to
// letter case (a restore writes names in lower case): ".Qug" teams of a group, ".Pag" pairs of a
// group, ".Quc" teams of a competition, ".Pac" pairs of a competition. The file holds the
// registrant lines, CR LF after each, unchanged (UTF-8 bytes, displayable as a web page).
struct RegistrantFileKind {
  ConvocationMode mode;
  ListKind list;
  friend bool operator==(const RegistrantFileKind&, const RegistrantFileKind&) = default;
};

// ".Qug", ".Pag", ".Quc" or ".Pac".
std::string RegistrantExtension(ConvocationMode mode, ListKind list);

// The kind of a registrant-list file by its extension in any letter case (".qug" is
// ".Qug"); nothing for any other extension.
std::optional<RegistrantFileKind> RegistrantKindOf(const std::filesystem::path& path);

// The list kind of a file that "Ouvrir" takes in mode: nothing when its extension is not one
// of the mode's two.
std::optional<ListKind> AcceptedListKind(const std::filesystem::path& path, ConvocationMode mode);

// The event-data file: the 14 header fields of a convocation, one per line, in this order
// (Windows-1252, CR LF), extension ".qud" in teams mode and ".pad" in pairs mode:
//   2026-2027 / Marc LEROUX / Fait le 05/03/2027 / Coupe de France / ... / Pied de page
inline constexpr int kEventFieldCount = 14;
using EventData = std::array<std::string, kEventFieldCount>;

// The report variable answering each field ("saison", ... "horaires1", "horaires2", ...
// "pied2").
extern const std::array<const char*, kEventFieldCount> kEventVariables;

// "qud" or "pad", without the point.
std::string EventDataExtension(ConvocationMode mode);

// Reads an event-data file. Lines past the 14th are ignored; fields the file lacks are empty.
// Throws Error "Impossible d'ouvrir le fichier %s".
EventData ReadEventData(const std::filesystem::path& path);

// Writes the 14 fields as 14 lines, each made one line (";" kept, line breaks become blanks).
// Throws Error "Impossible de créer le fichier %s".
void WriteEventData(const std::filesystem::path& path, const EventData& data);

}  // namespace vantrel::competitions
