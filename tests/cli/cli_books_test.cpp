// vantrel-cli print journal|compte|balance|plan|resultat|bilan over a hand-made club with
// three exercises.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "accounting/posting.h"
#include "support/command_run.h"
#include "support/temp_folder.h"

namespace vantrel::accounting {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::ToolRun;
using testing::WriteFile;

std::string Quoted(const std::string& text) { return testing::ShellQuoted(text); }

// Runs vantrel-cli --dossier folder with arguments; standard error is kept apart.
ToolRun Cli(const fs::path& folder, std::vector<std::string> arguments, const fs::path& errFile) {
  arguments.insert(arguments.begin(), {"--dossier", folder.string()});
  return testing::RunTool(VANTREL_CLI, arguments, errFile);
}

// The text of a PDF, as pdftotext -layout reads it (UTF-8).
std::string PdfText(const fs::path& pdf) {
  const fs::path text = pdf.string() + ".txt";
  const std::string command =
      "pdftotext -layout " + Quoted(pdf.string()) + " " + Quoted(text.string());
  if (std::system(command.c_str()) != 0) return "(pdftotext failed)";
  std::string read = ReadFile(text);
  // The PDF keeps the font's "fi" ligature as one character.
  for (std::size_t at; (at = read.find("\uFB01")) != std::string::npos;) read.replace(at, 3, "fi");
  return read;
}

JournalEntry Entry(const std::string& date, const std::string& label,
                   std::initializer_list<EntryGroup> groups) {
  JournalEntry entry{date, label, {}};
  std::size_t g = 0;
  for (const auto& group : groups) entry.groups[g++] = group;
  return entry;
}

// A club with three exercises. Current 2026-2027: profit 133,26; 2025-2026: loss 225,00;
// 2024-2025: profit 130,00. Account 6999 is not in the chart, 6068 has a ledger in 2025-2026
// only.
class CliBooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(m_club.path() / "Vantrel.ini",
              "[Fichier]\r\nEntit\xe9=Bridge Club d'Ardevanne\r\nSigle=BCA\r\n"
              "Exercice=2026-2027\r\nExercice1=2025-2026\r\nbilan=2024-2025\r\n");
    for (const auto& entry : fs::directory_iterator(fs::path(VANTREL_DATA_DIR) / "templates")) {
      fs::copy_file(entry.path(), m_club.path() / entry.path().filename());
    }
    const std::string chart = ReadFile(fs::path(VANTREL_DATA_DIR) / "2026-2027/Plan_Comptable.dbp");
    for (const char* year : {"2026-2027", "2025-2026", "2024-2025"}) {
      WriteFile(m_club.path() / year / "Plan_Comptable.dbp", chart);
    }
    const fs::path y1 = current();
    PostJournalEntry(y1, Entry("01/09/2026", "Report \xe0 nouveau",
                               {{"5120", "Banque", "50000", ""}, {"1020", "Fonds", "", "50000"}}));
    PostJournalEntry(
        y1, Entry("05/09/2026",
                  "Cotisation J\xe9r\xf4me L\xc9"
                  "CUYER",
                  {{"5120", "Banque", "45000", ""}, {"7560", "Cotisations", "", "45000"}}));
    PostJournalEntry(y1, Entry("15/09/2026", "Droits de table",
                               {{"5300", "Caisse", "12050", ""}, {"7060", "Droits", "", "12050"}}));
    PostJournalEntry(y1, Entry("20/10/2026", "Cartes et \xe9tuis",
                               {{"6063", "Petit \xe9quipement", "8990", ""},
                                {"6061", "Fournitures", "3500", ""},
                                {"5120", "Banque", "", "12490"}}));
    PostJournalEntry(y1,
                     Entry("05/11/2026", "Location salle No\xebl",
                           {{"6130", "Locations", "30000", ""}, {"5120", "Banque", "", "30000"}}));
    PostJournalEntry(y1, Entry("10/12/2026", "Frais divers",
                               {{"6999", "Divers", "1234", ""}, {"5300", "Caisse", "", "1234"}}));
    PostJournalEntry(y1, Entry("15/01/2027", "Versement caisse",
                               {{"5120", "Banque", "10000", ""}, {"5300", "Caisse", "", "10000"}}));

