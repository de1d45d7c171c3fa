#include "competitions/report_variables.h"

namespace vantrel::competitions {
namespace {

using namespace reports::declare;

// One record per result line; points are texts with two decimals.
constexpr DeclaredVariable kPrizeList[] = {
    {"Saison1", kText, kReport, "Ardevanne Bridge Club : 2026-2027"},
    {"Epreuve1", kText, kReport, " Tournoi de Noël du 19-12-2026.chr"},
    {"Classement1", kText, kRecord, "1"},
    {"Nom1", kText, kRecord, "LÉCUYER Hélène"},
    {"Nom2", kText, kRecord, "FRANÇOIS Benoît"},
    {"Licence1", kText, kRecord, "04521873"},
    {"Licence2", kText, kRecord, "01987654"},
    {"Pc1", kText, kRecord, "12,50"},
    {"Total_Pc", kText, kReport, "87,25"},
};

// One record per ranked player; a column's tournament and date are the same on every record.
constexpr DeclaredVariable kCupRanking[] = {
    {"Titre", kText, kReport, "Classement Open pour la Coupe 1"},
    {"Saison", kText, kReport, "2026-2027"},
    {"ClT01", kText, kReport, "Tournoi de Noël"},
    {"ClT02", kText, kReport, "Coupe d'hiver"},
    {"ClT03", kText, kReport, "Simultané Roy René"},
    {"ClT04", kText, kReport, "Tournoi de la galette"},
    {"ClT05", kText, kReport, "Mitchell de printemps"},
    {"ClT06", kText, kReport, "Tournoi des rois"},
    {"ClT07", kText, kReport, "Patton de mars"},
    {"ClT08", kText, kReport, "Simultané du jeudi"},
    {"ClT09", kText, kReport, "Tournoi de Pâques"},
    {"ClT10", kText, kReport, "Mitchell de mai"},
    {"ClT11", kText, kReport, "Coupe de l'Ascension"},
    {"ClT12", kText, kReport, "Tournoi d'été"},
    {"ClT13", kText, kReport, "Simultané de juin"},
    {"ClT14", kText, kReport, "Tournoi du club"},
    {"ClT15", kText, kReport, "Patton de juillet"},
    {"ClT16", kText, kReport, "Finale de la coupe"},
    {"ClD01", kText, kReport, "19/12"},
    {"ClD02", kText, kReport, "09/01"},
    {"ClD03", kText, kReport, "16/01"},
    {"ClD04", kText, kReport, "23/01"},
    {"ClD05", kText, kReport, "30/01"},
    {"ClD06", kText, kReport, "06/02"},
    {"ClD07", kText, kReport, "13/02"},
    {"ClD08", kText, kReport, "20/02"},
    {"ClD09", kText, kReport, "06/03"},
    {"ClD10", kText, kReport, "13/03"},
    {"ClD11", kText, kReport, "20/03"},
    {"ClD12", kText, kReport, "27/03"},
    {"ClD13", kText, kReport, "03/04"},
    {"ClD14", kText, kReport, "10/04"},
    {"ClD15", kText, kReport, "17/04"},
    {"ClD16", kText, kReport, "24/04"},
    {"Pc01", kText, kRecord, "12,50"},
    {"Pc02", kText, kRecord, "8,75"},
    {"Pc03", kText, kRecord, ""},
    {"Pc04", kText, kRecord, "10,00"},
    {"Pc05", kText, kRecord, "6,25"},
    {"Pc06", kText, kRecord, ""},
    {"Pc07", kText, kRecord, "9,40"},
    {"Pc08", kText, kRecord, "7,10"},
    {"Pc09", kText, kRecord, ""},
    {"Pc10", kText, kRecord, "11,30"},
    {"Pc11", kText, kRecord, "5,00"},
    {"Pc12", kText, kRecord, "4,80"},
    {"Pc13", kText, kRecord, ""},
    {"Pc14", kText, kRecord, "3,60"},
    {"Pc15", kText, kRecord, "2,40"},
    {"Pc16", kText, kRecord, "1,20"},
    {"ClGeCl", kText, kRecord, "1"},
    {"ClGeNom", kText, kRecord, "LÉCUYER Hélène"},
    {"ClGeInd", kText, kRecord, "04521873"},
    {"ClGeIv", kText, kRecord, "58"},
    {"ClGePc", kText, kRecord, "81,30"},
};

// The event's header fields, the same for every record, then one record per team or pair;
// "nom2" and "joueur2" hold the two halves of the players, lines ended by CR LF.
constexpr DeclaredVariable kConvocationHeader[] = {
    {"saison", kText, kReport, "2026-2027"},
    {"responsable", kText, kReport, "Responsable : Benoît FRANÇOIS, 06 12 34 56 78"},
    {"publication", kText, kReport, "Publié le 02/01/2027"},
    {"epreuve", kText, kReport, "Coupe de France par quatre"},
    {"prix", kText, kReport, "Droits d'inscription : 60 € par équipe"},
    {"phase", kText, kReport, "Phase de comité"},
    {"date", kText, kReport, "Dimanche 17 janvier 2027"},
    {"modalites", kText, kReport, "Deux séances de 28 donnes, marque IMP convertie en PV"},
    {"horaires1", kText, kReport, "Séance 1 : 13 h 30"},
    {"horaires2", kText, kReport, "Séance 2 : 17 h 00"},
    {"avertissement", kText, kReport, "Merci d'arriver un quart d'heure avant le début"},
    {"arbitre", kText, kReport, "Noël MARTIN"},
    {"divers", kText, kReport, "Parking gratuit devant le club"},
    {"pied2", kText, kReport, "Ardevanne Bridge Club, 3 place du Marché, 21000 Dijon"},
};
constexpr DeclaredVariable kTeamEntry[] = {
    {"classement2", kText, kRecord, "1"},
    {"club2", kText, kRecord, "Ardevanne Bridge Club"},
    {"indice2", kText, kRecord, "212"},
    {"nom2", kText, kRecord, "Hélène LÉCUYER 58\r\n Benoît FRANÇOIS 61\r\n"},
    {"joueur2", kText, kRecord, " Jérôme DURAND 47\r\n Anne MARTIN 46"},
};
constexpr DeclaredVariable kPairEntry[] = {
    {"classement2", kText, kRecord, "1 - LÉCUYER"},
    {"indice2", kText, kRecord, "119"},
    {"nom2", kText, kRecord, "Hélène LÉCUYER 58\r\n"},
    {"joueur2", kText, kRecord, " Benoît FRANÇOIS 61"},
};

constexpr auto kTeamConvocation = reports::JoinVariables(kConvocationHeader, kTeamEntry);
constexpr auto kPairConvocation = reports::JoinVariables(kConvocationHeader, kPairEntry);

}  // namespace

const TemplateVariables kPrizeListReport{"Dotation_paires.frf", kPrizeList};
const TemplateVariables kCupRankingReport{"Classem_General.frf", kCupRanking};
const TemplateVariables kTeamConvocationReport{"quatre.frf", kTeamConvocation};
const TemplateVariables kPairConvocationReport{"paires.frf", kPairConvocation};

std::span<const TemplateVariables* const> ReportVariables() {
  static const TemplateVariables* const kAll[] = {&kPrizeListReport, &kCupRankingReport,
                                                  &kTeamConvocationReport, &kPairConvocationReport};
  return kAll;
}

}  // namespace vantrel::competitions
