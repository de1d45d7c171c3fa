#pragma once

#include <array>

namespace vantrel {

// The help documents of the program folder, opened by the "Aides" items of the main menu and
// the chart screen's "Aide sur le plan Comptable Général". The build makes them from
// docs/aide/ and copies them beside the program where they are missing.
inline constexpr char kHelpGeneral[] = "Vantrel_Informations.pdf";
inline constexpr char kHelpMembers[] = "Vantrel_Membres.pdf";
inline constexpr char kHelpAccounting[] = "Vantrel_Comptabilite.pdf";
inline constexpr char kHelpExercise[] = "Vantrel_Exercice.pdf";
inline constexpr char kHelpConvocations[] = "Vantrel_Convocations.pdf";
inline constexpr char kHelpChart[] = "Gestion_Plan_Comptable_Liste.pdf";

inline constexpr std::array<const char*, 6> kHelpDocuments = {
    kHelpGeneral, kHelpMembers, kHelpAccounting, kHelpExercise, kHelpConvocations, kHelpChart};

}  // namespace vantrel
