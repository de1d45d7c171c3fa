// Activation of the accounting and member screens, the files read and the grids filled, on a
// large club: the member card over 5,000 members, the entry screen over an exercise of 200
// ledgers and 10,000 entries, the chart screen and the settings screen over a chart of 200
// accounts. Goal: each activation under 50 ms.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <filesystem>
#include <random>
#include <string>

#include "accounting/chart_screen.h"
#include "accounting/entry_screen.h"
#include "accounting/settings_screen.h"
#include "core/record_file.h"
#include "members/member_card_screen.h"
#include "members/member_file.h"
#include "platform/app_context.h"
#include "platform/qt_platform.h"

namespace {

namespace fs = std::filesystem;
using vantrel::Lines;
namespace members = vantrel::members;

constexpr int kMembers = 5000;
constexpr int kAccounts = 200;
constexpr int kEntries = 10000;

// A program folder holding one exercise of a large club; removed at the end of the run.
class Club {
 public:
  Club() {
    m_path = fs::temp_directory_path() / ("vantrel-screens-bench-" + std::to_string(::getpid()));
    fs::create_directories(exercise());
    std::mt19937 random(7);
    writeChart();
    writeMembers(random);
    writeBooks(random);
    vantrel::WriteLines(m_path / "Vantrel.ini",
                        {"[Fichier]", "Entit\xe9=Ardevanne", "Sigle=KVR", "Exercice=2026-2027"});
  }
  ~Club() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
  }
  const fs::path& path() const { return m_path; }
  fs::path exercise() const { return m_path / "2026-2027"; }
  std::string account(int i) const { return std::to_string(5000 + 10 * i).substr(0, 4); }

 private:
  // 200 accounts from 5000 on (5000, 5010, ... 6990): the first ten payment accounts, the
  // next ten dues accounts.
  void writeChart() {
    Lines chart;
    Lines dues;
    for (int i = 0; i < kAccounts; ++i) {
      const std::string link = i < 10 ? "V" : i < 20 ? "C" : "N";
      chart.push_back(account(i) + ";Compte num\xe9ro " + std::to_string(i) + ";Bilan;" + link +
                      ";2026-2027;");
      if (link == "C") dues.push_back(account(i) + ";Compte;4000");
    }
    vantrel::WriteLines(exercise() / "Plan_Comptable.dbp", chart);
    vantrel::WriteLines(exercise() / "Recette_Joueur.DBP", dues);
    vantrel::WriteLines(exercise() / "Versement_Joueur.DBP", {});
  }

  void writeMembers(std::mt19937& random) {
    Lines lines;
    for (int i = 0; i < kMembers; ++i) {
      members::MemberRecord record;
      record.set(members::field::kLicence, std::to_string(10000000 + i));
      record.set(members::field::kTitle, i % 2 ? "M." : "Mme");
      record.set(members::field::kLastName, "MEMBRE" + std::to_string(100000 + random() % 800000));
      record.set(members::field::kFirstName, "J\xe9r\xf4me");
      record.set(members::field::kAddress1, "12 avenue de la R\xe9publique");
      record.set(members::field::kPostalCode, "75011");
      record.set(members::field::kTown, "PARIS");
      record.set(members::field::kBirthDate, "21/06/1958");
      record.setDuesLine(0, {"7560", "Cotisations des membres", "4000", "V"});
      record.setPaymentLine(0, {"5120", "Banque - compte courant", "4000", "V"});
      for (int k = 1; k < members::kDuesLineCount; ++k) record.setDuesLine(k, {});
      for (int k = 1; k < members::kPaymentLineCount; ++k) record.setPaymentLine(k, {});
      record.set(members::field::kBalance, "0");
      lines.push_back(record.ToLine());
    }
    members::SortMembers(lines, members::field::kLastName, members::SortVariant::kMemberCard);
    members::WriteMemberFile(exercise(), lines);
  }

  // 10,000 two-account entries spread over the 200 ledgers, with their running totals.
  void writeBooks(std::mt19937& random) {
    Lines journal;
    std::vector<Lines> ledgers(kAccounts);
    std::vector<std::pair<long, long>> totals(kAccounts);
    for (int e = 1; e <= kEntries; ++e) {
      const int debit = static_cast<int>(random() % kAccounts);
      const int credit = (debit + 1 + static_cast<int>(random() % (kAccounts - 1))) % kAccounts;
      const std::string amount = std::to_string(100 + random() % 100000);
      const std::string label = "Op\xe9ration " + std::to_string(e);
      journal.push_back("05/03/2027;" + label + ";" + account(debit) + ";Compte;" + amount + ";;" +
                        account(credit) + ";Compte;;" + amount + ";;;;;;;;;;;;;");
      totals[debit].first += std::stol(amount);
      totals[credit].second += std::stol(amount);
      for (int side : {debit, credit}) {
        const auto& [d, c] = totals[side];
        ledgers[side].push_back(std::to_string(e) + ";05/03/2027;" + label + ";" +
                                (side == debit ? amount + ";;" : ";" + amount + ";") +
                                std::to_string(d) + ";" + std::to_string(c) + ";" +
                                std::to_string(d - c) + ";");
      }
    }
    vantrel::WriteLines(exercise() / "Journal.dbp", journal);
    for (int i = 0; i < kAccounts; ++i) {
      vantrel::WriteLines(exercise() / (account(i) + ".dbp"), ledgers[i]);
    }
  }

  fs::path m_path;
};

Club* g_club = nullptr;

struct Screens {
  Screens() : context(desktop) { context.settings = vantrel::LoadSettings(g_club->path()); }
  vantrel::platform::QtPlatform desktop;
  vantrel::AppContext context;
};

template <typename ScreenType>
void Activate(benchmark::State& state) {
  Screens screens;
  ScreenType screen(screens.context);
  screen.resize(1100, 720);
  screen.show();
  QApplication::processEvents();
  for (auto _ : state) {
    screen.activated();
    QApplication::processEvents();
    state.PauseTiming();
    screen.deactivated();
    state.ResumeTiming();
  }
}

void BM_MemberCardActivation(benchmark::State& state) { Activate<vantrel::TFichFin>(state); }
void BM_EntryScreenActivation(benchmark::State& state) { Activate<vantrel::TFichFEntree>(state); }
void BM_ChartScreenActivation(benchmark::State& state) { Activate<vantrel::TFichFPlan>(state); }
void BM_SettingsScreenActivation(benchmark::State& state) { Activate<vantrel::TFichFPar>(state); }

// Choosing an account on the entry screen: its ledger (100 lines) read and shown.
void BM_EntryScreenChooseAccount(benchmark::State& state) {
  Screens screens;
  vantrel::TFichFEntree screen(screens.context);
  screen.resize(1100, 720);
  screen.show();
  screen.activated();
  const QString choice = QStringLiteral("5120  Compte numéro 12");
  for (auto _ : state) {
    screen.onEnterAccount(2);
    screen.Compte[1]->setEditText(choice);
    screen.onLeaveAccount(2);
    QApplication::processEvents();
  }
}

BENCHMARK(BM_MemberCardActivation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EntryScreenActivation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartScreenActivation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettingsScreenActivation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EntryScreenChooseAccount)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  Club club;
  g_club = &club;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