    const fs::path y2 = m_club.path() / "2025-2026";
    PostJournalEntry(y2, Entry("01/09/2025", "Cotisations",
                               {{"5120", "Banque", "40000", ""}, {"7560", "Cot", "", "40000"}}));
    PostJournalEntry(y2, Entry("02/09/2025", "Location",
                               {{"6130", "Loc", "60000", ""}, {"5120", "Banque", "", "60000"}}));
    PostJournalEntry(y2, Entry("03/09/2025", "Report",
                               {{"5120", "Banque", "70000", ""}, {"1020", "Fonds", "", "70000"}}));
    PostJournalEntry(y2, Entry("04/09/2025", "Lots",
                               {{"6068", "Lots", "2500", ""}, {"5300", "Caisse", "", "2500"}}));

    const fs::path y3 = m_club.path() / "2024-2025";
    PostJournalEntry(y3, Entry("01/09/2024", "Cotisations",
                               {{"5120", "Banque", "38000", ""}, {"7560", "Cot", "", "38000"}}));
    PostJournalEntry(y3, Entry("02/09/2024", "Location",
                               {{"6130", "Loc", "25000", ""}, {"5120", "Banque", "", "25000"}}));

    // VANTREL_CLI_SAMPLE=folder keeps a copy of the club to look at by hand.
    if (const char* keep = std::getenv("VANTREL_CLI_SAMPLE")) {
      fs::remove_all(keep);
      fs::copy(m_club.path(), keep, fs::copy_options::recursive);
    }
  }

  fs::path current() const { return m_club.path() / "2026-2027"; }
  fs::path out(const std::string& name) const { return m_outputs.path() / name; }
  ToolRun run(const std::vector<std::string>& arguments) {
    return Cli(m_club.path(), arguments, m_outputs.path() / "stderr.txt");
  }
  // Runs print ... OUT and expects success.
  std::string printed(std::vector<std::string> arguments, const std::string& name) {
    arguments.insert(arguments.begin(), "print");
    arguments.push_back(out(name).string());
    const ToolRun result = run(arguments);
    EXPECT_EQ(0, result.status) << name << ": " << result.err;
    EXPECT_EQ("", result.err) << name;
    return name.ends_with(".pdf") ? PdfText(out(name)) : ReadFile(out(name));
  }
  // Expects every piece in text, in that order.
  static void ExpectInOrder(const std::string& text, const std::vector<std::string>& pieces,
                            const std::string& what) {
    std::size_t at = 0;
    for (const auto& piece : pieces) {
      const std::size_t found = text.find(piece, at);
      EXPECT_NE(std::string::npos, found)
          << what << ": no \"" << piece << "\" after " << at << " in\n"
          << text;
      if (found != std::string::npos) at = found + piece.size();
    }
  }

  testing::TempFolder m_club;
  testing::TempFolder m_outputs;
};

TEST_F(CliBooksTest, TrialBalance) {
  EXPECT_EQ(
      "1020;Fonds associatifs sans droit de reprise;;50000;;50000;\r\n"
      "5120;Banque - compte courant;105000;42490;62510;;\r\n"
      "5300;Caisse;12050;11234;816;;\r\n"
      "6061;Fournitures non stockables (eau, \xe9nergie);3500;;3500;;\r\n"
      "6063;Petit \xe9quipement et mat\xe9riel de bridge;8990;;8990;;\r\n"
      "6130;Locations (salle, mat\xe9riel);30000;;30000;;\r\n"
      "6999;PAS DANS LE PLAN;1234;;1234;;\r\n"
      "7060;Droits de table des tournois;;12050;;12050;\r\n"
      "7560;Cotisations des membres;;45000;;45000;\r\n",
      printed({"balance"}, "balance.csv"));
  ExpectInOrder(
      printed({"balance"}, "balance.pdf"),
      {"Bridge Club d'Ardevanne", "Balance de v\u00e9rification - exercice 2026-2027",
       "1020 Fonds associatifs sans droit de reprise", "500,00", "500,00",
       "5120 Banque - compte courant", "1050,00", "424,90", "625,10", "6999 PAS DANS LE PLAN",
       "12,34", "12,34", "Totaux", "1607,74", "1607,74", "1070,50", "1070,50", "Page 1 / 1"},
      "balance.pdf");
}

