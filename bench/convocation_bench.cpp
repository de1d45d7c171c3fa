// Convocations and tournament mail on a large event and a full season:
// - the scan of a group list of 500 teams (about 12,000 lines) against 1,000 members, with
//   "Des  Licenciés" ticked (goal: under 50 ms);
// - the séance list and the choice of one séance in a season's export of 30,000 lines
//   against 1,000 members (goal: each under 20 ms).

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "competitions/convocation.h"
#include "competitions/tournament_mail.h"
#include "members/member_file.h"

namespace {

using vantrel::Lines;
using namespace vantrel::competitions;
namespace field = vantrel::members::field;

constexpr int kMembers = 1000;
constexpr int kTeams = 500;
constexpr int kCsvLines = 30000;

std::string Name(int i) { return "JOUEUR" + std::to_string(i); }

Lines Members() {
  Lines members;
  for (int i = 0; i < kMembers; ++i) {
    vantrel::members::MemberRecord record;
    record.set(field::kLicence, std::to_string(10000000 + i));
    record.set(field::kLastName, Name(i));
    record.set(field::kFirstName, "Andr\xe9");
    record.set(field::kMail, "j" + std::to_string(i) + "@example.fr");
    members.push_back(record.ToLine());
  }
  return members;
}

// A group list: entry n at e, club at e+3, four players at e+8, e+10, e+12, e+14, "</div>"
// at e+16, index at e+19; 24 lines an entry. One player in ten is a club member.
Lines GroupTeams() {
  std::mt19937 random(7);
  Lines lines = {"<!DOCTYPE html>"};
  for (int n = 1; n <= kTeams; ++n) {
    Lines entry(24, "            <span></span>");
    entry[0] = "            " + std::to_string(n) + ". EQUIPE " + std::to_string(n);
    entry[3] = "            CLUB " + std::to_string(n % 40);
    for (int j = 0; j < 4; ++j) {
      const int player = static_cast<int>(random() % (10 * kMembers));
      entry[8 + 2 * j] = "                M. Andr\xC3\xA9 " + Name(player) + " " +
                         std::to_string(20 + player % 30);
    }
    entry[16] = "            </div>";
    entry[19] = "            " + std::to_string(1000 + n);
    lines.insert(lines.end(), entry.begin(), entry.end());
  }
  return lines;
}

Lines Season() {
  std::mt19937 random(11);
  Lines csv = {"Seance;Date;Jour;Moment;Type;Table;Position;Licence;Nom;"};
  for (int i = 0; i < kCsvLines; ++i) {
    const int seance = i / 100;
    csv.push_back("S" + std::to_string(seance) + ";01/01/2027;Mardi;Soir;R\xe9gularit\xe9;1;N;" +
                  std::to_string(10000000 + random() % (2 * kMembers)) + ";X;");
  }
  return csv;
}

void BM_ScanGroupTeams(benchmark::State& state) {
  const Lines page = GroupTeams();
  const Lines members = Members();
  for (auto _ : state) {
    const ConvocationScan scan =
        ScanRegistrants(page, ListKind::kGroup, {ConvocationMode::kTeams, true}, members);
    benchmark::DoNotOptimize(scan.mail.size());
  }
}
BENCHMARK(BM_ScanGroupTeams)->Unit(benchmark::kMillisecond);

void BM_SeanceList(benchmark::State& state) {
  const Lines csv = Season();
  for (auto _ : state) {
    std::vector<std::string> seances;
    AddSeances(seances, csv);
    benchmark::DoNotOptimize(seances.size());
  }
}
BENCHMARK(BM_SeanceList)->Unit(benchmark::kMillisecond);

void BM_SelectSeance(benchmark::State& state) {
  const Lines csv = Season();
  const Lines members = Members();
  for (auto _ : state) {
    const SeanceSelection selection = SelectSeance(csv, "S150", members);
    benchmark::DoNotOptimize(selection.addresses.size());
  }
}
BENCHMARK(BM_SelectSeance)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
