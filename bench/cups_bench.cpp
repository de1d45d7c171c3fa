// The cups on a club of 500 members: a saved result page of 60 pairs read and computed (from
// the page's bytes, and from the files on disk as the screen does), and the ranking of a cup
// of 16 tournaments of 60 pairs each. Goal: each under 20 ms.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "competitions/cup_ranking.h"
#include "competitions/result_page.h"
#include "competitions/result_page_builder.h"
#include "competitions/tournament_result.h"
#include "core/cp1252.h"
#include "core/record_file.h"

namespace {

namespace fs = std::filesystem;
using namespace vantrel;
using namespace vantrel::competitions;

constexpr int kMembers = 500;
constexpr int kPairs = 60;
constexpr int kTournaments = 16;

const char* const kLast[] = {"MARTIN", "BERNARD", "DUBOIS", "THOMAS", "ROBERT", "RICHARD",
                             "PETIT",  "DURAND",  "LEROY",  "MOREAU", "SIMON",  "L\xC9\x43UYER"};
const char* const kFirst[] = {"Jean", "Marie", "J\xE9r\xF4me", "Anne", "No\xEBl", "Beno\xEEt"};

std::string LastName(int i) { return std::string(kLast[i % 12]) + std::to_string(i); }
std::string FirstName(int i) { return kFirst[i % 6]; }

Lines Members() {
  Lines members;
  for (int i = 0; i < kMembers; ++i) {
    members.push_back(std::to_string(10000000 + i) + ";M.;" + LastName(i) + ";" + FirstName(i) +
                      ";" + std::to_string(1 + i % 90) + ";" + std::string(65, ';'));
  }
  return members;
}

// A page of 60 pairs, about a third of the players club members, the others guests.
std::string Page(unsigned seed) {
  std::mt19937 random(seed);
  std::vector<testing::PageRow> rows;
  const auto player = [&](int k) {
    const int who = static_cast<int>(random() % (3 * kMembers));
    if (who >= kMembers) return "Invit\xC3\xA9 " + std::to_string(k) + " X";
    return Cp1252ToUtf8(FirstName(who) + " " + LastName(who));
  };
  for (int r = 1; r <= kPairs; ++r)
    rows.push_back({std::to_string(r), player(2 * r), player(2 * r + 1)});
  return testing::MakeResultPage(rows, seed % 2 == 0);
}

struct Club {
  Club() {
    char pattern[] = "/tmp/vantrel-cups-bench-XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    folder = pattern;
    fs::create_directories(folder);
    WriteLines(folder / "Joueur.DBP", Members());
  }
  ~Club() {
    std::error_code error;
    fs::remove_all(folder, error);
  }
  fs::path folder;
};

void BM_ResultPageFromBytes(benchmark::State& state) {
  const std::string page = Page(1);
  const Lines members = Members();
  for (auto _ : state) {
    const auto extract = SelectResultSections(SplitLines(page));
    const PageReading reading = ReadPairs(*extract);
    Lines lines = ComputeResultLines(reading.pairs, MemberDirectory(members), kDefaultCoefficient);
    benchmark::DoNotOptimize(lines);
  }
}
BENCHMARK(BM_ResultPageFromBytes)->Unit(benchmark::kMillisecond);

// As the results screen: extract the saved page, write the extract, calculate with the
// member file read from disk, save the result file.
void BM_ResultPageThroughFiles(benchmark::State& state) {
  Club club;
  WriteBytes(club.folder / "page.htm", Page(2));
  for (auto _ : state) {
    TournamentResults results;
    results.extractPage(club.folder / "page.htm");
    results.writeExtract(club.folder / "page.chi");
    results.calculate(ReadLines(club.folder / "Joueur.DBP"), kDefaultCoefficient);
    results.save(club.folder / "page.chr");
    benchmark::DoNotOptimize(results.total());
  }
}
BENCHMARK(BM_ResultPageThroughFiles)->Unit(benchmark::kMillisecond);

// The ranking screen's activation: the cup file, 16 result files of 60 pairs, the exchange
// sort, then the entries of the open ranking.
void BM_CupRanking(benchmark::State& state) {
  Club club;
  const Lines members = Members();
  Lines cup;
  for (int t = 1; t <= kTournaments; ++t) {
    const auto extract = SelectResultSections(SplitLines(Page(100 + t)));
    const Lines lines = ComputeResultLines(ReadPairs(*extract).pairs, MemberDirectory(members),
                                           kDefaultCoefficient);
    const std::string name = "t" + std::to_string(t) + ".chr";
    WriteLines(club.folder / name, lines);
    cup.push_back(std::to_string(t) + ";01/10/2026;Tournoi " + std::to_string(t) + ";P;" +
                  std::to_string(t) + ";" + (t % 2 ? "100" : "50") + ";" + name + ";");
  }
  WriteLines(club.folder / "Challenge_1.dbp", cup);
  std::size_t players = 0;
  for (auto _ : state) {
    CupRanking ranking;
    ComputeCupRanking(club.folder, 1, ranking);
    const auto entries = OpenRankingEntries(ranking);
    players = entries.size();
    benchmark::DoNotOptimize(entries);
  }
  state.counters["joueurs"] = static_cast<double>(players);
}
BENCHMARK(BM_CupRanking)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
