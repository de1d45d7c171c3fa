#include "utilities/packed_date.h"

#include <cstdio>
#include <ctime>

#include "core/os_file.h"

namespace vantrel::utilities {

std::uint32_t PackDateTime(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1980) return PackDateTime(1980, 1, 1, 0, 0, 0);
  if (year > 2107) return PackDateTime(2107, 12, 31, 23, 59, 58);
  const std::uint32_t date =
      (std::uint32_t(year - 1980) << 9) | (std::uint32_t(month) << 5) | std::uint32_t(day);
  const std::uint32_t time =
      (std::uint32_t(hour) << 11) | (std::uint32_t(minute) << 5) | std::uint32_t(second / 2);
  return (date << 16) | time;
}

PackedFields UnpackDateTime(std::uint32_t packed) {
  PackedFields fields;
  fields.year = int((packed >> 25) & 0x7f) + 1980;
  fields.month = int((packed >> 21) & 0x0f);
  fields.day = int((packed >> 16) & 0x1f);
  fields.hour = int((packed >> 11) & 0x1f);
  fields.minute = int((packed >> 5) & 0x3f);
  fields.second = int(packed & 0x1f) * 2;
  return fields;
}

std::optional<PackedFields> ValidPackedDateTime(std::uint32_t packed) {
  const PackedFields f = UnpackDateTime(packed);
  if (f.month < 1 || f.month > 12 || f.day < 1 || f.hour > 23 || f.minute > 59 || f.second > 59) {
    return std::nullopt;
  }
  return f;
}

std::uint32_t PackedTimeOf(const std::filesystem::path& file) {
  std::time_t seconds = 0;
  if (os::LastWriteTime(file, seconds)) return PackDateTime(1980, 1, 1, 0, 0, 0);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  return PackDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec);
}

bool SetPackedTime(const std::filesystem::path& file, std::uint32_t packed) {
  const auto f = ValidPackedDateTime(packed);
  if (!f) return false;
  std::tm local{};
  local.tm_year = f->year - 1900;
  local.tm_mon = f->month - 1;
  local.tm_mday = f->day;
  local.tm_hour = f->hour;
  local.tm_min = f->minute;
  local.tm_sec = f->second;
  local.tm_isdst = -1;
  const std::time_t seconds = std::mktime(&local);
  if (seconds == static_cast<std::time_t>(-1)) return false;
  return !os::SetLastWriteTime(file, seconds);
}

std::string FormatPackedDateTime(std::uint32_t packed) {
  const PackedFields f = UnpackDateTime(packed);
  char text[32];
  std::snprintf(text, sizeof text, "%02u/%02u/%04u %02u:%02u:%02u", unsigned(f.day),
                unsigned(f.month), unsigned(f.year), unsigned(f.hour), unsigned(f.minute),
                unsigned(f.second));
  return text;
}

}  // namespace vantrel::utilities
