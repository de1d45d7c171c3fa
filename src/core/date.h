#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

// A calendar day. Serial() counts days from 30/12/1899, the zero date of the stored files.
class Date {
 public:
  constexpr Date() = default;  // the zero date, 30/12/1899
  static std::optional<Date> FromYmd(int year, int month, int day);
  static Date FromSerial(std::int32_t serial);

  int year() const;
  int month() const;
  int day() const;
  std::int32_t Serial() const { return m_serial; }

  friend constexpr auto operator<=>(Date, Date) = default;

 private:
  explicit constexpr Date(std::int32_t serial) : m_serial(serial) {}
  std::int32_t m_serial = 0;
};

// Day/month/year: "5/3/2015" or "05/03/2015"; a two-digit year is taken in 1950-2049.
std::optional<Date> TryParseDate(const std::string& text);

// As TryParseDate; throws Error "'%s' n'est pas une date correcte" when text is no date.
Date ParseDate(const std::string& text);

// "05/03/2015".
std::string FormatDate(Date date);

// Whole years between two days: |days| / 365.25 rounded to the nearest whole number.
int AgeInYears(Date birth, Date on);

}  // namespace vantrel
