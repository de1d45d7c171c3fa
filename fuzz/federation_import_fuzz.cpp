// libFuzzer target: the federation's extraction is input from outside, and so is a member
// file that other programs or hands have touched. The first byte chooses the two import
// choices ("Toujours", "Après accord", "Jamais") and how the questions are answered; of the
// other bytes, those before the first NUL byte (if any) are the member file and the rest the
// extraction. Every run reads the extraction, counts and merges it as the import screen
// does, and must end without a crash or a sanitizer report, with an Error of the conversion
// layer as the only failure, and with the merge keeping what it promises: every player
// counted once, no member lost, the new list sorted, address line 3, the office telephone
// and every field from 18 on of the members kept, the age of every record written
// following its birth date.
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/numbers.h"
#include "core/text_helpers.h"
#include "fuzz_input.h"
#include "members/federation_import.h"
#include "members/member_file.h"

using namespace vantrel;
using namespace vantrel::members;
using vantrel::fuzz::Check;

namespace {

bool IsBlankRecord(const std::string& line) {
  return line.find_first_not_of(" \t;") == std::string::npos;
}

MergeChoice ChoiceOf(unsigned value) {
  switch (value % 3) {
    case 0:
      return MergeChoice::kAlways;
    case 1:
      return MergeChoice::kAfterConsent;
    default:
      return MergeChoice::kNever;
  }
}

// The line from field 18 on, as stored; nothing when the line does not reach field 18.
std::optional<std::string> TailFrom18(const std::string& line) {
  std::size_t at = 0;
  for (int k = 0; k < field::kLastDuesPosting; ++k) {
    at = line.find(';', at);
    if (at == std::string::npos) return std::nullopt;
    ++at;
  }
  return line.substr(at);
}

template <typename Key>
void Count(std::map<Key, int>& counts, const Key& key, int by) {
  if ((counts[key] += by) == 0) counts.erase(key);
}

// The merged list against the member file it came from: nobody lost, fields 8 and 12 and the
// tails kept, every new or rewritten line with its age, the list sorted.
void CheckMerged(const Lines& before, const Lines& after, const ImportCounts& counts, Date today) {
  Lines kept;
  for (const std::string& line : before) {
    if (!IsBlankRecord(line)) kept.push_back(line);
  }
  Check(after.size() == kept.size() + static_cast<std::size_t>(counts.added));

  std::map<std::pair<std::string, std::string>, int> notCarried;
  std::map<std::string, int> tails;
  std::map<std::string, int> unchanged;
  for (const std::string& line : kept) {
    Count(notCarried,
          {ExtractField(line, field::kAddress3), ExtractField(line, field::kOfficePhone)}, 1);
    if (const auto tail = TailFrom18(line)) Count(tails, *tail, 1);
    Count(unchanged, line, 1);
  }
  int rewritten = 0;
  for (const std::string& line : after) {
    Check(line.find_first_of("\r\n") == std::string::npos);
    Count(notCarried,
          {ExtractField(line, field::kAddress3), ExtractField(line, field::kOfficePhone)}, -1);
    if (const auto tail = TailFrom18(line); tail && tails.count(*tail)) Count(tails, *tail, -1);
    if (unchanged.count(line)) {
      Count(unchanged, line, -1);
      continue;
    }
    ++rewritten;
    Check(ExtractField(line, field::kAge) ==
          MemberAge(ExtractField(line, field::kBirthDate), today));
  }
  // The new members are the only ones without fields 8 and 12 of their own.
  if (counts.added > 0) Count(notCarried, {std::string(), std::string()}, counts.added);
  Check(notCarried.empty());
  // Every stored tail is still there; new members bring their own.
  Check(tails.empty());
  Check(rewritten <= counts.added + counts.changed);

  for (std::size_t i = 1; i < after.size(); ++i) {
    const std::string a = FieldAt(after[i - 1], field::kLastName);
    const std::string b = FieldAt(after[i], field::kLastName);
    Check(a < b || (a == b && FieldAt(after[i - 1], field::kFirstName) <=
                                  FieldAt(after[i], field::kFirstName)));
  }
}

bool DistinctLicences(const Lines& players) {
  std::vector<std::int32_t> licences;
  for (const std::string& player : players) {
    const auto licence = TryParseInteger(DecodePlayerLine(player)[0]);
    if (!licence) return false;
    licences.push_back(*licence);
  }
  std::sort(licences.begin(), licences.end());
  return std::adjacent_find(licences.begin(), licences.end()) == licences.end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned choice = data[0];
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const auto [members, rest] = fuzz::SplitAtFirstNul(bytes);

  const Extraction extraction = ReadExtractionLines(SplitLines(rest));
  const int count = ExtractionCount(extraction);
  Check(count == -1 || count == static_cast<int>(extraction.players.size()));
  for (const std::string& player : extraction.players) Check(!IsBlankRecord(player));

  ImportOptions options;
  options.add = ChoiceOf(choice);
  options.modify = ChoiceOf(choice / 3);
  options.today = *Date::FromYmd(2026, 12, 9);
  // Questions answered by the bits of the choice, in turn.
  unsigned asked = 0;
  const ImportQuestion ask = [&](QuestionKind, const std::string& text) {
    Check(text.find_first_of("\n") == std::string::npos);
    return ((choice >> (asked++ % 8)) & 1) != 0;
  };

  bool countFailed = false;
  ImportCounts counted;
  try {
    counted = CountMerge(members, extraction.players, options);
  } catch (const Error&) {
    countFailed = true;
  }
  Lines merged = members;
  ImportCounts counts;
  try {
    counts = MergeExtraction(merged, extraction.players, options, ask);
  } catch (const Error&) {
    // Without "Après accord" the count meets every failure the merge meets.
    if (options.add != MergeChoice::kAfterConsent && options.modify != MergeChoice::kAfterConsent) {
      Check(countFailed);
    }
    return 0;
  }
  Check(counts.added + counts.changed + counts.unchanged + counts.skipped ==
        static_cast<int>(extraction.players.size()));
  CheckMerged(members, merged, counts, options.today);
  if (options.add != MergeChoice::kAfterConsent && options.modify != MergeChoice::kAfterConsent) {
    Check(!countFailed && counted == counts);
  } else if (!countFailed && DistinctLicences(extraction.players)) {
    // "Après accord" counts the most that may be added or changed, the fewest left as they
    // are, for an extraction that holds each licence once (as the federation's does).
    Check(counted.added >= counts.added && counted.changed >= counts.changed &&
          counted.unchanged <= counts.unchanged);
  }
  return 0;
}
