#include "members/federation_import.h"

#include <utility>

#include "core/error.h"
#include "core/external_text.h"
#include "core/numbers.h"
#include "core/text_helpers.h"
#include "core/version.h"
#include "members/member_file.h"

namespace vantrel::members {
namespace {

constexpr int kExtractionPositions = 34;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// Positions of the extraction.
namespace pos {
constexpr int kLicence = 0;
constexpr int kTitle = 1;
constexpr int kLastName = 2;
constexpr int kFirstName = 3;
constexpr int kBirthDate = 4;
constexpr int kAddress1 = 5;
constexpr int kAddress2 = 6;
constexpr int kPostalCode = 7;
constexpr int kTown = 8;
constexpr int kHomePhone = 10;
constexpr int kMobilePhone = 11;
constexpr int kMail = 12;
constexpr int kLicenceKindEnd = 13;
constexpr int kLicenceKindStart = 14;
constexpr int kClub = 16;
constexpr int kValueIndex = 17;
}  // namespace pos

// A line of blanks and separators alone: what a spreadsheet leaves of an empty row when it
// saves the extraction again (33 ";"), or an empty line at the end of a member file.
bool IsBlankRecord(const std::string& line) {
  return line.find_first_not_of(" \t;") == std::string::npos;
}

// Lower-cased ASCII copy, for the mail domain test.
bool ContainsIgnoringCase(const std::string& text, const std::string& part) {
  return LowerAscii(text).find(LowerAscii(part)) != std::string::npos;
}

}  // namespace

Extraction ReadExtraction(const std::filesystem::path& path) {
  return ReadExtractionLines(ReadLines(path));
}

Extraction ReadExtractionLines(const Lines& lines) {
  Extraction extraction;
  if (lines.size() <= 2) return extraction;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    if (i == 0 && line.rfind(kByteOrderMark, 0) == 0) line.erase(0, 3);
    if (!extraction.headerFound) {
      extraction.headerFound = line.size() >= 5 && line[4] == 'l';
      continue;
    }
    if (!IsBlankRecord(line)) extraction.players.push_back(std::move(line));
  }
  return extraction;
}

std::string FederationMailDomain() { return kFederationMailDomain; }

std::vector<std::string> DecodePlayerLine(const std::string& utf8Line) {
  std::vector<std::string> positions = SplitFields(DecodeExternalText(utf8Line));
  positions.resize(kExtractionPositions);
  return positions;
}

std::string GroupDigitPairs(const std::string& text) {
  std::string result;
  result.reserve(text.size() + text.size() / 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (i % 2 == 1 && i + 1 < text.size()) result += ' ';
  }
  return result;
}

std::string IsoDateToFrench(const std::string& text) {
  std::string parts[3];
  int part = 0;
  for (const char c : text) {
    if (c == '-') {
      if (++part == 3) break;
    } else {
      parts[part] += c;
    }
  }
  return parts[2] + "/" + parts[1] + "/" + parts[0];
}

std::vector<std::string> MemberFieldsOfPlayer(const std::vector<std::string>& positions) {
  auto at = [&](int p) -> const std::string& { return positions.at(static_cast<std::size_t>(p)); };
  std::string mail = at(pos::kMail);
  if (ContainsIgnoringCase(mail, "@" + FederationMailDomain())) mail.clear();
  std::vector<std::string> fields(field::kAge);
  fields[field::kLicence] = at(pos::kLicence);
  fields[field::kTitle] = at(pos::kTitle);
  fields[field::kLastName] = UpperCp1252(at(pos::kLastName));
  fields[field::kFirstName] = at(pos::kFirstName);
  fields[field::kValueIndex] = at(pos::kValueIndex);
  fields[field::kClub] = UpperCp1252(at(pos::kClub));
  fields[field::kAddress1] = at(pos::kAddress1);
  fields[field::kAddress2] = at(pos::kAddress2);
  fields[field::kPostalCode] = at(pos::kPostalCode);
  fields[field::kTown] = at(pos::kTown);
  fields[field::kHomePhone] = GroupDigitPairs(at(pos::kHomePhone));
  fields[field::kMobilePhone] = GroupDigitPairs(at(pos::kMobilePhone));
  fields[field::kMail] = mail;
  fields[field::kBirthDate] = IsoDateToFrench(at(pos::kBirthDate));
  fields[field::kLicenceKind] = at(pos::kLicenceKindStart) + " " + at(pos::kLicenceKindEnd);
  return fields;
}

LicenceIndex::LicenceIndex(const Lines& members) {
  for (std::size_t i = 0; i < members.size(); ++i) {
    add(FieldAt(members[i], field::kLicence), static_cast<int>(i));
  }
}

int LicenceIndex::find(const std::string& licence) const {
  const auto found = m_index.find(ParseInteger(licence));
  return found == m_index.end() ? -1 : found->second;
}

void LicenceIndex::add(const std::string& licence, int index) {
  m_index[ParseInteger(licence)] = index;
}

