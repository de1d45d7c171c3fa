// vantrel-cli print annuaire|cotisations|assemblee and export publipostage|csv|html, run as the
// program it is over a hand-made member file: each output is what the listings screen's own
// routine gives for the same members, and failures leave no output.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "members/member_file.h"
#include "members/member_outputs.h"
#include "members/member_reports.h"
#include "reports/qt_environment.h"
#include "reports/report_request_bridge.h"
#include "support/command_run.h"
#include "support/temp_folder.h"

namespace vantrel::members {
namespace {

// The screen side of a comparison: its warnings are the batch side's to report.
void Ignore(const QString&) {}

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::ToolRun;
using testing::WriteFile;

std::string Quoted(const std::string& text) { return testing::ShellQuoted(text); }

// The text of a PDF, as pdftotext -layout reads it (UTF-8).
std::string PdfText(const fs::path& pdf) {
  const fs::path text = pdf.string() + ".txt";
  const std::string command =
      "pdftotext -layout " + Quoted(pdf.string()) + " " + Quoted(text.string());
  if (std::system(command.c_str()) != 0) return "(pdftotext failed)";
  return ReadFile(text);
}

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return *Date::FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::string Member(const std::string& licence, const std::string& title, const std::string& last,
                   const std::string& first, const std::string& balance,
                   const std::string& mail = {}) {
  MemberRecord record;
  record.set(field::kLicence, licence);
  record.set(field::kTitle, title);
  record.set(field::kLastName, last);
  record.set(field::kFirstName, first);
  record.set(field::kValueIndex, "42");
  record.set(field::kAddress1, "12 rue des Tilleuls");
  record.set(field::kPostalCode, "21000");
  record.set(field::kTown, "DIJON");
  record.set(field::kHomePhone, "03 80 12 34 56");
  record.set(field::kMail, mail);
  record.set(field::kLicenceKind, "Licenci\xe9");
  record.set(field::kBalance, balance);
  return record.ToLine();
}

// A club of four members kept in name order, accents and an ampersand included.
class CliMembersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& entry : fs::directory_iterator(fs::path(VANTREL_DATA_DIR) / "templates")) {
      fs::copy_file(entry.path(), m_club.path() / entry.path().filename());
    }
    m_members = {
        Member("04521873", "M.", "DURAND & FILS", "Beno\xeet", "-2550", "paul&fils@example.fr"),
        Member("04521874", "M.", "F\xc9RAUD", "J\xe9r\xf4me", ""),
        Member("04521875", "Mme", "L\311CUYER", "H\xe9l\xe8ne", "999999999", "h@example.fr"),
        Member("04521876", "", "NO\xcbL", "No\xebl", "0"),
    };
    WriteMemberFile(m_club.exerciseFolder(), m_members);
  }

  ToolRun cli(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--dossier", m_club.path().string()});
    return testing::RunTool(VANTREL_CLI, arguments, m_club.path() / "err.txt");
  }

  fs::path out(const std::string& name) const { return m_club.path() / "sorties" / name; }

  ReportRequest request(ListingReport which) const {
    const Settings settings = m_club.settings();
    return ListingReportRequest(which, m_members, WholeFile(m_members), settings.entity,
                                settings.exercise);
  }

  testing::ProgramFolder m_club;
  Lines m_members;
};

TEST_F(CliMembersTest, ExportsAreTheScreensFilesByteForByte) {
  fs::create_directories(out(""));
  const std::string exportBytes = testing::CrLfBytes(ExportLines(m_members, WholeFile(m_members)));
  for (const char* kind : {"publipostage", "csv"}) {
    const fs::path file = out(std::string(kind) + ".txt");
    const ToolRun run = cli({"export", kind, file.string()});
    EXPECT_EQ(0, run.status) << kind << ": " << run.err;
    EXPECT_EQ(exportBytes, ReadFile(file)) << kind;
  }
  // Five lines: the header and the four members, names whole.
  EXPECT_EQ(5u, SplitLines(exportBytes).size());
  EXPECT_NE(std::string::npos, exportBytes.find(";J\xe9r\xf4me;"));
  EXPECT_NE(std::string::npos, exportBytes.find(";-2550;"));

  const fs::path page = out("annuaire.html");
  const ToolRun run = cli({"export", "html", page.string()});
  EXPECT_EQ(0, run.status) << run.err;
  const std::string expected =
      testing::CrLfBytes(DirectoryPage(m_members, WholeFile(m_members), Today()));
  EXPECT_EQ(expected, ReadFile(page));
  EXPECT_NE(std::string::npos, expected.find("DURAND &amp; FILS"));
  EXPECT_NE(std::string::npos, expected.find("L\311CUYER H\xe9l\xe8ne"));
}

