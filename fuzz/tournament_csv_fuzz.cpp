// libFuzzer target: the club software's tournament CSV is hostile input. The bytes before the
// first NUL byte (if any) are a member file, the rest the CSV. Every run reads the CSV as the
// tournament mail screen does (séance list, every séance chosen, the address groups and their
// links) and must end without a crash, a sanitizer report or a lost address.
#include <cstdint>
#include <string>

#include "competitions/tournament_mail.h"
#include "fuzz_input.h"

using namespace vantrel;
using namespace vantrel::competitions;
using vantrel::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto [members, rest] = fuzz::SplitAtFirstNul(bytes);
  const Lines csv = TournamentCsvLines(rest);

  std::vector<std::string> seances;
  AddSeances(seances, csv);
  AddSeances(seances, csv);
  Check(seances.size() <= (csv.empty() ? 0 : csv.size() - 1));
  for (const std::string& seance : seances) {
    const SeanceSelection selection = SelectSeance(csv, seance, members);
    const auto groups = AddressGroups(selection.addresses);
    std::size_t kept = 0;
    for (const auto& group : groups) {
      Check(!group.empty() && group.size() <= 50);
      kept += group.size();
    }
    Check(kept == selection.addresses.size());
    Check(TournamentMailLinks(selection.addresses).size() == groups.size());
  }
  return 0;
}
