#include "competitions/convocation.h"

#include <algorithm>
#include <array>

#include "competitions/report_variables.h"
#include "core/external_text.h"
#include "core/text_helpers.h"
#include "members/member_file.h"

namespace vantrel::competitions {
namespace {

// Number part of the line after the last player of an entry.
constexpr char kPlayersEnd[] = "</div>";
// Number part of the cell that precedes the club of a competition team.
constexpr char kClubCell[] = "<td class=\"text-center ng-binding\">";

constexpr std::size_t kPlayerLines = 7;
constexpr std::size_t kMinimumLines = 20;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Members of the file with a name, their folded key beside their line.
struct MemberKey {
  std::string key;
  const std::string* line;
};

std::vector<MemberKey> MemberKeys(const Lines& members) {
  std::vector<MemberKey> keys;
  keys.reserve(members.size());
  for (const std::string& line : members) {
    std::string key = ConvocationMemberKey(line);
    if (!key.empty()) keys.push_back({std::move(key), &line});
  }
  return keys;
}

// The member a player text names: among the members whose key occurs in the folded text,
// the one with the longest key (the first in file order among equals), so that a member
// "Jean DUPONTEL" is not taken for a member "Jean DUPONT" who also plays in the club.
const std::string* NamedMember(const std::string& playerText, const std::vector<MemberKey>& keys) {
  const std::string folded = FoldName(DecodeExternalText(playerText));
  const MemberKey* best = nullptr;
  for (const MemberKey& member : keys) {
    if (best != nullptr && member.key.size() <= best->key.size()) continue;
    if (folded.find(member.key) != std::string::npos) best = &member;
  }
  return best == nullptr ? nullptr : best->line;
}

// Reads the values of the entry starting at line e; nothing when the page lacks lines for
// them.
class EntryReader {
 public:
  EntryReader(const Lines& lines, ListKind kind, ConvocationMode mode)
      : m_lines(lines), m_kind(kind), m_mode(mode) {}

  std::optional<ConvocationEntry> read(std::size_t e) {
    ConvocationEntry entry;
    std::size_t p = 0;
    std::size_t step = 1;
    const bool teams = m_mode == ConvocationMode::kTeams;
    if (m_kind == ListKind::kGroup) {
      if (!has(e + 8)) return std::nullopt;
      if (teams) {
        entry.rank = DecodeExternalText(SqueezedLabel(m_lines[e]));
        entry.club = DecodeExternalText(NumberPart(m_lines[e + 3]));
      } else {
        entry.rank =
            DecodeExternalText(NumberPart(m_lines[e]) + " - " + NameAfterCivility(m_lines[e + 8]));
      }
      p = e + 8;
      step = 2;
    } else if (teams) {
      const std::size_t t = clubCellAfter(e);
      if (!has(t + 1)) return std::nullopt;
      entry.rank = DecodeExternalText(SqueezedLabel(m_lines[e]));
      entry.club = DecodeExternalText(NumberPart(m_lines[t + 1]));
      p = t + 5;
    } else {
      if (!has(e + 16)) return std::nullopt;
      entry.rank =
          DecodeExternalText(NumberPart(m_lines[e]) + " - " + NameAfterCivility(m_lines[e + 16]));
      p = e + 10;
    }
    std::string joined;
    for (;;) {
      if (!has(p + 2)) return std::nullopt;
      joined += NameAfterCivility(m_lines[p]);
      if (NumberPart(m_lines[p + 2]) == kPlayersEnd) break;
      p += step;
    }
    if (!has(p + 5)) return std::nullopt;
    entry.players = DecodeExternalText(joined);
    entry.index = DecodeExternalText(NumberPart(m_lines[p + 5]));
    return entry;
  }

 private:
  bool has(std::size_t k) const { return k < m_lines.size(); }

  // The first line after e whose number part is the club cell; past the end when none.
  std::size_t clubCellAfter(std::size_t e) {
    if (m_nextClubCell.empty()) {
      m_nextClubCell.assign(m_lines.size() + 1, m_lines.size());
      for (std::size_t k = m_lines.size(); k-- > 0;) {
        m_nextClubCell[k] = NumberPart(m_lines[k]) == kClubCell ? k : m_nextClubCell[k + 1];
      }
    }
    return m_nextClubCell[e + 1];
  }

