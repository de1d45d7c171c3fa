#include "members/report_variables.h"

namespace vantrel::members {
namespace {

using namespace reports::declare;

// The listings screen, one record per selected member: fields as stored, the balance as a
// number (an empty text when the member has none).
constexpr DeclaredVariable kMemberList[] = {
    {"Entite", kText, kReport, "Ardevanne Bridge Club"},
    {"Exercice", kText, kReport, "2026-2027"},
    {"Numero", kText, kRecord, "04521873"},
    {"Titre", kText, kRecord, "Mme"},
    {"Nom", kText, kRecord, "LÉCUYER"},
    {"Prenom", kText, kRecord, "Hélène"},
    {"Indice", kText, kRecord, "58"},
    {"Adress1", kText, kRecord, "12 rue des Tilleuls"},
    {"Adress2", kText, kRecord, "Résidence du Parc"},
    {"Adress3", kText, kRecord, "Bâtiment B"},
    {"Code", kText, kRecord, "21000"},
    {"Ville", kText, kRecord, "DIJON"},
    {"Dommicile", kText, kRecord, "03 80 12 34 56"},
    {"Bureau", kText, kRecord, "03 80 65 43 21"},
    {"Portable", kText, kRecord, "06 12 34 56 78"},
    {"Courriel", kText, kRecord, "helene.lecuyer@exemple.fr"},
    {"Licence", kText, kRecord, "Licencié"},
    {"Solde", kNumber, kRecord, "-25,5"},
    {"Vote", kText, kRecord, "OUI"},
};

constexpr DeclaredVariable kAssemblyOnly[] = {{"Place", kSeeded, kReport, "0"}};
constexpr auto kAssembly = reports::JoinVariables(kMemberList, kAssemblyOnly);

// The consultation screen, the member shown, texts taken from the boxes.
constexpr DeclaredVariable kEnvelope[] = {
    {"Nom", kText, kReport, "Mme LÉCUYER Hélène"},
    {"Adresse1", kText, kReport, "12 rue des Tilleuls"},
    {"Adresse2", kText, kReport, "Résidence du Parc"},
    {"Adresse3", kText, kReport, "Bâtiment B"},
    {"Code", kText, kReport, "21000"},
    {"Ville", kText, kReport, "Dijon"},
};

}  // namespace

const TemplateVariables kDirectoryReport{"Gestion_Annuaire.frf", kMemberList};
const TemplateVariables kDuesListReport{"Gestion_Tresorerie.frf", kMemberList};
const TemplateVariables kAssemblyReport{"Gestion_Assemble.frf", kAssembly};
const TemplateVariables kEnvelopeReport{"Gestion_Enveloppes.frf", kEnvelope};

std::span<const TemplateVariables* const> ReportVariables() {
  static const TemplateVariables* const kAll[] = {&kDirectoryReport, &kDuesListReport,
                                                  &kAssemblyReport, &kEnvelopeReport};
  return kAll;
}

}  // namespace vantrel::members
