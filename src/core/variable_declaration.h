#pragma once

// The names a screen answers to one of its templates, declared once beside the screen and
// read by the designer ("Insérer", "Aperçu" with samples) and by the screen's value table
// (reports/value_table.h), which binds a getter to each declared name.
//
// This header is plain C++ with no Qt and lives in the core, so that the domain code of each
// subsystem can hold its tables; reports/value_table.h turns the samples into report values.
//
//   constexpr reports::DeclaredVariable kDirectory[] = {
//       {"Entite", VariableKind::kText, VariableScope::kReport, "Ardevanne Bridge Club"},
//       {"Nom", VariableKind::kText, VariableScope::kRecord, "LÉCUYER"},
//       {"Solde", VariableKind::kNumber, VariableScope::kRecord, "-25,5"},
//       {"Place", VariableKind::kSeeded, VariableScope::kReport, "0"},
//   };
//   constexpr reports::TemplateVariables kDirectoryReport{"Gestion_Annuaire.frf", kDirectory};

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace vantrel::reports {

enum class VariableKind {
  kText,    // a text, printed as it is (a text that reads as a number still adds up)
  kNumber,  // an exact decimal number; the sample is written with a decimal comma: "-25,5"
  kDate,    // a day; the sample is written "05/03/2015"
  kSeeded,  // a number variable the screen seeds before printing; the template updates it
};

// Whether the screen answers the name once for the whole report or from the current record.
enum class VariableScope { kReport, kRecord };

// One name a screen answers. The name is compared exactly, case included. The sample is a
// realistic value in UTF-8, as the screen would answer it (the designer's "Aperçu" prints
// it).
struct DeclaredVariable {
  std::string_view name;
  VariableKind kind = VariableKind::kText;
  VariableScope scope = VariableScope::kRecord;
  std::string_view sample;
};

// Every name the screens answer to one template file ("Gestion_Annuaire.frf"; file names
// are compared without regard to letter case).
struct TemplateVariables {
  std::string_view templateName;
  std::span<const DeclaredVariable> variables;
};

// The variable of declaration called name (compared exactly), or nothing.
constexpr const DeclaredVariable* FindDeclared(const TemplateVariables& declaration,
                                               std::string_view name) {
  for (const DeclaredVariable& variable : declaration.variables) {
    if (variable.name == name) return &variable;
  }
  return nullptr;
}

template <class List>
struct VariableCount;
template <std::size_t N>
struct VariableCount<DeclaredVariable[N]> {
  static constexpr std::size_t value = N;
};
template <std::size_t N>
struct VariableCount<std::array<DeclaredVariable, N>> {
  static constexpr std::size_t value = N;
};

// Two lists of names (arrays or results of JoinVariables) as one, for templates that share
// names:
//   constexpr auto kAssembly = JoinVariables(kMemberList, kAssemblyOnly);
template <class First, class Second>
constexpr auto JoinVariables(const First& first, const Second& second) {
  constexpr std::size_t n = VariableCount<First>::value;
  constexpr std::size_t m = VariableCount<Second>::value;
  std::array<DeclaredVariable, n + m> joined{};
  for (std::size_t i = 0; i < n; ++i) joined[i] = first[i];
  for (std::size_t i = 0; i < m; ++i) joined[n + i] = second[i];
  return joined;
}

// The short names every declaration table uses: `using namespace reports::declare;`.
namespace declare {
using reports::DeclaredVariable;
using reports::TemplateVariables;
using reports::VariableKind;
using reports::VariableScope;
inline constexpr auto kText = VariableKind::kText;
inline constexpr auto kNumber = VariableKind::kNumber;
inline constexpr auto kDate = VariableKind::kDate;
inline constexpr auto kSeeded = VariableKind::kSeeded;
inline constexpr auto kReport = VariableScope::kReport;
inline constexpr auto kRecord = VariableScope::kRecord;
}  // namespace declare

}  // namespace vantrel::reports