  const Lines& m_lines;
  ListKind m_kind;
  ConvocationMode m_mode;
  std::vector<std::size_t> m_nextClubCell;
};

}  // namespace

std::string NumberPart(const std::string& line) {
  std::size_t start = 0;
  while (start < line.size() && line[start] == ' ') ++start;
  const std::size_t dot = line.find('.', start);
  return line.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

std::string TagText(const std::string& line) {
  std::string out;
  bool inside = false;
  for (char c : line) {
    if (c == '>') {
      inside = true;
    } else if (c == '<') {
      inside = false;
    } else if (inside) {
      out += c;
    }
  }
  return out;
}

std::string SqueezedLabel(const std::string& line) {
  const std::size_t dot = line.find('.');
  std::string out;
  const std::size_t end = dot == std::string::npos ? line.size() : dot;
  for (std::size_t i = 0; i < end; ++i) {
    if (line[i] != ' ') out += line[i];
  }
  if (dot != std::string::npos) out.append(line, dot, std::string::npos);
  return out;
}

std::string NameAfterCivility(const std::string& line) {
  const std::size_t m = line.find('M');
  if (m == std::string::npos) return {};
  const std::size_t space = line.find(' ', m);
  if (space == std::string::npos) return {};
  return line.substr(space + 1);
}

std::string ConvocationMemberKey(const std::string& memberLine) {
  return FoldName(FieldAt(memberLine, members::field::kFirstName) + " " +
                  FieldAt(memberLine, members::field::kLastName));
}

ConvocationScan ScanRegistrants(const Lines& registrants, std::optional<ListKind> kind,
                                const ScanOptions& options, const Lines& members) {
  ConvocationScan scan;
  if (registrants.size() < kMinimumLines || !kind) return scan;
  scan.ran = true;
  const std::vector<MemberKey> keys = MemberKeys(members);
  const bool group = *kind == ListKind::kGroup;
  const std::size_t firstPlayer = group ? 8 : 16;
  const std::size_t playerStep = group ? 2 : 1;
  EntryReader reader(registrants, *kind, options.mode);

  int expected = 1;
  for (std::size_t e = 0; e < registrants.size(); ++e) {
    if (NumberPart(registrants[e]) != std::to_string(expected)) continue;
    const int number = expected++;
    const std::size_t lastPlayer = e + firstPlayer + (kPlayerLines - 1) * playerStep;
    if (lastPlayer >= registrants.size()) {
      scan.truncatedAt = number;
      break;
    }
    std::array<const std::string*, kPlayerLines> named{};
    bool anyMember = false;
    for (std::size_t j = 0; j < kPlayerLines; ++j) {
      const std::string& line = registrants[e + firstPlayer + j * playerStep];
      named[j] = NamedMember(group ? NameAfterCivility(line) : TagText(line), keys);
      anyMember = anyMember || named[j] != nullptr;
    }
    if (options.membersOnly && !anyMember) continue;
    std::optional<ConvocationEntry> entry = reader.read(e);
    if (!entry) {
      scan.truncatedAt = number;
      break;
    }
    for (const std::string* member : named) {
      if (member == nullptr) continue;
      const std::string address = FieldAt(*member, members::field::kMail);
      if (!address.empty() && FieldAt(*member, members::field::kMailConvocations) != "NON") {
        scan.mail.push_back(address);
      }
    }
    scan.entries.push_back(std::move(*entry));
  }
  return scan;
}

PlayerHalves SplitPlayers(const std::string& players) {
  int runs = 0;
  for (std::size_t i = 1; i < players.size(); ++i) {
    if (IsDigit(players[i - 1]) && !IsDigit(players[i])) ++runs;
  }
  const int half = (runs + 2) / 2;
  PlayerHalves halves;
  int ended = 0;
  bool inRun = false;
  for (char c : players) {
    const bool digit = IsDigit(c);
    if (inRun && !digit) {
      ++ended;
      (ended <= half ? halves.first : halves.second) += "\r\n";
    }
    inRun = digit;
    (ended < half ? halves.first : halves.second) += c;
  }
  return halves;
}

std::vector<std::string> MailBatches(const std::vector<std::string>& addresses, int perMessage) {
  const std::size_t size = static_cast<std::size_t>(std::max(1, perMessage));
  std::vector<std::string> batches;
  std::string text;
  std::size_t count = 0;
  for (const std::string& address : addresses) {
    text += address;
    text += ';';
    if (++count % size == 0) {
      batches.push_back(std::move(text));
      text.clear();
    }
  }
  if (!text.empty()) batches.push_back(std::move(text));
  return batches;
}

std::string ConvocationMailLink(const std::string& batch, bool blindCopy) {
  return blindCopy ? "mailto: ? &bcc=" + batch : "mailto:" + batch + " ?";
}

namespace {

constexpr std::size_t kEventField = 3;  // "epreuve"

// A half of the players as printed: each CR LF a line break, none at the end.
std::string PrintedLines(const std::string& half) {
  std::string text;
  text.reserve(half.size());
  for (std::size_t i = 0; i < half.size(); ++i) {
    if (half[i] == '\r' && i + 1 < half.size() && half[i + 1] == '\n') continue;
    text += half[i];
  }
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// The answer of an entry's name, nothing for a name that is not one.
std::optional<std::string> EntryValue(const ConvocationEntry& entry, const std::string& name,
                                      bool teams) {
  if (name == "classement2") return entry.rank;
  if (name == "club2" && teams) return entry.club;
  if (name == "indice2") return entry.index;
  if (name == "nom2") return PrintedLines(SplitPlayers(entry.players).first);
  if (name == "joueur2") return PrintedLines(SplitPlayers(entry.players).second);
  return std::nullopt;
}

}  // namespace

const reports::TemplateVariables& ConvocationVariables(ConvocationMode mode) {
  return mode == ConvocationMode::kTeams ? kTeamConvocationReport : kPairConvocationReport;
}

ReportRequest ConvocationReport(ConvocationMode mode, const EventData& header,
                                const std::vector<ConvocationEntry>& entries) {
  const bool teams = mode == ConvocationMode::kTeams;
  ReportRequest request;
  request.templateFile = std::string(ConvocationVariables(mode).templateName);
  const std::string event = Trim(header[kEventField]);
  request.title = event.empty() ? "Convocation" : "Convocation - " + event;
  for (const auto& entry : entries) {
    request.records.push_back(JoinFields({entry.rank, entry.club, entry.index, entry.players}));
  }
  request.value = [header, entries, teams](const std::string& name, int record) {
    for (std::size_t i = 0; i < header.size(); ++i) {
      if (name == kEventVariables[i]) return ReportValue::Text(header[i]);
    }
    if (record < 0 || record >= static_cast<int>(entries.size())) return ReportValue();
    const auto value = EntryValue(entries[static_cast<std::size_t>(record)], name, teams);
    return value ? ReportValue::Text(*value) : ReportValue();
  };
  return request;
}

}  // namespace vantrel::competitions
