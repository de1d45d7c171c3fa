#include "core/date.h"

#include <cstdio>
#include <cstdlib>

#include "core/error.h"
#include "core/text_helpers.h"

namespace vantrel {
namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
  int year;
  int month;
  int day;
};

Civil CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const std::int64_t kSerialEpoch = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

}  // namespace

std::optional<Date> Date::FromYmd(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return std::nullopt;
  if (day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
  return Date(static_cast<std::int32_t>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
      kSerialEpoch));
}

Date Date::FromSerial(std::int32_t serial) { return Date(serial); }

int Date::year() const { return CivilFromDays(m_serial + kSerialEpoch).year; }
int Date::month() const { return CivilFromDays(m_serial + kSerialEpoch).month; }
int Date::day() const { return CivilFromDays(m_serial + kSerialEpoch).day; }

std::optional<Date> TryParseDate(const std::string& text) {
  const std::string trimmed = Trim(text);
  int parts[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int index = 0;
  for (char c : trimmed) {
    if (c == '/') {
      if (++index > 2) return std::nullopt;
    } else if (c >= '0' && c <= '9') {
      if (++digits[index] > 4) return std::nullopt;
      parts[index] = parts[index] * 10 + (c - '0');
    } else {
      return std::nullopt;
    }
  }
  if (index != 2 || digits[0] == 0 || digits[1] == 0 || digits[2] == 0) return std::nullopt;
  if (digits[0] > 2 || digits[1] > 2 || digits[2] == 3) return std::nullopt;
  int year = parts[2];
  if (digits[2] <= 2) year += year < 50 ? 2000 : 1900;
  return Date::FromYmd(year, parts[1], parts[0]);
}

Date ParseDate(const std::string& text) {
  if (auto date = TryParseDate(text)) return *date;
  throw NotADate(text);
}

std::string FormatDate(Date date) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", date.day(), date.month(), date.year());
  return buffer;
}

int AgeInYears(Date birth, Date on) {
  // days / 365.25 == 4 * days / 1461; 1461 is odd, so there is never an exact half.
  const std::int64_t days = std::llabs(std::int64_t{on.Serial()} - birth.Serial());
  const std::int64_t quarterDays = 4 * days;
  std::int64_t years = quarterDays / 1461;
  if (2 * (quarterDays % 1461) > 1461) ++years;
  return static_cast<int>(years);
}

}  // namespace vantrel
