#include "utilities/packed_date.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vantrel::utilities {
namespace {

using testing::TempFolder;
using testing::WriteFile;

struct Fields {
  int year, month, day, hour, minute, second;
};

Fields FieldsOf(const PackedFields& f) {
  return {f.year, f.month, f.day, f.hour, f.minute, f.second};
}

bool operator==(const Fields& a, const Fields& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second;
}

std::ostream& operator<<(std::ostream& out, const Fields& f) {
  return out << f.year << "-" << f.month << "-" << f.day << " " << f.hour << ":" << f.minute
             << ":" << f.second;
}

// Packing keeps every field but the seconds' last bit, and holds dates to 1980-2107.
TEST(PackedDateTest, RoundTripsToTheEvenSecondWithinTheRange) {
  struct Case {
    Fields in;
    Fields out;
  };
  for (const Case& c : {
           Case{{2026, 12, 11, 0, 59, 58}, {2026, 12, 11, 0, 59, 58}},
           Case{{2019, 5, 10, 14, 30, 23}, {2019, 5, 10, 14, 30, 22}},  // odd second
           Case{{2000, 2, 29, 23, 0, 1}, {2000, 2, 29, 23, 0, 0}},
           Case{{1980, 1, 1, 0, 0, 0}, {1980, 1, 1, 0, 0, 0}},
           Case{{1979, 12, 31, 23, 59, 59}, {1980, 1, 1, 0, 0, 0}},  // floor
           Case{{1601, 6, 15, 12, 0, 0}, {1980, 1, 1, 0, 0, 0}},
           Case{{2107, 12, 31, 23, 59, 59}, {2107, 12, 31, 23, 59, 58}},
           Case{{2200, 1, 1, 0, 0, 0}, {2107, 12, 31, 23, 59, 58}},  // ceiling
       }) {
    const Fields& f = c.in;
    const std::uint32_t packed = PackDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second);
    EXPECT_EQ(c.out, FieldsOf(UnpackDateTime(packed))) << f;
    ASSERT_TRUE(ValidPackedDateTime(packed).has_value()) << f;
    EXPECT_EQ(c.out, FieldsOf(*ValidPackedDateTime(packed))) << f;
  }
  EXPECT_EQ(0x00210000u, PackDateTime(1980, 1, 1, 0, 0, 0));
  EXPECT_EQ("01/01/1980 00:00:00", FormatPackedDateTime(PackDateTime(1970, 1, 1, 0, 0, 0)));
  EXPECT_EQ("29/02/2000 23:00:00", FormatPackedDateTime(PackDateTime(2000, 2, 29, 23, 0, 1)));
}

// Values no file system date can be (a damaged or hostile archive) are refused and leave the
// file's date as it was.
TEST(PackedDateTest, ImpossibleValuesAreRefused) {
  const TempFolder folder;
  const auto file = folder.path() / "joueur.dbp";
  WriteFile(file, "x");
  const std::uint32_t may2019 = PackDateTime(2019, 5, 10, 14, 30, 22);
  ASSERT_TRUE(SetPackedTime(file, may2019));
  for (const std::uint32_t bad : {
           0u,                                // month 0, day 0
           (39u << 25) | (13u << 21) | (1u << 16),  // month 13
           (39u << 25) | (5u << 21) | (0u << 16),   // day 0
           (39u << 25) | (5u << 21) | (1u << 16) | (24u << 11),  // hour 24
           (39u << 25) | (5u << 21) | (1u << 16) | (60u << 5),   // minute 60
           (39u << 25) | (5u << 21) | (1u << 16) | 30u,          // second 60
       }) {
    EXPECT_FALSE(ValidPackedDateTime(bad).has_value()) << std::hex << bad;
    EXPECT_FALSE(SetPackedTime(file, bad)) << std::hex << bad;
  }
  EXPECT_EQ(may2019, PackedTimeOf(file));
  // A file that is not there has the earliest date.
  EXPECT_EQ(PackDateTime(1980, 1, 1, 0, 0, 0), PackedTimeOf(folder.path() / "absent.dbp"));
  EXPECT_FALSE(SetPackedTime(folder.path() / "absent.dbp", may2019));
}

}  // namespace
}  // namespace vantrel::utilities
