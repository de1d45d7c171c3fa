#pragma once

// What the competitions fuzz targets share: the invariant check and the split of the fuzz
// bytes into a member file and the input proper.

#include <cstdlib>
#include <string>

#include "core/record_file.h"

namespace vantrel::fuzz {

// Ends the run as a crash libFuzzer reports when an invariant does not hold.
inline void Check(bool condition) {
  if (!condition) std::abort();
}

// The bytes before the first NUL byte read as a member file, the rest as the input; with no
// NUL byte there is no member and the whole bytes are the input.
struct MembersAndInput {
  Lines members;
  std::string input;
};

inline MembersAndInput SplitAtFirstNul(const std::string& bytes) {
  const std::size_t nul = bytes.find('\0');
  if (nul == std::string::npos) return {Lines{}, bytes};
  return {SplitLines(bytes.substr(0, nul)), bytes.substr(nul + 1)};
}

}  // namespace vantrel::fuzz
