// The federation import and the listings on a large club.
// - Merge a 2,000-player extraction into a 2,000-member file, both choices "Toujours": half
//   the players are known (their mobile number changed), half are new. Goal: under 1 s.
// - Recompute a listing over 5,000 members with every criterion on (selection, series and
//   age-bracket counts). Goal: under 50 ms.

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "core/date.h"
#include "core/record_file.h"
#include "members/federation_import.h"
#include "members/listing.h"
#include "members/member_file.h"

namespace {

using vantrel::Date;
using vantrel::Lines;
using namespace vantrel::members;

const char* const kNames[] = {"Martin",  "Bernard", "Dubois",  "Thomas",  "Robert",
                              "Richard", "Petit",   "Durand",  "Lécuyer", "Moreau",
                              "Simon",   "Laurent", "Lefèvre", "Michel",  "Noël"};
const char* const kFirst[] = {"Jean",      "Marie",  "Jérôme", "Anne",  "Benoît",
                              "Françoise", "Michel", "Zoé",    "André", "Sylvie"};

// The extraction line of player i (UTF-8), mobile number given.
std::string PlayerLine(int i, const std::string& mobile) {
  return std::to_string(100000 + i) + ";" + (i % 2 ? "M." : "Mme") + ";" + kNames[i % 15] +
         std::to_string(i % 300) + ";" + kFirst[i % 10] + ";19" + std::to_string(30 + i % 70) +
         "-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10) + ";" +
         std::to_string(i) + " rue de la République;;750" + std::to_string(10 + i % 20) +
         ";Paris;France;01020304" + std::to_string(10 + i % 90) + ";" + mobile + ";membre" +
         std::to_string(i) + "@example.fr;Senior;Licence;;Bridge Club;" + std::to_string(i % 100) +
         ";;;";
}

void BM_MergeExtraction(benchmark::State& state) {
  const Date today = *Date::FromYmd(2026, 12, 9);
  // The member file: the first 2,000 players as an earlier import stored them.
  Lines known;
  for (int i = 0; i < 2000; ++i) known.push_back(PlayerLine(i, "0607080910"));
  Lines members;
  ImportOptions options;
  options.today = today;
  MergeExtraction(members, known, options, [](QuestionKind, const std::string&) { return true; });
  // The extraction: players 1,000 to 2,999, the known ones with a new mobile number.
  Lines players;
  for (int i = 1000; i < 3000; ++i) players.push_back(PlayerLine(i, "0611223344"));
  for (auto _ : state) {
    Lines merged = members;
    const ImportCounts counts = MergeExtraction(
        merged, players, options, [](QuestionKind, const std::string&) { return true; });
    benchmark::DoNotOptimize(counts);
    if (counts.added != 1000 || counts.changed != 1000) state.SkipWithError("wrong counts");
  }
}
BENCHMARK(BM_MergeExtraction)->Unit(benchmark::kMillisecond);

void BM_RecomputeListing(benchmark::State& state) {
  std::mt19937 random(7);
  Lines members;
  for (int i = 0; i < 5000; ++i) {
    MemberRecord record;
    record.set(field::kLicence, std::to_string(1000000 + i));
    record.set(field::kTitle, random() % 2 ? "M." : "Mme");
    record.set(field::kLastName,
               std::string(1, static_cast<char>('A' + random() % 26)) + "NOM" + std::to_string(i));
    record.set(field::kValueIndex, std::to_string(random() % 101));
    record.set(field::kLicenceKind, random() % 3 ? "Licence" : "Licence Senior");
    record.set(field::kAge, std::to_string(10 + random() % 85));
    record.set(field::kLastDuesPosting,
               random() % 5 ? std::to_string(1 + random() % 28) + "/09/2026" : "");
    record.set(field::kBalance, std::to_string(static_cast<int>(random() % 20000) - 10000));
    record.set(field::kMailConvocations, random() % 4 ? "OUI" : "NON");
    members.push_back(record.ToLine());
  }
  ListingCriteria criteria;
  criteria.byName = true;
  criteria.minLetter = 'B';
  criteria.maxLetter = 'X';
  criteria.byIndex = true;
  criteria.minIndex = 20;
  criteria.maxIndex = 90;
  criteria.byAge = true;
  criteria.minAge = 15;
  criteria.maxAge = 85;
  criteria.byBalance = true;
  criteria.minBalance = -90;
  criteria.maxBalance = 90;
  criteria.byLicenceKind = true;
  criteria.licenceKinds = {"Licence", "Licence Senior"};
  criteria.byPayment = true;
  criteria.start = *Date::FromYmd(2026, 9, 1);
  criteria.end = *Date::FromYmd(2026, 9, 30);
  criteria.byMailChoice = true;
  criteria.mailYes = criteria.mailNo = true;
  criteria.bySex = true;
  criteria.women = criteria.men = true;
  for (auto _ : state) {
    const std::vector<int> selection = SelectMembers(members, criteria);
    const ListingStatistics statistics = ComputeStatistics(members, selection);
    benchmark::DoNotOptimize(statistics);
    state.counters["selected"] = static_cast<double>(selection.size());
  }
}
BENCHMARK(BM_RecomputeListing)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
