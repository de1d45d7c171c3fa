#pragma once

#include <optional>
#include <string>
#include <vector>

#include "competitions/registrant_page.h"
#include "core/record_file.h"
#include "core/report_request.h"
#include "core/variable_declaration.h"

namespace vantrel::competitions {

// The four ways a line of a registrants page is reduced before it is compared or used.
// Page lines are UTF-8 bytes; the reductions work on bytes.

// The line without its leading spaces, cut before its first ".": "   12. DUPONT" -> "12".
std::string NumberPart(const std::string& line);
// The characters between each ">" and the next "<" (or the end of the line), joined;
// nothing before the first ">": "<td a="b">Jean <b>DUPONT</b></td>" -> "Jean DUPONT".
std::string TagText(const std::string& line);
// The characters before the first "." without any space, then the rest from that "." on:
// "  1 2. Equipe A" -> "12. Equipe A".
std::string SqueezedLabel(const std::string& line);
// Everything after the first space that follows the first "M" of the line (the civility
// "M." or "Mme" and what comes before it go); empty without an "M" or without such a space:
// "      Mme Anne MARTIN 8" -> "Anne MARTIN 8".
std::string NameAfterCivility(const std::string& line);

// A member's name as convocations look for it: first name, a space, last name, folded
// (FoldName: no blanks, no accents, capitals). Empty when the member has no name.
std::string ConvocationMemberKey(const std::string& memberLine);

// One registered team or pair kept by the scan; Windows-1252 texts.
struct ConvocationEntry {
  std::string rank;     // "classement2"
  std::string club;     // "club2", teams mode only
  std::string index;    // "indice2"
  std::string players;  // the players' names joined, halved into "nom2" and "joueur2"
  friend bool operator==(const ConvocationEntry&, const ConvocationEntry&) = default;
};

struct ConvocationScan {
  // False when nothing may be printed or mailed: fewer than 20 registrant lines, or no list
  // kind (no current registrant file).
  bool ran = false;
  std::vector<ConvocationEntry> entries;
  // Addresses of the members found, in the order found, duplicates kept.
  std::vector<std::string> mail;
  // The first entry number the page lacked lines for, when an entry ran past the last line
  // (or a competition-teams entry had no club cell after it): the scan ended there.
  std::optional<int> truncatedAt;
};

// Options of the scan.
struct ScanOptions {
  ConvocationMode mode = ConvocationMode::kTeams;
  // "Des  Licenciés": keep only the entries where some player is a club member.
  bool membersOnly = false;
};

// Reads the registered teams or pairs of a registrant list (UTF-8 page lines) of the given
// kind and finds the club's members (member-file lines, Windows-1252) among their players.
// Entries are numbered 1, 2, ... in the number part of their first line; the scan waits for
// each number in turn, so a missing number ends the list. A player text names a member when
// the member's folded name occurs in the folded, decoded text; the first member named is
// mailed when his address is not empty and field 69 is not "NON". Page text is decoded with
// DecodeExternalText. An entry whose lines would lie past the last line ends the scan.
ConvocationScan ScanRegistrants(const Lines& registrants, std::optional<ListKind> kind,
                                const ScanOptions& options, const Lines& members);

// The two halves of a players text, printed as "nom2" and "joueur2". With R the number of
// digit runs followed by another character and H = (R + 2) / 2, the text is cut after the
// H-th such run; a CR LF follows every run ended, into "nom2" up to the H-th, into "joueur2"
// after. "Jean DUPONT 12 Anne MARTIN 8 Paul DURAND 15 Lea PETIT 20" gives
// "Jean DUPONT 12\r\n Anne MARTIN 8\r\n" and " Paul DURAND 15\r\n Lea PETIT 20".
struct PlayerHalves {
  std::string first;   // "nom2"
  std::string second;  // "joueur2"
  friend bool operator==(const PlayerHalves&, const PlayerHalves&) = default;
};
PlayerHalves SplitPlayers(const std::string& players);

// The convocation of a mode through its template ("quatre.frf" for teams, "paires.frf" for
// pairs), titled "Convocation - " and the event ("epreuve", trimmed), or "Convocation"
// without one: one record per entry (rank; club; index; players), the 14 header fields for
// the whole report (kEventVariables), and for each entry "classement2", "club2" (teams
// only), "indice2", and the players' halves "nom2" and "joueur2" (SplitPlayers) with their
// line breaks as LF and none at the end. Windows-1252 texts throughout; a name of the entries
// outside them (the summary) and any other name are not answered.
ReportRequest ConvocationReport(ConvocationMode mode, const EventData& header,
                                const std::vector<ConvocationEntry>& entries);

// The names the convocation of a mode answers (its template's declaration).
const reports::TemplateVariables& ConvocationVariables(ConvocationMode mode);

// The mail list cut into messages of perMessage addresses (at least 1): each text is the
// addresses each followed by ";", the last one included.
std::vector<std::string> MailBatches(const std::vector<std::string>& addresses, int perMessage);

// The link of one message: "mailto: ? &bcc=" + text in blind copy, "mailto:" + text + " ?"
// otherwise.
std::string ConvocationMailLink(const std::string& batch, bool blindCopy);

}  // namespace vantrel::competitions
