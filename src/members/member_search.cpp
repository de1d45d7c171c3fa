#include "members/member_search.h"

#include "core/external_text.h"
#include "core/numbers.h"
#include "core/text_helpers.h"
#include "members/member_file.h"

namespace vantrel::members {

int SearchByLicence(const Lines& members, const std::string& typed, int current) {
  const std::int32_t wanted = ParseInteger(typed);
  for (int i = static_cast<int>(members.size()) - 1; i >= 0; --i) {
    if (ParseInteger(FieldAt(members[static_cast<std::size_t>(i)], field::kLicence)) <= wanted)
      return i;
  }
  return current;
}

int SearchByName(const Lines& members, const std::string& typed, int current) {
  const std::string wanted = UpperCp1252(typed);
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (FieldAt(members[i], field::kLastName).rfind(wanted, 0) == 0) return static_cast<int>(i);
  }
  return current;
}

}  // namespace vantrel::members
