#include "members/listing.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "core/text_helpers.h"
#include "members/member_file.h"

namespace vantrel::members {
namespace {

// A whole decimal number, optional sign, nothing else; nothing for any other text.
std::optional<std::int64_t> WholeNumber(const std::string& text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return std::nullopt;
  const char* first = trimmed.data();
  const char* last = first + trimmed.size();
  if (*first == '+') ++first;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

// An index or age field: empty reads as emptyValue.
std::optional<std::int64_t> NumberOr(const std::string& text, std::int64_t emptyValue) {
  if (Trim(text).empty()) return emptyValue;
  return WholeNumber(text);
}

template <typename T>
bool Within(T value, T low, T high) {
  return low <= value && value <= high;
}

}  // namespace

std::int64_t BalanceUnits(std::int64_t cents) { return cents / 100; }

ListingBounds ScanMembers(const Lines& members) {
  ListingBounds bounds;
  for (const std::string& member : members) {
    const std::string name = FieldAt(member, field::kLastName);
    if (!name.empty()) {
      const auto letter = static_cast<unsigned char>(name.front());
      if (letter < bounds.minLetter) bounds.minLetter = letter;
      if (letter > bounds.maxLetter) bounds.maxLetter = letter;
    }
    if (const auto index = NumberOr(FieldAt(member, field::kValueIndex), 20)) {
      const int value = static_cast<int>(*index);
      if (value < bounds.minIndex) bounds.minIndex = value;
      if (value > bounds.maxIndex) bounds.maxIndex = value;
    }
    if (const auto age = NumberOr(FieldAt(member, field::kAge), 0)) {
      const int value = static_cast<int>(*age);
      if (value < bounds.minAge) bounds.minAge = value;
      if (value > bounds.maxAge) bounds.maxAge = value;
    }
    if (const auto balance = NumberOr(FieldAt(member, field::kBalance), 0)) {
      if (*balance < bounds.minBalance) bounds.minBalance = *balance;
      if (*balance > bounds.maxBalance) bounds.maxBalance = *balance;
    }
    const std::string kind = FieldAt(member, field::kLicenceKind);
    if (!kind.empty() && std::find(bounds.licenceKinds.begin(), bounds.licenceKinds.end(), kind) ==
                             bounds.licenceKinds.end()) {
      bounds.licenceKinds.push_back(kind);
    }
    const std::string paid = FieldAt(member, field::kLastDuesPosting);
    if (!paid.empty()) {
      if (const auto date = TryParseDate(paid)) {
        if (*date > bounds.end) bounds.end = *date;
        if (*date < bounds.start) bounds.start = *date;
      }
    }
  }
  return bounds;
}

bool PassesCriteria(const std::string& member, const ListingCriteria& c) {
  if (c.byName) {
    const std::string name = FieldAt(member, field::kLastName);
    if (name.empty()) return false;
    if (!Within(static_cast<unsigned char>(name.front()), c.minLetter, c.maxLetter)) return false;
  }
  if (c.byIndex) {
    const auto index = NumberOr(FieldAt(member, field::kValueIndex), 20);
    if (!index || !Within<std::int64_t>(*index, c.minIndex, c.maxIndex)) return false;
  }
  if (c.byAge) {
    const auto age = NumberOr(FieldAt(member, field::kAge), 0);
    if (!age || !Within<std::int64_t>(*age, c.minAge, c.maxAge)) return false;
  }
  if (c.byBalance) {
    const auto cents = NumberOr(FieldAt(member, field::kBalance), 0);
    if (!cents || !Within(BalanceUnits(*cents), c.minBalance, c.maxBalance)) return false;
  }
  if (c.byLicenceKind) {
    const std::string kind = FieldAt(member, field::kLicenceKind);
    if (kind.empty() || c.licenceKinds.count(kind) == 0) return false;
  }
  if (c.byPayment) {
    const std::string paid = FieldAt(member, field::kLastDuesPosting);
    if (!paid.empty()) {
      const auto date = TryParseDate(paid);
      if (!date || !Within(*date, c.start, c.end)) return false;
    }
  }
  if (c.byMailChoice) {
    const std::string choice = ExtractField(member, field::kMailConvocations);
    if (!((choice == "OUI" && c.mailYes) || (choice == "NON" && c.mailNo))) return false;
  }
  if (c.bySex) {
    const std::string title = FieldAt(member, field::kTitle);
    if (!((title == "Mme" && c.women) || (title == "M." && c.men))) return false;
  }
  return true;
}

std::vector<int> SelectMembers(const Lines& members, const ListingCriteria& criteria) {
  std::vector<int> selection;
  if (!criteria.anyOn()) return selection;
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (PassesCriteria(members[i], criteria)) selection.push_back(static_cast<int>(i));
  }
  return selection;
}

int SeriesOf(int valueIndex) {
  if (valueIndex < 0) return -1;
  if (valueIndex <= 20) return 0;
  if (valueIndex <= 30) return 1;
  if (valueIndex <= 40) return 2;
  if (valueIndex <= 60) return 3;
  if (valueIndex <= 100) return 4;
  return -1;
}

int BracketOf(int age) {
  if (age < 11 || age > 90) return -1;
  return (age - 11) / 5;
}

std::vector<PyramidBar> ListingStatistics::pyramid() const {
  int first = -1;
  int last = -1;
  for (int b = 0; b < kBracketCount; ++b) {
    if (brackets[b] == 0) continue;
    if (first < 0) first = b;
    last = b;
  }
  if (first < 0) return {{"13", 0}};
  std::vector<PyramidBar> bars;
  for (int b = first; b <= last; ++b) bars.push_back({std::to_string(13 + 5 * b), brackets[b]});
  return bars;
}

std::string ListingStatistics::averageAgeTitle() const {
  if (selected == 0) return {};
  // Two decimals, halves away from zero, a decimal comma.
  const std::int64_t hundredths = (ageSum * 200 + (ageSum >= 0 ? selected : -selected)) /
                                  (2 * static_cast<std::int64_t>(selected));
  const std::int64_t whole = hundredths / 100;
  const std::int64_t fraction = hundredths % 100 < 0 ? -(hundredths % 100) : hundredths % 100;
  char text[64];
  std::snprintf(text, sizeof text, "%s%lld,%02lld", hundredths < 0 && whole == 0 ? "-" : "",
                static_cast<long long>(whole), static_cast<long long>(fraction));
  return std::string("L'age moyen est de ") + text + " Ans";
}

ListingStatistics ComputeStatistics(const Lines& members, const std::vector<int>& selection) {
  ListingStatistics stats;
  stats.selected = static_cast<int>(selection.size());
  for (const int i : selection) {
    const std::string& member = members[static_cast<std::size_t>(i)];
    if (const auto index = NumberOr(FieldAt(member, field::kValueIndex), 20)) {
      const int series = SeriesOf(static_cast<int>(*index));
      if (series >= 0) ++stats.series[series];
    }
    if (const auto age = NumberOr(FieldAt(member, field::kAge), 0)) {
      stats.ageSum += *age;
      const int bracket = BracketOf(static_cast<int>(*age));
      if (bracket >= 0) ++stats.brackets[bracket];
    }
  }
  return stats;
}

}  // namespace vantrel::members