TEST_F(CliBooksTest, JournalAndLedger) {
  const std::string csv = printed({"journal"}, "journal.csv");
  EXPECT_EQ(ReadFile(current() / "Journal.dbp"), csv);
  ExpectInOrder(printed({"journal"}, "journal.pdf"),
                {"Livre journal - exercice 2026-2027",
                 "01/09/2026",
                 "Report \u00e0 nouveau",
                 "5120 Banque",
                 "500,00",
                 "1020 Fonds",
                 "500,00",
                 "Cotisation J\u00e9r\u00f4me L\u00c9CUYER",
                 "Cartes et \u00e9tuis",
                 "6063",
                 "89,90",
                 "6061",
                 "35,00",
                 "5120",
                 "124,90",
                 "Location salle No\u00ebl",
                 "Total du journal",
                 "1607,74",
                 "1607,74",
                 "Total de la page",
                 "1607,74",
                 "1607,74"},
                "journal.pdf");

  EXPECT_EQ(ReadFile(current() / "5300.dbp"), printed({"compte", "5300"}, "caisse.csv"));
  ExpectInOrder(printed({"compte", "5300"}, "caisse.pdf"),
                {"Grand livre - exercice 2026-2027",
                 "5300 Caisse",
                 "3",
                 "15/09/2026",
                 "Droits de table",
                 "120,50",
                 "120,50",
                 "6",
                 "Frais divers",
                 "12,34",
                 "108,16",
                 "7",
                 "Versement caisse",
                 "100,00",
                 "8,16",
                 "Totaux et solde du compte",
                 "120,50",
                 "112,34",
                 "8,16",
                 "Compte: Caisse"},
                "caisse.pdf");
}

TEST_F(CliBooksTest, AccountsInUse) {
  const std::string csv = printed({"plan"}, "plan.csv");
  EXPECT_EQ(
      "1020;Fonds associatifs sans droit de reprise;Bilan;N;2026-2027;\r\n"
      "5120;Banque - compte courant;Bilan;V;2026-2027;\r\n"
      "5300;Caisse;Bilan;V;2026-2027;\r\n"
      "6061;Fournitures non stockables (eau, \xe9nergie);R\xe9sultat;N;2026-2027;\r\n"
      "6063;Petit \xe9quipement et mat\xe9riel de bridge;R\xe9sultat;N;2026-2027;\r\n"
      "6130;Locations (salle, mat\xe9riel);R\xe9sultat;N;2026-2027;\r\n"
      "6999;PAS DANS LE PLAN;;N;;\r\n"
      "7060;Droits de table des tournois;R\xe9sultat;N;2026-2027;\r\n"
      "7560;Cotisations des membres;R\xe9sultat;C;2026-2027;\r\n",
      csv);
  ExpectInOrder(printed({"plan"}, "plan.pdf"),
                {"Plan Comptable - exercice 2026-2027", "1020", "Fonds associatifs", "Bilan",
                 "6999", "PAS DANS LE PLAN", "7560", "Cotisations des membres", "9 compte(s)"},
                "plan.pdf");
}

TEST_F(CliBooksTest, IncomeStatementInItsThreeForms) {
  EXPECT_EQ(
      "1;6061 Fournitures non stockables (eau, \xe9nergie);3500;;;1;\r\n"
      "1;6063 Petit \xe9quipement et mat\xe9riel de bridge;8990;;;1;\r\n"
      "1;6068 Lots et r\xe9"
      "compenses;;2500;;1;\r\n"
      "1;6130 Locations (salle, mat\xe9riel);30000;60000;25000;1;\r\n"
      "1;6999 PAS DANS LE PLAN 2026-2027;1234;;;1;\r\n"
      "0;7060 Droits de table des tournois;-12050;;;1;\r\n"
      "0;7560 Cotisations des membres;-45000;-40000;-38000;1;\r\n",
      printed({"resultat", "--normaux"}, "resultat-n.csv"));
  // 6130 and 7560 are in the chart: their own headings; 6999 falls under 6780.
  const std::string detailed =
      "1;6060 ACHATS NON STOCKES;12490;2500;0;1;\r\n"
      "1;6061 Fournitures non stockables (eau, \xe9nergie);3500;;;0;\r\n"
      "1;6063 Petit \xe9quipement et mat\xe9riel de bridge;8990;;;0;\r\n"
      "1;6068 Lots et r\xe9"
      "compenses;;2500;;0;\r\n"
      "1;6130 Locations (salle, mat\xe9riel);30000;60000;25000;1;\r\n"
      "1;6780 Autres charges exceptionnelles;1234;0;0;1;\r\n"
      "1;6999 PAS DANS LE PLAN 2026-2027;1234;;;0;\r\n"
      "0;7060 Droits de table des tournois;-12050;0;0;1;\r\n"
      "0;7560 Cotisations des membres;-45000;-40000;-38000;1;\r\n";
  EXPECT_EQ(detailed, printed({"resultat"}, "resultat-d.csv"));  // the default form
  EXPECT_EQ(detailed, printed({"resultat", "--detailles"}, "resultat-d2.csv"));
  EXPECT_EQ(
      "1;6060 ACHATS NON STOCKES;12490;2500;0;1;\r\n"
      "1;6130 Locations (salle, mat\xe9riel);30000;60000;25000;1;\r\n"
      "1;6780 Autres charges exceptionnelles;1234;0;0;1;\r\n"
      "0;7060 Droits de table des tournois;-12050;0;0;1;\r\n"
      "0;7560 Cotisations des membres;-45000;-40000;-38000;1;\r\n",
      printed({"resultat", "--regroupes"}, "resultat-r.csv"));

  ExpectInOrder(printed({"resultat"}, "resultat.pdf"),
                {"Compte de r\u00e9sultat - exercice 2026-2027",
                 "2026-2027",
                 "2025-2026",
                 "2024-2025",
                 "Charges",
                 "6060 ACHATS NON STOCKES",
                 "124,90",
                 "25,00",
                 "6061 Fournitures",
                 "35,00",
                 "Total des charges",
                 "437,24",
                 "625,00",
                 "250,00",
                 "Produits",
                 "7060 Droits de table",
                 "120,50",
                 "Total des produits",
                 "570,50",
                 "400,00",
                 "380,00",
                 "R\u00e9sultat",
                 "133,26",
                 "-225,00",
                 "130,00"},
                "resultat.pdf");
}

