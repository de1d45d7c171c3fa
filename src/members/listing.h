#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/record_file.h"

namespace vantrel::members {

// The lowest and highest values the member file holds, found by one scan at activation: they
// start the bounds of the listing criteria.
struct ListingBounds {
  unsigned char minLetter = 'Z';  // first byte of a last name (Windows-1252)
  unsigned char maxLetter = 'A';
  int minIndex = 100;  // value index; an empty one counts as 20
  int maxIndex = 20;
  int minAge = 200;  // age; an empty one counts as 0
  int maxAge = 0;
  std::int64_t minBalance = 1000000;  // cents; an empty balance counts as 0
  std::int64_t maxBalance = -1000000;
  // Distinct non-empty licence kinds (field 16) in order of first appearance.
  std::vector<std::string> licenceKinds;
  // Dates of the last dues posting (field 18): end starts at 01/01/1900 and start at
  // 01/01/2100; each date later than end moves end, each earlier than start moves start.
  Date start = *Date::FromYmd(2100, 1, 1);
  Date end = *Date::FromYmd(1900, 1, 1);
};

ListingBounds ScanMembers(const Lines& members);

// A balance in cents as the "Solde" criterion counts it: divided by 100, the fraction dropped
// toward zero (-150 -> -1, 199 -> 1).
std::int64_t BalanceUnits(std::int64_t cents);

// The eight criteria of the listing screen. A member is selected when at least one criterion
// is on and he passes every criterion that is on.
struct ListingCriteria {
  bool byName = false;  // first byte of the last name within [minLetter, maxLetter]
  unsigned char minLetter = 'A';
  unsigned char maxLetter = 'Z';
  bool byIndex = false;  // value index within [minIndex, maxIndex]
  int minIndex = 20;
  int maxIndex = 100;
  bool byAge = false;  // age within [minAge, maxAge]
  int minAge = 0;
  int maxAge = 200;
  bool byBalance = false;  // BalanceUnits of field 68 within [minBalance, maxBalance]
  std::int64_t minBalance = -10000;
  std::int64_t maxBalance = 10000;
  bool byLicenceKind = false;  // field 16 not empty and one of licenceKinds
  std::set<std::string> licenceKinds;
  bool byPayment = false;  // field 18 empty, or within [start, end], both days included
  Date start;
  Date end;
  bool byMailChoice = false;  // field 69 ("OUI" when empty) is a checked item
  bool mailYes = false;       // "OUI" checked
  bool mailNo = false;        // "NON" checked
  bool bySex = false;         // field 1 is a checked item
  bool women = false;         // "Mme" checked
  bool men = false;           // "M." checked

  bool anyOn() const {
    return byName || byIndex || byAge || byBalance || byLicenceKind || byPayment || byMailChoice ||
           bySex;
  }
};

// Whether one member record passes every criterion that is on. An empty index reads 20, an
// empty age 0 and an empty balance 0, as in the scan; a value that is not a whole number
// (index, age, balance) or not a date (field 18) fails its criterion.
bool PassesCriteria(const std::string& member, const ListingCriteria& criteria);

// The members that pass, in file order (indices into members); none when no criterion is on.
std::vector<int> SelectMembers(const Lines& members, const ListingCriteria& criteria);

// The five bridge series, in the pie's order.
inline constexpr int kSeriesCount = 5;
inline constexpr std::array<const char*, kSeriesCount> kSeriesNames = {
    "Nons class\xe9s", "Quatri\xe8me s\xe9rie", "Troisi\xe8me s\xe9rie", "Deuxi\xe8me s\xe9rie",
    "Premi\xe8re s\xe9rie"};
// Their colours, as 0xRRGGBB: white, green, yellow, red, black.
inline constexpr std::array<std::uint32_t, kSeriesCount> kSeriesColours = {
    0xFFFFFF, 0x008000, 0xFFFF00, 0xFF0000, 0x000000};

// The series of a value index (0-20, 21-30, 31-40, 41-60, 61-100), or -1.
int SeriesOf(int valueIndex);

// Sixteen age brackets of five years, 11-15 to 86-90.
inline constexpr int kBracketCount = 16;
// The bracket of an age, or -1 below 11 and above 90.
int BracketOf(int age);

// One bar of the age pyramid: the bracket's middle age as label, its count as value.
struct PyramidBar {
  std::string label;
  int value = 0;
  friend bool operator==(const PyramidBar&, const PyramidBar&) = default;
};

struct ListingStatistics {
  int selected = 0;
  std::array<int, kSeriesCount> series{};
  std::array<int, kBracketCount> brackets{};
  std::int64_t ageSum = 0;  // over every selected member

  // The bars from the first non-empty bracket to the last, empty ones between included;
  // one bar "13" of value 0 when every bracket is empty.
  std::vector<PyramidBar> pyramid() const;
  // "L'age moyen est de 45,33 Ans", or empty with no member selected.
  std::string averageAgeTitle() const;
};

ListingStatistics ComputeStatistics(const Lines& members, const std::vector<int>& selection);

}  // namespace vantrel::members
