// libFuzzer target: a saved registrants page is hostile input. The bytes before the first NUL
// byte (if any) are a member file, the rest the page. Every run reads the page as the
// convocation screen does (recognition, both extractions, the scan of both kinds in both
// modes, with and without "Des  Licenciés", the halves of every players text, the mail
// batches) and must end without a crash or a sanitizer report.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "competitions/convocation.h"
#include "competitions/registrant_page.h"

using namespace vantrel;
using namespace vantrel::competitions;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void ScanAll(const Lines& registrants, const Lines& members) {
  for (ListKind kind : {ListKind::kGroup, ListKind::kCompetition}) {
    for (ConvocationMode mode : {ConvocationMode::kTeams, ConvocationMode::kPairs}) {
      for (bool membersOnly : {false, true}) {
        const ConvocationScan scan =
            ScanRegistrants(registrants, kind, {mode, membersOnly}, members);
        Check(scan.ran == (registrants.size() >= 20));
        for (const ConvocationEntry& entry : scan.entries) {
          const PlayerHalves halves = SplitPlayers(entry.players);
          Check(halves.first.size() + halves.second.size() >= entry.players.size());
        }
        std::size_t total = 0;
        for (const std::string& batch : MailBatches(scan.mail, 5)) total += batch.size();
        std::size_t expected = 0;
        for (const std::string& address : scan.mail) expected += address.size() + 1;
        Check(total == expected);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = bytes.find('\0');
  const Lines members = nul == std::string::npos ? Lines{} : SplitLines(bytes.substr(0, nul));
  const Lines page = SplitLines(nul == std::string::npos ? bytes : bytes.substr(nul + 1));

  const PageKinds kinds = RecognizePage(page);
  (void)kinds;
  for (ListKind kind : {ListKind::kGroup, ListKind::kCompetition}) {
    const Lines registrants = ExtractRegistrants(page, kind);
    Check(registrants.size() <= page.size());
    ScanAll(registrants, members);
  }
  // The page itself, as if a whole page had been saved under a list's name.
  ScanAll(page, members);
  return 0;
}
