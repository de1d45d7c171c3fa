// The member card's steps on a club of 5,000 members: read "Joueur.DBP", sort it, write it.
// Goal: each step under 20 ms.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>

#include "core/date.h"
#include "core/record_file.h"
#include "members/member_file.h"

namespace {

namespace fs = std::filesystem;
using vantrel::Lines;
using namespace vantrel::members;

constexpr int kMembers = 5000;

// Last names drawn from a small pool, so that many members share one (as families do).
Lines MakeMembers(unsigned seed) {
  static const char* const kNames[] = {"MARTIN",  "BERNARD", "DUBOIS",     "THOMAS", "ROBERT",
                                       "RICHARD", "PETIT",   "DURAND",     "LEROY",  "MOREAU",
                                       "SIMON",   "LAURENT", "LEF\xc8VRE", "MICHEL", "GARCIA"};
  static const char* const kFirst[] = {"Jean",         "Marie",  "Pierre",  "Anne",     "Jacques",
                                       "Fran\xe7oise", "Michel", "Monique", "Andr\xe9", "Sylvie"};
  std::mt19937 random(seed);
  Lines members;
  for (int i = 0; i < kMembers; ++i) {
    MemberRecord record;
    record.set(field::kLicence, std::to_string(10000000 + random() % 9000000));
    record.set(field::kTitle, random() % 2 ? "M." : "Mme");
    record.set(field::kLastName,
               std::string(kNames[random() % 15]) + std::to_string(random() % 400));
    record.set(field::kFirstName, kFirst[random() % 10]);
    record.set(field::kValueIndex, std::to_string(random() % 300));
    record.set(field::kAddress1, std::to_string(random() % 90) + " avenue de la R\xe9publique");
    record.set(field::kPostalCode, "75011");
    record.set(field::kTown, "PARIS");
    record.set(field::kHomePhone, "01 43 55 12 34");
    record.set(field::kMail, "membre" + std::to_string(i) + "@example.fr");
    record.set(field::kBirthDate, "21/06/1958");
    record.set(field::kLicenceKind, "Licence Senior");
    record.set(field::kAge, "68");
    record.set(field::kLastDuesPosting, "12/09/2026");
    record.setDuesLine(0, {"7560", "Cotisations des membres", "4000", "V"});
    record.setPaymentLine(0, {"5120", "Banque - compte courant", "4000", "V"});
    for (int k = 1; k < kDuesLineCount; ++k) record.setDuesLine(k, {});
    for (int k = 1; k < kPaymentLineCount; ++k) record.setPaymentLine(k, {});
    record.set(field::kBalance, "0");
    record.set(field::kMailConvocations, "OUI");
    members.push_back(record.ToLine());
  }
  return members;
}

class Folder {
 public:
  Folder() : m_path(fs::temp_directory_path() / ("vantrel-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(m_path);
  }
  ~Folder() { fs::remove_all(m_path); }
  const fs::path& path() const { return m_path; }

 private:
  fs::path m_path;
};

void BM_ReadMemberFile(benchmark::State& state) {
  Folder folder;
  WriteMemberFile(folder.path(), MakeMembers(1));
  for (auto _ : state) benchmark::DoNotOptimize(ReadMemberFile(folder.path()));
}
BENCHMARK(BM_ReadMemberFile)->Unit(benchmark::kMillisecond);

void BM_WriteMemberFile(benchmark::State& state) {
  Folder folder;
  const Lines members = MakeMembers(1);
  for (auto _ : state) WriteMemberFile(folder.path(), members);
}
BENCHMARK(BM_WriteMemberFile)->Unit(benchmark::kMillisecond);

enum Order { kSortedPlusNew, kShuffled, kReversed };

// The card sorts a sorted file with its new or changed record; an import brings any order;
// reversed is the exchange sort's worst case.
void BM_SortMembers(benchmark::State& state) {
  Lines input = MakeMembers(2);
  const auto order = static_cast<Order>(state.range(0));
  if (order != kShuffled) SortMembers(input, field::kLastName, SortVariant::kMemberCard);
  if (order == kSortedPlusNew) input.push_back(NewMemberLine(*vantrel::Date::FromYmd(2026, 9, 1)));
  if (order == kReversed) std::reverse(input.begin(), input.end());
  const auto variant = state.range(1) ? SortVariant::kConsultation : SortVariant::kMemberCard;
  for (auto _ : state) {
    state.PauseTiming();
    Lines members = input;
    state.ResumeTiming();
    benchmark::DoNotOptimize(
        SortMembers(members, field::kLastName, variant, static_cast<int>(members.size()) - 1));
  }
}
BENCHMARK(BM_SortMembers)
    ->ArgsProduct({{kSortedPlusNew, kShuffled, kReversed}, {0, 1}})
    ->ArgNames({"order", "tie"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
