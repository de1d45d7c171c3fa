#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/record_file.h"

namespace vantrel::members {

// The exports of the listings, "Publipostage.txt" and "Exportation.csv" (the same lines):
// a header line, then one line per member of fields 0 to 4, 6 to 14, 18, 68 and 69 as stored,
// each followed by ";" (Windows-1252, written with CR LF).
//   Numero;Titre;Nom;Prenon;Iv;Adres1;Adres2;Adress3;Code;Ville;Domicile;Bureau;Portable;
//   Courriel;MiseAJour;Solde;Convoc.Cour.;
//   00123456;M.;DUPONT;Jean;12;2 rue Haute;;;75001;PARIS;01 02 03 04 05;;;jean@example.fr;
//   12/09/2026;-2550;OUI;
inline constexpr char kPublipostageFileName[] = "Publipostage.txt";
inline constexpr char kExportationFileName[] = "Exportation.csv";
inline constexpr char kDirectoryPageFileName[] = "Page_Annuaire.html";

// selection: indices into members, in the order to write.
Lines ExportLines(const Lines& members, const std::vector<int>& selection);

// "&", "<", ">" and the double quote as HTML entities; every other byte unchanged.
std::string EscapeHtml(const std::string& text);

// The HTML directory "Page_Annuaire.html", line by line (Windows-1252): a table of name,
// licence, index, telephones and mail address per member, field texts escaped.
Lines DirectoryPage(const Lines& members, const std::vector<int>& selection, Date today);

// The mail addresses of the marked rows in groups of groupSize (at least 1): 120 addresses
// in groups of 50 make groups of 50, 50 and 20.
std::vector<std::vector<std::string>> MailGroups(const std::vector<std::string>& addresses,
                                                 int groupSize);

// The link that opens one message to a group: "mailto: ? &bcc=" + addresses joined by ";"
// in blind copy, else "mailto:" + addresses joined by ";" + " ?".
std::string MailGroupLink(const std::vector<std::string>& group, bool blindCopy);

// The value a listing report asks for by name (compared exactly): a text as stored, or for
// "Solde" a number of cents (nothing when field 68 is empty, then an empty text).
struct ReportAnswer {
  enum class Kind { kText, kCents };
  Kind kind = Kind::kText;
  std::string text;
  std::int64_t cents = 0;
};

// The per-member names ("Numero", "Titre", "Nom", "Prenom", "Indice", "Adress1" to
// "Adress3", "Code", "Ville", "Dommicile", "Bureau", "Portable", "Courriel", "Licence",
// "Solde", "Vote") answered from member; nothing for another name. Throws Error "'%s' n'est
// pas une valeur entière correcte" for a balance that is not a whole number.
std::optional<ReportAnswer> ListingReportValue(const std::string& name, const std::string& member);

// The names every listing report may use, per member and for the whole report ("Entite",
// "Exercice"), for the designer's table.
const std::vector<std::string>& ListingReportNames();

}  // namespace vantrel::members
