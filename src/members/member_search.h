#pragma once

#include <string>

#include "core/record_file.h"

namespace vantrel::members {

// The licence search of the member screens: walking from the last member to the first, the
// first whose licence, read as a whole number, is at most typed; current when none is.
// Throws Error "'%s' n'est pas une valeur entière correcte" when typed or a licence met on
// the way is not a whole number (an empty box included).
int SearchByLicence(const Lines& members, const std::string& typed, int current);

// The name search: the first member whose last name begins with typed raised to capitals
// (accented letters included), compared byte by byte; current when none does.
int SearchByName(const Lines& members, const std::string& typed, int current);

}  // namespace vantrel::members