TEST_F(CliBooksTest, BalanceSheetWithBothResultLines) {
  EXPECT_EQ(
      "1;1020 Fonds associatifs sans droit de reprise;-50000;-70000;;1;\r\n"
      "1;1210 R\xe9sultat de l\x92"
      "exercice (b\xe9n\xe9"
      "fice);-13326;;-13000;1;\r\n"
      "1;1290 R\xe9sultat de l\x92"
      "exercice (perte);;22500;;1;\r\n"
      "0;5120 Banque - compte courant;62510;50000;13000;1;\r\n"
      "0;5300 Caisse;816;-2500;;1;\r\n",
      printed({"bilan", "--normaux"}, "bilan-n.csv"));
  EXPECT_EQ(
      "1;1020 Fonds associatifs sans droit de reprise;-50000;-70000;0;1;\r\n"
      "1;1210 R\xe9sultat de l\x92"
      "exercice (b\xe9n\xe9"
      "fice);-13326;0;-13000;1;\r\n"
      "1;1290 R\xe9sultat de l\x92"
      "exercice (perte);0;22500;0;1;\r\n"
      "0;5120 Banque - compte courant;62510;50000;13000;1;\r\n"
      "0;5300 Caisse;816;-2500;0;1;\r\n",
      printed({"bilan", "--regroupes"}, "bilan-r.csv"));
  ExpectInOrder(printed({"bilan"}, "bilan.pdf"),
                {"Bilan - exercice 2026-2027",
                 "Passif",
                 "1020 Fonds associatifs",
                 "500,00",
                 "700,00",
                 "1210 R\u00e9sultat de l\u2019exercice (b\u00e9n\u00e9fice)",
                 "133,26",
                 "130,00",
                 "1290 R\u00e9sultat de l\u2019exercice (perte)",
                 "-225,00",
                 "Actif",
                 "5120 Banque",
                 "625,10",
                 "500,00",
                 "130,00",
                 "5300 Caisse",
                 "8,16",
                 "-25,00",
                 "Total du passif",
                 "633,26",
                 "475,00",
                 "130,00",
                 "Total de l'actif",
                 "633,26",
                 "475,00",
                 "130,00",
                 "Disponibilit\u00e9s de l'exercice 2026-2027 : 633,26"},
                "bilan.pdf");
}

TEST_F(CliBooksTest, FailuresWriteNothingAndExitOne) {
  // A ledger balance that is not a whole number stops the statements.
  WriteFile(m_club.path() / "2024-2025" / "5300.dbp", "1;x;A;;;;;12,5;\r\n");
  WriteFile(out("kept.pdf"), "old bytes");
  for (const char* report : {"resultat", "bilan"}) {
    for (const char* name : {"kept.pdf", "new.csv"}) {
      const ToolRun result = run({"print", report, out(name).string()});
      EXPECT_EQ(1, result.status) << report << " " << name;
      EXPECT_EQ("'12,5' n'est pas une valeur enti\u00e8re correcte\n", result.err) << report;
      EXPECT_EQ("", result.out);
    }
  }
  EXPECT_EQ("old bytes", ReadFile(out("kept.pdf")));
  EXPECT_FALSE(fs::exists(out("new.csv")));

  // A ledger total that is not a whole number stops the trial balance.
  WriteFile(current() / "6130.dbp", "1;x;A;;;300x;;0;\r\n");
  ToolRun result = run({"print", "balance", out("b.pdf").string()});
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("'300x' n'est pas une valeur enti\u00e8re correcte\n", result.err);

  // An account without a ledger, a missing journal, a missing template.
  result = run({"print", "compte", "4110", out("c.csv").string()});
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("Impossible d'ouvrir le fichier " + (current() / "4110.dbp").string() + "\n",
            result.err);
  fs::remove(current() / "Journal.dbp");
  result = run({"print", "journal", out("j.csv").string()});
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("Impossible d'ouvrir le fichier " + (current() / "Journal.dbp").string() + "\n",
            result.err);
  fs::remove(m_club.path() / "Gestion_Plan.frf");
  result = run({"print", "plan", out("p.pdf").string()});
  EXPECT_EQ(1, result.status);
  EXPECT_EQ(
      "Impossible d'ouvrir le fichier " + (m_club.path() / "Gestion_Plan.frf").string() + "\n",
      result.err);
  EXPECT_EQ(0, run({"print", "plan", out("p.csv").string()}).status);  // CSV needs no template
  for (const char* name : {"b.pdf", "c.csv", "j.csv", "p.pdf"}) {
    EXPECT_FALSE(fs::exists(out(name))) << name;
  }
}