TEST_F(CliMembersTest, ListsAsCsvAreTheRecordsOfTheScreensRequest) {
  fs::create_directories(out(""));
  const std::pair<const char*, ListingReport> lists[] = {{"annuaire", ListingReport::kDirectory},
                                                         {"cotisations", ListingReport::kDuesList},
                                                         {"assemblee", ListingReport::kAssembly}};
  for (const auto& [name, which] : lists) {
    const fs::path file = out(std::string(name) + ".csv");
    const ToolRun run = cli({"print", name, file.string()});
    EXPECT_EQ(0, run.status) << name << ": " << run.err;
    std::string expected;
    for (const std::string& record : request(which).records) {
      expected += JoinFields(SplitFields(record)) + "\r\n";
    }
    EXPECT_EQ(expected, ReadFile(file)) << name;
  }
  EXPECT_EQ(m_members, request(ListingReport::kDirectory).records);
}

// The answers the lists are printed with: what the screen hands to its report.
TEST_F(CliMembersTest, RequestsCarryTheTitlesAndTheAnswersOfTheScreen) {
  const ReportRequest directory = request(ListingReport::kDirectory);
  EXPECT_EQ("Gestion_Annuaire.frf", directory.templateFile);
  EXPECT_EQ("Annuaire", directory.title);
  EXPECT_EQ(std::vector<std::string>{}, directory.zeroVariables);
  EXPECT_EQ(ReportValue::Text("Ardevanne"), directory.value("Entite", 4));
  EXPECT_EQ(ReportValue::Text("2026-2027"), directory.value("Exercice", 4));
  EXPECT_EQ(ReportValue::Cents(-2550), directory.value("Solde", 0));
  EXPECT_EQ(ReportValue::Text(""), directory.value("Solde", 1));  // no balance
  EXPECT_EQ(ReportValue::Cents(0), directory.value("Solde", 3));
  EXPECT_EQ(ReportValue::Text("J\xe9r\xf4me"), directory.value("Prenom", 1));
  EXPECT_EQ(ReportValue::Text("OUI"), directory.value("Vote", 1));
  EXPECT_EQ(ReportValue(), directory.value("Inconnu", 0));
  EXPECT_EQ(ReportValue(), directory.value("Nom", 4));  // past the last member

  const ReportRequest dues = request(ListingReport::kDuesList);
  EXPECT_EQ("Gestion_Tresorerie.frf", dues.templateFile);
  EXPECT_EQ("Tresorerie", dues.title);
  const ReportRequest assembly = request(ListingReport::kAssembly);
  EXPECT_EQ("Gestion_Assemble.frf", assembly.templateFile);
  EXPECT_EQ("Assembl\351e", assembly.title);
  EXPECT_EQ(std::vector<std::string>{"Place"}, assembly.zeroVariables);
}

TEST_F(CliMembersTest, ListsAsPdfHaveTheTextOfTheScreensPages) {
  testing::EnsureQtApplication();
  fs::create_directories(out(""));
  const std::pair<const char*, ListingReport> lists[] = {{"annuaire", ListingReport::kDirectory},
                                                         {"cotisations", ListingReport::kDuesList},
                                                         {"assemblee", ListingReport::kAssembly}};
  for (const auto& [name, which] : lists) {
    const fs::path file = out(std::string(name) + ".pdf");
    const ToolRun run = cli({"print", name, file.string()});
    ASSERT_EQ(0, run.status) << name << ": " << run.err;
    const fs::path screen = out(std::string(name) + "-ecran.pdf");
    WriteBytes(screen,
               reports::PdfBytes(reports::PrepareRequest(request(which), m_club.path(), Ignore), screen));
    const std::string text = PdfText(file);
    EXPECT_EQ(PdfText(screen), text) << name;
    for (const char* whole : {"J\u00e9r\u00f4me", "L\u00c9CUYER", "NO\u00cbL", "DURAND & FILS"}) {
      EXPECT_NE(std::string::npos, text.find(whole)) << name << ": " << whole << "\n" << text;
    }
  }
}

