#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace vantrel::utilities {

// File date-times in packed form: date in the high 16 bits (bits 9-15 year - 1980, 5-8
// month, 0-4 day), time in the low 16 bits (11-15 hour, 5-10 minute, 0-4 seconds / 2),
// local time.
std::uint32_t PackDateTime(int year, int month, int day, int hour, int minute, int second);

// The fields of a packed value, seconds even.
struct PackedFields {
  int year = 1980;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};
PackedFields UnpackDateTime(std::uint32_t packed);
// The same, nothing when the fields make no date and time (month 0, hour 24, ...).
std::optional<PackedFields> ValidPackedDateTime(std::uint32_t packed);

std::uint32_t PackedTimeOf(const std::filesystem::path& file);
// Sets the file's last-write time; false when the value is no valid date or the system
// refuses.
bool SetPackedTime(const std::filesystem::path& file, std::uint32_t packed);
// "dd/mm/yyyy hh:mm:ss" of a packed value.
std::string FormatPackedDateTime(std::uint32_t packed);

}  // namespace vantrel::utilities