// A batch run has nobody to look at a preview: a figure cut in its box, or a running total
// that cannot be computed, writes no file; every warning is on standard error.
TEST_F(CliBooksTest, AWrongFigureWritesNothing) {
  const fs::path model = m_club.path() / "Gestion_Balance.frf";
  const std::string shipped = ReadFile(model);
  const auto changed = [&](const std::string& from, const std::string& to) {
    std::string text = shipped;
    const std::size_t at = text.find(from);
    EXPECT_NE(std::string::npos, at) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    WriteFile(model, text);
  };
  WriteFile(out("kept.pdf"), "old bytes");

  changed("<field name=\"Total d\u00e9bit\" x=\"78\" y=\"0.3\" width=\"27\"",
          "<field name=\"Total d\u00e9bit\" x=\"78\" y=\"0.3\" width=\"4\"");
  ToolRun result = run({"print", "balance", out("kept.pdf").string()});
  EXPECT_EQ(1, result.status);
  EXPECT_NE(std::string::npos,
            result.err.find("enregistrement 2 : \u00ab 1050,00 \u00bb ne tient pas dans sa case"))
      << result.err;
  EXPECT_TRUE(result.err.starts_with("Avertissement : Bande \u00ab D\u00e9tail \u00bb (ligne "))
      << result.err;
  EXPECT_TRUE(result.err.ends_with(
      "L'\u00e9tat n'est pas \u00e9crit : sans aper\u00e7u pour le voir, une valeur "
      "coup\u00e9e ou inconnue le rendrait faux (" +
      std::to_string(std::count(result.err.begin(), result.err.end(), '\n') - 1) +
      " avertissement(s) du mod\u00e8le " + model.string() + ")\n"))
      << result.err;
  EXPECT_EQ("old bytes", ReadFile(out("kept.pdf")));

  changed("TotMD := TotMD + MdebitBal", "TotMD := TotMD + NomBal");
  result = run({"print", "balance", out("new.pdf").string()});
  EXPECT_EQ(1, result.status);
  EXPECT_NE(std::string::npos,
            result.err.find("), enregistrement 1 : le calcul \u00ab TotMD := TotMD + NomBal \u00bb "
                            "ne peut pas \u00eatre "
                            "fait (\u00ab 1020 Fonds associatifs sans droit de reprise \u00bb "
                            "n'est pas un nombre) ; l'\u00e9tat n'est pas imprim\u00e9\n"))
      << result.err;
  EXPECT_FALSE(fs::exists(out("new.pdf")));

  // The records need no template: the spreadsheet output is still written.
  EXPECT_EQ(0, run({"print", "balance", out("new.csv").string()}).status);
}

TEST_F(CliBooksTest, BadArgumentsPrintTheUsageAndExitTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {"print", "compte", "53", out("x.csv").string()},
      {"print", "compte", out("x.csv").string()},
      {"print", "balance", out("x.txt").string()},
      {"print", "bilan", "--tout", out("x.pdf").string()},
      {"print", "resultat", "--normaux", "--regroupes", out("x.pdf").string()},
      {"print", "journal"},
  };
  for (const auto& arguments : cases) {
    const ToolRun result = run(arguments);
    EXPECT_EQ(2, result.status) << arguments[1] << " " << arguments.size();
    EXPECT_NE(std::string::npos, result.err.find("usage : vantrel-cli")) << result.err;
  }
  EXPECT_FALSE(fs::exists(out("x.csv")));
}

}  // namespace
}  // namespace vantrel::accounting
