// libFuzzer target: a saved registrants page is hostile input. The first byte chooses how the
// page is read (which list is extracted, or the whole page, the list kind and the mode given
// to the scan, "Des  Licenciés" or not); of the other bytes, those before the first NUL byte
// (if any) are a member file and the rest the page. Every run recognises the page, extracts
// the list, scans it, halves every players text and cuts the mail into batches, and must end
// without a crash or a sanitizer report.
#include <cstdint>
#include <string>

#include "competitions/convocation.h"
#include "competitions/registrant_page.h"
#include "fuzz_input.h"

using namespace vantrel;
using namespace vantrel::competitions;
using vantrel::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned choice = data[0];
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const auto [members, rest] = fuzz::SplitAtFirstNul(bytes);
  const Lines page = SplitLines(rest);

  const PageKinds kinds = RecognizePage(page);
  (void)kinds;
  const ListKind kind = choice & 1 ? ListKind::kCompetition : ListKind::kGroup;
  const ConvocationMode mode = choice & 2 ? ConvocationMode::kPairs : ConvocationMode::kTeams;
  const bool membersOnly = (choice & 4) != 0;
  Lines registrants;
  switch ((choice >> 3) % 3) {
    case 0:
      registrants = ExtractRegistrants(page, ListKind::kGroup);
      break;
    case 1:
      registrants = ExtractRegistrants(page, ListKind::kCompetition);
      break;
    default:
      registrants = page;  // a whole page saved under a list's name
      break;
  }
  Check(registrants.size() <= page.size());

  const ConvocationScan scan = ScanRegistrants(registrants, kind, {mode, membersOnly}, members);
  Check(scan.ran == (registrants.size() >= 20));
  for (const ConvocationEntry& entry : scan.entries) {
    const PlayerHalves halves = SplitPlayers(entry.players);
    Check(halves.first.size() + halves.second.size() >= entry.players.size());
  }
  std::size_t total = 0;
  for (const std::string& batch : MailBatches(scan.mail, 1 + static_cast<int>(choice % 50))) {
    total += batch.size();
  }
  std::size_t expected = 0;
  for (const std::string& address : scan.mail) expected += address.size() + 1;
  Check(total == expected);
  return 0;
}
