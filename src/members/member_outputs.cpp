#include "members/member_outputs.h"

#include <utility>

#include "core/numbers.h"
#include "core/text_helpers.h"
#include "core/version.h"
#include "members/member_file.h"

namespace vantrel::members {
namespace {

constexpr char kExportHeader[] =
    "Numero;Titre;Nom;Prenon;Iv;Adres1;Adres2;Adress3;Code;Ville;Domicile;Bureau;Portable;"
    "Courriel;MiseAJour;Solde;Convoc.Cour.;";

constexpr int kExportFields[] = {
    field::kLicence,         field::kTitle,    field::kLastName,        field::kFirstName,
    field::kValueIndex,      field::kAddress1, field::kAddress2,        field::kAddress3,
    field::kPostalCode,      field::kTown,     field::kHomePhone,       field::kOfficePhone,
    field::kMobilePhone,     field::kMail,     field::kLastDuesPosting, field::kBalance,
    field::kMailConvocations};

constexpr char kRowStart[] = "<TR ALIGN=\"Center\" VALIGN=\"Middle\">";
constexpr char kEmptyCell[] = "<TD>&nbsp;</TD>";

struct NamedField {
  const char* name;
  int field;
};

constexpr NamedField kReportFields[] = {
    {"Numero", field::kLicence},       {"Titre", field::kTitle},
    {"Nom", field::kLastName},         {"Prenom", field::kFirstName},
    {"Indice", field::kValueIndex},    {"Adress1", field::kAddress1},
    {"Adress2", field::kAddress2},     {"Adress3", field::kAddress3},
    {"Code", field::kPostalCode},      {"Ville", field::kTown},
    {"Dommicile", field::kHomePhone},  {"Bureau", field::kOfficePhone},
    {"Portable", field::kMobilePhone}, {"Courriel", field::kMail},
    {"Licence", field::kLicenceKind},  {"Vote", field::kMailConvocations},
};

std::string JoinedBySemicolon(const std::vector<std::string>& addresses) {
  std::string text;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    if (i > 0) text += ';';
    text += addresses[i];
  }
  return text;
}

std::string DirectoryRow(const std::string& member) {
  auto at = [&](int k) { return ExtractField(member, k); };
  std::string row = kRowStart;
  row += "<TD HEIGHT=\"30\">" + EscapeHtml(at(field::kTitle)) + " " +
         EscapeHtml(at(field::kLastName)) + " " + EscapeHtml(at(field::kFirstName)) + "</TD>";
  row += "<TD HEIGHT=\"30\">" + EscapeHtml(at(field::kLicence)) + "</TD>";
  const std::string index = at(field::kValueIndex);
  row += index.empty() ? std::string(kEmptyCell) : "<TD>" + EscapeHtml(index) + "</TD>";
  std::string phones;
  for (const int k : {field::kHomePhone, field::kOfficePhone, field::kMobilePhone}) {
    const std::string phone = at(k);
    if (phone.empty()) continue;
    if (!phones.empty()) phones += "<BR>";
    phones += EscapeHtml(phone);
  }
  row += phones.empty() ? std::string(kEmptyCell) : "<TD>" + phones + "</TD>";
  const std::string mail = EscapeHtml(at(field::kMail));
  if (mail.empty()) {
    row += std::string(kEmptyCell) + "    </TR>";
  } else {
    row += "<TD><a href=\"mailto:" + mail + "\">" + mail + "</a></TD>   </TR>";
  }
  return row;
}

}  // namespace

Lines ExportLines(const Lines& members, const std::vector<int>& selection) {
  Lines lines;
  lines.reserve(selection.size() + 1);
  lines.emplace_back(kExportHeader);
  for (const int i : selection) {
    const std::string& member = members[static_cast<std::size_t>(i)];
    std::vector<std::string> fields;
    fields.reserve(std::size(kExportFields));
    for (const int k : kExportFields) fields.push_back(ExtractField(member, k));
    lines.push_back(JoinFields(fields));
  }
  return lines;
}

std::string EscapeHtml(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

Lines DirectoryPage(const Lines& members, const std::vector<int>& selection, Date today) {
  Lines lines;
  lines.reserve(selection.size() + 6);
  lines.emplace_back("<HTML>");
  lines.push_back(std::string("<!-- Page g\xe9n\xe9r\xe9\x65 par Vantrel ") + kVersion + " -->");
  lines.push_back(std::string("<HEAD><TITLE>LMT Annuaire</TITLE><META NAME=\"Generator\" "
                              "CONTENT=\"Vantrel ") +
                  kVersion +
                  "\"><META NAME=\"Description\" CONTENT=\"\"><META NAME=\"Keywords\" "
                  "CONTENT=\"\"><META NAME=\"Author\" CONTENT=\"\"></HEAD>");
  lines.push_back(
      "<BODY BACKGROUND=\"mint.gif\"><CENTER><FONT COLOR=\"#800000\" FACE=\"Comic Sans MS\" "
      "SIZE=\"7\">Annuaire des adh\xe9rents<BR>" +
      FormatDate(today) +
      "</FONT></CENTER><BR><TABLE ALIGN=\"Center\" BGCOLOR=\"#E6FFE6\" BORDER=\"1\" "
      "BORDERCOLOR=\"#008000\" WIDTH=\"90%\">");
  lines.push_back(std::string(kRowStart) +
                  "<TD HEIGHT=\"30\">Nom</TD><TD>N\xb0Licence      </TD><TD>Indice      </TD>"
                  "<TD>T\xe9l\xe9phonnes</TD><TD>Courriel</TD>    </TR>");
  for (const int i : selection) lines.push_back(DirectoryRow(members[static_cast<std::size_t>(i)]));
  lines.emplace_back("</TABLE></BODY></HTML>");
  return lines;
}

std::vector<std::vector<std::string>> MailGroups(const std::vector<std::string>& addresses,
                                                 int groupSize) {
  const std::size_t size = groupSize < 1 ? 1 : static_cast<std::size_t>(groupSize);
  std::vector<std::vector<std::string>> groups;
  std::vector<std::string> group;
  for (const std::string& address : addresses) {
    group.push_back(address);
    if (group.size() == size) groups.push_back(std::exchange(group, {}));
  }
  if (!group.empty()) groups.push_back(std::move(group));
  return groups;
}

std::string MailGroupLink(const std::vector<std::string>& group, bool blindCopy) {
  if (blindCopy) return "mailto: ? &bcc=" + JoinedBySemicolon(group);
  return "mailto:" + JoinedBySemicolon(group) + " ?";
}

std::optional<ReportAnswer> ListingReportValue(const std::string& name, const std::string& member) {
  if (name == "Solde") {
    ReportAnswer answer;
    const std::string balance = ExtractField(member, field::kBalance);
    if (balance.empty()) return answer;
    answer.kind = ReportAnswer::Kind::kCents;
    answer.cents = ParseInteger(balance);
    return answer;
  }
  for (const NamedField& named : kReportFields) {
    if (name == named.name) {
      ReportAnswer answer;
      answer.text = ExtractField(member, named.field);
      return answer;
    }
  }
  return std::nullopt;
}

const std::vector<std::string>& ListingReportNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all = {"Entite", "Exercice"};
    for (const NamedField& named : kReportFields) all.emplace_back(named.name);
    all.emplace_back("Solde");
    return all;
  }();
  return names;
}

}  // namespace vantrel::members