int FindMember(const Lines& members, const std::string& licence) {
  const std::int32_t wanted = ParseInteger(licence);
  int found = -1;
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (ParseInteger(FieldAt(members[i], field::kLicence)) == wanted) found = static_cast<int>(i);
  }
  return found;
}

std::string MergeField(const std::vector<std::string>& stored, int f, const std::string& newValue,
                       MergeChoice choice, const ImportQuestion& ask) {
  const std::string& old = stored.at(static_cast<std::size_t>(f));
  // The extraction carries no address line 3 and no office telephone: the card's are kept.
  if (f == field::kAddress3 || f == field::kOfficePhone) return old;
  if (old == newValue) return old;
  switch (choice) {
    case MergeChoice::kAlways:
      return newValue;
    case MergeChoice::kNever:
      return old;
    case MergeChoice::kAfterConsent: {
      const std::string question = "Pour la fiche : " + stored[field::kTitle] + " " +
                                   stored[field::kLastName] + " " + stored[field::kFirstName] +
                                   "\rModifier : " + old + "\rPar : " + newValue;
      return ask(QuestionKind::kReplaceValue, question) ? newValue : old;
    }
  }
  return old;
}

namespace {

// The merged record of a known member: fields 0 to 16 by MergeField, 17 the age from the
// merged birth date, and the stored line from field 18 on exactly as it stands (a record
// that stops after field 68, as the card's "Ajouter" writes it, keeps stopping there). A
// stored line that does not reach field 18 gets fields 18 to 69 as ExtractField reads them.
std::string MergedMemberLine(const std::string& storedLine,
                             const std::vector<std::string>& newFields,
                             const ImportOptions& options, const ImportQuestion& ask) {
  std::vector<std::string> stored(kMemberFieldCount);
  for (int k = 0; k < kMemberFieldCount; ++k) stored[k] = ExtractField(storedLine, k);
  std::vector<std::string> merged(field::kLastDuesPosting);
  for (int f = 0; f < field::kAge; ++f) {
    merged[f] = MergeField(stored, f, newFields[f], options.modify, ask);
  }
  merged[field::kAge] = MemberAge(merged[field::kBirthDate], options.today);

  std::size_t tail = 0;
  for (int k = 0; k < field::kLastDuesPosting && tail != std::string::npos; ++k) {
    tail = storedLine.find(';', tail);
    if (tail != std::string::npos) ++tail;
  }
  if (tail != std::string::npos) return JoinFields(merged) + storedLine.substr(tail);
  for (int k = field::kLastDuesPosting; k < kMemberFieldCount; ++k) merged.push_back(stored[k]);
  return JoinFields(merged);
}

}  // namespace

ImportCounts MergeExtraction(Lines& members, const Lines& players, const ImportOptions& options,
                             const ImportQuestion& ask, const std::function<void(int)>& progress) {
  ImportCounts counts;
  std::erase_if(members, IsBlankRecord);
  if (players.empty()) {
    SortMembers(members, field::kLastName, SortVariant::kImport);
    return counts;
  }
  LicenceIndex index(members);
  for (std::size_t k = 0; k < players.size(); ++k) {
    if (progress && k % 10 == 0) progress(static_cast<int>(k));
    const std::vector<std::string> positions = DecodePlayerLine(players[k]);
    const std::vector<std::string> fields = MemberFieldsOfPlayer(positions);
    const int found = index.find(fields[field::kLicence]);
    if (found < 0) {
      bool add = options.add == MergeChoice::kAlways;
      if (options.add == MergeChoice::kAfterConsent) {
        add = ask(QuestionKind::kAddPlayer, "Ajout de : " + fields[field::kTitle] + " " +
                                                fields[field::kLastName] + " " +
                                                fields[field::kFirstName]);
      }
      if (!add) {
        ++counts.skipped;
        continue;
      }
      members.push_back(ImportedMemberLine(fields, options.today));
      index.add(fields[field::kLicence], static_cast<int>(members.size()) - 1);
      ++counts.added;
      continue;
    }
    std::string& member = members[static_cast<std::size_t>(found)];
    std::string merged = MergedMemberLine(member, fields, options, ask);
    if (merged == member) {
      ++counts.unchanged;
    } else {
      ++counts.changed;
      member = std::move(merged);
    }
  }
  SortMembers(members, field::kLastName, SortVariant::kImport);
  return counts;
}

ImportCounts CountMerge(const Lines& members, const Lines& players, const ImportOptions& options) {
  Lines copy = members;
  return MergeExtraction(copy, players, options,
                         [](QuestionKind, const std::string&) { return true; });
}

ImportCounts ImportExtraction(const std::filesystem::path& exerciseFolder, const Lines& players,
                              const ImportOptions& options, const ImportQuestion& ask,
                              bool dryRun) {
  Lines members = ReadMemberFile(exerciseFolder);
  if (dryRun) return CountMerge(members, players, options);
  const ImportCounts counts = MergeExtraction(members, players, options, ask);
  WriteMemberFile(exerciseFolder, members);
  return counts;
}

}  // namespace vantrel::members
