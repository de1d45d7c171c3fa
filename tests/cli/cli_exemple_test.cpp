// vantrel-cli exemple, run as the program it is: the demonstration club as a whole program
// folder, refused over anything but an empty folder, whose books print whole.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/record_file.h"
#include "core/settings.h"
#include "support/command_run.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempFolder;

// vantrel-cli exemple: a whole program folder, refused over anything but an empty folder.
std::string Quoted(const std::string& text) { return testing::ShellQuoted(text); }

TEST(ExempleCommandTest, MakesAProgramFolderAndRefusesAFolderInUse) {
  TempFolder parent;
  const fs::path folder = parent.path() / "Club démo";
  const auto run = testing::RunCommand(Quoted(VANTREL_CLI) + " exemple " + Quoted(folder.string()) +
                                       " 2>/dev/null");
  ASSERT_TRUE(run);
  ASSERT_EQ(0, run->status);
  EXPECT_EQ((folder / "vantrel").string() + "\n", run->output);
  for (const char* name :
       {"vantrel", "vantrel-cli", "Vantrel.ini", "Gestion_Bilan.frf", "Classem_General.frf",
        "2024-2025/Journal.dbp", "2026-2027/Coupe1_Tournoi1.chr"}) {
    EXPECT_TRUE(fs::is_regular_file(folder / name)) << name;
  }
  EXPECT_EQ(LoadSettings(folder).exercise, "2026-2027");

  // The folder now holds a club: a second run leaves it as it is.
  const std::string members = ReadFile(folder / "2026-2027" / "Joueur.DBP");
  const auto again =
      testing::RunCommand(Quoted(VANTREL_CLI) + " exemple " + Quoted(folder.string()) + " 2>&1");
  ASSERT_TRUE(again);
  EXPECT_EQ(1, again->status);
  EXPECT_NE(std::string::npos, again->output.find("n'est pas vide")) << again->output;
  EXPECT_EQ(members, ReadFile(folder / "2026-2027" / "Joueur.DBP"));

  const auto usage = testing::RunCommand(Quoted(VANTREL_CLI) + " exemple 2>/dev/null");
  ASSERT_TRUE(usage);
  EXPECT_EQ(2, usage->status);
}

TEST(ExempleCommandTest, ThePrintedBooksOfTheDemonstrationAreWhole) {
  TempFolder parent;
  const fs::path folder = parent.path() / "club";
  ASSERT_EQ(0, testing::RunCommand(Quoted(VANTREL_CLI) + " exemple " + Quoted(folder.string()) +
                                   " >/dev/null 2>&1")
                   ->status);
  // Every report of the books, through its template, with no value cut or unknown.
  for (const char* report : {"journal", "balance", "plan", "bilan", "resultat"}) {
    const fs::path out = parent.path() / (std::string(report) + ".pdf");
    const auto run =
        testing::RunCommand(Quoted(VANTREL_CLI) + " --dossier " + Quoted(folder.string()) +
                            " print " + report + " " + Quoted(out.string()) + " 2>&1");
    ASSERT_TRUE(run);
    EXPECT_EQ(0, run->status) << report << ": " << run->output;
    EXPECT_TRUE(fs::is_regular_file(out)) << report;
  }
  const auto ranking = testing::RunCommand(Quoted(VANTREL_CLI) + " --dossier " +
                                           Quoted(folder.string()) + " print classement 1 " +
                                           Quoted((parent.path() / "c.csv").string()) + " 2>&1");
  ASSERT_TRUE(ranking);
  EXPECT_EQ(0, ranking->status) << ranking->output;
  EXPECT_GT(ReadLines(parent.path() / "c.csv").size(), 20u);
}

}  // namespace
}  // namespace vantrel
