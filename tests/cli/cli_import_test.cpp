// vantrel-cli import, run as the program it is: counts, the trial run, and failures that
// leave the member file byte-identical.

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/text_helpers.h"
#include "members/member_file.h"
#include "support/command_run.h"
#include "support/temp_folder.h"

namespace vantrel::members {
namespace {

namespace fs = std::filesystem;

using testing::ToolRun;

// A run of vantrel-cli whose err keeps the last line of standard error alone (the toolkit may
// write before it).
ToolRun Cli(const std::vector<std::string>& arguments, const fs::path& errorFile) {
  ToolRun run = testing::RunTool(VANTREL_CLI, arguments, errorFile);
  run.err = testing::LastLine(run.err);
  return run;
}

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return *Date::FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

// A known member exactly as the import would store "12345;M.;Dupont;Jean;1958-06-21;..." today.
std::string KnownMember(const std::string& licence, const std::string& name) {
  MemberRecord record;
  record.set(field::kLicence, licence);
  record.set(field::kTitle, "M.");
  record.set(field::kLastName, name);
  record.set(field::kFirstName, "Jean");
  record.set(field::kLicenceKind, " ");
  record.set(field::kBirthDate, "21/06/1958");
  record.set(field::kAge, MemberAge("21/06/1958", Today()));
  record.set(field::kMailConvocations, "OUI");
  return record.ToLine();
}

std::string PlayerLine(const std::string& licence, const std::string& name,
                       const std::string& town = "") {
  return licence + ";M.;" + name + ";Jean;1958-06-21;;;;" + town + ";;;;;;;;;";
}

class CliImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteMemberFile(m_club.exerciseFolder(),
                    {KnownMember("1", "DUPONT"), KnownMember("2", "MARTIN")});
    m_before = testing::ReadFile(MemberFilePath(m_club.exerciseFolder()));
  }
  std::string extraction(const std::vector<std::string>& players, const char* name = "ffb.csv") {
    std::string text = "Num_licence;Civilite;Nom\r\n";
    for (const auto& p : players) text += p + "\r\n";
    const fs::path path = m_club.path() / name;
    testing::WriteFile(path, text);
    return path.string();
  }
  ToolRun import(const std::vector<std::string>& arguments) {
    std::vector<std::string> all = {"--dossier", m_club.path().string(), "import"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return Cli(all, m_errors.path() / "stderr.txt");
  }
  std::string memberFile() const {
    return testing::ReadFile(MemberFilePath(m_club.exerciseFolder()));
  }

  testing::ProgramFolder m_club;
  testing::TempFolder m_errors;
  std::string m_before;
};

TEST_F(CliImportTest, PrintsTheCountsAndWritesOnce) {
  const std::string file = extraction({PlayerLine("1", "Dupont"), PlayerLine("2", "Martin", "Lyon"),
                                       PlayerLine("3", "Lécuyer"), PlayerLine("4", "Petit")});
  const ToolRun trial = import({file, "--essai"});
  EXPECT_EQ(0, trial.status) << trial.err;
  EXPECT_EQ("2 nouveaux, 1 modifiés, 1 inchangés\n", trial.out);
  EXPECT_EQ(m_before, memberFile());

  const ToolRun never = import({file, "--ajout", "jamais", "--modif", "jamais", "--essai"});
  EXPECT_EQ("0 nouveaux, 0 modifiés, 2 inchangés\n", never.out);

  const ToolRun run = import({file});
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_EQ("2 nouveaux, 1 modifiés, 1 inchangés\n", run.out);
  const Lines after = ReadMemberFile(m_club.exerciseFolder());
  std::vector<std::string> names;
  for (const auto& line : after) names.push_back(FieldAt(line, field::kLastName));
  EXPECT_EQ((std::vector<std::string>{"DUPONT",
                                      "L\xc9"
                                      "CUYER",
                                      "MARTIN", "PETIT"}),
            names);
  EXPECT_EQ("Lyon", FieldAt(after[2], field::kTown));

  const ToolRun again = import({file});
  EXPECT_EQ("0 nouveaux, 0 modifiés, 4 inchangés\n", again.out);
}

TEST_F(CliImportTest, FailuresExitWithOneAndLeaveTheFileByteIdentical) {
  struct Case {
    const char* what;
    std::vector<std::string> players;
    const char* message;
  };
  const Case cases[] = {
      {"licence not a whole number",
       {PlayerLine("3", "Petit"), PlayerLine("12X", "Roux")},
       "'12X' n'est pas une valeur entière correcte"},
      {"unreadable birth date of a new player",
       {PlayerLine("3", "Petit"), "4;M.;Roux;Eve;1958-13-40;;"},
       "'40/13/1958' n'est pas une date correcte"},
  };
  for (const Case& c : cases) {
    const ToolRun run = import({extraction(c.players)});
    EXPECT_EQ(1, run.status) << c.what;
    EXPECT_EQ(c.message, run.err) << c.what;
    EXPECT_EQ("", run.out) << c.what;
    EXPECT_EQ(m_before, memberFile()) << c.what;
  }
  testing::WriteFile(m_club.path() / "titre.csv", "Titre\r\nNum_licence\r\n");
  const ToolRun noHeader = import({(m_club.path() / "titre.csv").string()});
  EXPECT_EQ(1, noHeader.status);
  EXPECT_EQ("Vous avez importé le mauvais type de fichier", noHeader.err);
  const ToolRun missing = import({(m_club.path() / "absent.csv").string()});
  EXPECT_EQ(1, missing.status);
  EXPECT_EQ(m_before, memberFile());
}

TEST_F(CliImportTest, BadArgumentsPrintTheUsage) {
  const std::string file = extraction({PlayerLine("1", "Dupont"), PlayerLine("2", "Martin")});
  for (const auto& args : std::vector<std::vector<std::string>>{
           {file, "--ajout", "parfois"}, {file, "--modif"}, {}, {file, "--vite"}}) {
    const ToolRun run = import(args);
    EXPECT_EQ(2, run.status) << run.err;
    EXPECT_EQ("  results PAGE.htm SORTIE.chr [--k K]", run.err);  // the usage's last line
  }
  EXPECT_EQ(m_before, memberFile());
}

}  // namespace
}  // namespace vantrel::members