// One envelope per member, in file order, each the consultation screen's envelope of him.
TEST_F(CliMembersTest, EnvelopesAreTheConsultationEnvelopesOneAfterTheOther) {
  testing::EnsureQtApplication();
  fs::create_directories(out(""));
  const fs::path file = out("enveloppes.pdf");
  const ToolRun run = cli({"print", "enveloppes", file.string()});
  ASSERT_EQ(0, run.status) << run.err;
  std::string expected;
  for (std::size_t m = 0; m < m_members.size(); ++m) {
    const fs::path one = out("enveloppe-" + std::to_string(m) + ".pdf");
    WriteBytes(one,
               reports::PdfBytes(
                   reports::PrepareRequest(EnvelopeRequest(m_members[m]), m_club.path(), Ignore), one));
    expected += PdfText(one);
  }
  const std::string text = PdfText(file);
  EXPECT_EQ(expected, text);
  EXPECT_NE(std::string::npos, text.find("Mme L\u00c9CUYER H\u00e9l\u00e8ne")) << text;
  EXPECT_NE(std::string::npos, text.find("NO\u00cbL No\u00ebl")) << text;

  const ReportRequest envelope = EnvelopeRequest(m_members[1]);
  EXPECT_EQ("Gestion_Enveloppes.frf", envelope.templateFile);
  EXPECT_EQ("", envelope.title);
  EXPECT_EQ(Lines{}, envelope.records);
  EXPECT_EQ(ReportValue::Text("M. F\xc9RAUD J\xe9r\xf4me"), envelope.value("Nom", 0));
  EXPECT_EQ(ReportValue::Text(""), envelope.value("Adresse3", 0));
  // A blank title leaves its blank in front: the template trims the name.
  EXPECT_EQ(ReportValue::Text(" NO\xcbL No\xebl"), EnvelopeRequest(m_members[3]).value("Nom", 0));
  EXPECT_EQ(ReportValue::Text("DIJON"), envelope.value("Ville", 0));
  EXPECT_EQ(ReportValue(), envelope.value("Numero", 0));

  const fs::path csv = out("enveloppes.csv");
  ASSERT_EQ(0, cli({"print", "enveloppes", csv.string()}).status);
  std::string lines;
  for (const std::string& member : m_members) lines += JoinFields(SplitFields(member)) + "\r\n";
  EXPECT_EQ(lines, ReadFile(csv));

  // No member: nothing to print, and nothing written.
  WriteMemberFile(m_club.exerciseFolder(), {});
  const fs::path none = out("aucune.pdf");
  const ToolRun empty = cli({"print", "enveloppes", none.string()});
  EXPECT_EQ(1, empty.status);
  EXPECT_EQ("Le fichier des adh\u00e9rents est vide : aucune enveloppe \u00e0 imprimer.\n",
            empty.err);
  EXPECT_FALSE(fs::exists(none));
}

TEST_F(CliMembersTest, FailuresLeaveNoOutputAndSayWhyInFrench) {
  fs::create_directories(out(""));
  const fs::path kept = out("garde.csv");
  WriteFile(kept, "ancien\r\n");

  // Bad arguments: usage, status 2.
  const std::vector<std::vector<std::string>> usages = {
      {"export"},
      {"export", "pdf", kept.string()},
      {"export", "csv"},
      {"export", "csv", kept.string(), "de trop"},
      {"print", "annuaire"},
      {"print", "annuaire", out("liste.txt").string()},
      {"print", "enveloppes"},
      {"print", "cotisations", "--detailles", kept.string()},
  };
  for (const auto& arguments : usages) {
    const ToolRun run = cli(arguments);
    std::string shown;
    for (const auto& argument : arguments) shown += argument + " ";
    EXPECT_EQ(2, run.status) << shown;
    EXPECT_NE(std::string::npos, run.err.find("usage : vantrel-cli")) << shown << run.err;
  }

  // A missing member file: status 1, the file message, nothing written.
  fs::remove(MemberFilePath(m_club.exerciseFolder()));
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"export", "csv", kept.string()},
        std::vector<std::string>{"export", "html", kept.string()},
        std::vector<std::string>{"print", "assemblee", kept.string()},
        std::vector<std::string>{"print", "enveloppes", kept.string()}}) {
    const ToolRun run = cli(arguments);
    EXPECT_EQ(1, run.status) << arguments[1];
    EXPECT_NE(std::string::npos, run.err.find("Impossible d'ouvrir le fichier")) << run.err;
    EXPECT_EQ("ancien\r\n", ReadFile(kept)) << arguments[1];
  }
  WriteMemberFile(m_club.exerciseFolder(), m_members);

  // An output that cannot be created: status 1, nothing left behind.
  const fs::path nowhere = out("absent") / "liste.csv";
  const ToolRun run = cli({"export", "publipostage", nowhere.string()});
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("Impossible de cr\u00e9er le fichier")) << run.err;
  EXPECT_FALSE(fs::exists(out("absent")));
  const ToolRun pdf = cli({"print", "annuaire", (out("absent") / "liste.pdf").string()});
  EXPECT_EQ(1, pdf.status);
  EXPECT_FALSE(fs::exists(out("absent")));
}

}  // namespace
}  // namespace vantrel::members
