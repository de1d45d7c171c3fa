// The listing screen's recomputation over 5,000 members with every member selected: the
// selection, the counts, both charts and the 20-column grid. Goal: under 50 ms for the
// selection and counts (members_listing_bench); this one shows what the widgets add, and
// under 50 ms for the shown screen's recomputation, its grid drawn included.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QPixmap>
#include <random>
#include <string>

#include "members/listing_screen.h"
#include "members/member_file.h"
#include "platform/app_context.h"
#include "platform/qt_platform.h"

namespace {

using namespace vantrel;

// Recomputes the shown screen's selection; with draw, also paints the grid as the screen
// would show it (its cells are computed from the lines when drawn).
void RecomputeListingScreen(benchmark::State& state, bool draw) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vantrel-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "2026-2027");
  std::mt19937 random(7);
  Lines members;
  for (int i = 0; i < 5000; ++i) {
    members::MemberRecord record;
    record.set(members::field::kLicence, std::to_string(1000000 + i));
    record.set(members::field::kTitle, random() % 2 ? "M." : "Mme");
    record.set(members::field::kLastName, "NOM" + std::to_string(i));
    record.set(members::field::kFirstName, "Pr\xe9nom");
    record.set(members::field::kAddress1, std::to_string(i) + " rue de la R\xe9publique");
    record.set(members::field::kValueIndex, std::to_string(random() % 101));
    record.set(members::field::kAge, std::to_string(10 + random() % 85));
    record.set(members::field::kMail, "m" + std::to_string(i) + "@example.fr");
    members.push_back(record.ToLine());
  }
  members::WriteMemberFile(folder / "2026-2027", members);
  platform::QtPlatform desktop;
  AppContext context(desktop);
  context.settings.programFolder = folder;
  context.settings.exercise = "2026-2027";
  TFichFEdit screen(context);
  screen.resize(1180, 760);
  screen.show();
  screen.activated();
  screen.CheckBoxNom->setChecked(true);
  for (auto _ : state) {
    screen.recompute();
    if (draw) benchmark::DoNotOptimize(screen.StrGr1->grab().width());
    benchmark::DoNotOptimize(screen.selection().size());
  }
  std::filesystem::remove_all(folder);
}

void BM_RecomputeListingScreen(benchmark::State& state) { RecomputeListingScreen(state, false); }
BENCHMARK(BM_RecomputeListingScreen)->Unit(benchmark::kMillisecond);

void BM_RecomputeAndDrawListingGrid(benchmark::State& state) {
  RecomputeListingScreen(state, true);
}
BENCHMARK(BM_RecomputeAndDrawListingGrid)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
